// Fuzzes the prefix-key file reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "keyboard/PrefixKeyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vexa::PrefixKeyList list;
    list.addFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (list.size() > vexa::PrefixKeyList::kMaxEntries ||
        list.entries().front().name != vexa::kNoPrefixName) {
        std::abort();
    }
    for (const vexa::PrefixKey& entry : list.entries()) {
        if (entry.name.empty() || entry.name.size() > vexa::PrefixKeyList::kMaxNameLength) {
            std::abort();
        }
    }
    return 0;
}
