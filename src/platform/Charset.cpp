// The code page 437 <-> Windows-1252 conversion tables, derived at compile time from the two
// code pages' character assignments and one table of look-alike substitutes.
#include "platform/Charset.h"

#include <array>
#include <cstdint>

namespace vexa::platform {
namespace {

using CodePageHalf = std::array<char32_t, 128>;
using ByteTable = std::array<unsigned char, 256>;

// The characters of code page 437 at bytes 128..255.
constexpr CodePageHalf kOemHigh = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, //
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, // 90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, //
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, // A0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, //
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, //
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, //
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, //
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, //
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0, //
};

// The characters of Windows-1252 at bytes 128..255. The five unassigned bytes (81, 8D, 8F, 90,
// 9D) carry the C1 control of the same number, as the desktop's conversion treats them.
constexpr CodePageHalf kAnsiHigh = [] {
    CodePageHalf half{};
    for (char32_t i = 0; i < 128; ++i) {
        half[i] = 0x80 + i; // A0..FF are Latin-1
    }
    constexpr std::array<char32_t, 32> kC1Area = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
    };
    for (std::size_t i = 0; i < kC1Area.size(); ++i) {
        half[i] = kC1Area[i];
    }
    return half;
}();

struct Substitute {
    char32_t from;
    char32_t to;
};

// Look-alikes for characters that the other code page lacks. The rules:
// - an accented letter becomes its base letter (Ã -> A, ý -> y), a Greek letter the Latin letter
//   it resembles (α -> a, Σ -> S, Ω -> O), a ligature its first letter (Œ -> O);
// - typographic quotes, dashes and angle quotes become their ASCII forms (" ' - < >);
// - a symbol becomes the character closest in shape (∞ -> 8, ≡ -> =, √ -> v, € -> E, ™ -> T,
//   • -> ∙, ⌐ -> ¬, ¦ -> |, thorn -> p);
// - a superscript digit becomes the digit; ¾ has no digit of its own and becomes 3;
// - never a control character: § and ¶, which code page 437 keeps among its control codes,
//   become S and P, so a converted text never gains a control byte;
// - the unassigned Windows-1252 bytes and anything without a look-alike become ?.
// Box drawing is handled by rule in substituteFor(): horizontal lines -, vertical lines |,
// every corner and junction +, shades and blocks #.
constexpr Substitute kSubstitutes[] = {
    // Greek and mathematical letters of code page 437.
    {0x03B1, 'a'},
    {0x0393, 'G'},
    {0x03C0, 'p'},
    {0x03A3, 'S'},
    {0x03C3, 's'},
    {0x03C4, 't'},
    {0x03A6, 'F'},
    {0x0398, 'T'},
    {0x03A9, 'O'},
    {0x03B4, 'd'},
    {0x03C6, 'f'},
    {0x03B5, 'e'},
    {0x221E, '8'},
    {0x2229, 'n'},
    {0x2261, '='},
    {0x2265, '>'},
    {0x2264, '<'},
    {0x2320, '('},
    {0x2321, ')'},
    {0x2248, '~'},
    {0x2219, 0x00B7},
    {0x221A, 'v'},
    {0x207F, 'n'},
    {0x2310, 0x00AC},
    {0x20A7, 'P'},
    // Windows-1252 punctuation and letters at 80..9F.
    {0x20AC, 'E'},
    {0x201A, ','},
    {0x201E, '"'},
    {0x2026, '.'},
    {0x2020, '+'},
    {0x2021, '+'},
    {0x02C6, '^'},
    {0x2030, '%'},
    {0x0160, 'S'},
    {0x2039, '<'},
    {0x0152, 'O'},
    {0x017D, 'Z'},
    {0x2018, '\''},
    {0x2019, '\''},
    {0x201C, '"'},
    {0x201D, '"'},
    {0x2022, 0x2219},
    {0x2013, '-'},
    {0x2014, '-'},
    {0x02DC, '~'},
    {0x2122, 'T'},
    {0x0161, 's'},
    {0x203A, '>'},
    {0x0153, 'o'},
    {0x017E, 'z'},
    {0x0178, 'Y'},
    // Latin-1 symbols.
    {0x00A4, '*'},
    {0x00A6, '|'},
    {0x00A7, 'S'},
    {0x00A8, '"'},
    {0x00A9, 'c'},
    {0x00AD, '-'},
    {0x00AE, 'R'},
    {0x00AF, '-'},
    {0x00B3, '3'},
    {0x00B4, '\''},
    {0x00B6, 'P'},
    {0x00B8, ','},
    {0x00B9, '1'},
    {0x00BE, '3'},
    {0x00D7, 'x'},
    // Latin-1 letters.
    {0x00C0, 'A'},
    {0x00C1, 'A'},
    {0x00C2, 'A'},
    {0x00C3, 'A'},
    {0x00C8, 'E'},
    {0x00CA, 'E'},
    {0x00CB, 'E'},
    {0x00CC, 'I'},
    {0x00CD, 'I'},
    {0x00CE, 'I'},
    {0x00CF, 'I'},
    {0x00D0, 'D'},
    {0x00D2, 'O'},
    {0x00D3, 'O'},
    {0x00D4, 'O'},
    {0x00D5, 'O'},
    {0x00D8, 'O'},
    {0x00D9, 'U'},
    {0x00DA, 'U'},
    {0x00DB, 'U'},
    {0x00DD, 'Y'},
    {0x00DE, 'P'},
    {0x00E3, 'a'},
    {0x00F0, 'd'},
    {0x00F5, 'o'},
    {0x00F8, 'o'},
    {0x00FD, 'y'},
    {0x00FE, 'p'},
};

