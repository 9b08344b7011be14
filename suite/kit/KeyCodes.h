#pragma once

class QKeyEvent;

namespace suite {

// Key events of the kit's controls carry the platform's virtual-key codes
// (Enter 13, Tab 9, Esc 27, F2 113, digits 48..57, letters 65..90) and its
// shift state (1 Shift, 2 Ctrl, 4 Alt), which is what the screens compare.
int virtualKeyCode(const QKeyEvent *event);
int shiftState(const QKeyEvent *event);

} // namespace suite
