// Decoding, character steps, cell widths, detection and conversion of the two encodings.
#include "text/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace vexa::text {
namespace {

constexpr auto kUtf8 = TextEncoding::Utf8;
constexpr auto k1252 = TextEncoding::Windows1252;

TEST(Utf8Decoding, ValidSequencesAreOneCharacterAndEverythingElseOneByte) {
    struct Case {
        std::string bytes;
        char32_t character;
        int length;
        bool valid;
    };
    const Case cases[] = {
        {"a", U'a', 1, true},
        {"\xC3\xA9", 0xE9, 2, true},
        {"\xE4\xB8\xAD", 0x4E2D, 3, true},
        {"\xF0\x9F\x98\x80", 0x1F600, 4, true},
        {"\xC3", kReplacementCharacter, 1, false},             // cut short
        {"\xC0\xAF", kReplacementCharacter, 1, false},         // overlong
        {"\xE0\x80\xAF", kReplacementCharacter, 1, false},     // overlong
        {"\xED\xA0\x80", kReplacementCharacter, 1, false},     // surrogate
        {"\xF4\x90\x80\x80", kReplacementCharacter, 1, false}, // beyond U+10FFFF
        {"\x80", kReplacementCharacter, 1, false},             // lone continuation
        {"\xE4\xB8"
         "a",
         kReplacementCharacter, 1, false},         // broken by ASCII
        {"\xE9", kReplacementCharacter, 1, false}, // a Windows-1252 byte
    };
    for (const Case& c : cases) {
        const Decoded decoded = decodeUtf8(c.bytes, 0);
        EXPECT_EQ(decoded.character, c.character) << c.bytes;
        EXPECT_EQ(decoded.length, c.length) << c.bytes;
        EXPECT_EQ(decoded.valid, c.valid) << c.bytes;
    }
}

TEST(CharacterSteps, Utf8StepsOverWholeSequencesAndNeverStopsInside) {
    // a é 中 😀 then an invalid byte and b: starts at 0 1 3 6 10 11, length 12.
    const std::string line = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\xFF"
                             "b";
    const int starts[] = {0, 1, 3, 6, 10, 11, 12};
    for (std::size_t i = 0; i + 1 < std::size(starts); ++i) {
        EXPECT_EQ(nextCharacter(line, starts[i], kUtf8), starts[i + 1]);
        EXPECT_EQ(previousCharacter(line, starts[i + 1], kUtf8), starts[i]);
    }
    // Offsets inside a sequence belong to its start.
    EXPECT_EQ(characterStart(line, 2, kUtf8), 1);
    EXPECT_EQ(characterStart(line, 5, kUtf8), 3);
    EXPECT_EQ(characterStart(line, 9, kUtf8), 6);
    EXPECT_EQ(nextCharacter(line, 4, kUtf8), 6);
    // Past the end every step is one byte of virtual space.
    EXPECT_EQ(nextCharacter(line, 12, kUtf8), 13);
    EXPECT_EQ(previousCharacter(line, 14, kUtf8), 13);
    EXPECT_EQ(previousCharacter(line, 0, kUtf8), 0);
}

TEST(CharacterSteps, StrayContinuationBytesAreCharactersOfTheirOwn) {
    const std::string line = "\x80\x80\xC3\xA9\xA9";
    EXPECT_EQ(characterStart(line, 1, kUtf8), 1);
    EXPECT_EQ(nextCharacter(line, 0, kUtf8), 1);
    EXPECT_EQ(nextCharacter(line, 2, kUtf8), 4);
    EXPECT_EQ(characterStart(line, 4, kUtf8), 4); // after a complete sequence
    EXPECT_EQ(previousCharacter(line, 5, kUtf8), 4);
}

TEST(CharacterSteps, Windows1252StepsByteByByte) {
    const std::string line = "\xC3\xA9\xE4";
    EXPECT_EQ(nextCharacter(line, 0, k1252), 1);
    EXPECT_EQ(previousCharacter(line, 2, k1252), 1);
    EXPECT_EQ(characterStart(line, 1, k1252), 1);
}

TEST(CellWidth, EastAsianWideAndFullwidthTakeTwoCells) {
    const std::pair<char32_t, int> cases[] = {
        {U'a', 1},    {0xE9, 1},    {0x3B1, 1},    {0x2500, 1}, // Latin, Greek, box drawing
        {0x4E2D, 2},  {0x3042, 2},  {0xAC00, 2},   {0xFF21, 2}, // CJK, kana, Hangul, fullwidth A
        {0x1F600, 2}, {0x20000, 2}, {0x10FFFF, 1}, {0x1100, 2},
    };
    for (auto [character, width] : cases) {
        EXPECT_EQ(cellWidth(character), width) << std::hex << static_cast<uint32_t>(character);
    }
}

TEST(Detection, ValidMultiByteIsUtf8InvalidIs1252AsciiFollowsTheDefault) {
    EXPECT_EQ(detectEncoding("Caf\xC3\xA9", k1252), kUtf8);
    EXPECT_EQ(detectEncoding("Caf\xE9", kUtf8), k1252);
    EXPECT_EQ(detectEncoding("plain ascii text", kUtf8), kUtf8);
    EXPECT_EQ(detectEncoding("plain ascii text", k1252), k1252);
    EXPECT_EQ(detectEncoding("", kUtf8), kUtf8);
    // An invalid byte far behind long ASCII runs still decides.
    EXPECT_EQ(detectEncoding(std::string(1000, 'x') + "\xC3\xA9" + std::string(37, 'y') + "\xFF", kUtf8),
              k1252);
}

TEST(Detection, BytesInPiecesGiveTheSameAnswerWhereverTheyAreCut) {
    const std::string samples[] = {
        "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"
        "b",         // valid, multi-byte
        "plain",     // ascii
        "a\xE4\xB8", // cut short at the end
        "\xF0\x9F\x98"
        "a\xC3\xA9", // broken in the middle
        "\xC0\x80x", // overlong
        "\xE9t\xE9", // Windows-1252
    };
    for (const std::string& sample : samples) {
        const Utf8Check whole = checkUtf8(sample);
        for (std::size_t cut = 0; cut <= sample.size(); ++cut) {
            for (std::size_t second = cut; second <= sample.size(); ++second) {
                Utf8Stream stream;
                stream.add(sample.substr(0, cut));
                stream.add(sample.substr(cut, second - cut));
                stream.add(sample.substr(second));
                EXPECT_EQ(stream.result().valid, whole.valid)
                    << sample << " cut at " << cut << ", " << second;
                if (whole.valid) {
                    EXPECT_EQ(stream.result().multiByte, whole.multiByte) << sample;
                }
            }
        }
    }
}

TEST(Conversion, RoundTripsAndRefusesWhat1252CannotHold) {
    EXPECT_EQ(toUtf8("Caf\xE9 \x80", k1252), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC", k1252), std::optional<std::string>("Caf\xE9 \x80"));
    char32_t missing = 0;
    EXPECT_EQ(fromUtf8("\xCE\xB1", k1252, &missing), std::nullopt); // Greek alpha
    EXPECT_EQ(missing, 0x3B1u);
    EXPECT_EQ(fromUtf8("\xCE\xB1", kUtf8), std::optional<std::string>("\xCE\xB1"));
    // Every 1252 byte goes to UTF-8 and back unchanged.
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(fromUtf8(toUtf8(all, k1252), k1252), std::optional<std::string>(all));
    EXPECT_EQ(externalToUtf8("\xC3\xA9"), "\xC3\xA9");
    EXPECT_EQ(externalToUtf8("\xE9"), "\xC3\xA9");
}

} // namespace
} // namespace vexa::text
