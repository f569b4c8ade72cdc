// The pattern language as callers see it: which patterns match which lines, where and how long,
// and which patterns fail to compile with which engine message.
#include "regex/RegexMatcher.h"

#include <gtest/gtest.h>
#include <string>

#include "regex/RegexShared.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

constexpr int kNoMatch = -1;

struct MatchCase {
    const char* name;
    std::string pattern;
    std::string subject;
    bool ignoreCase;
    int offset; // kNoMatch when the pattern finds nothing
    int length;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << c.name;
}

class RegexMatchTable : public ::testing::TestWithParam<MatchCase> {
protected:
    test::TempHome m_home;
};

TEST_P(RegexMatchTable, FindsTheExpectedMatch) {
    const MatchCase& c = GetParam();
    RegexMatcher matcher(c.ignoreCase ? RegexMatcher::kIgnoreCase : RegexMatcher::kCaseSensitive);
    std::string error;
    ASSERT_TRUE(RegexProgram::compile(c.pattern, &error).has_value()) << error;
    const bool found = matcher.match(c.subject, c.pattern);
    if (c.offset == kNoMatch) {
        EXPECT_FALSE(found);
        return;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(matcher.offset(), static_cast<std::size_t>(c.offset));
    EXPECT_EQ(matcher.matchedLength(), static_cast<std::size_t>(c.length));
    EXPECT_EQ(matcher.matchedText(),
              c.subject.substr(static_cast<std::size_t>(c.offset), static_cast<std::size_t>(c.length)));
    EXPECT_EQ(RegexMatcher::lastErrorText(), "Regex Error: ");
}

const MatchCase kMatchCases[] = {
    // Literals and escapes.
    {"literal", "abc", "xxabcxx", false, 2, 3},
    {"literal missing", "abd", "xxabcxx", false, kNoMatch, 0},
    {"escaped dot is literal", "a\\.c", "abc a.c", false, 4, 3},
    {"escaped dot needs a dot", "a\\.c", "abc", false, kNoMatch, 0},
    {"escaped parentheses", "\\(x\\)", "f(x)", false, 1, 3},
    {"backslash letter is the letter", "\\t", "a\ttab", false, 2, 1},
    {"empty pattern matches empty at 0", "", "abc", false, 0, 0},
    {"empty group matches empty", "()", "abc", false, 0, 0},
    {"other punctuation is literal", "{a]}", "x{a]}", false, 1, 4},
    // Any character, line start and line end.
    {"dot", "a.c", "xabc", false, 1, 3},
    {"dot needs a character", "a.c", "ac", false, kNoMatch, 0},
    {"line start", "^ab", "abab", false, 0, 2},
    {"line start only at start", "^ab", "xab", false, kNoMatch, 0},
    {"caret after literal never matches", "a^b", "a^b", false, kNoMatch, 0},
    {"caret inside group at start", "(^a)", "ab", false, 0, 1},
    {"line end", "ab$", "abab", false, 2, 2},
    {"dollar in the middle never matches", "a$b", "a$b", false, kNoMatch, 0},
    {"lone dollar at end of line", "$", "hello", false, 5, 0},
    {"lone dollar on empty line", "$", "", false, 0, 0},
    // Sets.
    {"set", "[abc]+", "xxbcay", false, 2, 3},
    {"negated set", "[^abc]+", "abxyc", false, 2, 2},
    {"range", "[a-c]+", "zzabcd", false, 2, 3},
    {"bracket first is literal", "[]a]+", "x]a]", false, 1, 3},
    {"bracket first after caret", "[^]a]", "]]ab", false, 3, 1},
    {"dash last is literal", "[a-]+", "x-a-", false, 1, 3},
    {"dash first is literal", "[-a]+", "x-a", false, 1, 2},
    {"range of one letter", "[c-c]", "abc", false, 2, 1},
    {"range after range", "[a-c-e]+", "xdea", false, 1, 3},
    {"negated set never takes the line end", "a[^x]", "a", false, kNoMatch, 0},
    {"high byte range", "[\x80-\xff]+",
     "ab\xe9\xe8"
     "c",
     false, 2, 2},
    // Repetition.
    {"letter star matches empty at 0", "x*", "abc", false, 0, 0},
    {"star is greedy", "a*", "aaab", false, 0, 3},
    {"plus", "a+", "baaa", false, 1, 3},
    {"plus needs one", "a+", "bbb", false, kNoMatch, 0},
    {"optional absent", "colou?r", "color", false, 0, 5},
    {"optional present", "colou?r", "colour", false, 0, 6},
    {"run star repeats last letter", "xab*", "xabbb", false, 0, 5},
    {"run star does not repeat run", "xab*", "xabab", false, 0, 3},
    {"group star repeats the group", "x(ab)*", "xababb", false, 0, 5},
    {"group plus", "(ab)+c", "ababc", false, 0, 5},
    {"group optional", "a(bc)?d", "ad abcd", false, 0, 2},
    {"escaped last character takes the star", "a\\.*b", "a...b", false, 0, 5},
    {"escaped last character star zero", "a\\.*b", "ab", false, 0, 2},
    {"star backs off to the next literal", "a*ab", "aaab", false, 0, 4},
    {"dot star greedy", "a.*b", "axbxb", false, 0, 5},
    {"set star then literal", "[0-9]*x", "12a34x", false, 3, 3},
    {"optional group that may be empty", "(a*)?b", "aab", false, 0, 3},
    // Alternation: leftmost, then first path in written order.
    {"alternation", "cat|dog", "hotdog", false, 3, 3},
    {"newline separates alternatives", "cat\ndog", "hotdog", false, 3, 3},
    {"leftmost wins over order", "b|a", "ab", false, 0, 1},
    {"first alternative, not longest", "a|ab", "ab", false, 0, 1},
    {"later alternative after failure", "(a|ab)c", "abc", false, 0, 3},
    {"empty alternative", "a(b|)c", "ac", false, 0, 2},
    // Word start and end.
    {"whole word alone", "\\<is\\>", "this is", false, 5, 2},
    {"word at line start", "\\<word\\>", "word", false, 0, 4},
    {"word before punctuation", "\\<word\\>", "a word.", false, 2, 4},
    {"word as a prefix of a longer word", "\\<is\\>", "this island", false, kNoMatch, 0},
    {"word after underscore", "\\<word\\>", "_word", false, kNoMatch, 0},
    {"high bytes are not word characters", "e\\>", "e\xe9", false, 0, 1},
    {"word start after high byte", "\\<b",
     "\xe9"
     "b",
     false, 1, 1},
    // Case.
    {"case-sensitive literal", "HELLO", "say hello", false, kNoMatch, 0},
    {"ignore case literal", "HELLO", "say hello", true, 4, 5},
    {"ignore case first character", "Abc", "xxaBC", true, 2, 3},
    {"upper star then upper, lower text", "A*B", "aaab", true, 0, 4},
    {"upper star then upper, case-sensitive", "A*B", "aaab", false, kNoMatch, 0},
    {"ignore case range", "[A-C]+", "xabcx", true, 1, 3},
    {"ignore case negated range", "[^a-c]", "ABCd", true, 3, 1},
    {"ignore case must-have text", "x*ABC", "xxabc", true, 0, 5},
    {"case-sensitive must-have text", "x*ABC", "xxabc", false, kNoMatch, 0},
    {"ignore case leaves non-letters", "[[]", "{[", true, 1, 1},
};

INSTANTIATE_TEST_SUITE_P(Patterns, RegexMatchTable, ::testing::ValuesIn(kMatchCases));

struct ErrorCase {
    const char* name;
    std::string pattern;
    const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class RegexErrorTable : public ::testing::TestWithParam<ErrorCase> {
protected:
    test::TempHome m_home;
};

TEST_P(RegexErrorTable, FailsWithTheEngineMessageAndFindsNothing) {
    const ErrorCase& c = GetParam();
    std::string error;
    EXPECT_FALSE(RegexProgram::compile(c.pattern, &error).has_value());
    EXPECT_EQ(error, c.message);

    RegexMatcher matcher(RegexMatcher::kIgnoreCase);
    EXPECT_FALSE(matcher.match("any line (with) [brackets] ab\\", c.pattern));
    EXPECT_EQ(matcher.engineMessage(), c.message);
    EXPECT_EQ(RegexMatcher::lastErrorText(),
              "Regex Error: Unexpected Vexa error at File: QLWREG01 Line: 162");
}

const ErrorCase kErrorCases[] = {
    {"open group without close", "(ab", "unmatched ()"},
    {"close without open", "ab)", "unmatched ()"},
    {"nested group without close", "((a)", "unmatched ()"},
    {"ten groups", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "too many ()"},
    {"star on a group that can be empty", "(a*)*", "*+ operand could be empty"},
    {"plus on a group that can be empty", "(a?)+", "*+ operand could be empty"},
    {"star on line start", "^*", "*+ operand could be empty"},
    {"star on word start", "\\<*", "*+ operand could be empty"},
    {"star on empty group", "()*", "*+ operand could be empty"},
    {"star on group with an empty alternative", "(a|)*", "*+ operand could be empty"},
    {"two stars", "a**", "nested *?+"},
    {"plus then optional", "a+?", "nested *?+"},
    {"optional then star", "(ab)?*", "nested *?+"},
    {"star at pattern start", "*a", "?+* follows nothing"},
    {"lone plus", "+", "?+* follows nothing"},
    {"quantifier after bar", "a|*b", "?+* follows nothing"},
    {"quantifier at group start", "(?a)", "?+* follows nothing"},
    {"quantifier after newline", "a\n?", "?+* follows nothing"},
    {"backward range", "[z-a]", "invalid [] range"},
    {"set without close", "[abc", "unmatched []"},
    {"bracket only as member", "[]", "unmatched []"},
    {"negated bracket only as member", "[^]", "unmatched []"},
    {"trailing backslash", "ab\\", "trailing \\"},
    {"lone backslash", "\\", "trailing \\"},
};

INSTANTIATE_TEST_SUITE_P(Patterns, RegexErrorTable, ::testing::ValuesIn(kErrorCases));

class RegexMatcherTest : public ::testing::Test {
protected:
    test::TempHome m_home;
};

TEST_F(RegexMatcherTest, OptionalOnAGroupThatCanBeEmptyCompiles) {
    RegexMatcher matcher(RegexMatcher::kCaseSensitive);
    ASSERT_TRUE(matcher.match("xaab", "(a*)?b"));
    EXPECT_EQ(matcher.offset(), 1u);
}

TEST_F(RegexMatcherTest, NineGroupsAreAllowed) {
    RegexMatcher matcher(RegexMatcher::kCaseSensitive);
    ASSERT_TRUE(matcher.match("abcdefghi", "(a)(b)(c)(d)(e)(f)(g)(h)(i)"));
    EXPECT_EQ(matcher.positions().start[9], 8);
    EXPECT_EQ(matcher.positions().end[9], 9);
}

TEST_F(RegexMatcherTest, MissingArgumentsAreReported) {
    RegexMatcher matcher;
    EXPECT_FALSE(matcher.match(nullptr, "a"));
    EXPECT_EQ(RegexMatcher::lastErrorText(), "Regex Error: Bad command line arguments supplied.");
    EXPECT_FALSE(matcher.match("a", nullptr));
    EXPECT_EQ(RegexMatcher::lastErrorText(), "Regex Error: Bad command line arguments supplied.");
    // The next match resets the text to an empty message.
    EXPECT_FALSE(matcher.match("a", "b"));
    EXPECT_EQ(RegexMatcher::lastErrorText(), "Regex Error: ");
}

TEST_F(RegexMatcherTest, CaseModeOneIsSensitiveAndEveryOtherValueIgnoresCase) {
    struct Mode {
        int32_t value;
        bool found;
    };
    for (const Mode mode : {Mode{1, false}, Mode{0, true}, Mode{2, true}, Mode{-1, true}}) {
        RegexMatcher matcher(mode.value);
        EXPECT_EQ(matcher.match("ABC", "abc"), mode.found) << mode.value;
        EXPECT_EQ(regexIgnoreCase(), mode.found) << mode.value;
    }
}

TEST_F(RegexMatcherTest, TheCaseFlagIsSharedByAllMatchers) {
    RegexMatcher first(RegexMatcher::kIgnoreCase);
    RegexMatcher second(RegexMatcher::kCaseSensitive);
    // Creating the second matcher switched the one flag for the first one too.
    EXPECT_FALSE(first.match("ABC", "abc"));
    first.setCaseMode(RegexMatcher::kIgnoreCase);
    EXPECT_TRUE(second.match("ABC", "abc"));
}

TEST_F(RegexMatcherTest, LongMatchIsCappedButTheOffsetIsExact) {
    const std::string subject = std::string(10, 'b') + std::string(1500, 'a') + "c";
    RegexMatcher matcher(RegexMatcher::kCaseSensitive);
    ASSERT_TRUE(matcher.match(subject, "a+"));
    EXPECT_EQ(matcher.offset(), 10u);
    EXPECT_EQ(matcher.matchedLength(), RegexMatcher::kMaxMatchedText);
    EXPECT_EQ(matcher.matchedText(), std::string(1024, 'a'));
    EXPECT_EQ(matcher.positions().end[0], 1510);
}

TEST_F(RegexMatcherTest, SubjectEndsAtItsFirstNul) {
    const std::string subject("ab\0cd", 5);
    RegexMatcher matcher(RegexMatcher::kCaseSensitive);
    EXPECT_FALSE(matcher.match(subject, "cd"));
    ASSERT_TRUE(matcher.match(subject, "$"));
    EXPECT_EQ(matcher.offset(), 2u);
}

TEST_F(RegexMatcherTest, ErrorTextSurvivesTheMatcherThatWroteIt) {
    {
        RegexMatcher shortLived;
        EXPECT_FALSE(shortLived.match("x", "(x"));
    }
    EXPECT_EQ(RegexMatcher::lastErrorText(),
              "Regex Error: Unexpected Vexa error at File: QLWREG01 Line: 162");
    RegexMatcher later;
    EXPECT_FALSE(later.match("x", "[x"));
    EXPECT_EQ(RegexMatcher::lastErrorText(),
              "Regex Error: Unexpected Vexa error at File: QLWREG01 Line: 162");
}

TEST_F(RegexMatcherTest, PatternsUsedOnManyLinesAreCompiledOnce) {
    RegexMatcher matcher(RegexMatcher::kIgnoreCase);
    const char* const patterns[] = {"^int ", "^[a-z]+\\(", "x*y", "(unclosed"};
    int matches = 0;
    for (int line = 0; line < 500; ++line) {
        const std::string text = line % 2 == 0 ? "int f(void)" : "call(x)";
        for (const char* pattern : patterns) {
            matches += matcher.match(text, pattern) ? 1 : 0;
        }
    }
    EXPECT_EQ(matcher.compileCount(), 4u);
    // "^int " on the even lines, "^[a-z]+\(" on the odd ones; "x*y" never (no y).
    EXPECT_EQ(matches, 250 + 250);
    // The failed compile is remembered too, and still reported each time.
    EXPECT_EQ(RegexMatcher::lastErrorText(),
              "Regex Error: Unexpected Vexa error at File: QLWREG01 Line: 162");
}

TEST_F(RegexMatcherTest, ManyPatternsInTurnKeepGivingTheSameResults) {
    // More patterns than the matcher keeps compiled, used in turn, over and over.
    RegexMatcher matcher(RegexMatcher::kCaseSensitive);
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 12; ++i) {
            const std::string pattern = "x" + std::to_string(i) + "y";
            const std::string subject = "ab" + pattern;
            ASSERT_TRUE(matcher.match(subject, pattern)) << pattern;
            EXPECT_EQ(matcher.offset(), 2u);
            EXPECT_FALSE(matcher.match("x" + std::to_string(i + 1) + "y", pattern)) << pattern;
        }
    }
    // Twelve patterns in turn do not all fit among the kept programs.
    EXPECT_GT(matcher.compileCount(), 12u);
}

