// Feeds arbitrary bytes to the dialog history reader: nothing may crash, and what it read must
// write back to bytes that read the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/HistoryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    vexa::HistoryFile history;
    (void)history.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (history.entries().size() > vexa::HistoryFile::kMaxEntries ||
        history.replaceIndex() >= vexa::HistoryFile::kMaxEntries) {
        __builtin_trap();
    }
    vexa::HistoryFile again;
    if (!again.parse(history.serialize()) || again.entries() != history.entries() ||
        again.replaceIndex() != history.replaceIndex()) {
        __builtin_trap();
    }
    history.enter(std::string_view(reinterpret_cast<const char*>(data), size > 300 ? 300 : size));
    return 0;
}
