#pragma once

#include <QList>

class QToolButton;
class QWidget;

namespace suite {

// The icons' side a toolbar's buttons start from, and the least it gives way to.
constexpr int ToolIconSide = 22;
constexpr int LeastToolIconSide = 12;

// Fits a row of tool buttons (laid out beside `caption` in `toolbar`'s
// horizontal layout) to the toolbar's size, at any scale and font. The icons
// shrink before a caption under them is cut; when the toolbar is too narrow
// for the buttons with their captions, they show their icons alone (the
// caption stays as tooltip and accessible name) rather than overlap.
void fitToolButtons(QWidget &toolbar, const QList<QToolButton *> &buttons, const QWidget &caption);

} // namespace suite
