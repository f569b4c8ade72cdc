// Fuzzes the template-set reader: the records after the header, read with and without entries,
// written back and read again, and every stored abbreviation found by lookup.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "aids/TemplateSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vexa::aids;
    const std::span<const char> bytes(reinterpret_cast<const char*>(data), size);
    for (const bool readable : {true, false}) {
        TemplateSet set;
        (void)decodeTemplateBody(bytes, readable, set);
        if (set.name.size() >= kTemplateNameWidth || set.description.size() > kMaxTemplateDescription) {
            std::abort();
        }
        for (const TemplateEntry& entry : set.entries()) {
            if (entry.abbreviation.size() > kMaxAbbreviation || entry.expansion.size() > kMaxExpansion ||
                set.lookup(entry.abbreviation) == nullptr) {
                std::abort();
            }
        }
        const std::string encoded = encodeTemplateBody(set);
        TemplateSet again;
        if (decodeTemplateBody(encoded, true, again) != TemplateRead::Ok || !(again == set)) {
            std::abort();
        }
    }
    return 0;
}
