// Line painting: comment continuation, colours, tabs, scrolling and the three kinds of marked area.
#include "syntax/LinePainter.h"

#include "core/Document.h"
#include "syntax/SyntaxProfile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa::syntax {
namespace {

using S = ColourSlot;

// A run written the way a reader checks the screen: its columns, what it shows and its colours.
struct Shown {
    int column;
    std::string text; // blanks shown as '~'
    S foreground;
    S background;
};

std::vector<Shown> shown(std::string_view line, std::span<const PaintRun> runs) {
    std::vector<Shown> result;
    for (const PaintRun& run : runs) {
        std::string text = run.content == RunContent::Blanks
                               ? std::string(static_cast<std::size_t>(run.width), '~')
                               : std::string(line.substr(run.offset, static_cast<std::size_t>(run.width)));
        result.push_back({run.column, text, run.foreground, run.background});
    }
    return result;
}

void expectShown(const std::vector<Shown>& actual, const std::vector<Shown>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].column, expected[i].column) << "run " << i;
        EXPECT_EQ(actual[i].text, expected[i].text) << "run " << i;
        EXPECT_EQ(actual[i].foreground, expected[i].foreground) << "run " << i << " " << actual[i].text;
        EXPECT_EQ(actual[i].background, expected[i].background) << "run " << i << " " << actual[i].text;
    }
}

struct PaintCase {
    const char* name;
    std::string line;
    CommentStart comment;
    int tabSize;
    VisibleColumns visible;
    MarkedColumns marked;
    std::vector<Shown> expected;
};

constexpr S B = S::Background;
constexpr S MT = S::MarkText;
constexpr S MB = S::MarkBackground;

const std::vector<PaintCase>& paintCases() {
    static const std::vector<PaintCase> table = {
        {"EmptyLine", "", {}, 4, {}, {}, {}},
        {"TokensInSlotColours",
         "int x = 0x1F; /* c */ \"s\"",
         {},
         4,
         {},
         {},
         {{0, "int ", S::Keyword, B},
          {4, "x ", S::Default, B},
          {6, "= ", S::Symbol, B},
          {8, "0x1F", S::Number, B},
          {12, "; ", S::Symbol, B},
          {14, "/* c */ ", S::Comment, B},
          {22, "\"s\"", S::String, B}}},
        {"ContinuedCommentUpToItsEnd",
         "still */ int",
         {true, 8},
         4,
         {},
         {},
         {{0, "still */", S::Comment, B}, {8, " ", S::Default, B}, {9, "int", S::Keyword, B}}},
        {"ContinuedCommentWithoutEndIsOneRun",
         "int /* x */ y",
         {true, 0},
         4,
         {},
         {},
         {{0, "int /* x */ y", S::Comment, B}}},
        {"TabAtColumnFiveAndEight",
         "abcde\tfg\tx",
         {},
         4,
         {},
         {},
         {{0, "abcde", S::Default, B},
          {5, "~~~", S::Default, B},
          {8, "fg", S::Default, B},
          {10, "~~", S::Default, B},
          {12, "x", S::Default, B}}},
        {"TabAtStopTakesFullWidth",
         "abcdefgh\tx",
         {},
         4,
         {},
         {},
         {{0, "abcdefgh", S::Default, B}, {8, "~~~~", S::Default, B}, {12, "x", S::Default, B}}},
        {"TabsInsideCommentsExpand",
         "x //\ta\tb",
         {},
         3,
         {},
         {},
         {{0, "x ", S::Default, B},
          {2, "//", S::Comment, B},
          {4, "~~", S::Comment, B},
          {6, "a", S::Comment, B},
          {7, "~~", S::Comment, B},
          {9, "b", S::Comment, B}}},
        {"TabsInsideContinuedCommentExpand",
         "\t*/\tx",
         {true, 3},
         4,
         {},
         {},
         {{0, "~~~~", S::Comment, B},
          {4, "*/", S::Comment, B},
          {6, "~~", S::Default, B},
          {8, "x", S::Default, B}}},
        {"LiteralPairTakesColourBeforeIt",
         "\\a+\\b",
         {},
         4,
         {},
         {},
         {{0, "\\a", S::Default, B}, {2, "+\\b", S::Symbol, B}}},
        {"ColumnMarkSplitsKeyword",
         "  continue",
         {},
         4,
         {},
         {4, 8},
         {{0, "  ", S::Default, B}, {2, "co", S::Keyword, B}, {4, "ntin", MT, MB}, {8, "ue", S::Keyword, B}}},
        {"MarkOverTabBlanks",
         "a\tb",
         {},
         4,
         {},
         {2, 3},
         {{0, "a", S::Default, B},
          {1, "~", S::Default, B},
          {2, "~", MT, MB},
          {3, "~", S::Default, B},
          {4, "b", S::Default, B}}},
        {"WholeLineMarked", "x /* c */ \"s\"", {}, 4, {}, {0, INT_MAX}, {{0, "x /* c */ \"s\"", MT, MB}}},
        {"MarkFromColumnToEnd",
         "ab cd",
         {},
         4,
         {},
         {3, INT_MAX},
         {{0, "ab ", S::Default, B}, {3, "cd", MT, MB}}},
        {"MarkBeyondTextShowsNothingMarked", "ab", {}, 4, {}, {5, 9}, {{0, "ab", S::Default, B}}},
        {"ScrolledTokensBeforeFirstColumnLeftOut",
         std::string(38, 'a') + " int\tz",
         {},
         4,
         {40, 60},
         {},
         {{39, "int", S::Keyword, B}, {42, "~~", S::Keyword, B}, {44, "z", S::Default, B}}},
        {"TokensAfterLastColumnLeftOut", "ab cd ef", {}, 4, {0, 3}, {}, {{0, "ab cd", S::Default, B}}},
        {"TabSizeZeroBehavesAsOne",
         "a\tb",
         {},
         0,
         {},
         {},
         {{0, "a", S::Default, B}, {1, "~", S::Default, B}, {2, "b", S::Default, B}}},
        {"InvertedMarkMarksNothing", "abcdef", {}, 4, {}, {4, 2}, {{0, "abcdef", S::Default, B}}},
    };
    return table;
}

