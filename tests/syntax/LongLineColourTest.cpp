// Colouring long lines from the colour points the document keeps: a window anywhere on the line
// shows the colours that colouring the whole line from its start gives, before and after edits
// near a point, with the painting work bounded by the window and one step; several long lines
// keep their checkpoints across paints.
#include "syntax/LinePainter.h"

#include "core/ColumnIndex.h"
#include "core/Document.h"
#include "syntax/SyntaxProfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace vexa::syntax {
namespace {

// One display cell as the pane shows it: its colours and the character drawn there (its first
// byte; the tab for blanks). Cells no run covers keep the default.
struct Cell {
    ColourSlot foreground = ColourSlot::Background;
    ColourSlot background = ColourSlot::Background;
    int offset = -1;

    friend bool operator==(const Cell&, const Cell&) = default;
};

constexpr int kWidth = 150;

std::vector<Cell> cells(std::string_view line, LineLayout layout, std::span<const PaintRun> runs,
                        VisibleColumns visible) {
    std::vector<Cell> result(static_cast<std::size_t>(visible.last - visible.first + 1));
    const auto put = [&](int from, int to, const PaintRun& run, int offset) {
        for (int column = std::max(from, visible.first); column < to && column <= visible.last; ++column) {
            result[static_cast<std::size_t>(column - visible.first)] = {run.foreground, run.background,
                                                                        offset};
        }
    };
    for (const PaintRun& run : runs) {
        if (run.content == RunContent::Blanks) {
            put(run.column, run.column + run.width, run, static_cast<int>(run.offset));
            continue;
        }
        const auto end = static_cast<int>(run.offset + run.length);
        forEachCellFrom(line, layout, static_cast<int>(run.offset), run.column, [&](const LineCell& cell) {
            if (cell.offset >= end) {
                return false;
            }
            put(cell.column, cell.next, run, cell.offset);
            return true;
        });
    }
    return result;
}

// A C-like line of about 100 KB: keywords, numbers, strings with escaped quotes, block comments,
// tabs and UTF-8 (a wide character among them), a string and a comment each spanning several
// steps, a word as long as a step and a line comment at the end; `copies` times as long without
// the line comment in between.
std::string cLikeLine(int copies = 1) {
    std::string text;
    for (int i = 0; text.size() < 100'000u * static_cast<std::size_t>(copies); ++i) {
        text += "int v" + std::to_string(i) +
                " = \"s\\\"q\xC3\xBC\" + 0x1F;\t/* c\xE4\xB8\xAD */ while (x) return y; ";
        if (i % 150 == 7) {
            text += '"' + std::string(9000, 'a') + "\\\"b\" ";
        }
        if (i % 150 == 53) {
            text += "/*";
            for (int j = 0; j < 600; ++j) {
                text += " int \"q\t\xC3\xBC";
            }
            text += "*/ ";
        }
        if (i % 150 == 101) {
            text += std::string(5000, 'Q') + "int #define 12 ";
        }
    }
    return text + " // tail \"comment\" int";
}

std::shared_ptr<SyntaxProfile> cProfile(const ColourTable& colours) {
    auto profile = std::make_shared<SyntaxProfile>(colours, BuiltInKeywords::Yes);
    profile->setSpecial(SpecialChar::Literal, '\\');
    return profile;
}

// An empty UTF-8 document coloured by the C-like profile.
struct ColouredDocument {
    ColourTable colours;
    std::shared_ptr<SyntaxProfile> profile = cProfile(colours);
    Document document;

    ColouredDocument() {
        document.makeNew();
        document.setLanguageRules(profile);
        document.setEncoding(TextEncoding::Utf8);
    }
};

// A UTF-8 document whose line `index` is long; with `openAbove` the line above opens a comment
// that the long line closes after about 10 KB.
struct LongLineDocument : ColouredDocument {
    int index = 0;

