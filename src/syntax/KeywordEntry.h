// Keyword entries of an extension profile: the fixed-width record, its ordering and the lookups.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vexa::syntax {

// A keyword holds at most 20 characters; its text field is 21 bytes so that it stays
// NUL-terminated inside the record, as it is stored in profile files.
inline constexpr std::size_t kKeywordMaxLength = 20;
inline constexpr std::size_t kKeywordFieldWidth = 21;

// Whether keywords compare byte for byte or without regard to letter case.
enum class CaseMode : uint8_t { Sensitive, Insensitive };

struct KeywordEntry {
    std::array<char, kKeywordFieldWidth> text{};
    uint16_t length = 0;

    // An entry holding the first 20 characters of word, zero-filled.
    static constexpr KeywordEntry make(std::string_view word) {
        KeywordEntry entry;
        const std::size_t n = word.size() < kKeywordMaxLength ? word.size() : kKeywordMaxLength;
        for (std::size_t i = 0; i < n; ++i) {
            entry.text[i] = word[i];
        }
        entry.length = static_cast<uint16_t>(n);
        return entry;
    }

    std::string_view view() const { return std::string_view(text.data(), length); }
};

using KeywordList = std::vector<KeywordEntry>;

// The entry comparison: a probe of length 0 matches any entry it begins with (prefix mode);
// otherwise the first max(len(A), len(B)) characters are compared, so only equal texts are equal.
// Returns <0, 0 or >0 like a string comparison of unsigned bytes.
int compareEntries(const KeywordEntry& probe, const KeywordEntry& entry, CaseMode mode);

// Sorts a list with the entry comparison; entries that compare equal keep their order.
void sortKeywords(KeywordList& list, CaseMode mode);

// Binary search of a sorted list; the found entry or nullptr.
const KeywordEntry* findKeyword(std::span<const KeywordEntry> sorted, const KeywordEntry& probe,
                                CaseMode mode);

// The same search for an exact word in a list sorted byte for byte, without building a probe
// entry: the tokenizer's path for every word of a line.
const KeywordEntry* findExactKeyword(std::span<const KeywordEntry> sorted, std::string_view word);

// Prefix mode: the longest keyword that the text begins with, or nullptr. Several keywords can
// be prefixes of one text and they need not sit side by side in the sorted order, so each
// possible length is looked up exactly, longest first.
const KeywordEntry* findPrefixKeyword(std::span<const KeywordEntry> sorted, std::string_view text,
                                      CaseMode mode);

// The keyword list that the New button gives a profile: the 55 words of C and C++, in order.
std::span<const KeywordEntry> builtInKeywords();

} // namespace vexa::syntax
