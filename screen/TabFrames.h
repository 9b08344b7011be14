#pragma once

namespace suite {
class FormControls;
}

namespace xb733 {

// Only the frame of the tab shown is enabled, so only its controls can take
// the focus.
class TabFrames
{
public:
    static constexpr int TabCount = 4;

    // Disables Fr0..Fr3, then enables the frame of the strip's tab, if any.
    static void follow(const suite::FormControls &controls);

    // Gives the focus to the first control of the tab (in tab order) that
    // can take it now, or to the strip itself when none can.
    static void focusFirst(const suite::FormControls &controls, int tab);
};

} // namespace xb733
