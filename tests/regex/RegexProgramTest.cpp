// The compiled program byte for byte, its optimisation facts, group positions, the interpreter's
// own errors and its bounds on pathological patterns and lines.
#include "regex/RegexProgram.h"

#include <chrono>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "regex/RegexShared.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

class RegexProgramTest : public ::testing::Test {
protected:
    void SetUp() override { setRegexIgnoreCase(false); }
    test::TempHome m_home;
};

std::vector<uint8_t> compiledBytes(const std::string& pattern) {
    std::string error;
    auto program = RegexProgram::compile(pattern, &error);
    EXPECT_TRUE(program.has_value()) << error;
    return program ? program->bytes() : std::vector<uint8_t>{};
}

TEST_F(RegexProgramTest, LiteralProgramLayout) {
    // magic; branch -> end; exactly "ab" -> end; end.
    const std::vector<uint8_t> expected = {0x9C, 6, 0, 9, 8, 0, 6, 'a', 'b', 0, 0, 0, 0};
    EXPECT_EQ(compiledBytes("ab"), expected);
}

TEST_F(RegexProgramTest, StarOfOneCharacterLayout) {
    // The star node is inserted before its operand, which is not linked to anything.
    const std::vector<uint8_t> expected = {0x9C, 6, 0, 11, 10, 0, 8, 8, 0, 0, 'a', 0, 0, 0, 0};
    EXPECT_EQ(compiledBytes("a*"), expected);
}

TEST_F(RegexProgramTest, StarOfGroupIsALoopWithABackNode) {
    const std::vector<uint8_t> expected = {
        0x9C, 6, 0,  29,     // top branch -> end (30)
        6,    0, 20,         // loop branch -> second branch (24)
        21,   0, 3,          // open 1 -> branch (10)
        6,    0, 8,          // branch -> close (18)
        8,    0, 5,  'a', 0, // exactly "a" -> close
        31,   0, 3,          // close 1 -> back (21)
        7,    0, 17,         // back -> loop branch (4), counted backwards
        6,    0, 3,          // second branch -> nothing
        9,    0, 3,          // nothing -> end
        0,    0, 0,          // end
    };
    EXPECT_EQ(compiledBytes("(a)*"), expected);
}

TEST_F(RegexProgramTest, SetOperandHoldsTheExpandedRange) {
    const std::vector<uint8_t> expected = {0x9C, 6, 0, 11, 5, 0, 8, ']', 'a', 'b', 'c', 0, 0, 0, 0};
    EXPECT_EQ(compiledBytes("[^]a-c]"), expected);
}

TEST_F(RegexProgramTest, ProgramSizeLimit) {
    // A literal of n characters needs n + 11 bytes; the program must stay below 32767.
    std::string error;
    EXPECT_TRUE(RegexProgram::compile(std::string(32755, 'x'), &error).has_value());
    EXPECT_FALSE(RegexProgram::compile(std::string(32756, 'x'), &error).has_value());
    EXPECT_EQ(error, "regexp too big");
    std::string sets;
    for (int i = 0; i < 200; ++i) {
        sets += "[\x01-\xff]";
    }
    EXPECT_FALSE(RegexProgram::compile(sets, &error).has_value());
    EXPECT_EQ(error, "regexp too big");
}

TEST_F(RegexProgramTest, NullPatternAndSubject) {
    std::string error;
    EXPECT_FALSE(RegexProgram::compile(static_cast<const char*>(nullptr), &error).has_value());
    EXPECT_EQ(error, "NULL argument");
    auto program = RegexProgram::compile("a", &error);
    ASSERT_TRUE(program.has_value());
    EXPECT_EQ(program->execute(static_cast<const char*>(nullptr), nullptr, &error), RegexOutcome::Error);
    EXPECT_EQ(error, "NULL parameter");
}

struct FactsCase {
    const char* pattern;
    uint8_t first;
    bool anchored;
    const char* must;
};