struct FromCase {
    const char* name;
    std::string pattern;
    std::string subject;
    std::size_t from;
    int offset; // kNoMatch when nothing matches at or after `from`
    int length;
};

TEST_F(RegexMatcherTest, MatchingFromAnOffsetSeesTheWholeLine) {
    const FromCase cases[] = {
        {"offset counts from the line start", "ab", "ab ab", 1, 3, 2},
        {"a match before the offset is not taken", "ab", "ab x", 1, kNoMatch, 0},
        {"line start only at the real start", "^ab", "abab", 2, kNoMatch, 0},
        {"line start from zero", "^ab", "abab", 0, 0, 2},
        {"word start looks before the offset", "\\<oo", "foo oo", 1, 4, 2},
        {"line end from the end", "$", "abc", 3, 3, 0},
        {"offset beyond the end", "$", "abc", 4, kNoMatch, 0},
    };
    RegexMatcher matcher(RegexMatcher::kCaseSensitive);
    for (const FromCase& c : cases) {
        const bool found = matcher.match(c.subject, c.pattern, c.from);
        if (c.offset == kNoMatch) {
            EXPECT_FALSE(found) << c.name;
            continue;
        }
        ASSERT_TRUE(found) << c.name;
        EXPECT_EQ(matcher.offset(), static_cast<std::size_t>(c.offset)) << c.name;
        EXPECT_EQ(matcher.matchedLength(), static_cast<std::size_t>(c.length)) << c.name;
    }
}

