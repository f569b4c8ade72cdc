// Splitting command lines into words: blanks, quotes, doubled quotes and backslash runs.
#include "platform/CommandLine.h"

#include <gtest/gtest.h>
#include <random>

namespace vexa::platform {
namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> words;
};

TEST(SplitCommandLine, FollowsTheDesktopRules) {
    const SplitCase kCases[] = {
        {"", {}},
        {"  \t ", {}},
        {"make", {"make"}},
        {"  cc  -c\ta.c  ", {"cc", "-c", "a.c"}},
        {"\"/opt/my tools/cc\" a.c", {"/opt/my tools/cc", "a.c"}},
        {"cc \"two words\" x\"y z\"w", {"cc", "two words", "xy zw"}},
        {"cc \"\"", {"cc", ""}},
        {"cc \"say \"\"hi\"\"\"", {"cc", "say \"hi\""}},
        {"cc a\\\"b", {"cc", "a\"b"}},
        {"cc a\\\\\"b c\"", {"cc", "a\\b c"}},
        {"cc a\\\\\\\"b", {"cc", "a\\\"b"}},
        {"cc a\\b\\\\c", {"cc", "a\\b\\\\c"}},
        {"cc \"unterminated quote", {"cc", "unterminated quote"}},
        // The program word treats backslashes as ordinary, even before a quote.
        {"\"C:\\tools\\\" arg", {"C:\\tools\\", "arg"}},
        {"vCommand /C cc a.c > /tmp/VexaPip.dat", {"vCommand", "/C", "cc", "a.c", ">", "/tmp/VexaPip.dat"}},
    };
    for (const SplitCase& c : kCases) {
        EXPECT_EQ(splitCommandLine(c.line), c.words) << "[" << c.line << "]";
    }
}

struct JoinCase {
    std::vector<std::string> words;
    const char* line;
};

TEST(JoinCommandLine, QuotesOnlyWhatNeedsIt) {
    const JoinCase kCases[] = {
        {{"make"}, "make"},
        {{"cc", "-c", "a.c"}, "cc -c a.c"},
        {{"/opt/my tools/cc", "a b"}, "\"/opt/my tools/cc\" \"a b\""},
        {{"cc", ""}, "cc \"\""},
        {{"cc", "say \"hi\""}, "cc \"say \\\"hi\\\"\""},
        {{"cc", "dir\\"}, "cc dir\\"},
        {{"cc", "my dir\\"}, "cc \"my dir\\\\\""},
        {{"cc", "a\\\"b"}, "cc \"a\\\\\\\"b\""},
    };
    for (const JoinCase& c : kCases) {
        EXPECT_EQ(joinCommandLine(c.words), c.line) << c.line;
        EXPECT_EQ(splitCommandLine(c.line), c.words) << c.line;
    }
}

TEST(JoinCommandLine, RefusesWhatTheProgramWordCannotHold) {
    EXPECT_FALSE(joinCommandLine({}).has_value());
    EXPECT_FALSE(joinCommandLine({""}).has_value());
    EXPECT_FALSE(joinCommandLine({"a\"b", "x"}).has_value());
}

// Any words built from the troublesome characters come back unchanged.
TEST(JoinCommandLine, SplitUndoesJoinForArbitraryWords) {
    const std::string alphabet = "ab \t\"\\%";
    std::mt19937 random(20261209);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 6);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> words{"prog"};
        int count = length(random);
        for (int w = 0; w < count; ++w) {
            std::string word;
            for (int n = length(random); n > 0; --n) {
                word += alphabet[pick(random)];
            }
            words.push_back(word);
        }
        auto line = joinCommandLine(words);
        ASSERT_TRUE(line.has_value());
        ASSERT_EQ(splitCommandLine(*line), words) << *line;
    }
}

} // namespace
} // namespace vexa::platform
