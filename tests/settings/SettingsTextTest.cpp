// The settings text: lookup rules, defaults, line-preserving changes and bad input.
#include "settings/SettingsText.h"

#include <climits>
#include <gtest/gtest.h>

namespace vexa {
namespace {

struct LookupCase {
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

class SettingsLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(SettingsLookup, FindsTheValue) {
    const auto& c = GetParam();
    EXPECT_EQ(SettingsText::parse(c.file).find(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsLookup,
    ::testing::Values(
        LookupCase{"Plain", "[Editor Options]\nTabSize=4\n", "Editor Options", "TabSize", "4"},
        LookupCase{"SectionCaseInsensitive", "[EDITOR options]\nTabSize=4\n", "Editor Options", "TabSize",
                   "4"},
        LookupCase{"KeyCaseInsensitive", "[A]\ntabsize=4\n", "a", "TABSIZE", "4"},
        LookupCase{"ValueTrimmed", "[A]\nFace =   Courier New  \t\n", "A", "Face", "Courier New"},
        LookupCase{"BlanksAroundNames", "  [  A  ]  \n   Key   = v\n", "A", "Key", "v"},
        LookupCase{"CrLfLineEnds", "[A]\r\nKey=v\r\nOther=w\r\n", "A", "Key", "v"},
        LookupCase{"DoubleQuotesRemoved", "[A]\nKey=\"  spaced  \"\n", "A", "Key", "  spaced  "},
        LookupCase{"SingleQuotesRemoved", "[A]\nKey='x'\n", "A", "Key", "x"},
        LookupCase{"UnmatchedQuotesKept", "[A]\nKey=\"x'\n", "A", "Key", "\"x'"},
        LookupCase{"EmptyValue", "[A]\nKey=\n", "A", "Key", ""},
        LookupCase{"ValueWithEquals", "[A]\nKey=a=b\n", "A", "Key", "a=b"},
        LookupCase{"MissingKey", "[A]\nKey=v\n", "A", "Other", std::nullopt},
        LookupCase{"MissingSection", "[A]\nKey=v\n", "B", "Key", std::nullopt},
        LookupCase{"KeyOfAnotherSection", "[A]\nX=1\n[B]\nKey=v\n", "A", "Key", std::nullopt},
        LookupCase{"KeyBeforeAnySection", "Key=v\n[A]\n", "A", "Key", std::nullopt},
        LookupCase{"CommentIgnored", "[A]\n;Key=v\n", "A", "Key", std::nullopt},
        LookupCase{"LineWithoutEquals", "[A]\nKey\nKey v\n", "A", "Key", std::nullopt},
        LookupCase{"DuplicateKeyFirstWins", "[A]\nKey=1\nKey=2\n", "A", "Key", "1"},
        LookupCase{"DuplicateSectionSearched", "[A]\nX=1\n[B]\n[A]\nKey=2\n", "A", "Key", "2"},
        LookupCase{"DuplicateSectionFirstWins", "[A]\nKey=1\n[a]\nKey=2\n", "A", "Key", "1"},
        LookupCase{"UnclosedSection", "[A\nKey=v\n", "A", "Key", "v"},
        LookupCase{"NoFinalLineEnd", "[A]\nKey=v", "A", "Key", "v"},
        LookupCase{"BinaryBytesKept", std::string("[A]\nKey=\x01\xff\0z\n", 12), "A", "Key",
                   std::string("\x01\xff\0z", 4)}),
    [](const auto& info) { return info.param.name; });

struct IntegerCase {
    const char* name;
    std::string value;
    int expected;
};

class SettingsInteger : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(SettingsInteger, ReadsTheLeadingNumber) {
    auto text = SettingsText::parse("[A]\nKey=" + GetParam().value + "\n");
    EXPECT_EQ(text.getInteger("A", "Key", 99), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsInteger,
                         ::testing::Values(IntegerCase{"Plain", "80", 80}, IntegerCase{"Negative", "-4", -4},
                                           IntegerCase{"Plus", "+7", 7},
                                           IntegerCase{"TrailingText", "12abc", 12},
                                           IntegerCase{"NoDigits", "abc", 0}, IntegerCase{"SignOnly", "-", 0},
                                           IntegerCase{"Empty", "", 99}, IntegerCase{"Blanks", "   ", 99},
                                           IntegerCase{"Huge", "99999999999999999999", INT_MAX},
                                           IntegerCase{"HugeNegative", "-99999999999999999999", INT_MIN},
                                           IntegerCase{"Hex", "0x10", 0}),
                         [](const auto& info) { return info.param.name; });

TEST(SettingsText, MissingKeyGivesTheDefault) {
    auto text = SettingsText::parse("[A]\nKey=v\n");
    EXPECT_EQ(text.getInteger("A", "Nope", 42), 42);
    EXPECT_EQ(text.getString("A", "Nope", "<Default Keymap>", 51), "<Default Keymap>");
    EXPECT_EQ(SettingsText().getInteger("A", "Key", -3), -3);
}

TEST(SettingsText, StringsAreCutToTheirBufferSize) {
    auto text = SettingsText::parse("[A]\nKey=abcdefgh\n");
    EXPECT_EQ(text.getString("A", "Key", "", 5), "abcd");
    EXPECT_EQ(text.getString("A", "Key", "", 9), "abcdefgh");
    EXPECT_EQ(text.getString("A", "Key", "", 1), "");
    EXPECT_EQ(text.getString("A", "Key", "", 0), "");
    EXPECT_EQ(text.getString("A", "Missing", "defaults", 4), "def");
}

TEST(SettingsText, LongValuesReadWhole) {
    std::string value(10000, 'v');
    auto text = SettingsText::parse("[A]\nKey=" + value + "\n");
    EXPECT_EQ(text.find("A", "Key"), value);
    EXPECT_EQ(text.getString("A", "Key", "", 81), std::string(80, 'v'));
}

TEST(SettingsText, ChangeRewritesOnlyItsLine) {
    const std::string original = "; my settings\n"
                                 "[Editor Options]\n"
                                 "TABSIZE = 3\n"
                                 "; keep this comment\n"
                                 "junk line\n"
                                 "\n"
                                 "[Other]\n"
                                 "TabSize=9\n";
    auto text = SettingsText::parse(original);
    ASSERT_TRUE(text.putInteger("editor options", "TabSize", 8));
    EXPECT_EQ(text.serialize(), "; my settings\n"
                                "[Editor Options]\n"
                                "TABSIZE=8\n"
                                "; keep this comment\n"
                                "junk line\n"
                                "\n"
                                "[Other]\n"
                                "TabSize=9\n");
}

TEST(SettingsText, NewKeyJoinsTheEndOfItsSection) {
    auto text = SettingsText::parse("[A]\nX=1\n\n[B]\nY=2\n");
    ASSERT_TRUE(text.putString("a", "Z", "new"));
    EXPECT_EQ(text.serialize(), "[A]\nX=1\nZ=new\n\n[B]\nY=2\n");
    EXPECT_EQ(text.find("A", "Z"), "new");
}

TEST(SettingsText, NewKeyOfEmptySectionFollowsTheHeader) {
    auto text = SettingsText::parse("[A]\n\n[B]\n");
    ASSERT_TRUE(text.putString("A", "K", "v"));
    EXPECT_EQ(text.serialize(), "[A]\nK=v\n\n[B]\n");
}

TEST(SettingsText, NewSectionGoesToTheEndKeepingLineEnds) {
    auto text = SettingsText::parse("[A]\r\nX=1\r\n");
    ASSERT_TRUE(text.putInteger("Font Details", "Weight", 400));
    EXPECT_EQ(text.serialize(), "[A]\r\nX=1\r\n\r\n[Font Details]\r\nWeight=400\r\n");

    SettingsText fresh;
    ASSERT_TRUE(fresh.putString("S", "K", "v"));
    EXPECT_EQ(fresh.serialize(), "[S]\nK=v\n");
}

TEST(SettingsText, DuplicateKeyChangesTheOneThatIsRead) {
    auto text = SettingsText::parse("[A]\nKey=1\n[A]\nKey=2\n");
    ASSERT_TRUE(text.putString("A", "Key", "3"));
    EXPECT_EQ(text.serialize(), "[A]\nKey=3\n[A]\nKey=2\n");
    EXPECT_EQ(text.find("A", "Key"), "3");
}

TEST(SettingsText, LineBreaksInValuesCannotAddKeys) {
    SettingsText text;
    ASSERT_TRUE(text.putString("A", "Find", "x\n[Evil]\r\nKey=1"));
    auto reread = SettingsText::parse(text.serialize());
    EXPECT_FALSE(reread.hasSection("Evil"));
    EXPECT_EQ(reread.find("A", "Find"), "x [Evil]  Key=1");
}

TEST(SettingsText, EveryValueReadsBackAsWritten) {
    const std::string values[] = {"plain",    "",      "  leading", "trailing\t",  "\"quoted\"",
                                  "'single'", "\"",    "'",         "\"\"",        "a \"b\" c",
                                  "\" x ",    "=;[x]", "\"mixed'",  "  \"both\"  "};
    for (const auto& value : values) {
        SettingsText text;
        ASSERT_TRUE(text.putString("A", "K", value));
        EXPECT_EQ(SettingsText::parse(text.serialize()).find("A", "K"), value) << value;
    }
    SettingsText text;
    ASSERT_TRUE(text.putString("A", "K", "simple value"));
    EXPECT_EQ(text.serialize(), "[A]\nK=simple value\n");
    ASSERT_TRUE(text.putString("A", "K", " edge"));
    EXPECT_EQ(text.serialize(), "[A]\nK=\" edge\"\n");
}

TEST(SettingsText, RefusesNamesThatCannotBeALine) {
    SettingsText text = SettingsText::parse("[A]\nK=v\n");
    const std::string before = text.serialize();
    EXPECT_FALSE(text.putString("A", "", "v"));
    EXPECT_FALSE(text.putString("A", "a=b", "v"));
    EXPECT_FALSE(text.putString("A", "a\nb", "v"));
    EXPECT_FALSE(text.putString("A]", "K", "v"));
    EXPECT_FALSE(text.putString("A\nB", "K", "v"));
    EXPECT_EQ(text.serialize(), before);
}

TEST(SettingsText, GarbageReadsAndRoundTrips) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
    }
    auto text = SettingsText::parse(garbage);
    EXPECT_EQ(text.getInteger("Editor Options", "TabSize", 3), 3);
    ASSERT_TRUE(text.putInteger("Editor Options", "TabSize", 5));
    auto reread = SettingsText::parse(text.serialize());
    EXPECT_EQ(reread.getInteger("Editor Options", "TabSize", 3), 5);
}

} // namespace
} // namespace vexa
