// The line tokenizer: every rule in order, on lines written to show each edge.
#include "syntax/LineTokenizer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/TempHome.h"

namespace vexa::syntax {
namespace {

struct Expected {
    std::string text;
    TokenKind kind;
};

std::vector<Expected> tokenize(const ExtensionProfile& profile, std::string_view line) {
    std::vector<Expected> tokens;
    std::size_t pos = 0;
    for (;;) {
        const Token token = scanToken(profile, line, pos);
        if (token.kind == TokenKind::EndOfLine) {
            EXPECT_EQ(token.length, 0u);
            EXPECT_EQ(pos, line.size()) << "the tokens must cover the whole line";
            break;
        }
        EXPECT_EQ(token.offset, pos);
        EXPECT_GT(token.length, 0u) << "a token of no length would never end the line";
        if (token.length == 0) {
            break;
        }
        tokens.push_back({std::string(line.substr(token.offset, token.length)), token.kind});
        pos = token.offset + token.length;
    }
    return tokens;
}

void expectTokens(const std::vector<Expected>& actual, const std::vector<Expected>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].text, expected[i].text) << "token " << i;
        EXPECT_EQ(static_cast<int>(actual[i].kind), static_cast<int>(expected[i].kind)) << "token " << i;
    }
}

using K = TokenKind;

struct Case {
    const char* name;
    std::function<void(ExtensionProfile&)> setup;
    std::string line;
    std::vector<Expected> tokens;
};

