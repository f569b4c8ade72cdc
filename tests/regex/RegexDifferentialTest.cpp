// The engine against the former backtracking interpreter: on many generated patterns and lines,
// in both case modes and from several start offsets, both must give the same outcome, the same
// whole match and the same groups. The generator is seeded, so every run tries the same cases.
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "regex/LegacyRegexInterpreter.h"
#include "regex/RegexProgram.h"
#include "regex/RegexShared.h"

namespace vexa {
namespace {

// A small deterministic generator (the standard distributions differ between libraries).
class Generator {
public:
    explicit Generator(uint64_t seed) : m_state(seed) {}
    uint64_t next() {
        m_state += 0x9E3779B97F4A7C15ULL;
        uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int bound) { return static_cast<int>(next() % static_cast<uint64_t>(bound)); }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(static_cast<int>(N))];
    }

private:
    uint64_t m_state;
};

// Patterns over few letters, so that they often match and often backtrack deeply.
class PatternMaker {
public:
    explicit PatternMaker(Generator& random) : m_random(random) {}

    std::string expression(int depth) {
        std::string text = branch(depth);
        while (m_random.below(5) == 0) {
            text += m_random.below(4) == 0 ? "\n" : "|";
            text += branch(depth);
        }
        return text;
    }

private:
    std::string branch(int depth) {
        std::string text;
        const int pieces = 1 + m_random.below(4);
        for (int i = 0; i < pieces; ++i) {
            text += piece(depth);
        }
        return text;
    }

    std::string piece(int depth) {
        std::string text = atom(depth);
        static const char* const kQuantifiers[] = {"", "", "", "*", "+", "?"};
        text += m_random.pick(kQuantifiers);
        return text;
    }

    std::string atom(int depth) {
        static const char* const kAtoms[] = {
            "a",    "b",   "A",   "ab", "ba", "aB",  ".", "[ab]", "[^a]", "[a-c]", "[]a]",
            "[b-]", "\\<", "\\>", "^",  "$",  "\\.", ";", " ",    "c",    "xy",
        };
        if (depth > 0 && m_random.below(3) == 0) {
            return "(" + expression(depth - 1) + ")";
        }
        return m_random.pick(kAtoms);
    }

    Generator& m_random;
};

std::string makeLine(Generator& random) {
    static const char* const kAlphabets[] = {"ab", "aab", "abAB", "ab c;", "aaaaab", "abc .;_xy", "aAbBcC"};
    const std::string alphabet = random.pick(kAlphabets);
    // Mostly short lines, some long enough for deep backtracking.
    const int length = random.below(4) == 0 ? 20 + random.below(100) : random.below(20);
    std::string line;
    for (int i = 0; i < length; ++i) {
        line += alphabet[static_cast<std::size_t>(random.below(static_cast<int>(alphabet.size())))];
    }
    return line;
}

struct Tally {
    int compared = 0;
    int matched = 0;
    int skipped = 0;
};

// Compares one program on one line; the former interpreter gives up on some runs (its step
// bound), and those are only required not to turn into errors.
void compare(RegexProgram& program, const std::string& pattern, const std::string& line, std::size_t from,
             bool ignoreCase, Tally& tally) {
    constexpr std::size_t kOracleSteps = 200'000;
    setRegexIgnoreCase(ignoreCase);
    RegexMatch expected;
    const RegexOutcome oracle = test::legacyExecute(program, line, &expected, from, ignoreCase, kOracleSteps);
    // Once as callers run it, once remembering failures from the first step.
    RegexMatch actual;
    program.setRememberAfterSteps(RegexProgram::kRememberAfterSteps);
    const RegexOutcome outcome = program.execute(line, &actual, nullptr, from);
    RegexMatch remembering;
    program.setRememberAfterSteps(1);
    const RegexOutcome rememberingOutcome = program.execute(line, &remembering, nullptr, from);
    const std::string where = "pattern '" + pattern + "' line '" + line + "' from " + std::to_string(from) +
                              (ignoreCase ? " ignoring case" : " case-sensitive");
    if (oracle == RegexOutcome::Exhausted) {
        ++tally.skipped;
        EXPECT_NE(outcome, RegexOutcome::Error) << where;
        EXPECT_EQ(outcome, rememberingOutcome) << where;
        return;
    }
    ++tally.compared;
    ASSERT_EQ(outcome, oracle) << where;
    ASSERT_EQ(rememberingOutcome, oracle) << where << " remembering from the start";
    if (outcome == RegexOutcome::Match) {
        ++tally.matched;
        for (int slot = 0; slot < kRegexSlots; ++slot) {
            ASSERT_EQ(actual.start[slot], expected.start[slot]) << where << " slot " << slot;
            ASSERT_EQ(actual.end[slot], expected.end[slot]) << where << " slot " << slot;
            ASSERT_EQ(remembering.start[slot], expected.start[slot])
                << where << " slot " << slot << " remembering";
            ASSERT_EQ(remembering.end[slot], expected.end[slot])
                << where << " slot " << slot << " remembering";
        }
    }
}