    explicit LongLineDocument(bool openAbove, int copies = 1) {
        std::string text = cLikeLine(copies);
        if (openAbove) {
            document.insertText("int /* open");
            document.newLine(NewLineMode::Forced);
            document.setCursorOffset(0);
            text = std::string(10'000, 'c') + "\t\xC3\xBC */ int " + text;
            index = 1;
        }
        document.insertText(text);
    }

    LineLayout layout() const { return document.layout(); }
    std::string_view line() const { return document.lineText(index); }
    int columnOf(int offset) const {
        return line().empty() ? 0 : document.line(index).columnOfOffset(offset, layout());
    }
    int width() const { return document.line(index).width(layout()); }

    // The cells of a window of the pane's painter, next to those of colouring the line whole.
    void expectWindowMatches(LinePainter& painter, int first, const std::string& what) const {
        const VisibleColumns visible{first, first + kWidth};
        const auto shown =
            cells(line(), layout(), painter.paintDocumentLine(document, index, *profile, visible), visible);
        LinePainter whole;
        const auto expected = cells(
            line(), layout(),
            whole.paint(line(), document.commentStart(index), *profile, layout(), visible, {}), visible);
        ASSERT_EQ(shown.size(), expected.size());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            ASSERT_EQ(shown[i], expected[i]) << what << ": window at column " << first << ", cell " << i;
        }
    }

