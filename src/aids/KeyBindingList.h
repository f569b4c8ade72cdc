// The readable list of a keymap's bindings, made from the keymap itself.
#pragma once

#include <string>

namespace vexa {
class Keymap;
class PrefixKeyList;
} // namespace vexa

namespace vexa::aids {

// One section per table: the primary table first ("Keys"), then each prefix table headed by
// its prefix key (and the prefix's name when it has one); in each, one line per binding with the
// key and the function's name, sorted by key. Lines end in a line feed.
[[nodiscard]] std::string keyBindingListText(const Keymap& keymap, const PrefixKeyList& prefixes);

} // namespace vexa::aids
