// The engine over UTF-8 text: whole characters for ".", sets and literals, case folding of the
// Latin letters, and, on generated patterns, the same answers as the byte engine gives when every
// character is spelled as one byte.
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "regex/RegexMatcher.h"
#include "regex/RegexProgram.h"
#include "regex/RegexShared.h"
#include "text/TextEncoding.h"

namespace vexa {
namespace {

struct Utf8Case {
    const char* pattern;
    const char* subject;
    bool ignoreCase;
    int start; // -1: no match
    int end;
};

std::ostream& operator<<(std::ostream& out, const Utf8Case& c) {
    return out << "'" << c.pattern << "' in '" << c.subject << "'" << (c.ignoreCase ? " ignoring case" : "");
}

class RegexUtf8Table : public testing::TestWithParam<Utf8Case> {};

TEST_P(RegexUtf8Table, MatchesWholeCharacters) {
    const Utf8Case& c = GetParam();
    std::string error;
    auto program = RegexProgram::compile(c.pattern, &error, TextEncoding::Utf8);
    ASSERT_TRUE(program.has_value()) << error;
    setRegexIgnoreCase(c.ignoreCase);
    for (const std::size_t remember : {RegexProgram::kRememberAfterSteps, std::size_t{1}}) {
        program->setRememberAfterSteps(remember);
        RegexMatch match;
        const RegexOutcome outcome = program->execute(c.subject, &match, nullptr, 0);
        if (c.start < 0) {
            EXPECT_EQ(outcome, RegexOutcome::NoMatch) << "matched at " << match.start[0];
            continue;
        }
        ASSERT_EQ(outcome, RegexOutcome::Match);
        EXPECT_EQ(match.start[0], c.start);
        EXPECT_EQ(match.end[0], c.end);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegexUtf8Table,
    testing::Values(
        // "." is one whole character, of any length.
        Utf8Case{"a.c", "a\u4E2Dc", false, 0, 5}, Utf8Case{"^.$", "\u00E9", false, 0, 2},
        Utf8Case{"^.$", "ab", false, -1, -1}, Utf8Case{"^...$", "x\U0001F600y", false, 0, 6},
        Utf8Case{"^.$", "\xE9", false, 0, 1},          // a lone invalid byte is a character
        Utf8Case{"^..$", "\xC3\xA9\xA9", false, 0, 3}, // é, then an invalid byte
        Utf8Case{"a.*c", "a\u00E9\u00E9c\u00E9", false, 0, 6}, Utf8Case{"^.+$", "\u4E2D\u6587", false, 0, 6},
        Utf8Case{"x.?y", "x\u00E9y", false, 0, 4},
        // Negated sets take whole characters.
        Utf8Case{"^[^x]$", "\u00E9", false, 0, 2}, Utf8Case{"a[^x]c", "a\u4E2Dc", false, 0, 5},
        Utf8Case{"[^a-z]", "ab\u00E9", false, 2, 4}, Utf8Case{"^[^\u00E9]+", "ab\u00E9", false, 0, 2},
        Utf8Case{"^[^\u00E9]+$", "a\u00C9b", true, -1, -1},
        // Sets of non-ASCII characters, with ranges, by code point.
        Utf8Case{"[\u00E0-\u00FF]+", "abc\u00E9\u00E8z", false, 3, 7},
        Utf8Case{"[\u00E0-\u00FF]", "\u00C9", false, -1, -1},
        Utf8Case{"[\u00E0-\u00FF]", "\u00C9", true, 0, 2},
        Utf8Case{"[\u4E00-\u9FFF]+", "x\u4E2D\u6587y", false, 1, 7},
        Utf8Case{"[a\u00E9]+", "xa\u00E9a", false, 1, 5}, Utf8Case{"[\u0161]", "\u0160", true, 0, 2},
        Utf8Case{"[\u00FF]", "\u0178", true, 0, 2}, Utf8Case{"[\u0178]", "\u00FF", true, 0, 2},
        Utf8Case{"[\u00E9]", "\u00E9", false, 0, 2}, Utf8Case{"[\u00D7]", "\u00F7", true, -1, -1},
        // Literals match their bytes; quantifiers take the whole last character.
        Utf8Case{"\u00E9", "caf\u00E9", false, 3, 5}, Utf8Case{"\u00E9", "caf\u00C9", false, -1, -1},
        Utf8Case{"\u00E9", "caf\u00C9", true, 3, 5}, Utf8Case{"CAF\u00C9", "un caf\u00E9", true, 3, 8},
        Utf8Case{"\u0153uvre", "\u0152UVRE", true, 0, 6}, Utf8Case{"\u00FF", "\u0178", true, 0, 2},
        Utf8Case{"\u0178", "\u00FF", true, 0, 2}, Utf8Case{"\u00F7", "\u00D7", true, -1, -1},
        Utf8Case{"^\u00E9+$", "\u00E9\u00E9\u00E9", false, 0, 6},
        Utf8Case{"^a\u00E9*$", "a\u00E9\u00E9", false, 0, 5},
        Utf8Case{"^\u00E9+$", "\u00E9\xA9", false, -1, -1}, Utf8Case{"x\u4E2D?y", "xy", false, 0, 2},
        Utf8Case{"\\\u00E9", "\u00E9", false, 0, 2},
        // A byte that is no character in the pattern matches only that byte standing alone.
        Utf8Case{"\xA9", "\u00E9", false, -1, -1}, Utf8Case{"\xA9", "a\xA9", false, 1, 2},
        Utf8Case{"\xC3", "\u00E9", false, -1, -1}, Utf8Case{"a\xE9+", "a\xE9\xE9", false, 0, 3},
        // ASCII folding and anchors work as for bytes.
        Utf8Case{"ABC", "xabc", true, 1, 4}, Utf8Case{"[a-c]+", "xBC", true, 1, 3},
        Utf8Case{"\u00E9$", "\u00E9\u00E9", false, 2, 4},
        Utf8Case{"(\u00E9|x)+z", "\u00E9x\u00E9z", false, 0, 6}));

TEST(RegexUtf8, ARangeBackwardsIsRefusedAsInBytePatterns) {
    std::string error;
    EXPECT_FALSE(RegexProgram::compile("[\u00FF-\u00E0]", &error, TextEncoding::Utf8).has_value());
    EXPECT_EQ(error, "invalid [] range");
    EXPECT_FALSE(RegexProgram::compile("[\u00E9", &error, TextEncoding::Utf8).has_value());
    EXPECT_EQ(error, "unmatched []");
}

// Starts after `from` that fall inside a character move on to the next character.
TEST(RegexUtf8, AStartInsideACharacterMovesToTheNextOne) {
    auto program = RegexProgram::compile("[^x]", nullptr, TextEncoding::Utf8);
    ASSERT_TRUE(program.has_value());
    setRegexIgnoreCase(false);
    RegexMatch match;
    ASSERT_EQ(program->execute("\u4E2D\u6587", &match, nullptr, 1), RegexOutcome::Match);
    EXPECT_EQ(match.start[0], 3);
    EXPECT_EQ(match.end[0], 6);
    auto empty = RegexProgram::compile("y*", nullptr, TextEncoding::Utf8);
    ASSERT_TRUE(empty.has_value());
    ASSERT_EQ(empty->execute("\u00E9a", &match, nullptr, 1), RegexOutcome::Match);
    EXPECT_EQ(match.start[0], 2);
}

// The first-byte and required-byte facts must let every match through.
TEST(RegexUtf8, PrefiltersKeepTheOtherCaseAndLeadBytes) {
    setRegexIgnoreCase(true);
    const std::pair<const char*, const char*> cases[] = {
        {"\u00FF+", "xx\u0178"},  {"[\u00E0-\u00FF]x", "a\u00C9x"}, {"\u00E9t\u00E9", "\u00C9T\u00C9"},
        {"a.*\u00E9", "a\u00C9"}, {"(\u0161|q)", "\u0160"},         {"z*\u00C0", "\u00E0"},
    };
    for (const auto& [pattern, subject] : cases) {
        auto program = RegexProgram::compile(pattern, nullptr, TextEncoding::Utf8);
        ASSERT_TRUE(program.has_value()) << pattern;
        EXPECT_EQ(program->execute(subject), RegexOutcome::Match) << pattern << " in " << subject;
    }
    setRegexIgnoreCase(false);
}

TEST(RegexUtf8, TheMatcherCompilesAPatternOncePerEncoding) {
    RegexMatcher matcher(RegexMatcher::kCaseSensitive);
    // As bytes, "." is one byte of the two of é.
    EXPECT_FALSE(matcher.match("a\u00E9c", "a.c"));
    matcher.setEncoding(TextEncoding::Utf8);
    ASSERT_TRUE(matcher.match("a\u00E9c", "a.c"));
    EXPECT_EQ(matcher.matchedLength(), 4u);
    EXPECT_EQ(matcher.compileCount(), 2u);
    ASSERT_TRUE(matcher.match("xa\u00E9c", "a.c"));
    EXPECT_EQ(matcher.compileCount(), 2u);
    matcher.setEncoding(TextEncoding::Windows1252);
    EXPECT_FALSE(matcher.match("a\u00E9c", "a.c"));
    EXPECT_EQ(matcher.compileCount(), 2u);
}

// Nested loops over long lines of multi-byte characters stay within the work bound: failures
// are remembered per character as they are per byte.
TEST(RegexUtf8, NestedLoopsOverLongLinesEndWithinTheBound) {
    std::string line;
    for (int i = 0; i < 20000; ++i) {
        line += i % 3 == 0 ? "\u4E2D" : "\u00E9";
    }
    // None can be turned away by a required byte: the interpreter must do the work.
    const char* const patterns[] = {"(.+)+[^\u00E9\u4E2D]", "(\u00E9|\u4E2D)*[a\u00E0]", "([^x]+)+[a\u00E0]",
                                    "(.|\u00E9.)*\u00E9[^\u00E9\u4E2D]"};
    for (const bool ignoreCase : {false, true}) {
        setRegexIgnoreCase(ignoreCase);
        for (const char* pattern : patterns) {
            auto program = RegexProgram::compile(pattern, nullptr, TextEncoding::Utf8);
            ASSERT_TRUE(program.has_value()) << pattern;
            EXPECT_EQ(program->execute(line), RegexOutcome::NoMatch) << pattern;
        }
    }
    setRegexIgnoreCase(false);
}

TEST(RegexUtf8, ALongMatchIsCutWhereACharacterStarts) {
    RegexMatcher matcher(RegexMatcher::kCaseSensitive);
    matcher.setEncoding(TextEncoding::Utf8);
    std::string line = "x";
    for (int i = 0; i < 600; ++i) {
        line += "\u00E9";
    }
    ASSERT_TRUE(matcher.match(line, "x.*"));
    EXPECT_EQ(matcher.matchedLength(), RegexMatcher::kMaxMatchedText - 1);
    EXPECT_EQ(matcher.matchedText(), line.substr(0, RegexMatcher::kMaxMatchedText - 1));
}

// ---- generated patterns against the byte engine ----

// Each character of the generated texts, with the one byte that stands for it in the byte
// engine's copy. Letters that fold in UTF-8 stand for letters that fold as bytes; the others
// for signs that never fold.
struct Symbol {
    const char* utf8;
    char byte;
};
constexpr Symbol kSymbols[] = {
    {"a", 'a'},      {"b", 'b'},      {"\u00E9", 'c'}, {"\u00C9", 'C'}, {"\u00FF", 'd'},
    {"\u0178", 'D'}, {"\u4E2D", '#'}, {"\xA9", '%'},   {"\xFF", '!'},   {"\U0001F600", '&'},
};
constexpr int kSymbolCount = static_cast<int>(sizeof kSymbols / sizeof kSymbols[0]);

class Generator {
public:
    explicit Generator(uint64_t seed) : m_state(seed) {}
    int below(int bound) {
        m_state += 0x9E3779B97F4A7C15ULL;
        uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return static_cast<int>((z ^ (z >> 31)) % static_cast<uint64_t>(bound));
    }

private:
    uint64_t m_state;
};

// A pattern in both spellings.
struct Twin {
    std::string utf8;
    std::string bytes;
    void symbol(int index) {
        utf8 += kSymbols[index].utf8;
        bytes += kSymbols[index].byte;
    }
    void both(const std::string& text) {
        utf8 += text;
        bytes += text;
    }
    void append(const Twin& other) {
        utf8 += other.utf8;
        bytes += other.bytes;
    }
};

Twin expression(Generator& random, int depth);

Twin atom(Generator& random, int depth) {
    Twin twin;
    const int kind = random.below(10);
    if (kind == 0 && depth > 0) {
        twin.both("(");
        twin.append(expression(random, depth - 1));
        twin.both(")");
    } else if (kind == 1) {
        twin.both(".");
    } else if (kind == 2 || kind == 3) {
        twin.both(kind == 2 ? "[" : "[^");
        const int members = 1 + random.below(3);
        for (int i = 0; i < members; ++i) {
            twin.symbol(random.below(kSymbolCount));
        }
        twin.both("]");
    } else if (kind == 4) {
        twin.both(random.below(2) == 0 ? "^" : "$");
    } else if (kind == 5) {
        twin.both("\\");
        twin.symbol(random.below(kSymbolCount));
    } else {
        twin.symbol(random.below(kSymbolCount));
    }
    return twin;
}

Twin expression(Generator& random, int depth) {
    Twin twin;
    do {
        if (!twin.utf8.empty()) {
            twin.both("|");
        }
        const int pieces = 1 + random.below(4);
        for (int i = 0; i < pieces; ++i) {
            twin.append(atom(random, depth));
            const char* const quantifiers[] = {"", "", "", "*", "+", "?"};
            twin.both(quantifiers[random.below(6)]);
        }
    } while (random.below(5) == 0);
    return twin;
}

TEST(RegexUtf8, GeneratedPatternsMatchAsTheByteEngineDoesOnOneByteCharacters) {
    int compared = 0;
    int matched = 0;
    Generator random(20261210);
    for (int p = 0; p < 3000; ++p) {
        const Twin pattern = expression(random, 2);
        std::string byteError;
        std::string utf8Error;
        auto byteProgram = RegexProgram::compile(pattern.bytes, &byteError);
        auto utf8Program = RegexProgram::compile(pattern.utf8, &utf8Error, TextEncoding::Utf8);
        ASSERT_EQ(byteProgram.has_value(), utf8Program.has_value())
            << pattern.bytes << ": " << byteError << " / " << utf8Error;
        if (!byteProgram) {
            continue;
        }
        for (int l = 0; l < 10; ++l) {
            Twin line;
            std::vector<int> offsets{0}; // byte offset in the UTF-8 line of each symbol boundary
            const int length = random.below(4) == 0 ? 20 + random.below(60) : random.below(12);
            // Few symbols per line, so that patterns often match.
            const int first = random.below(kSymbolCount);
            const int second = random.below(kSymbolCount);
            for (int i = 0; i < length; ++i) {
                line.symbol(random.below(3) == 0 ? random.below(kSymbolCount)
                                                 : (i % 2 == 0 ? first : second));
                offsets.push_back(static_cast<int>(line.utf8.size()));
            }
            const int from = random.below(3) == 0 ? random.below(length + 1) : 0;
            for (const bool ignoreCase : {false, true}) {
                setRegexIgnoreCase(ignoreCase);
                RegexMatch expected;
                const RegexOutcome oracle =
                    byteProgram->execute(line.bytes, &expected, nullptr, static_cast<std::size_t>(from));
                for (const std::size_t remember : {RegexProgram::kRememberAfterSteps, std::size_t{1}}) {
                    utf8Program->setRememberAfterSteps(remember);
                    RegexMatch actual;
                    const RegexOutcome outcome = utf8Program->execute(
                        line.utf8, &actual, nullptr,
                        static_cast<std::size_t>(offsets[static_cast<std::size_t>(from)]));
                    const std::string where = "pattern '" + pattern.bytes + "' line '" + line.bytes +
                                              "' from " + std::to_string(from) +
                                              (ignoreCase ? " ignoring case" : "");
                    ASSERT_EQ(outcome, oracle) << where;
                    if (outcome != RegexOutcome::Match) {
                        continue;
                    }
                    for (int slot = 0; slot < kRegexSlots; ++slot) {
                        auto mapped = [&](int position) {
                            return position < 0 ? -1 : offsets[static_cast<std::size_t>(position)];
                        };
                        ASSERT_EQ(actual.start[slot], mapped(expected.start[slot]))
                            << where << " slot " << slot;
                        ASSERT_EQ(actual.end[slot], mapped(expected.end[slot])) << where << " slot " << slot;
                    }
                }
                ++compared;
                matched += oracle == RegexOutcome::Match ? 1 : 0;
            }
        }
    }
    setRegexIgnoreCase(false);
    std::printf("compared %d, matched %d\n", compared, matched);
    EXPECT_GT(compared, 30'000);
    EXPECT_GT(matched, compared / 5);
    EXPECT_LT(matched, compared * 4 / 5);
}

} // namespace
} // namespace vexa
