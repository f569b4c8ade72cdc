// Extension profiles in memory: defaults, field widths, the word-break set and extension matching.
#include "syntax/ExtensionProfile.h"

#include <gtest/gtest.h>

#include <string>

namespace vexa::syntax {
namespace {

TEST(ExtensionProfileDefaults, NewProfileHasTheDocumentedDefaults) {
    const ExtensionProfile plain;
    EXPECT_EQ(plain.extension(), "*.T");
    EXPECT_EQ(plain.description(), "");
    EXPECT_EQ(plain.delimiters(), "[](){},;:.$&*+-=~!%<>^|?/");
    EXPECT_EQ(plain.comment(CommentMarker::Start), "/*");
    EXPECT_EQ(plain.comment(CommentMarker::End), "*/");
    EXPECT_EQ(plain.comment(CommentMarker::Line), "//");
    EXPECT_EQ(plain.special(SpecialChar::Literal), '\0');
    EXPECT_EQ(plain.special(SpecialChar::KeywordPrefix), '\0');
    EXPECT_EQ(plain.special(SpecialChar::KeywordPostfix), '\0');
    EXPECT_EQ(plain.special(SpecialChar::Preprocessor), '#');
    EXPECT_EQ(plain.special(SpecialChar::String), '"');
    EXPECT_FALSE(plain.ignoreCase());
    EXPECT_TRUE(plain.keywords().empty());
    EXPECT_EQ(ExtensionProfile(BuiltInKeywords::Yes).keywords().size(), 55u);
}

TEST(ExtensionProfileFields, TextFieldsKeepWidthMinusOne) {
    ExtensionProfile profile;
    profile.setExtension("html");
    EXPECT_EQ(profile.extension(), "htm");
    profile.setDescription(std::string(50, 'd'));
    EXPECT_EQ(profile.description(), std::string(35, 'd'));
    profile.setDescription("short");
    EXPECT_EQ(profile.description(), "short"); // the longer old text is cleared, not left behind
    profile.setDelimiters(std::string(70, ';'));
    EXPECT_EQ(profile.delimiters().size(), 60u);
    profile.setComment(CommentMarker::Start, "(**");
    EXPECT_EQ(profile.comment(CommentMarker::Start), "(*");
}

TEST(ExtensionProfileFields, KeywordIndexOutsideListIsNone) {
    ExtensionProfile profile;
    profile.setKeywords({KeywordEntry::make("b"), KeywordEntry::make("a")});
    ASSERT_NE(profile.keyword(0), nullptr);
    EXPECT_EQ(profile.keyword(0)->view(), "a");
    EXPECT_EQ(profile.keyword(1)->view(), "b");
    EXPECT_EQ(profile.keyword(2), nullptr);
}

TEST(ExtensionProfileFields, SwitchingIgnoreCaseReordersForSearch) {
    ExtensionProfile profile;
    profile.setKeywords({KeywordEntry::make("b"), KeywordEntry::make("C"), KeywordEntry::make("a")});
    EXPECT_EQ(profile.keyword(0)->view(), "C");
    profile.setIgnoreCase(true);
    EXPECT_EQ(profile.keyword(0)->view(), "a");
    EXPECT_EQ(profile.keyword(2)->view(), "C");
}

TEST(WordBreakSet, DelimitersThenTheSetSpecialCharacters) {
    ExtensionProfile profile;
    profile.setDelimiters(";,");
    EXPECT_EQ(profile.wordBreakSet(), ";,#\"");
    profile.setSpecial(SpecialChar::KeywordPrefix, '$');
    profile.setSpecial(SpecialChar::KeywordPostfix, '@');
    profile.setSpecial(SpecialChar::Literal, '\\'); // not part of the set
    EXPECT_EQ(profile.wordBreakSet(), ";,#$@\"");
    profile.setSpecial(SpecialChar::Preprocessor, '\0');
    profile.setSpecial(SpecialChar::String, '\0');
    EXPECT_EQ(profile.wordBreakSet(), ";,$@");
}

TEST(ExtensionMatching, FirstThreeCharactersAnyCase) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {{"CPP", "cpp", true}, {"HTM", "html", true}, {"C", "CPP", false}, {"", "", true},
                 {"H", "", false},     {"*.T", "TXT", false}, {"TXT", "txt", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(ExtensionProfile::sameExtension(c.a, c.b), c.same) << c.a << " " << c.b;
    }
}

TEST(ProfilePath, UpperCasesOnlyTheFileName) {
    EXPECT_EQ(profileFilePath("/home/u/vConfig", "cpp"), "/home/u/vConfig/VEXACPP.PRF");
    EXPECT_EQ(profileFilePath("/home/u/vConfig/", "Py"), "/home/u/vConfig/VEXAPY.PRF");
    EXPECT_EQ(profileFilePath("/d", ""), "/d/VEXA.PRF");
}

} // namespace
} // namespace vexa::syntax
