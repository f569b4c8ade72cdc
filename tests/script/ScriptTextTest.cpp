// Tests of the script text helpers: decimal conversion, the sprintf format rule and the
// splitting of a command line.
#include "script/ScriptText.h"

#include <gtest/gtest.h>

#include <limits>

namespace vexa::script {
namespace {

struct NumberCase {
    std::string text;
    int32_t value;
};

TEST(ScriptText, TextToNumberReadsLikeTheCLibrary) {
    const NumberCase cases[] = {
        {"42", 42},
        {"  -17x", -17},
        {"\t+5", 5},
        {"abc", 0},
        {"", 0},
        {"- 3", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"2147483648", std::numeric_limits<int32_t>::min()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"99999999999999999999", -1}, // saturates at the 64-bit maximum, whose low half is -1
        {"-99999999999999999999", 0}, // the 64-bit minimum has a zero low half
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(textToNumber(c.text), c.value) << c.text;
    }
}

struct FormatCase {
    std::string format;
    std::vector<std::string> values;
    std::string result;
};

TEST(ScriptText, FormatPrintsEveryConversionAsText) {
    const FormatCase cases[] = {
        {"%d items", {"3"}, "3 items"},
        {"Line%d", {"7"}, "Line7"},
        {"%s and %c", {"ab", "x"}, "ab and x"},
        {"%5d|", {"3"}, "3d|"}, // the width's first character is the conversion
        {"a\\nb", {}, "a \nb"},
        {"\\%d", {"3"}, "\\%d"},
        {"\\\\%d", {"3"}, "\\\\3"},
        {"%%", {"1"}, "1"},
        {"100%", {"1"}, "100%"},
        {"%d %d %d", {"1"}, "1  "},
        {"no conversions", {"1", "2"}, "no conversions"},
        {"", {}, ""},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(formatScriptText(c.format, c.values), c.result) << c.format;
    }
}

struct SplitCase {
    std::string line;
    size_t limit;
    std::vector<std::string> words;
};

TEST(ScriptText, SplitCommandLineHonoursQuotesAndTheLimit) {
    const SplitCase cases[] = {
        {"t.zm a b", 9, {"t.zm", "a", "b"}},
        {"  t.zm   a\tb  ", 9, {"t.zm", "a", "b"}},
        {"\"my script.zm\" \"two words\" x", 9, {"my script.zm", "two words", "x"}},
        {"a \"\" b", 9, {"a", "", "b"}},
        {"pre\"fix mid\"post", 9, {"prefix midpost"}},
        {"\"unclosed quote", 9, {"unclosed quote"}},
        {"1 2 3 4 5 6 7 8 9 10 11", 9, {"1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        {"", 9, {}},
        {"   ", 9, {}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(splitCommandLine(c.line, c.limit), c.words) << c.line;
    }
}

} // namespace
} // namespace vexa::script
