// The ignore-file reader and its glob matcher.
#include <gtest/gtest.h>

#include <string>

#include "findfiles/IgnoreRules.h"

namespace vexa::findfiles {
namespace {

TEST(IgnoreGlob, MatchesNamesAndFolders) {
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    };
    const Case cases[] = {
        {"*.o", "main.o", true},
        {"*.o", "main.c", false},
        {"*.o", "sub/main.o", false}, // a star stays within one name
        {"?.c", "a.c", true},
        {"?.c", "ab.c", false},
        {"[abc].c", "b.c", true},
        {"[!abc].c", "b.c", false},
        {"[a-c]x", "cx", true},
        {"[a-c]x", "dx", false},
        {"[x", "[x", true}, // an open set stands for itself
        {"\\*.c", "*.c", true},
        {"\\*.c", "a.c", false},
        {"**/build", "build", true},
        {"**/build", "a/b/build", true},
        {"a/**/b", "a/b", true},
        {"a/**/b", "a/x/y/b", true},
        {"a/**/b", "a/xb", false},
        {"out/**", "out/x/y.o", true},
        {"a**b", "axxb", true},
        {"a**b", "ax/xb", false}, // "**" inside a name is an ordinary star
        {"", "", true},
        {"*", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matchesGlob(c.pattern, c.text), c.matches) << c.pattern << " on " << c.text;
    }
}

TEST(IgnoreRules, ReadsTheCommonRules) {
    const IgnoreRules rules = IgnoreRules::parse("# a comment\n"
                                                 "\n"
                                                 "*.log\n"
                                                 "!keep.log\n"
                                                 "/top.txt\n"
                                                 "build/\n"
                                                 "docs/*.html\n"
                                                 "\\#hash\n"
                                                 "\\!bang\n"
                                                 "trailing   \n"
                                                 "kept\\ \n"
                                                 "crlf\r\n");
    struct Case {
        const char* path;
        PathKind kind;
        IgnoreVerdict verdict;
    };
    const Case cases[] = {
        {"a.log", PathKind::File, IgnoreVerdict::Ignore},
        {"deep/er/a.log", PathKind::File, IgnoreVerdict::Ignore},
        {"keep.log", PathKind::File, IgnoreVerdict::Keep},
        {"sub/keep.log", PathKind::File, IgnoreVerdict::Keep},
        {"top.txt", PathKind::File, IgnoreVerdict::Ignore},
        {"sub/top.txt", PathKind::File, IgnoreVerdict::None}, // anchored to the file's folder
        {"build", PathKind::Folder, IgnoreVerdict::Ignore},
        {"sub/build", PathKind::Folder, IgnoreVerdict::Ignore},
        {"build", PathKind::File, IgnoreVerdict::None}, // folders only
        {"docs/a.html", PathKind::File, IgnoreVerdict::Ignore},
        {"docs/sub/a.html", PathKind::File, IgnoreVerdict::None},
        {"other/docs/a.html", PathKind::File, IgnoreVerdict::None}, // a middle slash anchors too
        {"#hash", PathKind::File, IgnoreVerdict::Ignore},
        {"!bang", PathKind::File, IgnoreVerdict::Ignore},
        {"trailing", PathKind::File, IgnoreVerdict::Ignore},
        {"kept ", PathKind::File, IgnoreVerdict::Ignore},
        {"kept", PathKind::File, IgnoreVerdict::None},
        {"crlf", PathKind::File, IgnoreVerdict::Ignore},
        {"a.c", PathKind::File, IgnoreVerdict::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rules.verdict(c.path, c.kind), c.verdict) << c.path;
    }
}

TEST(IgnoreRules, TheLastMatchingRuleDecides) {
    const IgnoreRules rules = IgnoreRules::parse("!a.txt\n*.txt\n");
    EXPECT_EQ(rules.verdict("a.txt", PathKind::File), IgnoreVerdict::Ignore);
    const IgnoreRules reversed = IgnoreRules::parse("*.txt\n!a.txt\n");
    EXPECT_EQ(reversed.verdict("a.txt", PathKind::File), IgnoreVerdict::Keep);
}

TEST(IgnoreRules, LongPatternsStayBounded) {
    // A pattern of many stars against a long name that misses at its end: the work grows with the
    // product of the lengths, not exponentially.
    const std::string pattern = std::string(500, '*') + "x" + std::string(500, '*') + "y";
    const std::string name(3000, 'a');
    EXPECT_FALSE(matchesGlob(pattern, name));
    const IgnoreRules rules = IgnoreRules::parse(std::string(IgnoreRules::kMaxPatternBytes + 1, 'a'));
    EXPECT_TRUE(rules.empty());
}

} // namespace
} // namespace vexa::findfiles
