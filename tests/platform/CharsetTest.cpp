// The OEM <-> ANSI conversion: exact counterparts, round trips and the best-fit tables.
#include "platform/Charset.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <iconv.h>
#include <optional>
#include <string>

namespace vexa::platform {
namespace {

unsigned char toAnsi(unsigned char oem) {
    char c = static_cast<char>(oem);
    oemToAnsi(std::span<char>(&c, 1));
    return static_cast<unsigned char>(c);
}

unsigned char toOem(unsigned char ansi) {
    char c = static_cast<char>(ansi);
    ansiToOem(std::span<char>(&c, 1));
    return static_cast<unsigned char>(c);
}

// The C library's converters serve as an independent reference for the exact counterparts.
class Reference {
public:
    Reference(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Reference() {
        if (valid()) {
            iconv_close(m_cd);
        }
    }
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // The single byte the character converts to exactly, or nothing when there is none.
    std::optional<unsigned char> convert(unsigned char byte) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char in = static_cast<char>(byte);
        std::array<char, 8> out{};
        char* inPtr = &in;
        char* outPtr = out.data();
        std::size_t inLeft = 1;
        std::size_t outLeft = out.size();
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            out.size() - outLeft != 1) {
            return std::nullopt;
        }
        return static_cast<unsigned char>(out[0]);
    }

private:
    iconv_t m_cd;
};

TEST(Charset, BytesBelow128NeverChange) {
    std::string all;
    for (int b = 0; b < 128; ++b) {
        all.push_back(static_cast<char>(b));
    }
    std::string oem = all;
    oemToAnsi(oem);
    EXPECT_EQ(oem, all);
    std::string ansi = all;
    ansiToOem(ansi);
    EXPECT_EQ(ansi, all);
}

TEST(Charset, ExactCounterpartsAgreeWithReferenceInBothDirections) {
    Reference oemToAnsiRef("CP1252", "CP437");
    Reference ansiToOemRef("CP437", "CP1252");
    if (!oemToAnsiRef.valid() || !ansiToOemRef.valid()) {
        GTEST_SKIP() << "the C library has no code page 437 / 1252 converters";
    }
    int exactOem = 0;
    int exactAnsi = 0;
    for (int b = 128; b < 256; ++b) {
        auto byte = static_cast<unsigned char>(b);
        if (auto expected = oemToAnsiRef.convert(byte)) {
            EXPECT_EQ(toAnsi(byte), *expected) << "OEM byte " << b;
            ++exactOem;
        }
        if (auto expected = ansiToOemRef.convert(byte)) {
            EXPECT_EQ(toOem(byte), *expected) << "ANSI byte " << b;
            ++exactAnsi;
        }
    }
    // Guards against a reference that silently converts nothing.
    EXPECT_GT(exactOem, 40);
    EXPECT_GT(exactAnsi, 40);
}

TEST(Charset, EveryExactCounterpartRoundTrips) {
    Reference oemToAnsiRef("CP1252", "CP437");
    Reference ansiToOemRef("CP437", "CP1252");
    if (!oemToAnsiRef.valid() || !ansiToOemRef.valid()) {
        GTEST_SKIP() << "the C library has no code page 437 / 1252 converters";
    }
    for (int b = 128; b < 256; ++b) {
        auto byte = static_cast<unsigned char>(b);
        if (oemToAnsiRef.convert(byte)) {
            EXPECT_EQ(toOem(toAnsi(byte)), byte) << "OEM byte " << b;
        }
        if (ansiToOemRef.convert(byte)) {
            EXPECT_EQ(toAnsi(toOem(byte)), byte) << "ANSI byte " << b;
        }
    }
}

struct Pair {
    unsigned char from;
    unsigned char to;
};

// Fixed points of both tables, checked without the reference: letters, currency, fractions,
// and the two OEM dots that share one ANSI middle dot.
TEST(Charset, KnownExactPairs) {
    constexpr Pair kOemAnsi[] = {
        {0x80, 0xC7}, {0x81, 0xFC}, {0x84, 0xE4}, {0x8E, 0xC4}, {0x94, 0xF6}, {0x99, 0xD6},
        {0x9A, 0xDC}, {0xE1, 0xDF}, {0x9B, 0xA2}, {0x9C, 0xA3}, {0x9D, 0xA5}, {0x9F, 0x83},
        {0xAB, 0xBD}, {0xAC, 0xBC}, {0xE6, 0xB5}, {0xF1, 0xB1}, {0xF8, 0xB0}, {0xFA, 0xB7},
        {0xFD, 0xB2}, {0xFF, 0xA0}, {0x98, 0xFF}, {0xF6, 0xF7},
    };
    for (const Pair& p : kOemAnsi) {
        EXPECT_EQ(toAnsi(p.from), p.to) << "OEM " << int(p.from);
        EXPECT_EQ(toOem(p.to), p.from) << "ANSI " << int(p.to);
    }
}

// The whole table of each direction. Bytes below 128 stay; above, the exact counterparts (also
// checked against the C library above) and the best fits: box drawing and shades to '-', '+' and
// the broken bar A6, Greek letters to Latin ones; Windows-1252 punctuation to ASCII, and the
// bullet, pilcrow, section and currency signs to the glyph bytes 07, 14, 15 and 0F.
constexpr std::array<unsigned char, 128> kOemHighToAnsi = {
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5, // 80
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, 'P',  0x83, // 90
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA, 0xBF, 0xAC, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB, // A0
    0xA6, 0xA6, 0xA6, 0xA6, 0xA6, 0xA6, 0xA6, '+',  '+',  0xA6, 0xA6, '+',  '+',  '+',  '+',  '+',  // B0
    '+',  '-',  '-',  '+',  '-',  '+',  0xA6, 0xA6, '+',  '+',  '-',  '-',  0xA6, '-',  '+',  '-',  // C0
    '-',  '-',  '-',  '+',  '+',  '+',  '+',  '+',  '+',  '+',  '+',  0xA6, '_',  0xA6, 0xA6, 0xAF, // D0
    'a',  0xDF, 'G',  'p',  'S',  's',  0xB5, 't',  'F',  'T',  'O',  'd',  '8',  'f',  'e',  'n',  // E0
    '=',  0xB1, '=',  '=',  '(',  ')',  0xF7, 0x98, 0xB0, 0xB7, 0xB7, 'v',  'n',  0xB2, 0xA6, 0xA0, // F0
};
constexpr std::array<unsigned char, 128> kAnsiHighToOem = {
    '?',  '?',  ',',  0x9F, ',',  '.',  '+',  0xD8, '^',  '%',  'S',  '<',  'O',  '?',  'Z',  '?',  // 80
    '?',  '`',  '\'', '"',  '"',  0x07, '-',  '-',  '~',  'T',  's',  '>',  'o',  '?',  'z',  'Y',  // 90
    0xFF, 0xAD, 0x9B, 0x9C, 0x0F, 0x9D, 0xDD, 0x15, '"',  'c',  0xA6, 0xAE, 0xAA, '-',  'r',  '_',  // A0
    0xF8, 0xF1, 0xFD, '3',  '\'', 0xE6, 0x14, 0xFA, ',',  '1',  0xA7, 0xAF, 0xAC, 0xAB, '_',  0xA8, // B0
    'A',  'A',  'A',  'A',  0x8E, 0x8F, 0x92, 0x80, 'E',  0x90, 'E',  'E',  'I',  'I',  'I',  'I',  // C0
    'D',  0xA5, 'O',  'O',  'O',  'O',  0x99, 'x',  'O',  'U',  'U',  'U',  0x9A, 'Y',  '_',  0xE1, // D0
    0x85, 0xA0, 0x83, 'a',  0x84, 0x86, 0x91, 0x87, 0x8A, 0x82, 0x88, 0x89, 0x8D, 0xA1, 0x8C, 0x8B, // E0
    'd',  0xA4, 0x95, 0xA2, 0x93, 'o',  0x94, 0xF6, 'o',  0x97, 0xA3, 0x96, 0x81, 'y',  '_',  0x98, // F0
};

TEST(Charset, OemToAnsiFollowsTheDesktopTableForAll256Bytes) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const unsigned char expected = b < 128 ? byte : kOemHighToAnsi[static_cast<std::size_t>(b - 128)];
        EXPECT_EQ(toAnsi(byte), expected) << "OEM byte " << b;
    }
}

TEST(Charset, AnsiToOemFollowsTheDesktopTableForAll256Bytes) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const unsigned char expected = b < 128 ? byte : kAnsiHighToOem[static_cast<std::size_t>(b - 128)];
        EXPECT_EQ(toOem(byte), expected) << "ANSI byte " << b;
    }
}

TEST(Charset, ConvertsWholeBufferInPlace) {
    std::string text = "Gr\x81\xE1 \xC4\xC4 \x9C"
                       "5";
    oemToAnsi(text);
    EXPECT_EQ(text, "Gr\xFC\xDF -- \xA3"
                    "5");
    ansiToOem(text);
    EXPECT_EQ(text, "Gr\x81\xE1 -- \x9C"
                    "5");
    std::string empty;
    oemToAnsi(empty);
    EXPECT_TRUE(empty.empty());
}

} // namespace
} // namespace vexa::platform
