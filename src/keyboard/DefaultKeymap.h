// The default keymap built into the program: never stored as a file, chosen by its reserved name.
#pragma once

#include <span>
#include <string_view>

#include "keyboard/KeyBinding.h"

namespace vexa {

// The name that selects the built-in keymap instead of a keymap file (compared exactly).
inline constexpr std::string_view kDefaultKeymapName = "<Default Keymap>";

// The bindings of the default keymap's primary table in their stored order; it has no prefix
// tables and its three behaviour flags are on.
std::span<const KeyBinding> defaultKeyBindings();

} // namespace vexa
