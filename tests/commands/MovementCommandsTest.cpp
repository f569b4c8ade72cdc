// The movement and scroll functions through the processor: cursor rules, the three-press keys, pages.
#include "commands/MovementCommands.h"

#include "ProcessorFixture.h"

namespace vexa {
namespace {

using test::ProcessorTest;

struct MoveCase {
    const char* name;
    std::vector<std::string> lines;
    int line;
    int offset;
    FunctionId id;
    int32_t result;
    int expectedLine;
    int expectedOffset;
};

class MovementTest : public ProcessorTest {};

TEST_F(MovementTest, MovesTheCursorByTheRuleOfEachFunction) {
    const std::vector<std::string> two = {"  alpha beta", "gamma"};
    const std::vector<MoveCase> cases = {
        {"left", two, 0, 3, functionIdOf("MoveLineLeft"), 1, 0, 2},
        {"left at start stays", two, 1, 0, functionIdOf("MoveLineLeft"), 1, 1, 0},
        {"left ex wraps up", two, 1, 0, functionIdOf("MoveLineLeftEx"), 1, 0, 12},
        {"right", two, 0, 3, functionIdOf("MoveLineRight"), 1, 0, 4},
        {"right goes beyond the end", two, 1, 5, functionIdOf("MoveLineRight"), 1, 1, 6},
        {"right ex wraps down", two, 0, 12, functionIdOf("MoveLineRightEx"), 1, 1, 0},
        {"right ex beyond the end wraps", two, 0, 15, functionIdOf("MoveLineRightEx"), 1, 1, 0},
        {"home", two, 0, 7, functionIdOf("MoveLineHome"), 1, 0, 0},
        {"end", two, 0, 2, functionIdOf("MoveLineEnd"), 1, 0, 12},
        {"center rounds down", two, 1, 0, functionIdOf("MoveLineCenter"), 1, 1, 2},
        {"up keeps the column", two, 1, 3, functionIdOf("MoveLineUp"), 1, 0, 3},
        {"up from the first line", two, 0, 3, functionIdOf("MoveLineUp"), 0, 0, 3},
        {"up and first", two, 1, 4, functionIdOf("MoveLineUpAndFirst"), 1, 0, 2},
        {"up and last", two, 1, 0, functionIdOf("MoveLineUpAndLast"), 1, 0, 12},
        {"down and first", {"x", "   "}, 0, 1, functionIdOf("MoveLineDownAndFirst"), 1, 1, 1},
        {"down and last", two, 0, 0, functionIdOf("MoveLineDownAndLast"), 1, 1, 5},
        {"down from an empty last line", {"a", ""}, 1, 0, functionIdOf("MoveLineDown"), 0, 1, 0},
        {"document start", two, 1, 3, functionIdOf("MoveDocumentStart"), 1, 0, 0},
        {"document end", two, 0, 3, functionIdOf("MoveDocumentEnd"), 1, 1, 5},
        {"document center", {"a", "b", "c", "d", "e"}, 0, 0, functionIdOf("MoveDocumentCenter"), 1, 2, 0},
        {"word next over blanks", two, 0, 0, functionIdOf("MoveWordNext"), 1, 0, 2},
        {"word next to the next word", two, 0, 2, functionIdOf("MoveWordNext"), 1, 0, 8},
        {"word next stops at a break", {"call(x, y)"}, 0, 0, functionIdOf("MoveWordNext"), 1, 0, 4},
        {"word next over breaks and blanks", {"a(), b"}, 0, 1, functionIdOf("MoveWordNext"), 1, 0, 5},
        {"word next at the end", two, 0, 12, functionIdOf("MoveWordNext"), 0, 0, 12},
        {"word next ex to the next line", two, 0, 12, functionIdOf("MoveWordNextEx"), 1, 1, 0},
        {"word previous", two, 0, 12, functionIdOf("MoveWordPrevious"), 1, 0, 8},
        {"word previous from inside a word", two, 0, 10, functionIdOf("MoveWordPrevious"), 1, 0, 8},
        {"word previous over blanks", two, 0, 8, functionIdOf("MoveWordPrevious"), 1, 0, 2},
        {"word previous stops after a break", {"call(x"}, 0, 6, functionIdOf("MoveWordPrevious"), 1, 0, 5},
        {"word previous to the start", two, 0, 2, functionIdOf("MoveWordPrevious"), 1, 0, 0},
        {"word previous beyond the end", two, 1, 9, functionIdOf("MoveWordPrevious"), 1, 1, 5},
        {"word previous at the start", two, 1, 0, functionIdOf("MoveWordPrevious"), 0, 1, 0},
        {"word previous ex to the line above", two, 1, 0, functionIdOf("MoveWordPreviousEx"), 1, 0, 12},
        {"word start", two, 0, 5, functionIdOf("MoveWordStart"), 1, 0, 2},
        {"word end", two, 0, 3, functionIdOf("MoveWordEnd"), 1, 0, 7},
        {"word center", two, 0, 8, functionIdOf("MoveWordCenter"), 1, 0, 10},
        {"word inside a string", {"x = \"hello world\";"}, 0, 7, functionIdOf("MoveWordEnd"), 1, 0, 16},
        {"word start inside a string",
         {"x = \"hello world\";"},
         0,
         12,
         functionIdOf("MoveWordStart"),
         1,
         0,
         5},
        {"escaped quote does not open", {"a \\\"bc d"}, 0, 5, functionIdOf("MoveWordStart"), 1, 0, 4},
        // At the end of the document nothing moves and the result says so, so that a script's
        // loop over these functions ends. The line after a non-empty last line is the end.
        {"down past the last line", two, 2, 0, functionIdOf("MoveLineDown"), 0, 2, 0},
        {"down and first past the last line", two, 2, 0, functionIdOf("MoveLineDownAndFirst"), 0, 2, 0},
        {"down and last past the last line", two, 2, 0, functionIdOf("MoveLineDownAndLast"), 0, 2, 0},
        {"down onto the line after the last", two, 1, 0, functionIdOf("MoveLineDown"), 1, 2, 0},
        {"word next ex at the end", two, 2, 0, functionIdOf("MoveWordNextEx"), 0, 2, 0},
        {"right ex at the end", two, 2, 0, functionIdOf("MoveLineRightEx"), 0, 2, 0},
        {"right ex at the end of an empty last line",
         {"a", ""},
         1,
         0,
         functionIdOf("MoveLineRightEx"),
         0,
         1,
         0},
        // A column reached through tabs is kept far into a line without them.
        {"down keeps a column past byte 1024",
         {std::string(400, '\t'), std::string(2000, 'x')},
         0,
         400,
         functionIdOf("MoveLineDown"),
         1,
         1,
         1200},
    };
    for (const MoveCase& c : cases) {
        setLines(c.lines);
        place(c.line, c.offset);
        EXPECT_EQ(exec(c.id), c.result) << c.name;
        EXPECT_EQ(doc().cursorLine(), c.expectedLine) << c.name;
        EXPECT_EQ(doc().cursorOffset(), c.expectedOffset) << c.name;
    }
}

TEST_F(MovementTest, AScriptLoopOverMoveLineDownEnds) {
    setLines({"a", "b", "c"});
    int moves = 0;
    while (exec(functionIdOf("MoveLineDown")) != 0 && moves < 10) {
        ++moves;
    }
    EXPECT_EQ(moves, 3);
}

TEST_F(MovementTest, WordPositionsOffAWordAreReported) {
    for (FunctionId id :
         {functionIdOf("MoveWordStart"), functionIdOf("MoveWordEnd"), functionIdOf("MoveWordCenter")}) {
        setLines({"a  b"});
        place(0, 1);
        frame.clearEvents();
        EXPECT_EQ(exec(id), 0);
        EXPECT_EQ(doc().cursorOffset(), 1);
        ASSERT_EQ(statuses().size(), 1u);
        EXPECT_EQ(statuses()[0].text, "The cursor is not over a word.");
        EXPECT_EQ(statuses()[0].sound, platform::SoundKind::Information);
    }
}

TEST_F(MovementTest, RightDoesNotLeaveTheViewItStartsOutside) {
    setLines({"abcdefghij"});
    pane->setTextArea(5, 5);
    place(0, 4);
    exec(functionIdOf("MoveLineRight"));
    EXPECT_EQ(doc().cursorOffset(), 5);
    // The refresh brought column 5 into view; a view moved back leaves the cursor past its edge.
    EXPECT_EQ(pane->firstColumn(), 1);
    pane->scrollTo(0, 0);
    exec(functionIdOf("MoveLineRight"));
    EXPECT_EQ(doc().cursorOffset(), 5);
}

class ThreePressTest : public ProcessorTest {
protected:
    ThreePressTest() {
        std::vector<std::string> text;
        for (int i = 0; i < 100; ++i) {
            text.push_back("line " + std::to_string(i));
        }
        setLines(text);
        pane->setTextArea(40, 10);
        pane->scrollTo(40, 0);
        place(45, 3);
    }
};

TEST_F(ThreePressTest, HomeGoesToColumnZeroThenTheTopLineThenTheFirstLine) {
    const std::vector<std::pair<int, int>> steps = {{45, 0}, {40, 0}, {0, 0}, {0, 0}};
    for (const auto& [line, offset] : steps) {
        exec(functionIdOf("MoveDocumentStartEx"));
        EXPECT_EQ(doc().cursorLine(), line);
        EXPECT_EQ(doc().cursorOffset(), offset);
    }
}

TEST_F(ThreePressTest, EndGoesToTheLineEndThenTheLastVisibleLineThenTheLastLine) {
    const std::vector<std::pair<int, int>> steps = {{45, 7}, {49, 7}, {99, 7}};
    for (const auto& [line, offset] : steps) {
        exec(functionIdOf("MoveDocumentEndEx"));
        EXPECT_EQ(doc().cursorLine(), line);
        EXPECT_EQ(doc().cursorOffset(), offset);
    }
}

TEST_F(ThreePressTest, AnyCommandOrCharacterInBetweenStartsTheCycleAgain) {
    exec(functionIdOf("MoveDocumentStartEx"));
    exec(functionIdOf("MoveLineRight"));
    exec(functionIdOf("MoveDocumentStartEx"));
    EXPECT_EQ(doc().cursorLine(), 45);
    EXPECT_EQ(doc().cursorOffset(), 0);
    type("x");
    exec(functionIdOf("MoveDocumentStartEx"));
    EXPECT_EQ(doc().cursorLine(), 45);
    exec(functionIdOf("MoveDocumentStartEx"));
    EXPECT_EQ(doc().cursorLine(), 40);
}

TEST_F(ThreePressTest, TheShiftMarkingFunctionsDoNotBreakTheCycle) {
    exec(functionIdOf("MoveDocumentStartEx"));
    exec(kMarkCuaStart);
    exec(functionIdOf("MoveDocumentStartEx"));
    EXPECT_EQ(doc().cursorLine(), 40);
}

TEST_F(ThreePressTest, ActivatingAPaneForgetsTheCycle) {
    exec(functionIdOf("MoveDocumentStartEx"));
    processor.activatePane(pane.get());
    exec(functionIdOf("MoveDocumentStartEx"));
    EXPECT_EQ(doc().cursorLine(), 45);
}

TEST_F(ThreePressTest, PageFunctionsScrollAndKeepTheCursorDistance) {
    struct Case {
        FunctionId id;
        int top;
        int line;
    };
    // Starting from view top 40, cursor 45, a 10-line view pages by 9 lines.
    const std::vector<Case> cases = {
        {functionIdOf("MovePageDown"), 49, 54},   {functionIdOf("MovePageUp"), 31, 36},
        {functionIdOf("MovePageStart"), 40, 40},  {functionIdOf("MovePageEnd"), 40, 49},
        {functionIdOf("MovePageCenter"), 40, 45},
    };
    for (const Case& c : cases) {
        pane->scrollTo(40, 0);
        place(45, 3);
        exec(c.id);
        EXPECT_EQ(pane->topLine(), c.top) << c.id;
        EXPECT_EQ(doc().cursorLine(), c.line) << c.id;
    }
}

TEST_F(ThreePressTest, PagingAtTheEdgesGoesToTheFirstOrLastLine) {
    pane->scrollTo(0, 0);
    place(5, 2);
    exec(functionIdOf("MovePageUp"));
    EXPECT_EQ(doc().cursorLine(), 0);
    pane->scrollTo(90, 0);
    place(95, 2);
    exec(functionIdOf("MovePageDown"));
    EXPECT_EQ(doc().cursorLine(), 99);
    EXPECT_EQ(pane->topLine(), 90);
}

TEST_F(ThreePressTest, SidewaysPagesKeepTheDistanceFromTheFirstColumn) {
    setLines({std::string(200, 'x')});
    pane->setTextArea(40, 10);
    place(0, 10);
    exec(functionIdOf("MovePageRight"));
    EXPECT_EQ(pane->firstColumn(), 39);
    EXPECT_EQ(doc().cursorColumn(), 49);
    exec(functionIdOf("MovePageLeft"));
    EXPECT_EQ(pane->firstColumn(), 0);
    EXPECT_EQ(doc().cursorColumn(), 10);
}

TEST_F(ThreePressTest, ScrollFunctionsMoveViewAndCursorTogether) {
    struct Case {
        FunctionId id;
        int top;
        int first;
        int line;
        int offset;
    };
    const std::vector<Case> cases = {
        {functionIdOf("ScrollLineDown"), 41, 0, 46, 3},
        {functionIdOf("ScrollLineUp"), 39, 0, 44, 3},
        {functionIdOf("ScrollLineRight"), 40, 1, 45, 4},
        {functionIdOf("ScrollLineLeft"), 40, 0, 45, 2},
        {functionIdOf("ScrollLinePageStart"), 45, 0, 45, 3},
        {functionIdOf("ScrollLinePageEnd"), 36, 0, 45, 3},
        {functionIdOf("ScrollLinePageCenter"), 40, 0, 45, 3},
    };
    for (const Case& c : cases) {
        pane->scrollTo(40, 0);
        place(45, 3);
        exec(c.id);
        EXPECT_EQ(pane->topLine(), c.top) << c.id;
        EXPECT_EQ(pane->firstColumn(), c.first) << c.id;
        EXPECT_EQ(doc().cursorLine(), c.line) << c.id;
        EXPECT_EQ(doc().cursorOffset(), c.offset) << c.id;
    }
}

TEST_F(ThreePressTest, ScrollingTheCursorLineNeverGoesAboveTheFirstLine) {
    pane->scrollTo(0, 0);
    place(2, 0);
    exec(functionIdOf("ScrollLinePageEnd"));
    EXPECT_EQ(pane->topLine(), 0);
}

TEST_F(ThreePressTest, EdgeFunctionsUseTheVisibleColumns) {
    setLines({std::string(200, 'x')});
    pane->setTextArea(40, 10);
    pane->scrollTo(0, 20);
    place(0, 30);
    exec(functionIdOf("MoveLineLeftEdge"));
    EXPECT_EQ(doc().cursorColumn(), 20);
    exec(functionIdOf("MoveLineRightEdge"));
    EXPECT_EQ(doc().cursorColumn(), 59);
}

TEST_F(MovementTest, ACursorMoveRemovesAShiftMarking) {
    setLines({"abcdef"});
    place(0, 1);
    exec(kMarkCuaStart);
    exec(functionIdOf("MoveLineRight"));
    exec(functionIdOf("MoveLineRight"));
    exec(kMarkCuaEnd);
    ASSERT_TRUE(doc().hasMark());
    EXPECT_EQ(doc().mark().start().column, 1);
    EXPECT_EQ(doc().mark().end().column, 3);
    exec(functionIdOf("MoveLineRight"));
    EXPECT_FALSE(doc().hasMark());
}

} // namespace
} // namespace vexa