TEST_F(RegexProgramTest, OptimisationFacts) {
    const FactsCase cases[] = {
        {"abc", 'a', false, ""},
        {"^abc", 0, true, ""},
        {"a|b", 0, false, ""},
        {"^a|b", 0, false, ""},
        {"a*bcd", 0, false, "bcd"},
        {"x?abc.*de", 0, false, "abc"},
        // Equal lengths: the later literal wins.
        {"x*abc*de", 0, false, "de"},
        // A literal inside an optional part is not required.
        {"a*(bcdef)?gh", 0, false, "gh"},
        // Without a leading repetition there is no must-have text.
        {"ab*cdef", 'a', false, ""},
        {"a*", 0, false, ""},
    };
    for (const FactsCase& c : cases) {
        std::string error;
        auto program = RegexProgram::compile(c.pattern, &error);
        ASSERT_TRUE(program.has_value()) << c.pattern << ": " << error;
        EXPECT_EQ(program->firstCharacter(), c.first) << c.pattern;
        EXPECT_EQ(program->isAnchored(), c.anchored) << c.pattern;
        EXPECT_EQ(program->mustHave(), c.must) << c.pattern;
    }
}

struct GroupCase {
    const char* pattern;
    const char* subject;
    std::vector<std::pair<int, int>> slots; // start, end for slots 0, 1, ...
};

TEST_F(RegexProgramTest, GroupPositions) {
    const GroupCase cases[] = {
        {"((a)(b))", "xab", {{1, 3}, {1, 3}, {1, 2}, {2, 3}}},
        // A repeated group keeps its last repetition.
        {"(a|b)+", "xabba", {{1, 5}, {4, 5}}},
        {"x(ab)*", "xababy", {{0, 5}, {3, 5}}},
        // A group that took no part stays unset.
        {"(a)(b)?", "ac", {{0, 1}, {0, 1}, {-1, -1}}},
        // Positions from a failed alternative do not survive.
        {"(a)b|(a)c", "ac", {{0, 2}, {-1, -1}, {0, 1}}},
    };
    for (const GroupCase& c : cases) {
        auto program = RegexProgram::compile(c.pattern);
        ASSERT_TRUE(program.has_value()) << c.pattern;
        RegexMatch match;
        ASSERT_EQ(program->execute(c.subject, &match), RegexOutcome::Match) << c.pattern;
        for (std::size_t slot = 0; slot < c.slots.size(); ++slot) {
            EXPECT_EQ(match.start[slot], c.slots[slot].first) << c.pattern << " slot " << slot;
            EXPECT_EQ(match.end[slot], c.slots[slot].second) << c.pattern << " slot " << slot;
        }
    }
}

struct DamagedCase {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* message;
};

TEST_F(RegexProgramTest, DamagedProgramsReportTheirFault) {
    const DamagedCase cases[] = {
        {"wrong magic", {0x00, 0, 0, 0}, "corrupted program"},
        {"empty program", {}, "corrupted program"},
        {"unknown opcode", {0x9C, 50, 0, 0}, "memory corruption"},
        {"group zero open", {0x9C, 20, 0, 3, 0, 0, 0}, "memory corruption"},
        {"chain ends without an end node", {0x9C, 9, 0, 0}, "corrupted pointers"},
        {"offset beyond the program", {0x9C, 9, 0x70, 0}, "corrupted pointers"},
        {"back offset before the program", {0x9C, 7, 0, 9}, "corrupted pointers"},
        {"truncated node", {0x9C, 9}, "corrupted pointers"},
        {"unterminated literal", {0x9C, 8, 0, 5, 'a', 'b'}, "corrupted pointers"},
        {"star over a branch", {0x9C, 10, 0, 6, 6, 0, 0, 0, 0, 0}, "internal foulup"},
    };
    for (const DamagedCase& c : cases) {
        const RegexProgram program = RegexProgram::fromBytes(c.bytes);
        std::string error;
        EXPECT_EQ(program.execute("abc", nullptr, &error), RegexOutcome::Error) << c.name;
        EXPECT_EQ(error, c.message) << c.name;
    }
}

TEST_F(RegexProgramTest, RawProgramWithoutFactsStillMatches) {
    const RegexProgram program = RegexProgram::fromBytes({0x9C, 6, 0, 9, 8, 0, 6, 'a', 'b', 0, 0, 0, 0});
    RegexMatch match;
    ASSERT_EQ(program.execute("xxab", &match), RegexOutcome::Match);
    EXPECT_EQ(match.start[0], 2);
    EXPECT_EQ(match.end[0], 4);
}

