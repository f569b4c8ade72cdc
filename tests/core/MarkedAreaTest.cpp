// Marked areas and the clipboard: collecting, deleting, the paste shapes, move, copy and apply.
#include "core/MarkedArea.h"

#include <gtest/gtest.h>

#include "DocumentFixture.h"
#include "support/RecordingMessenger.h"

namespace vexa {
namespace {

using test::linesOf;
using test::setLines;
using Lines = std::vector<std::string>;

class MarkedAreaTest : public ::testing::Test {
protected:
    void mark(MarkType type, MarkPoint from, MarkPoint to) {
        document.clearMark();
        document.beginMark(type);
        document.markStart(from);
        document.markEnd(to);
    }
    void placeCursor(int line, int column) {
        ReplayingScope keepMark(document);
        document.goToPosition(line, column);
    }

    Document document;
    platform::MemoryClipboard clipboard;
    MarkedArea area{document, clipboard};
};

struct CopyCase {
    const char* name;
    MarkType type;
    MarkPoint from;
    MarkPoint to;
    const char* text;
};

TEST_F(MarkedAreaTest, CopyLaysOutThePiecesByMarkType) {
    const CopyCase cases[] = {
        {"two lines", MarkType::Line, {4, 0}, {1, 1}, "alpha one\r\nbravo two\r\n"},
        {"one line", MarkType::Line, {2, 1}, {2, 1}, "bravo two"},
        {"column", MarkType::Column, {4, 2}, {1, 0}, "lph\r\nrav\r\nhar\r\n"},
        {"column past short ends", MarkType::Column, {8, 0}, {12, 2}, "e\r\no\r\nthre\r\n"},
        {"stream on one line", MarkType::Stream, {6, 0}, {2, 0}, "pha "},
        {"stream over lines", MarkType::Stream, {3, 2}, {6, 0}, "one\r\nbravo two\r\ncha"},
        {"stream to beyond the end", MarkType::CuaStream, {6, 0}, {40, 1}, "one\r\nbravo two"},
    };
    for (const auto& c : cases) {
        setLines(document, {"alpha one", "bravo two", "charlie three"});
        mark(c.type, c.from, c.to);
        ASSERT_TRUE(area.copyToClipboard()) << c.name;
        auto content = clipboard.get();
        ASSERT_TRUE(content.has_value());
        EXPECT_EQ(content->text, c.text) << c.name;
        EXPECT_EQ(content->privateMarkType, static_cast<int32_t>(c.type)) << c.name;
        EXPECT_EQ(linesOf(document), (Lines{"alpha one", "bravo two", "charlie three"}));
    }
    document.clearMark();
    clipboard.clear();
    EXPECT_FALSE(area.copyToClipboard());
    EXPECT_FALSE(clipboard.get().has_value());
}

TEST_F(MarkedAreaTest, CopyingTheCurrentLineStoresItAsALineMark) {
    setLines(document, {"first", "second"});
    document.goToLine(1);
    ASSERT_TRUE(area.copyLineToClipboard());
    EXPECT_EQ(clipboard.get()->text, "second\r\n");
    EXPECT_EQ(clipboard.get()->privateMarkType, 1);
}

struct DeleteCase {
    const char* name;
    MarkType type;
    MarkPoint from;
    MarkPoint to;
    Lines lines;
    int cursorLine;
    int cursorColumn;
};

TEST_F(MarkedAreaTest, DeletingRemovesExactlyTheMarkedText) {
    const DeleteCase cases[] = {
        {"lines", MarkType::Line, {3, 1}, {0, 2}, {"alpha one", "delta four"}, 1, 0},
        {"column", MarkType::Column, {1, 0}, {4, 2}, {"aa one", "bo two", "clie three", "delta four"}, 2, 1},
        {"stream on one line",
         MarkType::Stream,
         {2, 1},
         {6, 1},
         {"alpha one", "brtwo", "charlie three", "delta four"},
         1,
         2},
        {"stream over lines", MarkType::Stream, {6, 0}, {3, 2}, {"alpha rlie three", "delta four"}, 0, 6},
        {"stream ending beyond its last line",
         MarkType::Stream,
         {6, 0},
         {30, 2},
         {"alpha ", "delta four"},
         0,
         6},
    };
    for (const auto& c : cases) {
        setLines(document, {"alpha one", "bravo two", "charlie three", "delta four"});
        mark(c.type, c.from, c.to);
        document.nextGroup();
        const test::Snapshot before = test::snapshot(document);
        ASSERT_TRUE(area.deleteMarkedArea()) << c.name;
        document.nextGroup();
        EXPECT_EQ(linesOf(document), c.lines) << c.name;
        EXPECT_EQ(document.cursorLine(), c.cursorLine) << c.name;
        EXPECT_EQ(document.cursorColumn(), c.cursorColumn) << c.name;
        EXPECT_FALSE(document.isReplaying());
        ASSERT_TRUE(document.undo());
        EXPECT_TRUE(test::snapshot(document) == before)
            << c.name << ": " << test::describe(test::snapshot(document));
    }
}

TEST_F(MarkedAreaTest, DeletingEveryMarkedLineLeavesTheCursorAtTheStart) {
    // The cursor stands deep in a line, as after selecting the whole document from its end; lines
    // that remain keep its column, an emptied document does not.
    struct Case {
        int lastMarked;
        int cursorLine;
        int cursorColumn;
    };
    for (const Case& c : {Case{3, 0, 0}, Case{2, 0, 7}}) {
        setLines(document, {"alpha one", "bravo two", "charlie three", "delta four"});
        placeCursor(c.lastMarked, 7);
        mark(MarkType::Line, {0, 0}, {7, c.lastMarked});
        ASSERT_TRUE(area.deleteMarkedArea());
        EXPECT_EQ(document.cursorLine(), c.cursorLine) << c.lastMarked;
        EXPECT_EQ(document.cursorColumn(), c.cursorColumn) << c.lastMarked;
    }
}

struct PasteCase {
    const char* name;
    std::string text;
    std::optional<int32_t> type;
    EditSettings settings;
    int line;
    int column;
    Lines lines;
    int cursorLine;
    int cursorColumn;
};

TEST_F(MarkedAreaTest, PasteTakesTheShapeOfTheClipboardText) {
    const PasteCase cases[] = {
        {"lines ignore the column", "x1\r\nx2\r\n", 1, {}, 1, 3, {"abcdef", "x1", "x2", "gh", "ij"}, 3, 3},
        {"lines after the cursor",
         "x1\r\nx2\r\n",
         1,
         {.insertAfterCursor = true},
         1,
         0,
         {"abcdef", "gh", "x1", "x2", "ij"},
         3,
         0},
        {"a word goes in line", "word", std::nullopt, {}, 0, 2, {"abwordcdef", "gh", "ij"}, 0, 6},
        {"foreign text with line ends is a stream",
         "one\r\ntwo\r\nthree",
         std::nullopt,
         {},
         0,
         3,
         {"abcone", "two", "threedef", "gh", "ij"},
         2,
         5},
        {"stream in overwrite mode still splits",
         "one\r\ntwo",
         2,
         {.insertMode = false},
         0,
         3,
         {"abcone", "twodef", "gh", "ij"},
         1,
         3},
        {"stream at column 0 after the cursor",
         "p\r\n\r\nq",
         5,
         {.insertAfterCursor = true},
         1,
         0,
         {"abcdef", "gh", "p", "q", "ij"},
         3,
         0},
        {"column fills short lines",
         "111\r\n222\r\n333\r\n",
         3,
         {},
         0,
         4,
         {"abcd111ef", "gh  222", "ij  333"},
         2,
         7},
        {"column with the brief cursor",
         "111\r\n222\r\n",
         3,
         {.briefCursor = true},
         0,
         4,
         {"abcd111ef", "gh  222", "ij"},
         2,
         4},
        {"column growing the document",
         "1\r\n2\r\n3\r\n",
         3,
         {},
         2,
         1,
         {"abcdef", "gh", "i1j", " 2", " 3"},
         4,
         2},
        {"foreign text with LF line ends is a stream of lines",
         "one\ntwo\nthree",
         std::nullopt,
         {},
         0,
         3,
         {"abcone", "two", "threedef", "gh", "ij"},
         2,
         5},
        {"mixed LF and CR LF",
         "one\r\ntwo\nthree",
         std::nullopt,
         {},
         0,
         3,
         {"abcone", "two", "threedef", "gh", "ij"},
         2,
         5},
        {"lines with LF line ends", "x1\nx2\n", 1, {}, 1, 3, {"abcdef", "x1", "x2", "gh", "ij"}, 3, 3},
        {"an unknown mark type 4 is plain text",
         "one\r\ntwo",
         4,
         {},
         0,
         3,
         {"abcone", "twodef", "gh", "ij"},
         1,
         3},
        {"an unknown mark type 99 is plain text",
         "one\r\ntwo",
         99,
         {},
         0,
         3,
         {"abcone", "twodef", "gh", "ij"},
         1,
         3},
        {"mark type 0 is plain text", "one\r\ntwo", 0, {}, 0, 3, {"abcone", "twodef", "gh", "ij"}, 1, 3},
    };
    for (const auto& c : cases) {
        setLines(document, {"abcdef", "gh", "ij"});
        document.setSettings(c.settings);
        document.goToPosition(c.line, c.column);
        if (c.type) {
            ASSERT_TRUE(clipboard.put(c.text, *c.type));
        } else {
            clipboard.putForeignText(c.text);
        }
        document.nextGroup();
        ASSERT_TRUE(area.paste()) << c.name;
        document.nextGroup();
        EXPECT_EQ(linesOf(document), c.lines) << c.name;
        EXPECT_EQ(document.cursorLine(), c.cursorLine) << c.name;
        EXPECT_EQ(document.cursorColumn(), c.cursorColumn) << c.name;
        ASSERT_TRUE(document.undo()) << c.name;
        EXPECT_EQ(linesOf(document), (Lines{"abcdef", "gh", "ij"})) << c.name;
        EXPECT_FALSE(document.isModified()) << c.name;
    }
    clipboard.clear();
    EXPECT_FALSE(area.paste());
}

TEST_F(MarkedAreaTest, PasteWithAResultTypeMarksThePastedText) {
    struct ResultCase {
        const char* name;
        std::string text;
        int32_t type;
        MarkType result;
        std::string marked;
    };
    const ResultCase cases[] = {
        {"stream", "one\r\ntwo", 2, MarkType::Stream, "one\r\ntwo"},
        {"lines", "x1\r\nx2\r\n", 1, MarkType::Line, "x1\r\nx2\r\n"},
        {"column", "11\r\n22\r\n", 3, MarkType::Column, "11\r\n22\r\n"},
        {"in line", "word", 3, MarkType::Column, "word"},
    };
    for (const auto& c : cases) {
        setLines(document, {"abcdef", "ghijkl", "mnopqr"});
        document.goToPosition(1, 2);
        ASSERT_TRUE(clipboard.put(c.text, c.type));
        ASSERT_TRUE(area.paste(c.result));
        EXPECT_EQ(document.mark().type, c.result) << c.name;
        platform::MemoryClipboard check;
        MarkedArea checkArea(document, check);
        EXPECT_EQ(checkArea.markedText(), c.marked) << c.name;
    }
}

TEST_F(MarkedAreaTest, PasteOverReplacesTheMarkedText) {
    setLines(document, {"keep this old part", "next"});
    mark(MarkType::Stream, {10, 0}, {13, 0});
    ASSERT_TRUE(clipboard.put("new", 3));
    document.nextGroup();
    ASSERT_TRUE(area.pasteOver());
    document.nextGroup();
    EXPECT_EQ(linesOf(document), (Lines{"keep this new part", "next"}));
    EXPECT_FALSE(document.hasMark());
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(linesOf(document), (Lines{"keep this old part", "next"}));
    EXPECT_EQ(document.mark().type, MarkType::Stream);
}

struct MoveCase {
    const char* name;
    Lines before;
    MarkType type;
    MarkPoint from;
    MarkPoint to;
    int targetLine;
    int targetColumn;
    Lines after;
};

TEST_F(MarkedAreaTest, MovingLandsAtTheSameTextPositionAsBeforeTheRemoval) {
    const MoveCase cases[] = {
        // Regression: the one line went into the target line as in-line text.
        {"a one-line line mark moves a whole line",
         {"AA", "BB", "cc", "dd"},
         MarkType::Line,
         {0, 0},
         {0, 0},
         3,
         1,
         {"BB", "cc", "AA", "dd"}},
        {"lines below",
         {"AA", "BB", "cc", "dd"},
         MarkType::Line,
         {0, 0},
         {0, 1},
         3,
         0,
         {"cc", "AA", "BB", "dd"}},
        {"lines above",
         {"cc", "dd", "AA", "BB"},
         MarkType::Line,
         {0, 2},
         {0, 3},
         0,
         0,
         {"AA", "BB", "cc", "dd"}},
        {"stream right on its line", {"AAa*", "x"}, MarkType::Stream, {0, 0}, {2, 0}, 0, 4, {"a*AA", "x"}},
        {"stream to a later line",
         {"xAAy", "zz", "ww"},
         MarkType::Stream,
         {1, 0},
         {3, 0},
         2,
         1,
         {"xy", "zz", "wAAw"}},
        {"lines of a stream to a later line",
         {"abCD", "EFgh", "ij", "kl"},
         MarkType::Stream,
         {2, 0},
         {2, 1},
         3,
         1,
         {"abgh", "ij", "kCD", "EFl"}},
        {"after its end on its last line",
         {"abCD", "EFgh", "ij", "kl"},
         MarkType::Stream,
         {2, 0},
         {2, 1},
         1,
         3,
         {"abgCD", "EFh", "ij", "kl"}},
        {"column right of it",
         {"aXXb", "cYYd", "ee"},
         MarkType::Column,
         {1, 0},
         {3, 1},
         1,
         4,
         {"ab", "cdXX", "eeYY"}},
    };
    for (const auto& c : cases) {
        setLines(document, c.before);
        mark(c.type, c.from, c.to);
        placeCursor(c.targetLine, c.targetColumn);
        document.nextGroup();
        const test::Snapshot before = test::snapshot(document);
        ASSERT_TRUE(area.moveMarkedArea(KeepMarked::Yes)) << c.name;
        document.nextGroup();
        EXPECT_EQ(linesOf(document), c.after) << c.name;
        EXPECT_EQ(document.mark().type, c.type) << c.name;
        ASSERT_TRUE(document.undo());
        EXPECT_TRUE(test::snapshot(document) == before)
            << c.name << ": " << test::describe(test::snapshot(document));
    }
}

TEST_F(MarkedAreaTest, MovingOrCopyingIntoTheAreaIsRefused) {
    setLines(document, {"abcdef", "ghijkl"});
    mark(MarkType::Stream, {1, 0}, {4, 0});
    placeCursor(0, 2);
    std::size_t records = document.undoStore().undoCount();
    EXPECT_FALSE(area.moveMarkedArea(KeepMarked::No));
    EXPECT_FALSE(area.copyMarkedArea(KeepMarked::No));
    EXPECT_EQ(document.undoStore().undoCount(), records);
    document.clearMark();
    EXPECT_FALSE(area.moveMarkedArea(KeepMarked::No));
}

TEST_F(MarkedAreaTest, CopyingTheAreaKeepsTheOriginal) {
    setLines(document, {"abcdef", "ghijkl"});
    mark(MarkType::Column, {1, 0}, {3, 1});
    placeCursor(1, 6);
    ASSERT_TRUE(area.copyMarkedArea(KeepMarked::No));
    EXPECT_EQ(linesOf(document), (Lines{"abcdef", "ghijklbc", "      hi"}));
    EXPECT_FALSE(document.hasMark());
    EXPECT_EQ(document.cursorLine(), 1);
    EXPECT_EQ(document.cursorColumn(), 6);
}

struct ApplyCase {
    const char* name;
    MarkType type;
    MarkPoint from;
    MarkPoint to;
    MarkedArea::LineOperation operation;
    Lines lines;
};

TEST_F(MarkedAreaTest, OperationsApplyToTheMarkedTextOnly) {
    const ApplyCase cases[] = {
        {"upper over a stream",
         MarkType::Stream,
         {2, 0},
         {3, 2},
         MarkedArea::caseChange(CaseChange::Upper),
         {"abCDEF", "GH", "IJKlm"}},
        {"swap over lines",
         MarkType::Line,
         {0, 1},
         {0, 1},
         MarkedArea::caseChange(CaseChange::Swap),
         {"abcdef", "GH", "ijklm"}},
        {"blank within lines",
         MarkType::Column,
         {1, 0},
         {4, 2},
         MarkedArea::blank(BlankReach::WithinLines),
         {"a   ef", "g ", "i   m"}},
        {"blank beyond line ends",
         MarkType::Column,
         {1, 0},
         {4, 2},
         MarkedArea::blank(BlankReach::BeyondLineEnds),
         {"a   ef", "g   ", "i   m"}},
    };
    for (const auto& c : cases) {
        setLines(document, {"abcdef", "gh", "ijklm"});
        mark(c.type, c.from, c.to);
        placeCursor(1, 1);
        document.nextGroup();
        area.applyToMarkedText(c.operation);
        document.nextGroup();
        EXPECT_EQ(linesOf(document), c.lines) << c.name;
        EXPECT_EQ(document.cursorLine(), 1) << c.name;
        EXPECT_EQ(document.cursorColumn(), 1) << c.name;
        EXPECT_TRUE(document.hasMark()) << c.name;
        ASSERT_TRUE(document.undo());
        EXPECT_EQ(linesOf(document), (Lines{"abcdef", "gh", "ijklm"})) << c.name;
    }
}

// In a UTF-8 document a column mark takes whole characters: a wide character (two cells) that
// the mark's start column cuts is taken, one its end column cuts is left; blanking a character
// gives as many blanks as it had cells; the clipboard holds UTF-8 whatever the document's encoding.
TEST_F(MarkedAreaTest, ColumnMarksOverMixedWidthsTakeWholeCharacters) {
    // Cells: "a" 0, "中" 1-2, "b" 3, "é" 4 / "xyzw" 0-3 / "中文" 0-1, 2-3. Columns 1 to 3 take "中",
    // "yz" and, on the last line, "中" (cut by the start) but not "文" (cut by the end).
    const Lines lines = {"a\xE4\xB8\xAD"
                         "b\xC3\xA9",
                         "xyzw", "\xE4\xB8\xAD\xE6\x96\x87"};
    setLines(document, lines);
    document.setEncoding(TextEncoding::Utf8);
    mark(MarkType::Column, {1, 0}, {3, 2});
    ASSERT_TRUE(area.copyToClipboard());
    EXPECT_EQ(clipboard.get()->text, "\xE4\xB8\xAD\r\nyz\r\n\xE4\xB8\xAD\r\n");

    area.applyToMarkedText(MarkedArea::blank(BlankReach::WithinLines));
    EXPECT_EQ(linesOf(document), (Lines{"a  b\xC3\xA9", "x  w", "  \xE6\x96\x87"}));
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(linesOf(document), lines);

    // The same bytes read as Windows-1252 go to the clipboard as the characters they stand for.
    document.setEncoding(TextEncoding::Windows1252);
    mark(MarkType::Stream, {4, 0}, {6, 0});
    ASSERT_TRUE(area.copyToClipboard());
    EXPECT_EQ(clipboard.get()->text, "b\xC3\x83");
}

TEST_F(MarkedAreaTest, APasteTheDocumentCannotHoldIsRefusedWhole) {
    test::RecordingMessenger messenger;
    document.setMessenger(&messenger);
    setLines(document, {"ab"});
    clipboard.putForeignText("\xC3\xA9 \xCE\xB1");
    EXPECT_FALSE(area.paste(MarkType::None));
    EXPECT_EQ(linesOf(document), Lines{"ab"});
    EXPECT_NE(messenger.lastStatus().find("U+03B1"), std::string::npos);
    clipboard.putForeignText("\xC3\xA9\xE2\x82\xAC");
    EXPECT_TRUE(area.paste(MarkType::None));
    EXPECT_EQ(linesOf(document), Lines{"\xE9\x80"
                                       "ab"});
}

// Regression: the width of a column block in columns was used as a number of bytes, so on lines
// with tabs the change spilled past the block.
TEST_F(MarkedAreaTest, ColumnOperationsCountDisplayColumnsOnLinesWithTabs) {
    // Tab size 3: in "\tabcd" the tab spans columns 0-2; in "x\tyz" columns 1-2.
    const ApplyCase cases[] = {
        {"upper",
         MarkType::Column,
         {0, 0},
         {4, 1},
         MarkedArea::caseChange(CaseChange::Upper),
         {"\tAbcd", "X\tYz"}},
        {"upper right of the tabs",
         MarkType::Column,
         {3, 0},
         {5, 1},
         MarkedArea::caseChange(CaseChange::Upper),
         {"\tABcd", "x\tYZ"}},
        {"blank within lines",
         MarkType::Column,
         {3, 0},
         {4, 1},
         MarkedArea::blank(BlankReach::WithinLines),
         {"\t bcd", "x\t z"}},
        {"blank beyond line ends",
         MarkType::Column,
         {4, 0},
         {7, 1},
         MarkedArea::blank(BlankReach::BeyondLineEnds),
         {"\ta   ", "x\ty   "}},
    };
    for (const auto& c : cases) {
        setLines(document, {"\tabcd", "x\tyz"});
        mark(c.type, c.from, c.to);
        document.nextGroup();
        area.applyToMarkedText(c.operation);
        document.nextGroup();
        EXPECT_EQ(linesOf(document), c.lines) << c.name;
    }
}

TEST_F(MarkedAreaTest, UndoingAPasteOfManyLinesShowsTheBusyCursor) {
    test::RecordingMessenger messenger;
    document.setMessenger(&messenger);
    setLines(document, {"top", "bottom"});
    std::string text;
    for (int i = 0; i < 10000; ++i) {
        text += "pasted line " + std::to_string(i) + "\r\n";
    }
    ASSERT_TRUE(clipboard.put(text, 1));
    document.goToLine(1);
    document.nextGroup();
    ASSERT_TRUE(area.paste());
    document.nextGroup();
    EXPECT_EQ(document.lineCount(), 10002);
    EXPECT_EQ(document.lineText(10000), "pasted line 9999");
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(linesOf(document), (Lines{"top", "bottom"}));
    EXPECT_EQ(messenger.busyShown(), 1);
    EXPECT_EQ(messenger.busyDepth(), 0);
}

} // namespace
} // namespace vexa
