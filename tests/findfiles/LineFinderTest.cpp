// The line finder: which lines of a file's bytes match, with Find's rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "findfiles/LineFinder.h"

namespace vexa::findfiles {
namespace {

struct Found {
    int line;
    int column;
    std::string text;
    friend bool operator==(const Found&, const Found&) = default;
};

std::vector<Found> findAll(std::string_view findText, FindOptions options, std::string_view bytes,
                           TextEncoding encoding = TextEncoding::Utf8) {
    LineFinder finder(findText, options);
    std::vector<Found> found;
    finder.findLines(bytes, encoding, [&](const LineHit& hit) {
        found.push_back(Found{hit.line, hit.column, std::string(hit.text)});
        return true;
    });
    return found;
}

TEST(LineFinder, GivesEachMatchingLineOnceWithItsNumberAndColumn) {
    const std::string bytes = "alpha beta\r\nno\nbeta beta\n\nlast beta";
    const std::vector<Found> expected = {{1, 6, "alpha beta"}, {3, 0, "beta beta"}, {5, 5, "last beta"}};
    EXPECT_EQ(findAll("beta", {false, true, false}, bytes), expected);
    EXPECT_EQ(findAll("b[e]ta", {true, true, false}, bytes), expected);
    EXPECT_EQ(findAll("BETA", {false, false, false}, bytes), expected);
    EXPECT_EQ(findAll("BETA", {true, false, false}, bytes), expected);
    EXPECT_TRUE(findAll("BETA", {false, true, false}, bytes).empty());
}

TEST(LineFinder, FollowsFindsWholeWordAndEscapeRules) {
    const std::string bytes = "foobar\nfoo bar\na\tb\n";
    EXPECT_EQ(findAll("foo", {false, true, true}, bytes), (std::vector<Found>{{2, 0, "foo bar"}}));
    EXPECT_EQ(findAll("a\\tb", {false, true, false}, bytes), (std::vector<Found>{{3, 0, "a\tb"}}));
}

TEST(LineFinder, MatchesUtf8TextAsCharacters) {
    const std::string bytes = "caf\xC3\xA9\nCAF\xC3\x89\ncafe\n";
    EXPECT_EQ(findAll("caf\xC3\xA9", {false, false, false}, bytes),
              (std::vector<Found>{{1, 0, "caf\xC3\xA9"}, {2, 0, "CAF\xC3\x89"}}));
    EXPECT_EQ(findAll("caf.$", {true, true, false}, bytes),
              (std::vector<Found>{{1, 0, "caf\xC3\xA9"}, {3, 0, "cafe"}}));
    // The same text as Windows-1252 bytes is found by the same UTF-8 find text.
    EXPECT_EQ(findAll("caf\xC3\xA9", {false, true, false}, "x caf\xE9\n", TextEncoding::Windows1252),
              (std::vector<Found>{{1, 2, "x caf\xE9"}}));
}

TEST(LineFinder, TurnsAwayBytesWithoutTheLiteralBeforeKnowingTheEncoding) {
    const LineFinder literal("uint32_t", {false, true, false});
    EXPECT_FALSE(literal.needsEncodingFirst());
    EXPECT_TRUE(literal.mayMatch("x uint32_t y"));
    EXPECT_FALSE(literal.mayMatch("x uint16_t y"));
    const LineFinder regex("static inline [a-z_]+\\(", {true, true, false});
    EXPECT_FALSE(regex.needsEncodingFirst());
    EXPECT_FALSE(regex.mayMatch("static int f("));
    // Ignoring case or with a non-ASCII find text, the encoding comes first.
    EXPECT_TRUE(LineFinder("x", {false, false, false}).needsEncodingFirst());
    EXPECT_TRUE(LineFinder("\xC3\xA9", {false, true, false}).needsEncodingFirst());
}

TEST(LineFinder, RefusesWhatCannotMatch) {
    EXPECT_FALSE(LineFinder("", {}).usable());
    const LineFinder broken("(a", {true, true, false});
    EXPECT_FALSE(broken.usable());
    EXPECT_FALSE(broken.error().empty());
}

TEST(LineFinder, ScansBytesAndCountsLineEnds) {
    const std::string text = "ab\ncd\n\nxyz\n0123456789\nabcdefgh\n\n\n";
    EXPECT_EQ(countLineEnds(text), 8u);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        std::size_t expected = 0;
        for (std::size_t i = 0; i < cut; ++i) {
            expected += text[i] == '\n' ? 1 : 0;
        }
        EXPECT_EQ(countLineEnds(std::string_view(text).substr(0, cut)), expected) << cut;
    }
    const std::string hay = "aaaaaab aab ab";
    EXPECT_EQ(findBytes(hay, "ab", 0), 5u);
    EXPECT_EQ(findBytes(hay, "ab", 6), 9u);
    EXPECT_EQ(findBytes(hay, "ab", 10), 12u);
    EXPECT_EQ(findBytes(hay, "ab", 13), std::string_view::npos);
    EXPECT_EQ(findBytes(hay, "abc", 0), std::string_view::npos);
    EXPECT_EQ(findBytes("xyz", "xyz", 0), 0u);
}

} // namespace
} // namespace vexa::findfiles