void PrintTo(const PaintCase& c, std::ostream* os) {
    *os << c.name;
}

class PaintLine : public ::testing::TestWithParam<PaintCase> {};

TEST_P(PaintLine, Runs) {
    ExtensionProfile profile(BuiltInKeywords::Yes);
    profile.setSpecial(SpecialChar::Literal, '\\');
    LinePainter painter;
    const PaintCase& c = GetParam();
    expectShown(shown(c.line, painter.paint(c.line, c.comment, profile, c.tabSize, c.visible, c.marked)),
                c.expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, PaintLine, ::testing::ValuesIn(paintCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LinePainterBuffer, RepaintingReusesTheBuffer) {
    const ExtensionProfile profile(BuiltInKeywords::Yes);
    LinePainter painter;
    const std::string longLine = "int a = b + c; /* x */ \"s\" 12 while (x) { y; }";
    (void)painter.paint(longLine, {}, profile, 4, {}, {3, 9});
    const PaintRun* buffer = painter.runs().data();
    for (int i = 0; i < 20; ++i) {
        (void)painter.paint(i % 2 == 0 ? "int x;" : longLine, {}, profile, 4, {}, {3, 9});
        EXPECT_EQ(painter.runs().data(), buffer);
    }
}

MarkState markOf(MarkType type, MarkPoint anchor, MarkPoint moving) {
    MarkState mark;
    mark.type = type;
    mark.anchor = anchor;
    mark.moving = moving;
    return mark;
}

TEST(MarkedColumnsTest, PerLineForEveryKind) {
    const struct {
        const char* name;
        MarkState mark;
        int line;
        int from;
        int to;
    } cases[] = {
        {"none", MarkState{}, 0, 0, 0},
        {"line inside", markOf(MarkType::Line, {7, 5}, {2, 3}), 4, 0, INT_MAX},
        {"line single", markOf(MarkType::Line, {1, 3}, {1, 3}), 3, 0, INT_MAX},
        {"line outside", markOf(MarkType::Line, {7, 5}, {2, 3}), 6, 0, 0},
        {"column rectangle", markOf(MarkType::Column, {8, 5}, {4, 2}), 3, 4, 8},
        {"stream one line", markOf(MarkType::Stream, {9, 2}, {3, 2}), 2, 3, 9},
        {"stream first", markOf(MarkType::Stream, {6, 4}, {3, 2}), 2, 3, INT_MAX},
        {"stream middle", markOf(MarkType::CuaStream, {6, 4}, {3, 2}), 3, 0, INT_MAX},
        {"stream last", markOf(MarkType::Stream, {6, 4}, {3, 2}), 4, 0, 6},
        {"stream below", markOf(MarkType::Stream, {6, 4}, {3, 2}), 5, 0, 0},
        {"stream without extent", markOf(MarkType::Stream, {3, 2}, {3, 2}), 2, 0, 0},
    };
    for (const auto& c : cases) {
        const MarkedColumns columns = markedColumns(c.mark, c.line);
        if (c.from == 0 && c.to == 0) {
            EXPECT_TRUE(columns.empty()) << c.name;
        } else {
            EXPECT_EQ(columns.from, c.from) << c.name;
            EXPECT_EQ(columns.to, c.to) << c.name;
        }
    }
}

} // namespace
} // namespace vexa::syntax

