// Comparing UTF-8 text independently of case.
#include "regex/CaseFolding.h"

#include "text/TextEncoding.h"

namespace vexa {

namespace {

constexpr uint8_t lowerAscii(uint8_t c) {
    return c >= 'A' && c <= 'Z' ? static_cast<uint8_t>(c + ('a' - 'A')) : c;
}

} // namespace

bool startsWithFoldedUtf8(const uint8_t* text, std::size_t available, std::string_view literal) {
    if (literal.size() > available) {
        return false;
    }
    const std::string_view subject(reinterpret_cast<const char*>(text), available);
    std::size_t i = 0;
    while (i < literal.size()) {
        const auto wanted = static_cast<uint8_t>(literal[i]);
        if (wanted < 0x80) {
            if (lowerAscii(wanted) != lowerAscii(text[i])) {
                return false;
            }
            ++i;
            continue;
        }
        const text::Decoded expected = text::decodeUtf8(literal, i);
        if (!expected.valid) {
            // A byte that is no character of its own compares exactly.
            if (wanted != text[i]) {
                return false;
            }
            ++i;
            continue;
        }
        const text::Decoded found = text::decodeUtf8(subject, i);
        if (!found.valid || found.length != expected.length ||
            foldedCharacter(found.character) != foldedCharacter(expected.character)) {
            return false;
        }
        i += static_cast<std::size_t>(expected.length);
    }
    return true;
}

bool isUtf8Boundary(std::string_view text, std::size_t offset) {
    if (offset >= text.size() || (static_cast<uint8_t>(text[offset]) & 0xC0) != 0x80) {
        return true;
    }
    const int at = static_cast<int>(offset);
    return text::characterStart(text, at, TextEncoding::Utf8) == at;
}

std::size_t findFoldedUtf8(std::string_view text, std::string_view literal, std::size_t from) {
    if (literal.empty() || literal.size() > text.size()) {
        return std::string_view::npos;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    // The two bytes a match can begin with.
    const auto first = static_cast<uint8_t>(literal[0]);
    uint8_t other = first;
    if (first >= 'a' && first <= 'z') {
        other = static_cast<uint8_t>(first - ('a' - 'A'));
    } else if (first >= 'A' && first <= 'Z') {
        other = static_cast<uint8_t>(first + ('a' - 'A'));
    } else if (first == 0xC3 || first == 0xC5) {
        other = first == 0xC3 ? 0xC5 : 0xC3;
    }
    const std::size_t last = text.size() - literal.size();
    for (std::size_t at = from; at <= last; ++at) {
        if (bytes[at] != first && bytes[at] != other) {
            continue;
        }
        if (startsWithFoldedUtf8(bytes + at, text.size() - at, literal) && isUtf8Boundary(text, at) &&
            isUtf8Boundary(text, at + literal.size())) {
            return at;
        }
    }
    return std::string_view::npos;
}

} // namespace vexa
