// The printf-style formatter: the program's format strings give the C library's results.
#include "settings/Format.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

TEST(FormatText, FormatsWidthsPrecisionsAndLongTexts) {
    EXPECT_EQ(formatText("%5.5d", 42), "00042");
    EXPECT_EQ(formatText("[%-10.10s]", "abc"), "[abc       ]");
    EXPECT_EQ(formatText("[%-10.10s]", "abcdefghijklmnop"), "[abcdefghij]");
    EXPECT_EQ(formatText("%d", -7), "-7");
    EXPECT_EQ(formatText("Line: %d of %s", 3, "x.c"), "Line: 3 of x.c");
    std::string longText(5000, 'q');
    EXPECT_EQ(formatText("<%s>", longText.c_str()), "<" + longText + ">");
    EXPECT_EQ(formatText("%s", ""), "");
    EXPECT_EQ(formatText("100%%"), "100%");
}

} // namespace
} // namespace vexa
