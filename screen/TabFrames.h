#pragma once

namespace xb733 {

class FormControls;

// Only the frame of the tab shown is enabled, so only its controls can take
// the focus.
class TabFrames
{
public:
    static constexpr int TabCount = 4;

    // Disables Fr0..Fr3, then enables the frame of the strip's tab, if any.
    static void follow(const FormControls &controls);
};

} // namespace xb733
