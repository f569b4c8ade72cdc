// The table from Qt keys to virtual-key codes.
#include "ui/KeyTranslation.h"

#include <array>

namespace vexa::ui {
namespace {

struct KeyRow {
    int qtKey;
    uint16_t code;
};

// Keys whose code does not follow from a range of Qt keys. Shifted punctuation maps to the
// code of its unshifted key, as the US layout places them.
constexpr std::array kKeyRows{
    KeyRow{Qt::Key_Tab, 0x09},
    KeyRow{Qt::Key_Backtab, 0x09},
    KeyRow{Qt::Key_Backspace, 0x08},
    KeyRow{Qt::Key_Clear, 0x0C},
    KeyRow{Qt::Key_Return, 0x0D},
    KeyRow{Qt::Key_Enter, 0x0D},
    KeyRow{Qt::Key_Shift, 0x10},
    KeyRow{Qt::Key_Control, 0x11},
    KeyRow{Qt::Key_Alt, 0x12},
    KeyRow{Qt::Key_Pause, 0x13},
    KeyRow{Qt::Key_CapsLock, 0x14},
    KeyRow{Qt::Key_Escape, 0x1B},
    KeyRow{Qt::Key_Space, 0x20},
    KeyRow{Qt::Key_PageUp, 0x21},
    KeyRow{Qt::Key_PageDown, 0x22},
    KeyRow{Qt::Key_End, 0x23},
    KeyRow{Qt::Key_Home, 0x24},
    KeyRow{Qt::Key_Left, 0x25},
    KeyRow{Qt::Key_Up, 0x26},
    KeyRow{Qt::Key_Right, 0x27},
    KeyRow{Qt::Key_Down, 0x28},
    KeyRow{Qt::Key_Select, 0x29},
    KeyRow{Qt::Key_Print, 0x2A},
    KeyRow{Qt::Key_Execute, 0x2B},
    KeyRow{Qt::Key_SysReq, 0x2C},
    KeyRow{Qt::Key_Insert, 0x2D},
    KeyRow{Qt::Key_Delete, 0x2E},
    KeyRow{Qt::Key_Help, 0x2F},
    KeyRow{Qt::Key_NumLock, 0x90},
    KeyRow{Qt::Key_ScrollLock, 0x91},
    KeyRow{Qt::Key_Semicolon, 0xBA},
    KeyRow{Qt::Key_Colon, 0xBA},
    KeyRow{Qt::Key_Equal, 0xBB},
    KeyRow{Qt::Key_Plus, 0xBB},
    KeyRow{Qt::Key_Comma, 0xBC},
    KeyRow{Qt::Key_Less, 0xBC},
    KeyRow{Qt::Key_Minus, 0xBD},
    KeyRow{Qt::Key_Underscore, 0xBD},
    KeyRow{Qt::Key_Period, 0xBE},
    KeyRow{Qt::Key_Greater, 0xBE},
    KeyRow{Qt::Key_Slash, 0xBF},
    KeyRow{Qt::Key_Question, 0xBF},
    KeyRow{Qt::Key_QuoteLeft, 0xC0},
    KeyRow{Qt::Key_AsciiTilde, 0xC0},
    KeyRow{Qt::Key_BracketLeft, 0xDB},
    KeyRow{Qt::Key_BraceLeft, 0xDB},
    KeyRow{Qt::Key_Backslash, 0xDC},
    KeyRow{Qt::Key_Bar, 0xDC},
    KeyRow{Qt::Key_BracketRight, 0xDD},
    KeyRow{Qt::Key_BraceRight, 0xDD},
    KeyRow{Qt::Key_Apostrophe, 0xDE},
    KeyRow{Qt::Key_QuoteDbl, 0xDE},
    KeyRow{Qt::Key_Exclam, 0x31},
    KeyRow{Qt::Key_At, 0x32},
    KeyRow{Qt::Key_NumberSign, 0x33},
    KeyRow{Qt::Key_Dollar, 0x34},
    KeyRow{Qt::Key_Percent, 0x35},
    KeyRow{Qt::Key_AsciiCircum, 0x36},
    KeyRow{Qt::Key_Ampersand, 0x37},
    KeyRow{Qt::Key_Asterisk, 0x38},
    KeyRow{Qt::Key_ParenLeft, 0x39},
    KeyRow{Qt::Key_ParenRight, 0x30},
    // The Windows-logo and application keys have their own codes; AltGr is the right Alt.
    KeyRow{Qt::Key_Super_L, 0x5B},
    KeyRow{Qt::Key_Meta, 0x5B},
    KeyRow{Qt::Key_Super_R, 0x5C},
    KeyRow{Qt::Key_Menu, 0x5D},
    KeyRow{Qt::Key_Sleep, 0x5F},
    KeyRow{Qt::Key_Cancel, 0x03},
    KeyRow{Qt::Key_AltGr, 0x12},
    KeyRow{Qt::Key_Printer, 0x2A},
};

// Keypad keys other than the digits; Qt reports them with the keypad modifier.
constexpr std::array kKeypadRows{
    KeyRow{Qt::Key_Asterisk, 0x6A}, KeyRow{Qt::Key_Plus, 0x6B},   KeyRow{Qt::Key_Comma, 0x6C},
    KeyRow{Qt::Key_Minus, 0x6D},    KeyRow{Qt::Key_Period, 0x6E}, KeyRow{Qt::Key_Slash, 0x6F},
};

template <std::size_t N>
std::optional<uint16_t> findRow(const std::array<KeyRow, N>& rows, int qtKey) {
    for (const KeyRow& row : rows) {
        if (row.qtKey == qtKey) {
            return row.code;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<uint16_t> virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return static_cast<uint16_t>((keypad ? 0x60 : 0x30) + (qtKey - Qt::Key_0));
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return static_cast<uint16_t>(0x41 + (qtKey - Qt::Key_A));
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<uint16_t>(0x70 + (qtKey - Qt::Key_F1));
    }
    if (keypad) {
        if (auto code = findRow(kKeypadRows, qtKey)) {
            return code;
        }
    }
    return findRow(kKeyRows, qtKey);
}

uint16_t modifierSet(Qt::KeyboardModifiers modifiers) {
    uint16_t set = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        set |= kShiftBit;
    }
    if (modifiers.testFlag(Qt::ControlModifier)) {
        set |= kCtrlBit;
    }
    if (modifiers.testFlag(Qt::AltModifier)) {
        set |= kAltBit;
    }
    return set;
}

std::optional<VirtualKey> translateKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    auto code = virtualKeyCode(qtKey, modifiers);
    if (!code) {
        return std::nullopt;
    }
    return VirtualKey{*code, modifierSet(modifiers)};
}

} // namespace vexa::ui