namespace vexa::syntax {
namespace {

TEST(ProfileAsLanguageRules, DocumentCarriesBlockCommentsToThePainter) {
    ColourTable colours;
    auto profile = std::make_shared<SyntaxProfile>(colours, BuiltInKeywords::Yes);
    profile->setComment(CommentMarker::Start, "(*");
    profile->setComment(CommentMarker::End, "*)");
    Document document;
    document.makeNew();
    document.setLanguageRules(profile);
    document.insertText("int (* open");
    document.newLine(NewLineMode::Forced);
    document.setCursorOffset(0);
    document.insertText("still *) int");
    document.newLine(NewLineMode::Forced);
    document.setCursorOffset(0);
    document.insertText("int");
    ASSERT_EQ(document.lineCount(), 3);

    LinePainter painter;
    const auto paintLine = [&](int index) {
        const std::string_view text = document.lineText(index);
        return shown(text, painter.paint(text, document.commentStart(index), *profile, 4, {}, {}));
    };
    expectShown(paintLine(0), {{0, "int ", S::Keyword, B}, {4, "(* open", S::Comment, B}});
    expectShown(paintLine(1),
                {{0, "still *)", S::Comment, B}, {8, " ", S::Default, B}, {9, "int", S::Keyword, B}});
    expectShown(paintLine(2), {{0, "int", S::Keyword, B}});

    // The document's own tab size and marked area: a column mark over the second and third line.
    document.goToPosition(1, 0);
    document.insertText("\t");
    document.markRange({2, 1}, {6, 2});
    ASSERT_EQ(document.settings().tabSize, 3);
    const std::string_view second = document.lineText(1);
    expectShown(shown(second, painter.paintDocumentLine(document, 1, *profile, {})),
                {{0, "~~", S::Comment, B},
                 {2, "~", MT, MB},
                 {3, "sti", MT, MB},
                 {6, "ll *)", S::Comment, B},
                 {11, " ", S::Default, B},
                 {12, "int", S::Keyword, B}});
    const std::string_view third = document.lineText(2);
    expectShown(shown(third, painter.paintDocumentLine(document, 2, *profile, {})),
                {{0, "in", S::Keyword, B}, {2, "t", MT, MB}});

    EXPECT_TRUE(document.isWordBreak('('));
    EXPECT_TRUE(document.isWordBreak('"'));
    EXPECT_TRUE(document.isWordBreak('\\'));
    EXPECT_FALSE(document.isWordBreak('_'));
}

} // namespace
} // namespace vexa::syntax
