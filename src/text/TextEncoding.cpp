// Windows-1252 and UTF-8: decoding, character steps, cell widths and conversion.
#include "text/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vexa {

std::string_view encodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "UTF-8" : "1252";
}

std::string_view lineEndsName(LineEnds ends) {
    return ends == LineEnds::Unix ? "LF" : "CRLF";
}

namespace text {
namespace {

// 0x80..0x9F; the rest of the set agrees with Latin-1.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct CodeRange {
    char32_t first;
    char32_t last;
};

constexpr CodeRange kWide[] = {
#include "text/WideCharacters.inc"
};

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

char32_t windows1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

std::optional<unsigned char> unicodeToWindows1252(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<unsigned char>(character);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == character) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

Decoded decodeUtf8(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    int length = 0;
    char32_t character = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        character = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        character = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        character = lead & 0x07;
        minimum = 0x10000;
    } else {
        return {kReplacementCharacter, 1, false};
    }
    if (bytes.size() - at < static_cast<std::size_t>(length)) {
        return {kReplacementCharacter, 1, false};
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
        if (!isContinuation(next)) {
            return {kReplacementCharacter, 1, false};
        }
        character = (character << 6) | (next & 0x3F);
    }
    if (character < minimum || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF)) {
        return {kReplacementCharacter, 1, false};
    }
    return {character, length, true};
}

int characterStart(std::string_view bytes, int offset, TextEncoding encoding) {
    if (encoding != TextEncoding::Utf8 || offset <= 0 || offset >= static_cast<int>(bytes.size()) ||
        !isContinuation(static_cast<unsigned char>(bytes[static_cast<std::size_t>(offset)]))) {
        return offset;
    }
    // A continuation byte belongs to the sequence of a lead byte at most three bytes back when
    // that sequence is valid and reaches it; otherwise it is a character of its own.
    for (int back = 1; back <= 3 && offset - back >= 0; ++back) {
        const int lead = offset - back;
        if (!isContinuation(static_cast<unsigned char>(bytes[static_cast<std::size_t>(lead)]))) {
            const Decoded decoded = decodeUtf8(bytes, static_cast<std::size_t>(lead));
            return decoded.valid && lead + decoded.length > offset ? lead : offset;
        }
    }
    return offset;
}

int nextCharacter(std::string_view bytes, int offset, TextEncoding encoding) {
    if (offset < 0) {
        return 0;
    }
    if (encoding != TextEncoding::Utf8 || offset >= static_cast<int>(bytes.size())) {
        return offset + 1;
    }
    const int start = characterStart(bytes, offset, encoding);
    return start + decodeUtf8(bytes, static_cast<std::size_t>(start)).length;
}

int previousCharacter(std::string_view bytes, int offset, TextEncoding encoding) {
    if (offset <= 0) {
        return 0;
    }
    if (encoding != TextEncoding::Utf8 || offset > static_cast<int>(bytes.size())) {
        return offset - 1;
    }
    return characterStart(bytes, offset - 1, encoding);
}

