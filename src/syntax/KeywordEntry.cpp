// The entry comparison, sorting and binary search of keyword lists, and the built-in list.
#include "syntax/KeywordEntry.h"

#include <algorithm>

namespace vexa::syntax {

namespace {

constexpr unsigned char foldCase(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

constexpr std::array<std::string_view, 55> kBuiltInWords = {
    "asm",     "auto",     "break",     "case",    "catch",    "cdecl",    "char",     "class",
    "const",   "continue", "default",   "delete",  "do",       "double",   "else",     "enum",
    "extern",  "far",      "float",     "for",     "friend",   "goto",     "huge",     "if",
    "inline",  "int",      "interrupt", "long",    "near",     "new",      "operator", "overload",
    "pascal",  "private",  "protected", "public",  "register", "return",   "short",    "signed",
    "sizeof",  "static",   "struct",    "switch",  "template", "this",     "throw",    "try",
    "typedef", "union",    "unsigned",  "virtual", "void",     "volatile", "while"};

constexpr std::array<KeywordEntry, kBuiltInWords.size()> makeBuiltIn() {
    std::array<KeywordEntry, kBuiltInWords.size()> entries{};
    for (std::size_t i = 0; i < kBuiltInWords.size(); ++i) {
        entries[i] = KeywordEntry::make(kBuiltInWords[i]);
    }
    return entries;
}

constexpr std::array<KeywordEntry, kBuiltInWords.size()> kBuiltIn = makeBuiltIn();

} // namespace

int compareEntries(const KeywordEntry& probe, const KeywordEntry& entry, CaseMode mode) {
    std::size_t count = probe.length == 0 ? entry.length : std::max(probe.length, entry.length);
    // Lengths read from a file are not trusted beyond the width of the text field.
    count = std::min(count, kKeywordFieldWidth);
    for (std::size_t i = 0; i < count; ++i) {
        auto a = static_cast<unsigned char>(probe.text[i]);
        auto b = static_cast<unsigned char>(entry.text[i]);
        if (mode == CaseMode::Insensitive) {
            a = foldCase(a);
            b = foldCase(b);
        }
        if (a != b) {
            return a < b ? -1 : 1;
        }
        if (a == 0) {
            return 0;
        }
    }
    return 0;
}

void sortKeywords(KeywordList& list, CaseMode mode) {
    std::stable_sort(list.begin(), list.end(), [mode](const KeywordEntry& a, const KeywordEntry& b) {
        return compareEntries(a, b, mode) < 0;
    });
}

const KeywordEntry* findKeyword(std::span<const KeywordEntry> sorted, const KeywordEntry& probe,
                                CaseMode mode) {
    std::size_t low = 0;
    std::size_t high = sorted.size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        const int order = compareEntries(probe, sorted[mid], mode);
        if (order == 0) {
            return &sorted[mid];
        }
        if (order < 0) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return nullptr;
}

const KeywordEntry* findExactKeyword(std::span<const KeywordEntry> sorted, std::string_view word) {
    std::size_t low = 0;
    std::size_t high = sorted.size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        // Entries hold no NUL before their length, so the byte order of the texts is the order
        // of the entry comparison.
        const int order = word.compare(sorted[mid].view());
        if (order == 0) {
            return &sorted[mid];
        }
        if (order < 0) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return nullptr;
}

const KeywordEntry* findPrefixKeyword(std::span<const KeywordEntry> sorted, std::string_view text,
                                      CaseMode mode) {
    if (sorted.empty()) {
        return nullptr;
    }
    for (std::size_t n = std::min(text.size(), kKeywordMaxLength); n > 0; --n) {
        if (const KeywordEntry* found = findKeyword(sorted, KeywordEntry::make(text.substr(0, n)), mode)) {
            return found;
        }
    }
    return nullptr;
}

std::span<const KeywordEntry> builtInKeywords() {
    return kBuiltIn;
}

} // namespace vexa::syntax
