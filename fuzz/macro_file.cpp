// Fuzzes the keyboard-macro file reader and the macro menu list reader: every event read must
// write back to the same bytes, and the menu list never yields more than its limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "keyboard/MacroFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const char> bytes(reinterpret_cast<const char*>(data), size);
    const vexa::MacroEvents events = vexa::decodeMacroEvents(bytes);
    if (events.size() != size / vexa::kMacroEventSize) {
        std::abort();
    }
    const std::string again = vexa::encodeMacroEvents(events);
    if (again != std::string(bytes.data(), events.size() * vexa::kMacroEventSize)) {
        std::abort();
    }
    for (bool newer : {false, true}) {
        const auto entries = vexa::decodeMacroMenu(bytes, newer);
        if (entries.size() > vexa::kMacroMenuMaxEntries || (newer && !entries.empty())) {
            std::abort();
        }
        for (const auto& entry : entries) {
            if (entry.name.size() > vexa::kMacroMenuNameWidth ||
                entry.path.size() > vexa::kMacroMenuPathWidth) {
                std::abort();
            }
        }
    }
    return 0;
}
