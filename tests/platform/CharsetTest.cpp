// The OEM <-> ANSI conversion: exact counterparts, round trips and the look-alike substitutes.
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

TEST(Charset, OemLookAlikes) {
    constexpr Pair kCases[] = {
        {0xC4, '-'},  {0xCD, '-'},  {0xB3, '|'}, {0xBA, '|'}, {0xDA, '+'}, {0xC5, '+'},
        {0xCE, '+'},  {0xB9, '+'},  {0xB0, '#'}, {0xDB, '#'}, {0xFE, '#'}, {0xE0, 'a'},
        {0xE4, 'S'},  {0xEA, 'O'},  {0xEC, '8'}, {0xF0, '='}, {0xF2, '>'}, {0xF3, '<'},
        {0xF9, 0xB7}, {0xA9, 0xAC}, {0x9E, 'P'}, {0xFB, 'v'}, {0xFC, 'n'},
    };
    for (const Pair& p : kCases) {
        EXPECT_EQ(toAnsi(p.from), p.to) << "OEM " << int(p.from);
    }
}

TEST(Charset, AnsiLookAlikes) {
    constexpr Pair kCases[] = {
        {0x93, '"'}, {0x94, '"'}, {0x91, '\''}, {0x92, '\''}, {0x96, '-'}, {0x97, '-'}, {0x85, '.'},
        {0x80, 'E'}, {0x8A, 'S'}, {0x9F, 'Y'},  {0x95, 0xF9}, {0xC0, 'A'}, {0xC3, 'A'}, {0xD8, 'O'},
        {0xE3, 'a'}, {0xFD, 'y'}, {0xA7, 'S'},  {0xB6, 'P'},  {0xA6, '|'}, {0xD7, 'x'}, {0x81, '?'},
        {0x8D, '?'}, {0x8F, '?'}, {0x90, '?'},  {0x9D, '?'},
    };
    for (const Pair& p : kCases) {
        EXPECT_EQ(toOem(p.from), p.to) << "ANSI " << int(p.from);
    }
}

// Text that passes through a conversion must never gain a control byte (a NAK or a DC4 in a
// saved file is worse than a plain letter).
TEST(Charset, HighBytesNeverBecomeControlCharacters) {
    for (int b = 128; b < 256; ++b) {
        auto byte = static_cast<unsigned char>(b);
        EXPECT_GE(toAnsi(byte), 0x20) << "OEM " << b;
        EXPECT_NE(toAnsi(byte), 0x7F) << "OEM " << b;
        EXPECT_GE(toOem(byte), 0x20) << "ANSI " << b;
        EXPECT_NE(toOem(byte), 0x7F) << "ANSI " << b;
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