void cDefaults(ExtensionProfile&) {}
void withBackslash(ExtensionProfile& p) {
    p.setSpecial(SpecialChar::Literal, '\\');
}

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        {"EmptyLine", cDefaults, "", {}},
        {"TabThenSpacesAreSeparate",
         cDefaults,
         "\t  \t",
         {{"\t", K::Tab}, {"  ", K::Spaces}, {"\t", K::Tab}}},
        {"LiteralPairTakesNextCharacter",
         withBackslash,
         "\\n\\",
         {{"\\n", K::LiteralPair}, {"\\", K::LiteralPair}}},
        {"LiteralUnsetMatchesNothing", cDefaults, "\\n", {{"\\n", K::Word}}},
        {"LineCommentToEnd",
         cDefaults,
         "x // y \"z",
         {{"x", K::Word}, {" ", K::Spaces}, {"// y \"z", K::LineComment}}},
        {"ClosedBlockCommentThenWord",
         cDefaults,
         "/* a */ b",
         {{"/* a */", K::BlockComment}, {" ", K::Spaces}, {"b", K::Word}}},
        {"OpenBlockCommentToEnd", cDefaults, "/* a b", {{"/* a b", K::OpenComment}}},
        {"CommentStartNotReusedAsEnd", cDefaults, "/*/ x", {{"/*/ x", K::OpenComment}}},
        {"LoneCommentEnd", cDefaults, "a */", {{"a", K::Word}, {" ", K::Spaces}, {"*/", K::OpenComment}}},
        {"BraceComments",
         [](ExtensionProfile& p) {
             p.setComment(CommentMarker::Start, "{");
             p.setComment(CommentMarker::End, "}");
             p.setComment(CommentMarker::Line, "");
             p.setDelimiters("();,.:=+-*/<>[]");
         },
         "{}x{ y",
         {{"{}", K::BlockComment}, {"x", K::Word}, {"{ y", K::OpenComment}}},
        {"EmptyLineCommentNeverMatches",
         [](ExtensionProfile& p) { p.setComment(CommentMarker::Line, ""); },
         "//",
         {{"//", K::Symbols}}},
        {"StringClosed", cDefaults, "\"ab\"c", {{"\"ab\"", K::String}, {"c", K::Word}}},
        {"StringUnclosedRunsToEnd", cDefaults, "\"ab c", {{"\"ab c", K::String}}},
        {"EscapedQuoteContinuesString",
         withBackslash,
         "\"a\\\"b\" c",
         {{"\"a\\\"b\"", K::String}, {" ", K::Spaces}, {"c", K::Word}}},
        {"DoubledLiteralClosesString",
         withBackslash,
         "\"a\\\\\" c",
         {{"\"a\\\\\"", K::String}, {" ", K::Spaces}, {"c", K::Word}}},
        {"OpeningQuoteIsNotInsideString", withBackslash, "\"\\\"", {{"\"\\\"", K::String}}},
        {"EscapeIgnoredWithoutLiteral",
         cDefaults,
         "\"a\\\" b",
         {{"\"a\\\"", K::String}, {" ", K::Spaces}, {"b", K::Word}}},
        {"HttpString", cDefaults, "\"HTTP://x\"", {{"\"HTTP://x\"", K::HttpString}}},
        {"FtpString", cDefaults, "\"ftp://x\"", {{"\"ftp://x\"", K::FtpString}}},
        {"MailtoString", cDefaults, "\"Mailto:a@b\"", {{"\"Mailto:a@b\"", K::MailtoString}}},
        {"UrlMustFollowQuote", cDefaults, "\" http://x\"", {{"\" http://x\"", K::String}}},
        {"PreprocessorCoversBlanksAndWord",
         cDefaults,
         "#  include <a.h>",
         {{"#  include", K::Preprocessor},
          {" ", K::Spaces},
          {"<", K::Symbols},
          {"a", K::Word},
          {".", K::Symbols},
          {"h", K::Word},
          {">", K::Symbols}}},
        {"HexNumberThenSymbol", cDefaults, "0x1F;", {{"0x1F", K::Number}, {";", K::Symbols}}},
        {"NumberThenWord", cDefaults, "1st", {{"1", K::Number}, {"st", K::Word}}},
        {"NumberTakesDotsAndHexLetters", cDefaults, "3.14e0fg", {{"3.14e0f", K::Number}, {"g", K::Word}}},
        {"SymbolRunStopsAtComment", cDefaults, "+=//x", {{"+=", K::Symbols}, {"//x", K::LineComment}}},
        {"SymbolRunStopsAtString",
         cDefaults,
         "(\"a\")",
         {{"(", K::Symbols}, {"\"a\"", K::String}, {")", K::Symbols}}},
        {"SymbolRunStopsAtPreprocessor",
         [](ExtensionProfile& p) { p.setDelimiters("#;"); },
         ";#x",
         {{";", K::Symbols}, {"#x", K::Preprocessor}}},
        {"WordTakesUnderscoreAndHighBytes",
         cDefaults,
         "a_b\xe9(c",
         {{"a_b\xe9", K::Word}, {"(", K::Symbols}, {"c", K::Word}}},
        {"WordStopsAtCommentStart", cDefaults, "ab/*c*/", {{"ab", K::Word}, {"/*c*/", K::BlockComment}}},
        {"WordStopsAtString", cDefaults, "ab\"c\"", {{"ab", K::Word}, {"\"c\"", K::String}}},
        {"LetterDelimiterDoesNotSplitWords",
         [](ExtensionProfile& p) { p.setDelimiters("x;"); },
         "axb;",
         {{"axb", K::Word}, {";", K::Symbols}}},
        {"PostfixCharacterIsKeyword",
         [](ExtensionProfile& p) { p.setSpecial(SpecialChar::KeywordPostfix, '@'); },
         "a@b",
         {{"a", K::Word}, {"@", K::Keyword}, {"b", K::Word}}},
    };
    return table;
}

class TokenizerRules : public ::testing::TestWithParam<Case> {};

