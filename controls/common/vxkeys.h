#pragma once
// Keys in the numbering the controls' containers have always received:
// KeyDown and KeyUp carry the old key codes (Enter 13, F1 112, letters as
// their upper-case codes), KeyPress the character code.

class QKeyEvent;

namespace vx::common {

// The old code of a key, or 0 for a key that has none.
int keyCode(int qtKey, bool keypad);
int keyCode(const QKeyEvent* e);

// The character code a key press types (Enter 13, Esc 27, Backspace 8), or
// 0 when it types none.
int keyAscii(const QKeyEvent* e);

} // namespace vx::common