std::string reverseCharacters(std::string_view bytes, TextEncoding encoding) {
    std::string reversed;
    reversed.reserve(bytes.size());
    for (int end = static_cast<int>(bytes.size()); end > 0;) {
        const int start = previousCharacter(bytes, end, encoding);
        reversed.append(bytes.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
        end = start;
    }
    return reversed;
}

int cellWidth(char32_t character) {
    if (character < kWide[0].first) {
        return 1;
    }
    const auto* found = std::upper_bound(std::begin(kWide), std::end(kWide), character,
                                         [](char32_t c, const CodeRange& range) { return c < range.first; });
    return found != std::begin(kWide) && character <= (found - 1)->last ? 2 : 1;
}

Utf8Check checkUtf8(std::string_view bytes) {
    Utf8Check check;
    std::size_t at = 0;
    while (at < bytes.size()) {
        // Plain ASCII goes sixteen bytes at a time.
        while (at + 16 <= bytes.size()) {
            uint64_t first = 0;
            uint64_t second = 0;
            std::memcpy(&first, bytes.data() + at, 8);
            std::memcpy(&second, bytes.data() + at + 8, 8);
            if (((first | second) & 0x8080808080808080ULL) != 0) {
                break;
            }
            at += 16;
        }
        if (at >= bytes.size()) {
            break;
        }
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {
            ++at;
            continue;
        }
        const Decoded decoded = decodeUtf8(bytes, at);
        if (!decoded.valid) {
            check.valid = false;
            return check;
        }
        check.multiByte = true;
        at += static_cast<std::size_t>(decoded.length);
    }
    return check;
}

void Utf8Stream::add(std::string_view bytes) {
    if (!m_check.valid || bytes.empty()) {
        return;
    }
    if (!m_carry.empty()) {
        // Complete the cut sequence with the first bytes of this piece.
        const std::size_t need = std::min<std::size_t>(4 - m_carry.size(), bytes.size());
        m_carry.append(bytes.substr(0, need));
        const Decoded decoded = decodeUtf8(m_carry, 0);
        if (!decoded.valid && m_carry.size() < 4 && need == bytes.size()) {
            return; // still too short to tell: wait for the next piece
        }
        if (!decoded.valid) {
            m_check.valid = false;
            return;
        }
        m_check.multiByte = true;
        const std::size_t used = static_cast<std::size_t>(decoded.length) - (m_carry.size() - need);
        m_carry.clear();
        bytes.remove_prefix(used);
    }
    // A lead byte among the last three bytes may start a sequence the next piece completes.
    std::size_t complete = bytes.size();
    for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if (byte >= 0xC0) {
            const Decoded decoded = decodeUtf8(bytes, bytes.size() - back);
            if (!decoded.valid) {
                complete = bytes.size() - back;
            }
            break;
        }
        if (byte < 0x80) {
            break;
        }
    }
    const Utf8Check check = checkUtf8(bytes.substr(0, complete));
    m_check.valid = check.valid;
    m_check.multiByte = m_check.multiByte || check.multiByte;
    if (m_check.valid) {
        m_carry.assign(bytes.substr(complete));
    }
}

Utf8Check Utf8Stream::result() const {
    Utf8Check check = m_check;
    if (!m_carry.empty()) {
        check.valid = false;
    }
    return check;
}

TextEncoding encodingFor(Utf8Check check, TextEncoding asciiDefault) {
    if (!check.valid) {
        return TextEncoding::Windows1252;
    }
    return check.multiByte ? TextEncoding::Utf8 : asciiDefault;
}

TextEncoding detectEncoding(std::string_view bytes, TextEncoding asciiDefault) {
    return encodingFor(checkUtf8(bytes), asciiDefault);
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string toUtf8(std::string_view bytes, TextEncoding from) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
            ++at;
        } else if (from == TextEncoding::Windows1252) {
            appendUtf8(out, windows1252ToUnicode(byte));
            ++at;
        } else {
            const Decoded decoded = decodeUtf8(bytes, at);
            appendUtf8(out, decoded.character);
            at += static_cast<std::size_t>(decoded.length);
        }
    }
    return out;
}

std::optional<std::string> fromUtf8(std::string_view utf8, TextEncoding to, char32_t* missing) {
    if (to == TextEncoding::Utf8) {
        return std::string(utf8);
    }
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const Decoded decoded = decodeUtf8(utf8, at);
        at += static_cast<std::size_t>(decoded.length);
        const auto byte = unicodeToWindows1252(decoded.character);
        if (!byte) {
            if (missing != nullptr) {
                *missing = decoded.character;
            }
            return std::nullopt;
        }
        out.push_back(static_cast<char>(*byte));
    }
    return out;
}

std::string externalToUtf8(std::string_view bytes) {
    return checkUtf8(bytes).valid ? std::string(bytes) : toUtf8(bytes, TextEncoding::Windows1252);
}

} // namespace text
} // namespace vexa
