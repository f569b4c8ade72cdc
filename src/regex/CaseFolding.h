// Case independence of characters in UTF-8 text: the ASCII letters and the Latin letters that
// have both cases in Windows-1252 (À to Þ and à to þ without × and ÷, Š, Œ, Ž, Ÿ), compared as
// characters. Both cases of each of these letters take the same number of bytes in UTF-8, so a
// text and its other-case form have the same length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vexa {

// The lower-case form of a character (the character itself when it has none here).
[[nodiscard]] constexpr char32_t foldedCharacter(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    switch (c) {
    case 0x160: // Š
    case 0x152: // Œ
    case 0x17D: // Ž
        return c + 1;
    case 0x178: // Ÿ
        return 0xFF;
    default:
        return c;
    }
}

// The other-case form of a character, or the character itself when it has none.
[[nodiscard]] constexpr char32_t otherCaseCharacter(char32_t c) {
    const char32_t lower = foldedCharacter(c);
    if (lower != c) {
        return lower;
    }
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    switch (c) {
    case 0x161:
    case 0x153:
    case 0x17E:
        return c - 1;
    case 0xFF:
        return 0x178;
    default:
        return c;
    }
}

// Whether the first bytes of two UTF-8 characters can belong to characters equal independently
// of case: the ASCII letters fold, and the non-ASCII letters that fold all start with 0xC3 or
// 0xC5 (Ÿ with 0xC5, ÿ with 0xC3).
[[nodiscard]] constexpr bool sameFoldedLead(uint8_t a, uint8_t b) {
    if (a == b) {
        return true;
    }
    const auto lower = [](uint8_t c) { return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + 0x20) : c; };
    if (lower(a) == lower(b)) {
        return true;
    }
    const auto latin = [](uint8_t c) { return c == 0xC3 || c == 0xC5; };
    return latin(a) && latin(b);
}

// Whether the UTF-8 text at `text` (with `available` bytes) starts with `literal` independently of
// case; only whole, valid characters of the text fold.
[[nodiscard]] bool startsWithFoldedUtf8(const uint8_t* text, std::size_t available, std::string_view literal);

// The first offset at or after `from` where `literal` occurs in `text` independently of case,
// starting and ending on character boundaries; npos when there is none.
[[nodiscard]] std::size_t findFoldedUtf8(std::string_view text, std::string_view literal, std::size_t from);

// Whether an offset starts a character of UTF-8 text (the end of the text counts as one).
[[nodiscard]] bool isUtf8Boundary(std::string_view text, std::size_t offset);

} // namespace vexa