TEST(RegexDifferential, GeneratedPatternsMatchAsTheFormerInterpreterDid) {
    const uint64_t seeds[] = {1, 2, 3, 20261210};
    Tally tally;
    for (const uint64_t seed : seeds) {
        Generator random(seed);
        PatternMaker maker(random);
        for (int p = 0; p < 1500; ++p) {
            const std::string pattern = maker.expression(3);
            auto program = RegexProgram::compile(pattern);
            if (!program) {
                continue;
            }
            for (int l = 0; l < 12; ++l) {
                const std::string line = makeLine(random);
                const std::size_t from =
                    line.empty() || random.below(3) != 0
                        ? 0
                        : static_cast<std::size_t>(random.below(static_cast<int>(line.size()) + 2));
                for (const bool ignoreCase : {false, true}) {
                    compare(*program, pattern, line, from, ignoreCase, tally);
                    if (testing::Test::HasFatalFailure()) {
                        return;
                    }
                }
            }
        }
    }
    // The generator must exercise both outcomes broadly, or the comparison proves little.
    std::printf("compared %d, matched %d, skipped %d\n", tally.compared, tally.matched, tally.skipped);
    EXPECT_GT(tally.compared, 50'000);
    EXPECT_GT(tally.matched, tally.compared / 5);
    EXPECT_LT(tally.matched, tally.compared * 4 / 5);
}

// Patterns that make plain backtracking go through the same nodes at the same positions many
// times over, on lines long enough that the engine remembers failures.
TEST(RegexDifferential, RepeatedWorkPatternsMatchAsTheFormerInterpreterDid) {
    const char* const patterns[] = {
        "(a+)+b",   "(a|aa)*c",    "(a*b*c)*d",     "(a|b|ab)*c",        "x(a|b)*y",     "(.+)+;",
        "(a+)+$",   "((ab)*a)*c",  "([ab]+)+[ab]c", "(a|ab)(c|bcd)(d*)", "(\\<a+\\>)+b", "^(a?b)+c",
        "(a+a+)+b", "(([ab])+)+b", "(a)*(a)*(a)*b", "([^;]+;)+$",        "(.+)*x",
    };
    const char* const lines[] = {
        "aaaaaaaaaaaaaaaaaaaaaaaa",
        "aaaaaaaaaaaaaaaaaaaaaaab",
        "abababababababababababc",
        "ababababababababababab",
        "xabababababababababay",
        "int x = 1; int y = 2",
        "a a a a a a a a a a a b",
        "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaac",
        "abcd",
    };
    Tally tally;
    for (const char* pattern : patterns) {
        auto program = RegexProgram::compile(pattern);
        ASSERT_TRUE(program.has_value()) << pattern;
        for (const char* line : lines) {
            for (const std::size_t from : {std::size_t{0}, std::size_t{3}}) {
                for (const bool ignoreCase : {false, true}) {
                    compare(*program, pattern, line, from, ignoreCase, tally);
                    if (testing::Test::HasFatalFailure()) {
                        return;
                    }
                }
            }
        }
    }
    EXPECT_GT(tally.matched, 0);
}

} // namespace
} // namespace vexa