// The patterns function scanning tries when the user has set none, each ignoring case.
const char* const kFunctionPatterns[] = {
    "^[_a-z0-9]+[ &*\t]+[_a-z0-9 \t]*[_a-z0-9]+[ \t]*[(]+.*[^; ]+$",
    "^[_a-z0-9]+[ &*\t]+[_a-z0-9 \t]*[_a-z0-9&+=*<>]+[:_a-z0-9&+=*<>~]+[ \t]*[(]+.*[^; ]+$",
    "^[_a-z0-9&+=*<>]+[:_a-z0-9&+=*<>~]+[ \t]*[(]+.*[^; ]+$",
};

TEST_F(RegexMatcherTest, BuiltInFunctionPatterns) {
    struct Case {
        const char* line;
        int pattern; // the first pattern that matches, 0-based; -1 for none
    };
    const Case cases[] = {
        {"int main(int argc, char **argv)", 0},
        {"static void *Alloc(size_t n)", 1},
        {"unsigned long\tcount (void)", 0},
        {"int main(int argc, char **argv);", -1},
        {"int main(int argc) ", -1},
        {"    int indented(void)", -1},
        {"x = call(y)", -1},
        {"void Widget::paint(Painter& p)", 1},
        {"bool operator==(const A& a)", 1},
        {"Widget::~Widget()", 2},
        {"Widget::Widget(int x) : m_x(x)", 2},
        {"#define MAX(a, b) ((a) > (b) ? (a) : (b))", -1},
        {"", -1},
    };
    RegexMatcher matcher(RegexMatcher::kIgnoreCase);
    for (const Case& c : cases) {
        int first = -1;
        for (int i = 0; i < 3 && first < 0; ++i) {
            if (matcher.match(c.line, kFunctionPatterns[i])) {
                first = i;
            }
        }
        EXPECT_EQ(first, c.pattern) << c.line;
    }
}

} // namespace
} // namespace vexa
