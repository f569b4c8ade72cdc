// Fixed-width little-endian fields: byte order, sign, text padding and reads past the end.
#include "settings/BinaryFields.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

std::string bytesOf(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

TEST(FieldWriter, WritesIntegersLowByteFirst) {
    FieldWriter writer;
    writer.u8(0xAB);
    writer.u16(0x1234);
    writer.i16(-2);
    writer.u32(0xDEADBEEF);
    writer.i32(-1000);
    EXPECT_EQ(writer.data(),
              bytesOf({0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xEF, 0xBE, 0xAD, 0xDE, 0x18, 0xFC, 0xFF, 0xFF}));
}

TEST(FieldReader, ReadsWhatTheWriterWrote) {
    FieldWriter writer;
    writer.u8(200);
    writer.u16(65535);
    writer.i16(-32768);
    writer.u32(4000000000u);
    writer.i32(-2147483647 - 1);
    writer.fixedString("FILE_KEYMAP", 15);
    writer.bytes(std::string_view("\x01\x00\x02", 3));

    FieldReader reader(writer.data());
    uint8_t a = 0;
    uint16_t b = 0;
    int16_t c = 0;
    uint32_t d = 0;
    int32_t e = 0;
    std::string text;
    char raw[3] = {};
    ASSERT_TRUE(reader.u8(a));
    ASSERT_TRUE(reader.u16(b));
    ASSERT_TRUE(reader.i16(c));
    ASSERT_TRUE(reader.u32(d));
    ASSERT_TRUE(reader.i32(e));
    ASSERT_TRUE(reader.fixedString(15, text));
    ASSERT_TRUE(reader.bytes(raw));
    EXPECT_EQ(a, 200);
    EXPECT_EQ(b, 65535);
    EXPECT_EQ(c, -32768);
    EXPECT_EQ(d, 4000000000u);
    EXPECT_EQ(e, -2147483647 - 1);
    EXPECT_EQ(text, "FILE_KEYMAP");
    EXPECT_EQ(std::string(raw, 3), std::string("\x01\x00\x02", 3));
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_FALSE(reader.failed());
}

struct FixedStringCase {
    const char* name;
    std::string text;
    size_t width;
    std::string expectedBytes;
    std::string readBack;
};

class FixedStringWrite : public ::testing::TestWithParam<FixedStringCase> {};

TEST_P(FixedStringWrite, PadsWithNulsAndKeepsATerminator) {
    const auto& c = GetParam();
    FieldWriter writer;
    writer.fixedString(c.text, c.width);
    EXPECT_EQ(writer.data(), c.expectedBytes);
    FieldReader reader(writer.data());
    std::string text;
    ASSERT_TRUE(reader.fixedString(c.width, text));
    EXPECT_EQ(text, c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FixedStringWrite,
    ::testing::Values(FixedStringCase{"Short", "ab", 5, std::string("ab\0\0\0", 5), "ab"},
                      FixedStringCase{"Empty", "", 3, std::string(3, '\0'), ""},
                      FixedStringCase{"ExactlyWidth", "abcde", 5, std::string("abcd\0", 5), "abcd"},
                      FixedStringCase{"Longer", "abcdefgh", 4, std::string("abc\0", 4), "abc"},
                      FixedStringCase{"EmbeddedNul", std::string("ab\0cd", 5), 6,
                                      std::string("ab\0\0\0\0", 6), "ab"}),
    [](const auto& info) { return info.param.name; });

TEST(FieldReader, FixedStringWithoutNulTakesWholeWidth) {
    std::string bytes = "ABCDEFGH";
    FieldReader reader(bytes);
    std::string text;
    ASSERT_TRUE(reader.fixedString(4, text));
    EXPECT_EQ(text, "ABCD");
    ASSERT_TRUE(reader.fixedString(4, text));
    EXPECT_EQ(text, "EFGH");
}

TEST(FieldReader, ReadPastEndFailsAndStaysFailed) {
    std::string bytes = bytesOf({1, 2, 3});
    FieldReader reader(bytes);
    uint16_t small = 0;
    ASSERT_TRUE(reader.u16(small));
    EXPECT_EQ(small, 0x0201);
    uint32_t big = 77;
    EXPECT_FALSE(reader.u32(big));
    EXPECT_EQ(big, 77u);
    EXPECT_TRUE(reader.failed());
    // The one byte left is not handed out after a failure.
    uint8_t last = 9;
    EXPECT_FALSE(reader.u8(last));
    EXPECT_EQ(last, 9);
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(FieldReader, SkipAndStringStopAtTheEnd) {
    std::string bytes = "xyz";
    FieldReader reader(bytes);
    EXPECT_TRUE(reader.skip(2));
    EXPECT_EQ(reader.position(), 2u);
    std::string text = "unchanged";
    EXPECT_FALSE(reader.fixedString(2, text));
    EXPECT_EQ(text, "unchanged");
}

TEST(AbsoluteFields, StoreAndLoadAtOffsets) {
    std::string bytes(10, '\0');
    storeU16(bytes, 1, 0xBEEF);
    storeU32(bytes, 3, 0x01020304);
    storeI32(bytes, 6, -3);
    EXPECT_EQ(bytes, bytesOf({0, 0xEF, 0xBE, 0x04, 0x03, 0x02, 0xFD, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(loadU16(bytes, 1), 0xBEEF);
    // The four bytes at 3 overlap the field stored at 6.
    EXPECT_EQ(loadU32(bytes, 3), 0xFD020304u);
    EXPECT_EQ(loadI32(bytes, 6), -3);
    EXPECT_EQ(loadU32(bytes, 6), 0xFFFFFFFDu);
}

} // namespace
} // namespace vexa
