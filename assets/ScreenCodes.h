#pragma once

namespace xb733 {

// The numbers the screen and the suite's services exchange, named once.

// The tabs of ssTabKit, in order.
constexpr int General = 0;
constexpr int Contables = 1;
constexpr int Depreciacion = 2;
constexpr int DatosUsuario = 3;

// The tags of the form's control groups (Utilerias.EnableControls): the
// record's fields, one carried by no control of this screen (the commands
// pass it all the same), the distribution grid.
constexpr int FieldsGroup = 1;
constexpr int UnusedGroup = 2;
constexpr int GridGroup = 5;

// Entorno.Mensaje: the box's style and the answers it returns.
constexpr int Critical = 16;
constexpr int Question = 36;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int Yes = 6;

// Key codes as the kit's key events carry them, and the Alt modifier's bit.
constexpr short KeyBackspace = 8;
constexpr short KeyEnter = 13;
constexpr short KeyDigit1 = 49;
constexpr short KeyDigit4 = 52;
constexpr short KeyF2 = 113;
constexpr int ShiftAlt = 4;

} // namespace xb733