TEST_P(TokenizerRules, SplitsLine) {
    test::TempHome home;
    ExtensionProfile profile(BuiltInKeywords::Yes);
    GetParam().setup(profile);
    expectTokens(tokenize(profile, GetParam().line), GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(Lines, TokenizerRules, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct KeywordCase {
    const char* line;
    std::vector<Expected> tokens;
};

class BuiltInKeywordTest : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(BuiltInKeywordTest, KeywordOnlyWhenFollowedByBreak) {
    test::TempHome home;
    const ExtensionProfile profile(BuiltInKeywords::Yes);
    expectTokens(tokenize(profile, GetParam().line), GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Words, BuiltInKeywordTest,
    ::testing::Values(KeywordCase{"int(", {{"int", K::Keyword}, {"(", K::Symbols}}},
                      KeywordCase{"integer", {{"integer", K::Word}}},
                      KeywordCase{"return\"x\"", {{"return", K::Word}, {"\"x\"", K::String}}},
                      KeywordCase{"return", {{"return", K::Keyword}}},
                      KeywordCase{"while\t1", {{"while", K::Keyword}, {"\t", K::Tab}, {"1", K::Number}}},
                      KeywordCase{"do#x", {{"do", K::Word}, {"#x", K::Preprocessor}}},
                      KeywordCase{"Int", {{"Int", K::Word}}}, KeywordCase{"in", {{"in", K::Word}}}));

TEST(KeywordTest, IgnoreCaseMatchesAnyCase) {
    test::TempHome home;
    ExtensionProfile profile(BuiltInKeywords::Yes);
    profile.setIgnoreCase(true);
    expectTokens(tokenize(profile, "WHILE Int"),
                 {{"WHILE", K::Keyword}, {" ", K::Spaces}, {"Int", K::Keyword}});
}

TEST(KeywordTest, WordLongerThanTwentyIsNotATwentyCharacterKeyword) {
    test::TempHome home;
    ExtensionProfile profile;
    const std::string twenty = "abcdefghijklmnopqrst";
    profile.setKeywords({KeywordEntry::make(twenty)});
    expectTokens(tokenize(profile, twenty + ";"), {{twenty, K::Keyword}, {";", K::Symbols}});
    expectTokens(tokenize(profile, twenty + "u;"), {{twenty + "u", K::Word}, {";", K::Symbols}});
}

TEST(KeywordTest, PrefixModeMatchesBeginningAndTakesKeywordLength) {
    test::TempHome home;
    ExtensionProfile profile;
    profile.setSpecial(SpecialChar::KeywordPrefix, '<');
    profile.setDelimiters("=>");
    profile.setKeywords({KeywordEntry::make("<a"), KeywordEntry::make("<aab"), KeywordEntry::make("<body")});
    expectTokens(tokenize(profile, "<bodyx>"), {{"<body", K::Keyword}, {"x", K::Word}, {">", K::Symbols}});
    // "<a" and "<aab" are both prefixes of the text; the longer one is taken.
    expectTokens(tokenize(profile, "<aabc"), {{"<aab", K::Keyword}, {"c", K::Word}});
    // "<ab" lies between "<a" and "<aab" in the sorted list, so a plain binary search would miss "<a".
    expectTokens(tokenize(profile, "<ab"), {{"<a", K::Keyword}, {"b", K::Word}});
    expectTokens(tokenize(profile, "<x=1"), {{"<x", K::Word}, {"=", K::Symbols}, {"1", K::Number}});
    expectTokens(tokenize(profile, "<"), {{"<", K::Word}});
}

TEST(KeywordTest, NulByteInsideLineIsOrdinary) {
    test::TempHome home;
    const ExtensionProfile profile(BuiltInKeywords::Yes);
    const std::string line("int\0x y", 7);
    expectTokens(tokenize(profile, line),
                 {{std::string("int\0x", 5), K::Word}, {" ", K::Spaces}, {"y", K::Word}});
}

TEST(SlotTest, EveryKindHasItsSlot) {
    const std::vector<std::pair<TokenKind, ColourSlot>> table = {
        {K::EndOfLine, ColourSlot::Default},   {K::Spaces, ColourSlot::Default},
        {K::Tab, ColourSlot::Default},         {K::LiteralPair, ColourSlot::Default},
        {K::LineComment, ColourSlot::Comment}, {K::BlockComment, ColourSlot::Comment},
        {K::OpenComment, ColourSlot::Comment}, {K::String, ColourSlot::String},
        {K::HttpString, ColourSlot::String},   {K::FtpString, ColourSlot::String},
        {K::MailtoString, ColourSlot::String}, {K::Preprocessor, ColourSlot::Preprocessor},
        {K::Number, ColourSlot::Number},       {K::Keyword, ColourSlot::Keyword},
        {K::Word, ColourSlot::Default},        {K::Symbols, ColourSlot::Symbol},
    };
    for (const auto& [kind, slot] : table) {
        EXPECT_EQ(slotOf(kind), slot) << static_cast<int>(kind);
    }
}

} // namespace
} // namespace vexa::syntax
