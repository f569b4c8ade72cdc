// Keyword entries: the entry comparison in both modes, sorting, binary search and the built-in list.
#include "syntax/KeywordEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa::syntax {
namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

struct CompareCase {
    const char* probe;
    bool prefixProbe; // probe length 0: prefix mode
    const char* entry;
    CaseMode mode;
    int expected;
};

TEST(EntryComparison, Table) {
    const std::vector<CompareCase> cases = {
        {"int", false, "int", CaseMode::Sensitive, 0},
        {"in", false, "int", CaseMode::Sensitive, -1},
        {"integer", false, "int", CaseMode::Sensitive, 1},
        {"Int", false, "int", CaseMode::Sensitive, -1},
        {"Int", false, "int", CaseMode::Insensitive, 0},
        {"_a", false, "Ba", CaseMode::Insensitive, -1}, // folds to lower case: '_' sorts before 'b'
        {"_a", false, "Ba", CaseMode::Sensitive, 1},
        {"integer", true, "int", CaseMode::Sensitive, 0},
        {"in", true, "int", CaseMode::Sensitive, -1},
        {"INTx", true, "int", CaseMode::Insensitive, 0},
        {"\xe9", false, "z", CaseMode::Sensitive, 1}, // bytes compare unsigned
    };
    for (const auto& c : cases) {
        KeywordEntry probe = KeywordEntry::make(c.probe);
        if (c.prefixProbe) {
            probe.length = 0;
        }
        EXPECT_EQ(sign(compareEntries(probe, KeywordEntry::make(c.entry), c.mode)), c.expected)
            << c.probe << " vs " << c.entry;
    }
}

TEST(EntryComparison, LengthFromAFileNeverReadsPastTheField) {
    KeywordEntry a = KeywordEntry::make("abcdefghijklmnopqrst");
    KeywordEntry b = a;
    a.length = 60000;
    b.length = 60000;
    b.text[20] = 'x'; // no terminator inside the field
    EXPECT_NE(compareEntries(a, b, CaseMode::Sensitive), 0);
    b.text[20] = '\0';
    EXPECT_EQ(compareEntries(a, b, CaseMode::Sensitive), 0);
}

TEST(KeywordEntryMake, KeepsAtMostTwentyCharactersZeroFilled) {
    const KeywordEntry entry = KeywordEntry::make("abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(entry.length, 20);
    EXPECT_EQ(entry.view(), "abcdefghijklmnopqrst");
    EXPECT_EQ(entry.text[20], '\0');
    const KeywordEntry shortOne = KeywordEntry::make("ab");
    for (std::size_t i = 2; i < kKeywordFieldWidth; ++i) {
        EXPECT_EQ(shortOne.text[i], '\0');
    }
}

TEST(BuiltInKeywords, FiftyFiveWordsAlreadySortedForBothModes) {
    const auto builtIn = builtInKeywords();
    ASSERT_EQ(builtIn.size(), 55u);
    EXPECT_EQ(builtIn.front().view(), "asm");
    EXPECT_EQ(builtIn[12].view(), "do");
    EXPECT_EQ(builtIn[26].view(), "interrupt");
    EXPECT_EQ(builtIn.back().view(), "while");
    for (std::size_t i = 1; i < builtIn.size(); ++i) {
        EXPECT_LT(compareEntries(builtIn[i - 1], builtIn[i], CaseMode::Sensitive), 0) << builtIn[i].view();
        EXPECT_LT(compareEntries(builtIn[i - 1], builtIn[i], CaseMode::Insensitive), 0) << builtIn[i].view();
        EXPECT_EQ(builtIn[i].length, builtIn[i].view().size());
    }
}

TEST(KeywordSearch, FindsEveryEntryAndNothingElse) {
    KeywordList list;
    for (const char* word : {"while", "Case", "case", "do", "double", "a", "zz"}) {
        list.push_back(KeywordEntry::make(word));
    }
    sortKeywords(list, CaseMode::Sensitive);
    for (std::size_t i = 1; i < list.size(); ++i) {
        EXPECT_LT(compareEntries(list[i - 1], list[i], CaseMode::Sensitive), 0);
    }
    for (const auto& entry : list) {
        const KeywordEntry* found = findKeyword(list, entry, CaseMode::Sensitive);
        ASSERT_NE(found, nullptr) << entry.view();
        EXPECT_EQ(found->view(), entry.view());
        EXPECT_EQ(findExactKeyword(list, entry.view()), found);
    }
    for (const char* missing : {"", "b", "dou", "whilex", "CASE", "zzz"}) {
        EXPECT_EQ(findKeyword(list, KeywordEntry::make(missing), CaseMode::Sensitive), nullptr) << missing;
        EXPECT_EQ(findExactKeyword(list, missing), nullptr) << missing;
    }
}

TEST(KeywordSearch, CaseInsensitiveListKeepsBothSpellings) {
    KeywordList list = {KeywordEntry::make("Begin"), KeywordEntry::make("end"), KeywordEntry::make("begin")};
    sortKeywords(list, CaseMode::Insensitive);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].view(), "Begin"); // equal under the comparison: the sort keeps their order
    EXPECT_EQ(list[1].view(), "begin");
    EXPECT_EQ(list[2].view(), "end");
    EXPECT_NE(findKeyword(list, KeywordEntry::make("BEGIN"), CaseMode::Insensitive), nullptr);
    EXPECT_NE(findKeyword(list, KeywordEntry::make("END"), CaseMode::Insensitive), nullptr);
}

TEST(KeywordSearch, PrefixLookupPrefersLongest) {
    KeywordList list = {KeywordEntry::make("$a"), KeywordEntry::make("$ab"), KeywordEntry::make("$b")};
    sortKeywords(list, CaseMode::Sensitive);
    const struct {
        const char* text;
        const char* expected; // nullptr: none
    } cases[] = {{"$abc", "$ab"}, {"$ac", "$a"},    {"$b", "$b"},
                 {"$", nullptr},  {"x$a", nullptr}, {"", nullptr}};
    for (const auto& c : cases) {
        const KeywordEntry* found = findPrefixKeyword(list, c.text, CaseMode::Sensitive);
        if (c.expected == nullptr) {
            EXPECT_EQ(found, nullptr) << c.text;
        } else {
            ASSERT_NE(found, nullptr) << c.text;
            EXPECT_EQ(found->view(), c.expected);
        }
    }
}

} // namespace
} // namespace vexa::syntax