// Regression: a loop built from branch nodes over a long line used to recurse once per
// repetition and could overflow the stack.
TEST_F(RegexProgramTest, LongLoopOverALongLineDoesNotCrash) {
    auto program = RegexProgram::compile("x(a|b)*c");
    ASSERT_TRUE(program.has_value());
    const std::string matching = "x" + std::string(100'000, 'a') + "c";
    RegexMatch match;
    ASSERT_EQ(program->execute(matching, &match), RegexOutcome::Match);
    EXPECT_EQ(match.end[0], static_cast<int>(matching.size()));

    // Too long for the bound: reported as exhausted, which callers take as no match.
    const std::string failing = "x" + std::string(2'000'000, 'b');
    const RegexOutcome outcome = program->execute(failing);
    EXPECT_TRUE(outcome == RegexOutcome::Exhausted || outcome == RegexOutcome::NoMatch);
    EXPECT_NE(outcome, RegexOutcome::Match);
}

// Patterns that take plain backtracking exponential or polynomial time now end quickly with the
// plain answer instead of giving up at the step bound.
TEST_F(RegexProgramTest, NestedRepetitionEndsWithTheRealAnswer) {
    struct Case {
        const char* pattern;
        std::string subject;
        RegexOutcome expected;
        int matchEnd;
    };
    const Case cases[] = {
        {"(a+)+b", std::string(40, 'a'), RegexOutcome::NoMatch, 0},
        // The "b" is there, so only the interpreter can tell.
        {"(a+)+b", "b" + std::string(5000, 'a'), RegexOutcome::NoMatch, 0},
        {"(a+)+b", std::string(10, 'a') + "b", RegexOutcome::Match, 11},
        {"(.+)+;$", "x = 1; " + std::string(3000, 'y'), RegexOutcome::NoMatch, 0},
        {"(a|aa)*c", std::string(3000, 'a'), RegexOutcome::NoMatch, 0},
        {"(a|aa)*c", std::string(3000, 'a') + "c", RegexOutcome::Match, 3001},
        {"(x+x+)+y", std::string(2000, 'x') + "y", RegexOutcome::Match, 2001},
    };
    const auto start = std::chrono::steady_clock::now();
    for (const Case& c : cases) {
        auto program = RegexProgram::compile(c.pattern);
        ASSERT_TRUE(program.has_value()) << c.pattern;
        RegexMatch match;
        EXPECT_EQ(program->execute(c.subject, &match), c.expected) << c.pattern;
        if (c.expected == RegexOutcome::Match) {
            EXPECT_EQ(match.end[0], c.matchEnd) << c.pattern;
        }
    }
    // A hang guard only: before, the first case alone took on the order of 2^40 steps.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

// The facts drawn from the whole program, which turn lines away before the interpreter runs.
TEST_F(RegexProgramTest, FactsEveryMatchNeeds) {
    struct Case {
        const char* pattern;
        int minimumLength;
        bool startsAtLineStart;
        const char* requiredLiteral;
        const char* requiredExact;
        const char* requiredIgnoringCase;
        const char* firstExact; // "*" when a match can begin with nearly anything or be empty
    };
    const Case cases[] = {
        {"(.+)+;", 2, false, ";", ";", ";", "*"},
        {"(a+)+b", 2, false, "b", "b", "Bb", "a"},
        {"^[_a-z0-9]+[ \t]*[(]+.*[^; ]+$", 3, true, "", "(", "(", "*"},
        {"x(a|b)*yz", 3, false, "yz", "y", "Yy", "x"},
        {"(ab|cd)ef", 4, false, "ef", "e", "Ee", "ac"},
        {"a?b?", 0, false, "", "", "", "*"},
        {"(a|b)^c", 2, true, "c", "c", "Cc", "ab"},
        {"[Kk]ey|lock", 3, false, "", "", "", "Kkl"},
        {"\\<if\\>", 2, false, "if", "i", "Ii", "i"},
    };
    for (const Case& c : cases) {
        auto program = RegexProgram::compile(c.pattern);
        ASSERT_TRUE(program.has_value()) << c.pattern;
        const RegexFacts& facts = program->facts();
        ASSERT_TRUE(facts.known) << c.pattern;
        EXPECT_EQ(facts.minimumLength, c.minimumLength) << c.pattern;
        EXPECT_EQ(facts.startsAtLineStart, c.startsAtLineStart) << c.pattern;
        EXPECT_EQ(facts.requiredLiteral, c.requiredLiteral) << c.pattern;
        EXPECT_EQ(facts.byCase[0].requiredBytes, c.requiredExact) << c.pattern;
        EXPECT_EQ(facts.byCase[1].requiredBytes, c.requiredIgnoringCase) << c.pattern;
        const std::string first = facts.byCase[0].hasFirstBytes && facts.byCase[0].firstBytes.size() < 10
                                      ? facts.byCase[0].firstBytes.members()
                                      : "*";
        EXPECT_EQ(first, c.firstExact) << c.pattern;
    }
    // Raw programs claim nothing.
    EXPECT_FALSE(RegexProgram::fromBytes({0x9C, 6, 0, 9, 8, 0, 6, 'a', 'b', 0, 0, 0, 0}).facts().known);
}

// The facts hold under the case mode: with ignore case on, a line with the required bytes in the
// other case is not turned away.
TEST_F(RegexProgramTest, FactsFollowTheCaseMode) {
    struct Case {
        const char* pattern;
        const char* subject;
        bool matchesExactly;
        bool matchesIgnoringCase;
    };
    const Case cases[] = {
        {"(a+)+b", "AAAB", false, true}, {"x(a|b)*yz", "XabYZ", false, true}, {"[(]+q", "((Q", false, true},
        {"[^a]+z", "AAz", true, false},  {"^int", "INT x", false, true},
    };
    for (const Case& c : cases) {
        auto program = RegexProgram::compile(c.pattern);
        ASSERT_TRUE(program.has_value()) << c.pattern;
        setRegexIgnoreCase(false);
        EXPECT_EQ(program->matches(c.subject), c.matchesExactly) << c.pattern;
        setRegexIgnoreCase(true);
        EXPECT_EQ(program->matches(c.subject), c.matchesIgnoringCase) << c.pattern;
    }
}

// Counts the steps reported and ends the execution after a given number.
class CountingLimit final : public RegexWorkLimit {
public:
    explicit CountingLimit(std::size_t stopAfter) : m_stopAfter(stopAfter) {}
    bool proceed(std::size_t steps) override {
        m_total += steps;
        ++m_calls;
        return m_total < m_stopAfter;
    }
    std::size_t total() const { return m_total; }
    int calls() const { return m_calls; }

private:
    std::size_t m_stopAfter;
    std::size_t m_total = 0;
    int m_calls = 0;
};

TEST_F(RegexProgramTest, WorkLimitSeesTheStepsAndCanEndTheRun) {
    // Linear, but long: several hundred thousand steps, reported in chunks.
    auto program = RegexProgram::compile("(a|b)*c");
    ASSERT_TRUE(program.has_value());
    const std::string line = std::string(100'000, 'a') + "c";
    CountingLimit generous(SIZE_MAX);
    RegexMatch match;
    EXPECT_EQ(program->execute(line, &match, nullptr, 0, &generous), RegexOutcome::Match);
    EXPECT_EQ(match.end[0], static_cast<int>(line.size()));
    EXPECT_GT(generous.calls(), 2);
    EXPECT_GT(generous.total(), line.size());

    CountingLimit strict(kRegexWorkChunk * 3);
    EXPECT_EQ(program->execute(line, &match, nullptr, 0, &strict), RegexOutcome::Exhausted);
    EXPECT_LE(strict.total(), kRegexWorkChunk * 3);

    // A short run still reports what it did.
    CountingLimit small(SIZE_MAX);
    EXPECT_EQ(program->execute("abc", nullptr, nullptr, 0, &small), RegexOutcome::Match);
    EXPECT_EQ(small.calls(), 1);
    EXPECT_GT(small.total(), 0u);
}

TEST_F(RegexProgramTest, GroupsNestedAsDeepAsAllowed) {
    auto program = RegexProgram::compile("(((((((((a)*)*)*)*)*)*)*)*)*");
    // Every level can be empty, so the second star is refused.
    EXPECT_FALSE(program.has_value());
    program = RegexProgram::compile("(((((((((ab)+)+)+)+)+)+)+)+)+c");
    ASSERT_TRUE(program.has_value());
    std::string ababs;
    for (int i = 0; i < 500; ++i) {
        ababs += "ab";
    }
    RegexMatch match;
    EXPECT_EQ(program->execute(ababs + "c", &match), RegexOutcome::Match);
    EXPECT_NE(program->execute(ababs + "d"), RegexOutcome::Match);
}

} // namespace
} // namespace vexa
