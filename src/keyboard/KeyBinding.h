// One key binding: a key with its modifier set and the editor function it runs.
#pragma once

#include <cstdint>

namespace vexa {

// The bits of a modifier set.
inline constexpr uint16_t kModifierShift = 1;
inline constexpr uint16_t kModifierCtrl = 2;
inline constexpr uint16_t kModifierAlt = 4;

// Six bytes in keymap files, in this field order. A function of 2000 means no function: such a
// binding never matches.
struct KeyBinding {
    uint16_t keyCode = 0;
    uint16_t modifiers = 0;
    uint16_t function = 0;

    friend bool operator==(const KeyBinding&, const KeyBinding&) = default;
};

} // namespace vexa
