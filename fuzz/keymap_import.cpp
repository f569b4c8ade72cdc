// Fuzzes the keymap import reader; an imported keymap's export imports to the same export.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "keyboard/KeymapText.h"
#include "keyboard/PrefixKeyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vexa::Keymap keymap =
        vexa::importKeymapText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (keymap.tables().size() > vexa::Keymap::kMaxTables) {
        std::abort();
    }
    for (const vexa::KeyTable& table : keymap.tables()) {
        if (table.size() > vexa::KeyTable::kMaxBindings) {
            std::abort();
        }
    }
    const std::string exported = vexa::exportKeymapText(keymap);
    if (vexa::exportKeymapText(vexa::importKeymapText(exported)) != exported) {
        std::abort();
    }
    const vexa::PrefixKeyList prefixes;
    for (const vexa::KeyTable& table : keymap.tables()) {
        for (const vexa::KeyBinding& binding : table.bindings()) {
            (void)keymap.keyTextFor(binding.function, prefixes);
        }
    }
    return 0;
}
