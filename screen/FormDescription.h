#pragma once

#include "screen/ControlDescription.h"

#include <QVector>

namespace xb733 {

// The form as designed: every control with its container, label, twips
// geometry, tab index, group tag, kit properties and lookup, in creation order
// (a container comes before what it holds). Built once, read by the builder.
class FormDescription
{
public:
    static const QVector<ControlDescription> &controls();

    // Heights the layout leaves open: boxes and labels one line high, option
    // buttons a little less.
    static constexpr double BoxHeight = 315;
    static constexpr double LabelHeight = 315;
    static constexpr double OptionHeight = 285;

    // The bars over each tab page: &H004BC9B4, a BGR value.
    static constexpr int BarColour = 0x4BC9B4;
};

} // namespace xb733
