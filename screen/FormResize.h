#pragma once

namespace suite {
class FormControls;
}

namespace xb733 {

// Form_Resize: the tab strip stretches over the client area, the frames and
// bars follow the strip, the depreciation lists and the grid follow their
// frames. Positions stay as designed. Single-precision twips; each size is read
// back from the control just changed; a size a control refuses (negative on a
// very small window) leaves it as it was and the next step still runs.
class FormResize
{
public:
    // Below the strip and below the lists and grid, in twips.
    static constexpr float StripBottomMargin = 100;
    static constexpr float ListBottomMargin = 150;

    static void apply(const suite::FormControls &controls, float scaleWidth, float scaleHeight);
};

} // namespace xb733
