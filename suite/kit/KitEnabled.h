#pragma once

class QWidget;

namespace suite {

// The suite's controls distinguish their own enabled flag (what a form wrote)
// from whether they can take input now (a disabled frame disables its
// children without changing their own flags).
bool ownEnabled(const QWidget *widget);
bool effectiveEnabled(const QWidget *widget);

} // namespace suite
