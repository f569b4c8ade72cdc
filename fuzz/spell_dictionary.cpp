// Fuzzes the dictionary reader: the records after the header, then every rule on the words read,
// and a write and read back that must give the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "aids/SpellDictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vexa::aids;
    const std::span<const char> bytes(reinterpret_cast<const char*>(data), size);
    SpellDictionary dictionary;
    (void)dictionary.decodeBody(bytes, true);
    for (const auto& bucket : dictionary.buckets()) {
        for (const std::string& word : bucket.words) {
            if (!dictionary.isKnown(word, false) || !dictionary.accepts(word)) {
                std::abort();
            }
            std::vector<std::string> list;
            dictionary.suggest(word, list);
        }
    }
    const std::string encoded = dictionary.encodeBody();
    SpellDictionary again;
    if (again.decodeBody(encoded, true) != SpellRead::Ok || again.wordCount() != dictionary.wordCount()) {
        std::abort();
    }
    // The checking rules on the raw input as one word.
    const std::string_view word(bytes.data(), std::min<size_t>(size, 80));
    (void)dictionary.accepts(word);
    (void)phoneticKey(word);
    return 0;
}
