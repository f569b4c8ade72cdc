// The readable text form of a keymap: export to ".ZXP" files and import from text of that form.
#pragma once

#include <string>
#include <string_view>

#include "keyboard/Keymap.h"

namespace vexa {

inline constexpr std::string_view kKeymapExportExtension = ".ZXP";

// The export text, lines ending in CR LF: the three flags, the table count, then per table its
// prefix and binding count followed by its bindings sorted by function identifier, each with the
// function's name (empty for an identifier the function table does not know).
std::string exportKeymapText(const Keymap& keymap);

// A new keymap read from text of the export form. Missing flags stay 1, the table count is
// limited to 28 and each binding count to 500; a function name the table does not know gives
// the identifier 2000, so the binding is kept but never matches. Leading zeros and column
// widths do not matter. Each record is read from a line of its own, so a binding written with
// an empty name does not swallow the next line. Reading stops at the first record that is not
// there or holds no numbers.
Keymap importKeymapText(std::string_view text);

} // namespace vexa
