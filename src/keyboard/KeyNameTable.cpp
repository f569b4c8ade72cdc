// The key-name table and the texts of keys with their modifier sets.
#include "keyboard/KeyNameTable.h"

#include <array>

namespace vexa {

namespace {

// The order is the order of the binding dialog's key-code list; a key code's first row gives its name.
constexpr std::array<KeyName, 119> kKeyNames = {{
    // rows 1-10: digits
    {0x30, "VK_0", "0"},
    {0x31, "VK_1", "1"},
    {0x32, "VK_2", "2"},
    {0x33, "VK_3", "3"},
    {0x34, "VK_4", "4"},
    {0x35, "VK_5", "5"},
    {0x36, "VK_6", "6"},
    {0x37, "VK_7", "7"},
    {0x38, "VK_8", "8"},
    {0x39, "VK_9", "9"},
    // rows 11-36: letters
    {0x41, "VK_A", "A"},
    {0x42, "VK_B", "B"},
    {0x43, "VK_C", "C"},
    {0x44, "VK_D", "D"},
    {0x45, "VK_E", "E"},
    {0x46, "VK_F", "F"},
    {0x47, "VK_G", "G"},
    {0x48, "VK_H", "H"},
    {0x49, "VK_I", "I"},
    {0x4A, "VK_J", "J"},
    {0x4B, "VK_K", "K"},
    {0x4C, "VK_L", "L"},
    {0x4D, "VK_M", "M"},
    {0x4E, "VK_N", "N"},
    {0x4F, "VK_O", "O"},
    {0x50, "VK_P", "P"},
    {0x51, "VK_Q", "Q"},
    {0x52, "VK_R", "R"},
    {0x53, "VK_S", "S"},
    {0x54, "VK_T", "T"},
    {0x55, "VK_U", "U"},
    {0x56, "VK_V", "V"},
    {0x57, "VK_W", "W"},
    {0x58, "VK_X", "X"},
    {0x59, "VK_Y", "Y"},
    {0x5A, "VK_Z", "Z"},
    // rows 37-66: control and editing keys
    {0x09, "VK_TAB", "Tab"},
    {0x01, "VK_LBUTTON", "Lbutton"},
    {0x02, "VK_RBUTTON", "Rbutton"},
    {0x03, "VK_CANCEL", "Cancel"},
    {0x04, "VK_MBUTTON", "Mbutton"},
    {0x08, "VK_BACK", "Back"},
    {0x0C, "VK_CLEAR", "Clear"},
    {0x0D, "VK_RETURN", "Return"},
    {0x10, "VK_SHIFT", "Shift"},
    {0x11, "VK_CONTROL", "Control"},
    {0x12, "VK_MENU", "Menu"},
    {0x13, "VK_PAUSE", "Pause"},
    {0x14, "VK_CAPITAL", "Capital"},
    {0x1B, "VK_ESCAPE", "Escape"},
    {0x20, "VK_SPACE", "Space"},
    {0x21, "VK_PRIOR", "Prior"},
    {0x22, "VK_NEXT", "Next"},
    {0x23, "VK_END", "End"},
    {0x24, "VK_HOME", "Home"},
    {0x25, "VK_LEFT", "Left"},
    {0x26, "VK_UP", "Up"},
    {0x27, "VK_RIGHT", "Right"},
    {0x28, "VK_DOWN", "Down"},
    {0x29, "VK_SELECT", "Select"},
    {0x2A, "VK_PRINT", "Print"},
    {0x2B, "VK_EXECUTE", "Execute"},
    {0x2C, "VK_SNAPSHOT", "Snapshot"},
    {0x2D, "VK_INSERT", "Insert"},
    {0x2E, "VK_DELETE", "Delete"},
    {0x2F, "VK_HELP", "Help"},
    // rows 67-76: numeric keypad
    {0x60, "VK_NUMPAD0", "Numpad0"},
    {0x61, "VK_NUMPAD1", "Numpad1"},
    {0x62, "VK_NUMPAD2", "Numpad2"},
    {0x63, "VK_NUMPAD3", "Numpad3"},
    {0x64, "VK_NUMPAD4", "Numpad4"},
    {0x65, "VK_NUMPAD5", "Numpad5"},
    {0x66, "VK_NUMPAD6", "Numpad6"},
    {0x67, "VK_NUMPAD7", "Numpad7"},
    {0x68, "VK_NUMPAD8", "Numpad8"},
    {0x69, "VK_NUMPAD9", "Numpad9"},
    // rows 77-82: keypad operators
    {0x6A, "VK_MULTIPLY", "Multiply"},
    {0x6B, "VK_ADD", "Plus"},
    {0x6C, "VK_SEPARATOR", "Separator"},
    {0x6D, "VK_SUBTRACT", "Minus"},
    {0x6E, "VK_DECIMAL", "Decimal"},
    {0x6F, "VK_DIVIDE", "Divide"},
    // rows 83-106: function keys
    {0x70, "VK_F1", "F1"},
    {0x71, "VK_F2", "F2"},
    {0x72, "VK_F3", "F3"},
    {0x73, "VK_F4", "F4"},
    {0x74, "VK_F5", "F5"},
    {0x75, "VK_F6", "F6"},
    {0x76, "VK_F7", "F7"},
    {0x77, "VK_F8", "F8"},
    {0x78, "VK_F9", "F9"},
    {0x79, "VK_F10", "F10"},
    {0x7A, "VK_F11", "F11"},
    {0x7B, "VK_F12", "F12"},
    {0x7C, "VK_F13", "F13"},
    {0x7D, "VK_F14", "F14"},
    {0x7E, "VK_F15", "F15"},
    {0x7F, "VK_F16", "F16"},
    {0x80, "VK_F17", "F17"},
    {0x81, "VK_F18", "F18"},
    {0x82, "VK_F19", "F19"},
    {0x83, "VK_F20", "F20"},
    {0x84, "VK_F21", "F21"},
    {0x85, "VK_F22", "F22"},
    {0x86, "VK_F23", "F23"},
    {0x87, "VK_F24", "F24"},
    // rows 107-108: lock keys
    {0x90, "VK_NUMLOCK", "NumLock"},
    {0x91, "VK_SCROLL", "Scroll"},
    // rows 109-119: punctuation keys; their display name is replaced by the character of the layout
    {0xC0, "VK_0xC0", "VK_0xC0"},
    {0xBD, "VK_0xBD", "Minus"},
    {0xBB, "VK_0xBB", "VK_0xBB"},
    {0xDC, "VK_0xDC", "VK_0xDC"},
    {0xDB, "VK_0xDB", "VK_0xDB"},
    {0xDD, "VK_0xDD", "]"},
    {0xBA, "VK_0xBA", "VK_0xBA"},
    {0xDE, "VK_0xDE", "VK_0xDE"},
    {0xBC, "VK_0xBC", "VK_0xBC"},
    {0xBE, "VK_0xBE", "VK_0xBE"},
    {0xBF, "VK_0xBF", "VK_0xBF"},
}};

// Indexed by modifier set; the sets with Ctrl and Alt together have no text.
constexpr std::array<std::string_view, 6> kModifierTexts = {"",     "Shift+",    "Ctrl+", "Ctrl+Shift+",
                                                            "Alt+", "Alt+Shift+"};

constexpr std::string_view kLayoutPlaceholder = "VK_0x";

} // namespace

std::span<const KeyName> keyNameTable() {
    return kKeyNames;
}

const KeyName* findKeyName(uint16_t keyCode) {
    for (const KeyName& row : kKeyNames) {
        if (row.keyCode == keyCode) {
            return &row;
        }
    }
    return nullptr;
}

std::optional<std::string_view> modifierText(uint16_t modifiers) {
    if (modifiers >= kModifierTexts.size()) {
        return std::nullopt;
    }
    return kModifierTexts[modifiers];
}

char usLayoutCharacter(uint16_t keyCode) {
    switch (keyCode) {
    case 0xBA:
        return ';';
    case 0xBB:
        return '=';
    case 0xBC:
        return ',';
    case 0xBD:
        return '-';
    case 0xBE:
        return '.';
    case 0xBF:
        return '/';
    case 0xC0:
        return '`';
    case 0xDB:
        return '[';
    case 0xDC:
        return '\\';
    case 0xDD:
        return ']';
    case 0xDE:
        return '\'';
    default:
        return '\0';
    }
}

std::optional<std::string> keyName(uint16_t keyCode, uint16_t modifiers, LayoutCharacter layout) {
    const std::optional<std::string_view> modifiersText = modifierText(modifiers);
    if (!modifiersText) {
        return std::nullopt;
    }
    std::string text(*modifiersText);
    const KeyName* row = findKeyName(keyCode);
    if (row == nullptr) {
        return text;
    }
    if (row->displayName.starts_with(kLayoutPlaceholder)) {
        const char character = layout != nullptr ? layout(keyCode) : '\0';
        if (character != '\0') {
            text += character;
        }
    } else {
        text += row->displayName;
    }
    return text;
}

} // namespace vexa
