// The document's operations: cursor rules, filling, lines, new line, words, case, marks.
#include "core/Document.h"

#include <functional>
#include <climits>
#include <gtest/gtest.h>

#include "DocumentFixture.h"
#include "support/RecordingMessenger.h"

namespace vexa {
namespace {

using test::linesOf;
using test::setLines;

class BreakRules final : public LanguageRules {
public:
    std::string_view wordBreakCharacters() const override { return "(),;"; }
};

class FixedCuaRule final : public CuaMarkingRule {
public:
    explicit FixedCuaRule(bool allowed) : m_allowed(allowed) {}
    bool cuaMarkingAllowed() const override { return m_allowed; }

private:
    bool m_allowed;
};

TEST(Document, CursorOffsetReachesAnyLengthAndAFixedDistancePastTheEnd) {
    const int past = Document::kMaxPastEnd;
    struct OffsetCase {
        int lineLength;
        int request;
        int expected;
    };
    const OffsetCase cases[] = {{0, 5000, 5000},          {0, -3, 0},
                                {0, 7, 7},                {0, past + 1, past},
                                {100'000, 100'000, 100'000}, {100'000, 99'999, 99'999},
                                {100'000, 100'000 + past + 9, 100'000 + past}, {0, INT_MAX, past}};
    for (const auto& c : cases) {
        Document document;
        document.makeNew();
        if (c.lineLength > 0) {
            document.insertLine(DocLine(std::string(static_cast<std::size_t>(c.lineLength), 'a')));
            document.moveToLine(0);
        }
        document.setCursorOffset(c.request);
        EXPECT_EQ(document.cursorOffset(), c.expected) << c.lineLength << " " << c.request;
    }
}

TEST(Document, TypingBeyondTheEndFillsAndUndoesAsOneStep) {
    Document document;
    document.makeNew();
    document.goToPosition(0, 10);
    document.nextGroup();
    document.typeCharacter('x');
    EXPECT_EQ(document.lineText(0), std::string(10, ' ') + "x");
    EXPECT_EQ(document.cursorOffset(), 11);
    document.nextGroup();
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(document.lineText(0), "");
    EXPECT_EQ(document.cursorOffset(), 10);
    EXPECT_FALSE(document.isModified());
}

struct FillCase {
    int tabSize;
    bool useTabs;
    const char* text;
    int column;
    const char* expected;
    int cursorAfter;
};

TEST(Document, FillingUpToTheCursorUsesTabsOnlyWhenAsked) {
    const FillCase cases[] = {
        {3, true, "", 10, "\t\t\t x", 5}, {4, true, "ab", 9, "ab\t\t x", 6}, {4, true, "abcd", 4, "abcdx", 5},
        {4, false, "ab", 5, "ab   x", 6}, {3, true, "ab", 3, "ab\tx", 4},    {8, true, "a", 5, "a    x", 6},
    };
    for (const auto& c : cases) {
        Document document;
        document.setSettings({.tabSize = c.tabSize, .useTabs = c.useTabs});
        setLines(document, {c.text});
        document.goToPosition(0, c.column);
        document.typeCharacter('x');
        EXPECT_EQ(document.lineText(0), c.expected) << c.text << " column " << c.column;
        EXPECT_EQ(document.cursorOffset(), c.cursorAfter) << c.text << " column " << c.column;
    }
}

TEST(Document, MovingDownFromTheLastLineDependsOnWhetherItIsEmpty) {
    Document document;
    setLines(document, {"abc", ""});
    document.goToLine(1);
    EXPECT_FALSE(document.nextLine());
    EXPECT_EQ(document.cursorLine(), 1);

    setLines(document, {"abc", "def"});
    document.goToLine(1);
    EXPECT_TRUE(document.nextLine());
    EXPECT_EQ(document.cursorLine(), 2);
    EXPECT_EQ(document.lineCount(), 2); // the line there appears with the first change
    document.typeCharacter('g');
    EXPECT_EQ(linesOf(document), (std::vector<std::string>{"abc", "def", "g"}));
}

TEST(Document, GoingToAnotherLineKeepsTheDisplayColumn) {
    Document document;
    setLines(document, {"a\tb", "abcdef", "\t\tz", "x"});
    document.setCursorOffset(3); // column 4 behind the b
    ASSERT_EQ(document.cursorColumn(), 4);
    document.goToLine(1);
    EXPECT_EQ(document.cursorOffset(), 4);
    document.goToLine(2); // column 4 lies inside the second tab
    EXPECT_EQ(document.cursorOffset(), 1);
    EXPECT_EQ(document.cursorColumn(), 3);
    document.goToLine(3); // beyond the end of "x"
    EXPECT_EQ(document.cursorOffset(), 3);
}

struct NewLineCase {
    const char* name;
    bool insertMode;
    NewLineMode mode;
    int offset;
    std::vector<std::string> lines;
    int cursorLine;
    int cursorColumn;
};

TEST(Document, NewLineSplitsOpensOrMoves) {
    const NewLineCase cases[] = {
        {"middle splits", true, NewLineMode::ByInsertMode, 2, {"he", "llo", "next"}, 1, 2},
        {"start opens above", true, NewLineMode::ByInsertMode, 0, {"", "hello", "next"}, 1, 0},
        {"end opens below", true, NewLineMode::ByInsertMode, 5, {"hello", "", "next"}, 1, 5},
        {"beyond opens below", true, NewLineMode::ByInsertMode, 8, {"hello", "", "next"}, 1, 8},
        {"overwrite moves only", false, NewLineMode::ByInsertMode, 2, {"hello", "next"}, 1, 2},
        {"overwrite forced splits", false, NewLineMode::Forced, 2, {"he", "llo", "next"}, 1, 2},
    };
    for (const auto& c : cases) {
        Document document;
        document.setSettings({.insertMode = c.insertMode});
        setLines(document, {"hello", "next"});
        document.setCursorOffset(c.offset);
        document.newLine(c.mode);
        EXPECT_EQ(linesOf(document), c.lines) << c.name;
        EXPECT_EQ(document.cursorLine(), c.cursorLine) << c.name;
        EXPECT_EQ(document.cursorColumn(), c.cursorColumn) << c.name;
    }
}

TEST(Document, DeletingJoinsAtTheEndAndDoesNothingAtTheEndOfTheLastLine) {
    Document document;
    setLines(document, {"ab", "cd"});
    document.setCursorOffset(2);
    document.deleteCharacters();
    EXPECT_EQ(linesOf(document), std::vector<std::string>{"abcd"});

    document.setCursorOffset(4);
    std::size_t records = document.undoStore().undoCount();
    int modifications = document.modificationCount();
    document.deleteCharacters(3);
    EXPECT_EQ(linesOf(document), std::vector<std::string>{"abcd"});
    EXPECT_EQ(document.undoStore().undoCount(), records);
    EXPECT_EQ(document.modificationCount(), modifications);

    setLines(document, {"ab", "cd"});
    document.setCursorOffset(4); // beyond the end: filled, then joined
    document.deleteCharacters();
    EXPECT_EQ(linesOf(document), std::vector<std::string>{"ab  cd"});
}

struct RangeCase {
    const char* name;
    std::function<void(Document&)> action;
    const char* expected;
    int cursorOffset;
};

TEST(Document, LineRangeDeletions) {
    const RangeCase cases[] = {
        {"to start",
         [](Document& d) {
             d.setCursorOffset(3);
             d.deleteToLineStart();
         },
         "\tdef", 0},
        {"to end",
         [](Document& d) {
             d.setCursorOffset(3);
             d.deleteToLineEnd();
         },
         "abc", 3},
        {"to end beyond",
         [](Document& d) {
             d.setCursorOffset(20);
             d.deleteToLineEnd();
         },
         "abc\tdef", 20},
        {"columns across a tab", [](Document& d) { d.deleteColumnRange(2, 6); }, "abdef", 2},
        {"columns past the end", [](Document& d) { d.deleteColumnRange(7, 40); }, "abc\td", 5},
        {"columns all beyond", [](Document& d) { d.deleteColumnRange(20, 40); }, "abc\tdef", 18},
    };
    for (const auto& c : cases) {
        Document document;
        setLines(document, {"abc\tdef", "next"});
        c.action(document);
        EXPECT_EQ(document.lineText(0), c.expected) << c.name;
        EXPECT_EQ(document.lineText(1), "next") << c.name;
        EXPECT_EQ(document.cursorOffset(), c.cursorOffset) << c.name;
    }
}

TEST(Document, LineOperationsAreRefusedWhereNoLineExists) {
    test::RecordingMessenger messenger;
    Document document;
    document.setMessenger(&messenger);
    setLines(document, {"only"});
    // Joining at the last line is an ordinary refusal.
    EXPECT_FALSE(document.joinLine());
    EXPECT_TRUE(messenger.boxes().empty());
    // A line that does not exist is an internal error, reported with the module's name.
    EXPECT_FALSE(document.deleteLine(1));
    EXPECT_FALSE(document.deleteLine(-1));
    ASSERT_EQ(messenger.boxes().size(), 2u);
    EXPECT_EQ(messenger.boxes()[0].text.rfind("Unexpected Error in File: QLWDAC01 at Line: ", 0), 0u)
        << messenger.boxes()[0].text;
    EXPECT_EQ(messenger.boxes()[0].title, "Vexa Error");
    document.moveToLine(1);
    EXPECT_FALSE(document.joinLine());
    document.changeCase(0, 3, CaseChange::Upper);
    EXPECT_EQ(messenger.boxes().size(), 4u);
    EXPECT_EQ(document.lineText(0), "only");
    EXPECT_TRUE(document.deleteLine(0));
    EXPECT_EQ(document.lineCount(), 0);
    EXPECT_EQ(document.line(5).text(), "");
}

struct CaseChangeCase {
    CaseChange change;
    int column;
    int count;
    const char* expected;
};

TEST(Document, CaseChangesTouchOnlyTheRangeAndKeepTheCursor) {
    const CaseChangeCase cases[] = {
        {CaseChange::Upper, 0, 100, "HELLO, WORLD 42"}, {CaseChange::Lower, 0, 5, "hello, World 42"},
        {CaseChange::Swap, 7, 5, "Hello, wORLD 42"},    {CaseChange::Upper, 13, 5, "Hello, World 42"},
        {CaseChange::Swap, 30, 5, "Hello, World 42"},
    };
    for (const auto& c : cases) {
        Document document;
        setLines(document, {"Hello, World 42"});
        document.setCursorOffset(3);
        document.changeCase(c.column, c.count, c.change);
        EXPECT_EQ(document.lineText(0), c.expected);
        EXPECT_EQ(document.cursorOffset(), 3);
    }
}

TEST(Document, WordsEndAtBlanksAndBreakCharacters) {
    Document document;
    document.setLanguageRules(std::make_shared<BreakRules>());
    setLines(document, {"foo(bar, baz)  qux"});
    EXPECT_EQ(document.wordAt(1), std::make_pair(0, 3));
    EXPECT_EQ(document.wordAt(5), std::make_pair(4, 7));
    EXPECT_EQ(document.wordAt(3), std::make_pair(3, 3));
    EXPECT_EQ(document.wordAt(8), std::make_pair(8, 8));
    const std::pair<int, int> next[] = {{0, 3}, {3, 4}, {4, 7}, {7, 9}, {12, 15}, {15, 18}, {18, 18}};
    for (auto [from, to] : next) {
        EXPECT_EQ(document.nextWordOffset(from), to) << from;
    }
    const std::pair<int, int> previous[] = {{18, 15}, {15, 12}, {9, 7}, {7, 4}, {4, 3}, {3, 0}, {0, 0}};
    for (auto [from, to] : previous) {
        EXPECT_EQ(document.previousWordOffset(from), to) << from;
    }
}

struct FollowCase {
    const char* name;
    MarkType type;
    bool ruleAllows;
    bool replaying;
    bool cleared;
};

TEST(Document, APlainCursorMoveRemovesTheMarkByTheCuaRule) {
    const FollowCase cases[] = {
        {"cua mark, rule off", MarkType::CuaStream, false, false, true},
        {"line mark, rule on", MarkType::Line, true, false, true},
        {"line mark, rule off", MarkType::Line, false, false, false},
        {"column mark, rule on, replaying", MarkType::Column, true, true, false},
        {"cua mark, replaying", MarkType::CuaStream, true, true, false},
    };
    for (const auto& c : cases) {
        Document document;
        document.setCuaMarkingRule(std::make_shared<FixedCuaRule>(c.ruleAllows));
        setLines(document, {"abcdef", "ghijkl", "mnopqr"});
        document.beginMark(c.type);
        document.markStart();
        document.goToPosition(1, 3);
        document.markEnd();
        ASSERT_TRUE(document.hasMark()) << c.name;
        document.setReplaying(c.replaying);
        document.setCursorOffset(1);
        document.setReplaying(false);
        EXPECT_EQ(!document.hasMark(), c.cleared) << c.name;
    }
}

TEST(Document, AnActiveMarkFollowsTheCursor) {
    Document document;
    setLines(document, {"abcdef", "ghijkl", "mnopqr"});
    document.setCursorOffset(2);
    document.beginMark(MarkType::Stream);
    document.markStart();
    document.goToLine(2);
    document.setCursorOffset(4);
    EXPECT_EQ(document.mark().moving, (MarkPoint{4, 2}));
    EXPECT_EQ(document.mark().anchor, (MarkPoint{2, 0}));
    EXPECT_TRUE(document.isInside(1, 0));
    EXPECT_TRUE(document.isInside(2, 3));
    EXPECT_FALSE(document.isInside(2, 4));
    EXPECT_FALSE(document.isInside(0, 1));
    document.markEnd();
    EXPECT_FALSE(document.mark().active);
    EXPECT_EQ(document.mark().moving, (MarkPoint{4, 2}));
    document.goToLine(0); // without a keymap's rule the CUA rule is on
    EXPECT_FALSE(document.hasMark());
}

TEST(Document, MarkEndWithoutAnAreaRemovesTheType) {
    Document document;
    setLines(document, {"abc"});
    document.beginMark(MarkType::Column);
    document.markStart();
    document.markEnd();
    EXPECT_EQ(document.mark().type, MarkType::None);
    document.beginMark(MarkType::Line);
    document.markStart();
    document.markEnd();
    EXPECT_EQ(document.mark().type, MarkType::Line);
    EXPECT_TRUE(document.hasMark());
}

TEST(Document, PainterFlagsShowWhichLinesChanged) {
    Document document;
    setLines(document, {"a", "b", "c"});
    for (int i = 0; i < 3; ++i) {
        document.clearLineChanged(i);
    }
    document.takeRedrawAll();
    document.goToLine(1);
    document.typeCharacter('x');
    EXPECT_FALSE(document.line(2).isChanged());
    EXPECT_TRUE(document.line(1).isChanged());
    EXPECT_FALSE(document.takeRedrawAll());
    document.insertEmptyLine();
    EXPECT_TRUE(document.takeRedrawAll());
}

TEST(Document, NamePartOfANewDocumentIsBadTxt) {
    Document document;
    EXPECT_EQ(document.namePart(), "bad.txt");
    document.setFileName("/home/user/src/main.c");
    EXPECT_EQ(document.namePart(), "main.c");
}

} // namespace
} // namespace vexa
