// Turns Qt key events into the virtual-key codes and modifier sets the keymaps are written in.
#pragma once

#include <Qt>
#include <cstdint>
#include <optional>

namespace vexa::ui {

// Modifier bits of a key binding.
inline constexpr uint16_t kShiftBit = 1;
inline constexpr uint16_t kCtrlBit = 2;
inline constexpr uint16_t kAltBit = 4;

struct VirtualKey {
    uint16_t code = 0;
    uint16_t modifiers = 0;
};

// The virtual-key code of a Qt key, on the US keyboard layout: a shifted punctuation key
// (Qt::Key_Exclam, Qt::Key_Colon, ...) gives the code of the key that produces it. Keypad
// digits and operators are told apart by Qt::KeypadModifier. Nothing for keys a keymap
// cannot bind (dead keys, media keys, input-method keys).
std::optional<uint16_t> virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// The modifier set: Shift 1, Ctrl 2, Alt 4.
uint16_t modifierSet(Qt::KeyboardModifiers modifiers);

// Both of the above together.
std::optional<VirtualKey> translateKey(int qtKey, Qt::KeyboardModifiers modifiers);

} // namespace vexa::ui