    // Windows across the whole line, left to right and back, and around every colour point.
    void expectEveryWindowMatches(LinePainter& painter, const std::string& what) const {
        std::vector<int> firsts;
        for (int first = 0; first < width() + 10; first += 997) {
            firsts.push_back(first);
        }
        firsts.insert(firsts.end(), firsts.rbegin(), firsts.rend());
        const auto kept = LinePainter::colourPoints(document, index, *profile);
        const std::vector<ColourPoint> points(kept.begin(), kept.end());
        for (const ColourPoint& point : points) {
            for (const int delta : {-1, 0, 1}) {
                firsts.push_back(std::max(point.column + delta, 0));
            }
        }
        for (const int first : firsts) {
            expectWindowMatches(painter, first, what);
            if (testing::Test::HasFatalFailure()) {
                return;
            }
        }
    }
};

class LongLineColours : public testing::TestWithParam<bool> {};

TEST_P(LongLineColours, AWindowAnywhereShowsTheColoursOfTheWholeLine) {
    const LongLineDocument doc(GetParam());
    ASSERT_GE(doc.line().size(), 100'000u);
    LinePainter painter;
    // The first window at the end colours the line once up to there, no more.
    const int last = doc.width() - kWidth;
    (void)painter.paintDocumentLine(doc.document, doc.index, *doc.profile, {last, last + kWidth});
    EXPECT_GE(painter.walkedBytes(), doc.line().size() - ColumnIndex::kStep - 1024);
    EXPECT_LE(painter.walkedBytes(), doc.line().size());
    doc.expectEveryWindowMatches(painter, "first sweep");
    // The points reach the end of the line, a step or so apart, each at a character start.
    const auto points = LinePainter::colourPoints(doc.document, doc.index, *doc.profile);
    ASSERT_GE(points.size(), doc.line().size() / (ColumnIndex::kStep + 1024));
    for (std::size_t i = 1; i < points.size(); ++i) {
        EXPECT_GE(points[i].offset - points[i - 1].offset, ColumnIndex::kStep);
        EXPECT_LE(points[i].offset - points[i - 1].offset, ColumnIndex::kStep + 1024 + 4);
        EXPECT_EQ(points[i].column, doc.columnOf(points[i].offset));
    }
    EXPECT_GE(points.back().offset, static_cast<int>(doc.line().size()) - ColumnIndex::kStep - 1024);
    // Once the points are there, a window costs itself and at most a step and a piece: the
    // window's bytes are at most four a cell here.
    const std::size_t bound = ColumnIndex::kStep + 2 * 1024 + 4 * (kWidth + 1);
    for (int first = 0; first < doc.width(); first += 1999) {
        (void)painter.paintDocumentLine(doc.document, doc.index, *doc.profile, {first, first + kWidth});
        EXPECT_LE(painter.walkedBytes(), bound) << "window at column " << first;
    }
}

INSTANTIATE_TEST_SUITE_P(StartOfLine, LongLineColours, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "InsideACommentFromAbove" : "OutsideComments";
                         });

// A first window far into a 10 MB line walks no more than one paint's budget and shows the line
// uncoloured; walks of a budget each, with an edit behind them on the way, bring the points there,
// and the window then shows the colours of the whole line, the edit included, at the cost of a
// step. The walk's state goes in the document only, so slices of another painter (as the pane's
// timer uses its own) continue it.
TEST(LongLineFirstPaint, FarIntoALineWalksTheBudgetAndSlicesFinishTheWalk) {
    LongLineDocument doc(false, 100);
    ASSERT_GE(doc.line().size(), 10'000'000u);
    const int first = 5'000'000;
    const VisibleColumns visible{first, first + kWidth};
    const std::size_t window = 4 * (kWidth + 1) + 1024;
    LinePainter painter;
    const auto runs = painter.paintDocumentLine(doc.document, doc.index, *doc.profile, visible);
    EXPECT_TRUE(painter.behind());
    EXPECT_GE(painter.walkedBytes(), LinePainter::kWalkBudget);
    EXPECT_LE(painter.walkedBytes(), LinePainter::kWalkBudget + window);
    ASSERT_FALSE(runs.empty());
    EXPECT_LE(runs.front().column, first);
    EXPECT_GT(runs.back().column + runs.back().width, first + kWidth);
    for (const PaintRun& run : runs) {
        EXPECT_EQ(run.foreground, ColourSlot::Default) << "run at column " << run.column;
    }
    const auto stopped = LinePainter::colourPoints(doc.document, doc.index, *doc.profile).back().offset;
    EXPECT_LE(static_cast<std::size_t>(stopped), LinePainter::kWalkBudget);
    EXPECT_GE(static_cast<std::size_t>(stopped), LinePainter::kWalkBudget - ColumnIndex::kStep - 1024);

    const auto target = static_cast<std::size_t>(doc.document.offsetOfColumn(doc.index, first));
    LinePainter slices;
    int count = 0;
    bool done = false;
    while (!done) {
        done = slices.walkOn(doc.document, doc.index, *doc.profile, visible, LinePainter::kWalkBudget);
        // The slice after the edit also scans the token the edit reached again: here at most the
        // 9 KB string.
        const std::size_t mend = count == 3 ? 10'000 : 0;
        EXPECT_LE(slices.walkedBytes(), LinePainter::kWalkBudget + 4 + mend) << "slice " << count;
        ASSERT_LT(++count, 200) << "the walk does not end";
        if (count == 3) {
            // An opened comment behind the walk: the points after it go, and the walk goes on
            // from the last one before it.
            const int at =
                LinePainter::colourPoints(doc.document, doc.index, *doc.profile).back().offset - 20'000;
            doc.document.nextGroup();
            ASSERT_TRUE(doc.document.replaceAt(doc.index, at, 0, "/*"));
            EXPECT_LT(LinePainter::colourPoints(doc.document, doc.index, *doc.profile).back().offset, at);
        }
    }
    EXPECT_GE(static_cast<std::size_t>(count), target / LinePainter::kWalkBudget - 1);
    EXPECT_GE(static_cast<std::size_t>(
                  LinePainter::colourPoints(doc.document, doc.index, *doc.profile).back().offset),
              target - ColumnIndex::kStep - 1024);
    // A further slice has nothing to do.
    EXPECT_TRUE(slices.walkOn(doc.document, doc.index, *doc.profile, visible, LinePainter::kWalkBudget));
    EXPECT_EQ(slices.walkedBytes(), 0u);

    doc.expectWindowMatches(painter, first, "after the slices");
    EXPECT_FALSE(painter.behind());
    EXPECT_LE(painter.walkedBytes(), ColumnIndex::kStep + window + 1024);
}

// The rows of one paint share the budget: three 1 MB lines far from their points walk one budget
// together, the first of them taking it; a paint outside beginPaint/endPaint has its own again.
TEST(LongLineFirstPaint, ThePaintsOfOnePaneShareTheBudget) {
    ColouredDocument coloured;
    Document& document = coloured.document;
    const auto& profile = coloured.profile;
    const std::string longText = cLikeLine(10);
    for (int i = 0; i < 3; ++i) {
        document.insertText(longText);
        document.newLine(NewLineMode::Forced);
        document.setCursorOffset(0);
    }
    const VisibleColumns visible{500'000, 500'000 + kWidth};
    const std::size_t window = 4 * (kWidth + 1) + 1024;
    LinePainter painter;
    painter.beginPaint();
    std::size_t walked = 0;
    for (int index = 0; index < 3; ++index) {
        (void)painter.paintDocumentLine(document, index, *profile, visible);
        EXPECT_TRUE(painter.behind()) << "line " << index;
        walked += painter.walkedBytes();
    }
    painter.endPaint();
    EXPECT_GE(walked, LinePainter::kWalkBudget);
    EXPECT_LE(walked, LinePainter::kWalkBudget + 3 * window);
    EXPECT_GE(LinePainter::colourPoints(document, 0, *profile).back().offset, 200'000);
    EXPECT_EQ(LinePainter::colourPoints(document, 2, *profile).size(), 1u);
    (void)painter.paintDocumentLine(document, 2, *profile, visible);
    EXPECT_GE(painter.walkedBytes(), LinePainter::kWalkBudget);
    EXPECT_LE(painter.walkedBytes(), LinePainter::kWalkBudget + window);
}

// Where an edit goes: next to a point inside the long string, inside the long comment, the point
// in the middle of the line, the point just after a keyword, from the line's start or from its end.
enum class Near : uint8_t { PointInString, PointInComment, MiddlePoint, AfterKeyword, LineStart, LineEnd };

struct EditCase {
    const char* name;
    bool openAbove;
    Near near;
    int delta; // bytes from the point
    int removed;
    std::string inserted;
};

void PrintTo(const EditCase& edit, std::ostream* out) {
    *out << edit.name;
}

const ColourPoint& pointNear(std::span<const ColourPoint> points, Near near) {
    const auto inside = [](ColourSlot slot) {
        return [slot](const ColourPoint& point) {
            return point.tokenState == static_cast<uint8_t>(slot) && point.offset - point.tokenStart > 100 &&
                   point.tokenEnd - point.offset > 100;
        };
    };
    switch (near) {
    case Near::PointInString:
        return *std::find_if(points.begin(), points.end(), inside(ColourSlot::String));
    case Near::PointInComment:
        return *std::find_if(points.begin(), points.end(), inside(ColourSlot::Comment));
    case Near::AfterKeyword:
        return *std::find_if(points.begin(), points.end(), [](const ColourPoint& point) {
            return point.tokenState == static_cast<uint8_t>(ColourSlot::Keyword) &&
                   point.offset == point.tokenEnd;
        });
    default:
        return points[points.size() / 2];
    }
}

class LongLineEdits : public testing::TestWithParam<EditCase> {};

TEST_P(LongLineEdits, KeepTheColoursOfTheWholeLine) {
    const EditCase& edit = GetParam();
    LongLineDocument doc(edit.openAbove);
    LinePainter painter;
    doc.expectEveryWindowMatches(painter, "before the edit");
    const auto points = LinePainter::colourPoints(doc.document, doc.index, *doc.profile);
    ASSERT_TRUE(edit.near != Near::AfterKeyword ||
                std::any_of(points.begin(), points.end(),
                            [](const ColourPoint& p) {
                                return p.tokenState == static_cast<uint8_t>(ColourSlot::Keyword) &&
                                       p.offset == p.tokenEnd;
                            }))
        << "no point follows a keyword";
    int at = edit.delta;
    if (edit.near == Near::LineEnd) {
        at += static_cast<int>(doc.line().size());
    } else if (edit.near != Near::LineStart) {
        at += pointNear(points, edit.near).offset;
    }
    const std::string before(doc.line());
    doc.document.nextGroup();
    ASSERT_TRUE(doc.document.replaceAt(doc.index, at, edit.removed, edit.inserted));
    doc.expectEveryWindowMatches(painter, "after the edit");
    // Undone, the line is as it was and is coloured as it was.
    ASSERT_TRUE(doc.document.undo());
    ASSERT_EQ(doc.line(), before);
    doc.expectEveryWindowMatches(painter, "after undo");
}

const std::vector<EditCase>& editCases() {
    static const std::vector<EditCase> cases{
        // A quote ends the long string early: just before a point's lookahead, inside it, at
        // the point and past it.
        {"QuoteFarBeforeStringPoint", false, Near::PointInString, -40, 0, "\""},
        {"QuoteJustOutsideTheLookahead", false, Near::PointInString, -ColumnIndex::kLookahead - 1, 0, "\""},
        {"QuoteInsideTheLookahead", false, Near::PointInString, -ColumnIndex::kLookahead + 1, 0, "\""},
        {"QuoteAtStringPoint", false, Near::PointInString, 0, 0, "\""},
        {"QuoteAfterStringPoint", false, Near::PointInString, 300, 0, "\""},
        {"EscapedQuoteAfterStringPoint", false, Near::PointInString, 300, 0, "\\\""},
        // The comment closes early, or a close is broken so that it runs on.
        {"CloseAfterCommentPoint", false, Near::PointInComment, 200, 0, "*/ int "},
        {"CloseJustBeforeCommentPoint", false, Near::PointInComment, -3, 0, "*/"},
        {"CloseInCarriedComment", true, Near::PointInComment, 500, 0, "*/ int \""},
        {"OpenerInsideCarriedComment", true, Near::PointInComment, 0, 0, "/*"},
        {"CloseOfCarriedCommentRemoved", true, Near::LineStart, 10'004, 2, ""},
        // Openers and keywords next to a point between tokens, and a replacement over it.
        {"OpenCommentBeforeMiddlePoint", false, Near::MiddlePoint, -10, 0, "/*"},
        {"KeywordMadeAtMiddlePoint", false, Near::MiddlePoint, -2, 0, " int "},
        {"ReplaceAcrossMiddlePoint", false, Near::MiddlePoint, -20, 40, "\"x\xE4\xB8\xAD\t"},
        {"WideCharacterAtMiddlePoint", false, Near::MiddlePoint, 0, 0, "\xE4\xB8\xAD"},
        // A keyword just before a point becomes a longer word.
        {"KeywordLengthenedAtPoint", false, Near::AfterKeyword, 0, 0, "x"},
        // Typing at the end, inside the line comment.
        {"TypingAtTheEnd", false, Near::LineEnd, 0, 0, "x"},
        {"QuoteAtTheEnd", false, Near::LineEnd, 0, 0, "\""},
    };
    return cases;
}

INSTANTIATE_TEST_SUITE_P(NearAPoint, LongLineEdits, testing::ValuesIn(editCases()),
                         [](const testing::TestParamInfo<EditCase>& info) { return info.param.name; });

// A pane showing several long lines: painting it again walks no line's checkpoints afresh, nor
// does an edit on one of them or a line inserted or removed above them.
TEST(LongLineCheckpoints, SeveralLongLinesKeepThemAcrossPaints) {
    ColouredDocument coloured;
    Document& document = coloured.document;
    const auto& profile = coloured.profile;
    const std::string longText = cLikeLine().substr(0, 30'000);
    for (int i = 0; i < 6; ++i) {
        document.insertText(i % 2 == 0 ? std::string_view("short line") : std::string_view(longText));
        document.newLine(NewLineMode::Forced);
        document.setCursorOffset(0);
    }
    LinePainter painter;
    const VisibleColumns visible{20'000, 20'000 + kWidth};
    const auto paintAll = [&] {
        std::size_t walked = 0;
        for (int index = 0; index < document.lineCount(); ++index) {
            (void)painter.paintDocumentLine(document, index, *profile, visible);
            walked = std::max(walked, painter.walkedBytes());
        }
        return walked;
    };
    (void)paintAll();
    const uint64_t built = document.checkpointRebuilds();
    EXPECT_EQ(built, 3u);
    const std::size_t bound = ColumnIndex::kStep + 2 * 1024 + 4 * (kWidth + 1);
    EXPECT_LE(paintAll(), bound);
    EXPECT_EQ(document.checkpointRebuilds(), built);

    // A change on one long line keeps its points before the change.
    ASSERT_TRUE(document.replaceAt(3, 25'000, 0, "\"int"));
    EXPECT_LE(paintAll(), bound);
    // Lines inserted and removed above move the lines' checkpoints with them.
    document.moveToLine(0);
    document.insertEmptyLine();
    ASSERT_EQ(document.lineText(4).substr(25'000, 4), "\"int");
    EXPECT_LE(paintAll(), bound);
    ASSERT_TRUE(document.deleteLine(0));
    ASSERT_TRUE(document.deleteLine(0));
    EXPECT_LE(paintAll(), bound);
    EXPECT_EQ(document.checkpointRebuilds(), built);
    for (int index = 0; index < document.lineCount(); ++index) {
        const std::string_view line = document.lineText(index);
        LinePainter whole;
        EXPECT_EQ(
            cells(line, document.layout(), painter.paintDocumentLine(document, index, *profile, visible),
                  visible),
            cells(line, document.layout(),
                  whole.paint(line, document.commentStart(index), *profile, document.layout(), visible, {}),
                  visible))
            << "line " << index;
    }
}

} // namespace
} // namespace vexa::syntax
