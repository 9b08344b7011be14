#include "suite/kit/KeyCodes.h"

#include <QKeyEvent>

namespace suite {

int virtualKeyCode(const QKeyEvent *event)
{
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (event->modifiers() & Qt::KeypadModifier)
            return 96 + (key - Qt::Key_0);   // the keypad's own codes
        return key;                          // 48..57, as the platform's
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;                          // 65..90
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: return 190;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Slash: return 191;
    default: break;
    }
    return 0;
}

int shiftState(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers m = event->modifiers();
    int state = 0;
    if (m & Qt::ShiftModifier)
        state |= 1;
    if (m & Qt::ControlModifier)
        state |= 2;
    if (m & Qt::AltModifier)
        state |= 4;
    return state;
}

} // namespace suite
