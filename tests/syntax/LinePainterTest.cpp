// Line painting: comment continuation, colours, tabs, scrolling and the three kinds of marked area.
#include "syntax/LinePainter.h"

#include "core/Document.h"
#include "syntax/SyntaxProfile.h"

#include <gtest/gtest.h>

#include <algorithm>
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
                               : std::string(line.substr(run.offset, run.length));
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
    expectShown(
        shown(c.line, painter.paint(c.line, c.comment, profile, LineLayout{c.tabSize}, c.visible, c.marked)),
        c.expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, PaintLine, ::testing::ValuesIn(paintCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// UTF-8 lines: a run's cells and its bytes, which always begin and end between characters.
struct CellRun {
    int column;
    int width;
    std::string text; // the run's bytes; blanks shown as '~'
    S foreground;
    S background;
};

struct Utf8Case {
    const char* name;
    std::string line;
    VisibleColumns visible;
    MarkedColumns marked;
    std::vector<CellRun> expected;
    TextEncoding encoding = TextEncoding::Utf8;
};

const std::vector<Utf8Case>& utf8Cases() {
    static const std::vector<Utf8Case> table = {
        // é one cell, 中 and 😀 two; the word and the blank after it share the default colour.
        {"MixedLatinCjkEmoji",
         "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80 = 1;",
         {},
         {},
         {{0, 6, "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80 ", S::Default, B},
          {6, 2, "= ", S::Symbol, B},
          {8, 1, "1", S::Number, B},
          {9, 1, ";", S::Symbol, B}}},
        {"SameBytesInWindows1252AreOneCellEach",
         "\xC3\xA9\xE4\xB8\xAD",
         {},
         {},
         {{0, 5, "\xC3\xA9\xE4\xB8\xAD", S::Default, B}},
         TextEncoding::Windows1252},
        {"GreekAndBoxDrawingAreNarrow",
         "\xCE\xB1\xCE\xB2 \xE2\x94\x8C\xE2\x94\x80\xE2\x94\x90",
         {},
         {},
         {{0, 6, "\xCE\xB1\xCE\xB2 \xE2\x94\x8C\xE2\x94\x80\xE2\x94\x90", S::Default, B}}},
        // 中 [0,2), a tab to 4, é [4,5), a tab to 8.
        {"TabAfterWideCharacterReachesTheNextStop",
         "\xE4\xB8\xAD\t\xC3\xA9\tx",
         {},
         {},
         {{0, 2, "\xE4\xB8\xAD", S::Default, B},
          {2, 2, "~~", S::Default, B},
          {4, 1, "\xC3\xA9", S::Default, B},
          {5, 3, "~~~", S::Default, B},
          {8, 1, "x", S::Default, B}}},
        {"ColumnMarkSplitsBetweenTwoByteCharacters",
         "\xCE\xB1\xCE\xB2\xCE\xB3\xCE\xB4",
         {},
         {1, 3},
         {{0, 1, "\xCE\xB1", S::Default, B},
          {1, 2, "\xCE\xB2\xCE\xB3", MT, MB},
          {3, 1, "\xCE\xB4", S::Default, B}}},
        // 中文字 at [0,2) [2,4) [4,6): a mark from column 1 takes 中 in, one to column 5 leaves 字 out.
        {"WideCharacterAtMarkStartGoesInside",
         "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97",
         {},
         {1, 5},
         {{0, 4, "\xE4\xB8\xAD\xE6\x96\x87", MT, MB}, {4, 2, "\xE5\xAD\x97", S::Default, B}}},
        {"WideCharacterAtMarkEndStaysOutside",
         "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97",
         {},
         {2, 5},
         {{0, 2, "\xE4\xB8\xAD", S::Default, B},
          {2, 2, "\xE6\x96\x87", MT, MB},
          {4, 2, "\xE5\xAD\x97", S::Default, B}}},
        {"MarkOnHalfAWideCharacterMarksNothing",
         "\xE4\xB8\xAD",
         {},
         {0, 1},
         {{0, 2, "\xE4\xB8\xAD", S::Default, B}}},
        // The blanks of a tab still split at the exact marked column.
        {"MarkInsideTabAfterWideCharacter",
         "\xE4\xB8\xAD\tx",
         {},
         {3, 5},
         {{0, 2, "\xE4\xB8\xAD", S::Default, B},
          {2, 1, "~", S::Default, B},
          {3, 1, "~", MT, MB},
          {4, 1, "x", MT, MB}}},
        // 中文 [0,4), blank 4, 字中 [5,9), blank 9, 文字 [10,14); the view starts inside 字.
        {"ScrolledIntoTheMiddleOfAWideCharacter",
         "\xE4\xB8\xAD\xE6\x96\x87 \xE5\xAD\x97\xE4\xB8\xAD \xE6\x96\x87\xE5\xAD\x97",
         {6, 7},
         {},
         {{5, 4, "\xE5\xAD\x97\xE4\xB8\xAD", S::Default, B}}},
        // 字 [5,7) ends before the mark; 文 [10,12) straddles its end and stays outside.
        {"ScrolledWithMarkOverWideCharacters",
         "\xE4\xB8\xAD\xE6\x96\x87 \xE5\xAD\x97\xE4\xB8\xAD \xE6\x96\x87\xE5\xAD\x97",
         {6, 12},
         {8, 11},
         {{5, 2, "\xE5\xAD\x97", S::Default, B},
          {7, 3, "\xE4\xB8\xAD ", MT, MB},
          {10, 4, "\xE6\x96\x87\xE5\xAD\x97", S::Default, B}}},
        // A stray byte and a cut-off sequence are one cell each.
        {"InvalidBytesAreOneCellEach",
         "a\xFF"
         "b\xC3",
         {},
         {},
         {{0, 4,
           "a\xFF"
           "b\xC3",
           S::Default, B}}},
        {"MarkOnInvalidByte",
         "a\xFF"
         "b\xC3",
         {},
         {1, 2},
         {{0, 1, "a", S::Default, B}, {1, 1, "\xFF", MT, MB}, {2, 2, "b\xC3", S::Default, B}}},
        // The literal pair takes the lead byte of é; é is drawn whole in the pair's colour and the
        // word after it begins past its continuation byte.
        {"CharacterSplitByTokensIsDrawnWhole",
         "=\\\xC3\xA9x",
         {},
         {},
         {{0, 3, "=\\\xC3\xA9", S::Symbol, B}, {3, 1, "x", S::Default, B}}},
    };
    return table;
}

void PrintTo(const Utf8Case& c, std::ostream* os) {
    *os << c.name;
}

class PaintUtf8Line : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(PaintUtf8Line, RunsCoverWholeCharacters) {
    ExtensionProfile profile(BuiltInKeywords::Yes);
    profile.setSpecial(SpecialChar::Literal, '\\');
    LinePainter painter;
    const Utf8Case& c = GetParam();
    const auto runs = painter.paint(c.line, {}, profile, LineLayout{4, c.encoding}, c.visible, c.marked);
    ASSERT_EQ(runs.size(), c.expected.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const PaintRun& run = runs[i];
        const CellRun& want = c.expected[i];
        const std::string text = run.content == RunContent::Blanks
                                     ? std::string(static_cast<std::size_t>(run.width), '~')
                                     : std::string(c.line.substr(run.offset, run.length));
        EXPECT_EQ(run.column, want.column) << "run " << i;
        EXPECT_EQ(run.width, want.width) << "run " << i;
        EXPECT_EQ(text, want.text) << "run " << i;
        EXPECT_EQ(run.foreground, want.foreground) << "run " << i;
        EXPECT_EQ(run.background, want.background) << "run " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, PaintUtf8Line, ::testing::ValuesIn(utf8Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LinePainterBuffer, RepaintingReusesTheBuffer) {
    const ExtensionProfile profile(BuiltInKeywords::Yes);
    LinePainter painter;
    const std::string longLine = "int a = b + c; /* x */ \"s\" 12 while (x) { y; }";
    (void)painter.paint(longLine, {}, profile, LineLayout{4}, {}, {3, 9});
    const PaintRun* buffer = painter.runs().data();
    for (int i = 0; i < 20; ++i) {
        const TextEncoding encoding = i % 4 < 2 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
        (void)painter.paint(i % 2 == 0 ? "int x;" : longLine, {}, profile, LineLayout{4, encoding}, {},
                            {3, 9});
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
        return shown(text,
                     painter.paint(text, document.commentStart(index), *profile, LineLayout{4}, {}, {}));
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

TEST(ProfileAsLanguageRules, DocumentLineIsPaintedInTheDocumentsEncoding) {
    ColourTable colours;
    auto profile = std::make_shared<SyntaxProfile>(colours, BuiltInKeywords::Yes);
    Document document;
    document.makeNew();
    document.setLanguageRules(profile);
    document.insertText("\xE4\xB8\xAD\tx");
    ASSERT_EQ(document.settings().tabSize, 3);
    LinePainter painter;
    const auto columns = [&] {
        std::vector<std::pair<int, int>> result;
        for (const PaintRun& run : painter.paintDocumentLine(document, 0, *profile, {})) {
            result.emplace_back(run.column, run.width);
        }
        return result;
    };
    // One byte a cell: 中 takes three, the tab reaches 6.
    EXPECT_EQ(columns(), (std::vector<std::pair<int, int>>{{0, 3}, {3, 3}, {6, 1}}));
    document.setEncoding(TextEncoding::Utf8);
    EXPECT_EQ(columns(), (std::vector<std::pair<int, int>>{{0, 2}, {2, 1}, {3, 1}}));
}

// A long line is painted from the visible columns on, in its colours: the runs cover the view
// without a gap, each at the column its first byte has, and stop soon after the view.
TEST(ProfileAsLanguageRules, ALongLineIsPaintedFromTheVisibleColumnsOn) {
    ColourTable colours;
    auto profile = std::make_shared<SyntaxProfile>(colours, BuiltInKeywords::Yes);
    Document document;
    document.makeNew();
    document.setLanguageRules(profile);
    document.setEncoding(TextEncoding::Utf8);
    std::string text;
    while (text.size() < 200'000) {
        text += "int x;\t\xE4\xB8\xAD\xC3\xBC /* c */ ";
    }
    document.insertText(text);
    const DocLine& line = document.line(0);
    LinePainter painter;
    for (const int first : {0, 1000, 150'001, line.width(document.layout()) - 10}) {
        const VisibleColumns visible{first, first + 120};
        const auto runs = painter.paintDocumentLine(document, 0, *profile, visible);
        ASSERT_FALSE(runs.empty()) << first;
        EXPECT_LE(runs.front().column, first);
        int column = runs.front().column;
        std::vector<ColourSlot> slots;
        for (const PaintRun& run : runs) {
            EXPECT_EQ(run.column, column) << first;
            EXPECT_EQ(line.columnOfOffset(static_cast<int>(run.offset), document.layout()), run.column) << first;
            slots.push_back(run.foreground);
            column += run.width;
        }
        // A window of whole pieces shows each kind of token of the piece.
        for (const ColourSlot slot : {ColourSlot::Keyword, ColourSlot::Comment, ColourSlot::Symbol}) {
            EXPECT_TRUE(column < visible.last || std::find(slots.begin(), slots.end(), slot) != slots.end())
                << first;
        }
        EXPECT_GT(column, std::min(visible.last, line.width(document.layout()) - 1)) << first;
        EXPECT_LE(column, visible.last + 300) << first;
    }
}

} // namespace
} // namespace vexa::syntax
