#include "vxkeys.h"

#include <QKeyEvent>

namespace vx::common {
namespace {

struct KeyRow {
    int qt;
    int old;
};

// Keys whose old code differs from the toolkit's number. Letters, digits and
// the blank carry the same number in both and need no row.
constexpr KeyRow kKeys[] = {
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Kana_Shift, 21},
    {Qt::Key_Hiragana_Katakana, 21},
    {Qt::Key_Kanji, 25},
    {Qt::Key_Zenkaku_Hankaku, 25},
    {Qt::Key_Escape, 27},
    {Qt::Key_Henkan, 28},
    {Qt::Key_Muhenkan, 29},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Select, 41},
    {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},
    {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // The punctuation keys of the main block, as on the usual keyboard.
    {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},
    {Qt::Key_Plus, 187},
    {Qt::Key_Equal, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_At, 192},
    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},
    {Qt::Key_yen, 220},
    {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    {Qt::Key_AsciiCircum, 222},
};

// The number block, told apart from the main block by the keypad flag.
constexpr KeyRow kKeypad[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Slash, 111}, {Qt::Key_Enter, 13},
};

} // namespace

int keyCode(int key, bool keypad) {
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) {
            return 96 + (key - Qt::Key_0);
        }
        for (const KeyRow& r : kKeypad) {
            if (r.qt == key) {
                return r.old;
            }
        }
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
        key == Qt::Key_Space) {
        return key;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return 112 + (key - Qt::Key_F1);
    }
    for (const KeyRow& r : kKeys) {
        if (r.qt == key) {
            return r.old;
        }
    }
    return 0;
}

int keyCode(const QKeyEvent* e) {
    return keyCode(e->key(), e->modifiers() & Qt::KeypadModifier);
}

int keyAscii(const QKeyEvent* e) {
    const QString t = e->text();
    if (!t.isEmpty()) {
        return t.at(0).unicode();
    }
    // Some platforms send Enter and Esc without their text.
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    default:
        return 0;
    }
}

} // namespace vx::common
