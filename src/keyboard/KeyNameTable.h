// The key-name table: key codes with the names the binding dialog lists and the names key texts show.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vexa {

struct KeyName {
    uint16_t keyCode = 0;
    std::string_view codeName;    // listed by the binding dialog, such as "VK_PRIOR"
    std::string_view displayName; // shown in key texts, such as "Prior"
};

// The 119 rows in table order.
std::span<const KeyName> keyNameTable();

// The first row with the key code; nullptr when the table has none.
const KeyName* findKeyName(uint16_t keyCode);

// The text of a modifier set: "", "Shift+", "Ctrl+", "Ctrl+Shift+", "Alt+", "Alt+Shift+"; the sets
// with Ctrl and Alt together have none.
std::optional<std::string_view> modifierText(uint16_t modifiers);

// The unshifted character a key produces on the keyboard layout, '\0' when it produces none.
using LayoutCharacter = char (*)(uint16_t keyCode);

// The characters of the punctuation keys on a US layout.
char usLayoutCharacter(uint16_t keyCode);

// The text of a key with its modifier set as menus show it. A punctuation key, whose row has no
// display name of its own, shows the layout's character; a key code without a row gives the modifier
// text alone; a modifier set without a text gives nothing, meaning "no key".
std::optional<std::string> keyName(uint16_t keyCode, uint16_t modifiers,
                                   LayoutCharacter layout = usLayoutCharacter);

} // namespace vexa