constexpr bool isHorizontalLine(char32_t c) {
    return c == 0x2500 || c == 0x2550;
}
constexpr bool isVerticalLine(char32_t c) {
    return c == 0x2502 || c == 0x2551;
}

constexpr char32_t substituteFor(char32_t c) {
    if (isHorizontalLine(c)) {
        return '-';
    }
    if (isVerticalLine(c)) {
        return '|';
    }
    if (c >= 0x2500 && c <= 0x257F) {
        return '+';
    }
    if ((c >= 0x2580 && c <= 0x259F) || c == 0x25A0) {
        return '#';
    }
    for (const Substitute& s : kSubstitutes) {
        if (s.from == c) {
            return s.to;
        }
    }
    return '?';
}

// The byte of the target code page that holds the character, or -1.
constexpr int byteOf(const CodePageHalf& target, char32_t c) {
    if (c < 0x80) {
        return static_cast<int>(c);
    }
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i] == c) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

constexpr ByteTable makeTable(const CodePageHalf& source, const CodePageHalf& target) {
    ByteTable table{};
    for (std::size_t b = 0; b < 128; ++b) {
        table[b] = static_cast<unsigned char>(b);
    }
    for (std::size_t i = 0; i < 128; ++i) {
        int exact = byteOf(target, source[i]);
        if (exact < 0) {
            // One step of substitution; a substitute may itself be a character of the target
            // set only (∙ for •), never one that needs another substitution.
            exact = byteOf(target, substituteFor(source[i]));
        }
        table[0x80 + i] = static_cast<unsigned char>(exact < 0 ? '?' : exact);
    }
    return table;
}

constexpr ByteTable kOemToAnsi = makeTable(kOemHigh, kAnsiHigh);
constexpr ByteTable kAnsiToOem = makeTable(kAnsiHigh, kOemHigh);

// Unassigned Windows-1252 bytes hold C1 controls that have no place in code page 437.
static_assert(kAnsiToOem[0x81] == '?' && kAnsiToOem[0x9D] == '?');
static_assert(kOemToAnsi[0x80] == 0xC7 && kAnsiToOem[0xC7] == 0x80);

void convert(std::span<char> bytes, const ByteTable& table) {
    for (char& c : bytes) {
        c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    }
}

} // namespace

void oemToAnsi(std::span<char> bytes) {
    convert(bytes, kOemToAnsi);
}

void ansiToOem(std::span<char> bytes) {
    convert(bytes, kAnsiToOem);
}

} // namespace vexa::platform
