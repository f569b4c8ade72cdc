// Typing aids through the processor: tab stops, smart indent, smart brace, the Enter family and wrap.
#include "commands/TypingRoad.h"

#include "ProcessorFixture.h"

namespace vexa {
namespace {

using test::ProcessorTest;
using Lines = std::vector<std::string>;

class TypingTest : public ProcessorTest {
protected:
    void expectCursor(int line, int column, const char* what) {
        EXPECT_EQ(doc().cursorLine(), line) << what;
        EXPECT_EQ(doc().cursorColumn(), column) << what;
    }
};

struct TabCase {
    const char* name;
    int tabSize;
    int insertMode;
    int useTabs;
    FunctionId id;
    std::string line;
    int offset;
    std::string expected;
    int column;
};

TEST_F(TypingTest, TabFunctionsFollowTheTabStops) {
    const std::vector<TabCase> cases = {
        {"spaces to the next stop", 3, 1, 0, functionIdOf("TabChar"), "abcd", 4, "abcd  ", 6},
        {"a tab character", 3, 1, 1, functionIdOf("TabChar"), "abcd", 4, "abcd\t", 6},
        {"overwrite only moves", 3, 0, 0, functionIdOf("TabChar"), "abcdefgh", 4, "abcdefgh", 6},
        {"spaces from a stop", 3, 1, 0, functionIdOf("TabChar"), "abc", 3, "abc   ", 6},
        {"hard tab ignores UseTabs 0", 3, 1, 0, functionIdOf("TabHard"), "ab", 2, "ab\t", 3},
        {"soft tab ignores UseTabs 1", 3, 1, 1, functionIdOf("TabSoft"), "ab", 2, "ab ", 3},
        {"back from 7 to 3", 3, 1, 0, functionIdOf("TabBackChar"), "abcdefgh", 7, "abcdefgh", 3},
        {"back from 6 to 3", 3, 1, 0, functionIdOf("TabBackChar"), "abcdefgh", 6, "abcdefgh", 3},
        {"back from 5 to 0", 3, 1, 0, functionIdOf("TabBackChar"), "abcdefgh", 5, "abcdefgh", 0},
        {"tab without a mark types", 4, 1, 0, functionIdOf("Tab"), "x", 1, "x   ", 4},
        {"tab back without a mark moves", 4, 1, 0, functionIdOf("TabBack"), "abcdefghij", 9, "abcdefghij", 4},
        {"tab in overwrite mode moves", 4, 0, 0, functionIdOf("Tab"), "abcdefghij", 1, "abcdefghij", 4},
        {"tab size 0 counts as 1", 0, 1, 0, functionIdOf("TabChar"), "abcd", 4, "abcd ", 5},
        {"negative tab size counts as 1", -3, 1, 0, functionIdOf("TabBackChar"), "abcd", 4, "abcd", 3},
    };
    for (const TabCase& c : cases) {
        options.editor().tabSize = c.tabSize;
        options.editor().insertMode = c.insertMode;
        options.editor().useTabs = c.useTabs;
        setLines({c.line});
        place(0, c.offset);
        EXPECT_EQ(exec(c.id), 1) << c.name;
        EXPECT_EQ(doc().lineText(0), c.expected) << c.name;
        EXPECT_EQ(doc().cursorColumn(), c.column) << c.name;
    }
}

TEST_F(TypingTest, AForcedTabFillLastsForOneCall) {
    options.editor().useTabs = 0;
    setLines({"ab"});
    place(0, 2);
    exec(functionIdOf("TabHard"));
    exec(functionIdOf("TabChar"));
    EXPECT_EQ(doc().lineText(0), "ab\t   ");
}

TEST_F(TypingTest, TabShiftsTheMarkedLinesInInsertMode) {
    setLines({"a", "  b", "", "c"});
    place(0, 0);
    exec(functionIdOf("MarkLineSet"));
    exec(functionIdOf("MoveLineDown"));
    exec(functionIdOf("MoveLineDown"));
    exec(functionIdOf("Tab"));
    EXPECT_EQ(lines(), (Lines{"   a", "     b", "", "c"}));
    exec(functionIdOf("TabBack"));
    exec(functionIdOf("TabBack"));
    EXPECT_EQ(lines(), (Lines{"a", "b", "", "c"}));
}

TEST_F(TypingTest, ShiftFillsWithTabsWhenUseTabsIsOn) {
    options.editor().useTabs = 1;
    setLines({"x", "y"});
    exec(functionIdOf("MarkLineSet"));
    exec(functionIdOf("MoveLineDown"));
    exec(functionIdOf("MarkShiftRight"));
    exec(functionIdOf("MarkShiftRight"));
    EXPECT_EQ(lines(), (Lines{"\t\tx", "\t\ty"}));
    EXPECT_EQ(exec(functionIdOf("MarkHide")), 1);
    EXPECT_EQ(exec(functionIdOf("MarkShiftRight")), 0);
}

struct EnterCase {
    const char* name;
    Lines lines;
    int line;
    int offset;
    FunctionId id;
    Lines expected;
    int cursorLine;
    int cursorColumn;
};

TEST_F(TypingTest, EnterFamilyWithSmartIndent) {
    const std::vector<EnterCase> cases = {
        {"indent carried to an empty line", {"   foo"}, 0, 6, functionIdOf("Enter"), {"   foo", ""}, 1, 3},
        {"split line is re-indented",
         {"   foo   bar"},
         0,
         9,
         functionIdOf("Enter"),
         {"   foo   ", "   bar"},
         1,
         3},
        {"blank lines are skipped upwards",
         {"  x", "", "y"},
         2,
         0,
         functionIdOf("Enter"),
         {"  x", "", "", "  y"},
         3,
         2},
        {"open keeps the cursor above", {"abc def"}, 0, 4, functionIdOf("EnterOpen"), {"abc ", "def"}, 0, 4},
        {"next does not break the line",
         {"  abc def"},
         0,
         3,
         functionIdOf("EnterNext"),
         {"  abc def", ""},
         1,
         2},
        {"line adds no indent", {"   foo"}, 0, 3, functionIdOf("EnterLine"), {"   ", "foo"}, 1, 0},
    };
    for (const EnterCase& c : cases) {
        setLines(c.lines);
        place(c.line, c.offset);
        EXPECT_EQ(exec(c.id), 1) << c.name;
        EXPECT_EQ(lines(), c.expected) << c.name;
        expectCursor(c.cursorLine, c.cursorColumn, c.name);
    }
}

TEST_F(TypingTest, WithoutSmartIndentANewLineStartsAtColumnZero) {
    options.editor().smartIndent = 0;
    setLines({"   foo bar"});
    place(0, 7);
    exec(functionIdOf("Enter"));
    EXPECT_EQ(lines(), (Lines{"   foo ", "bar"}));
    expectCursor(1, 0, "no indent");
}

TEST_F(TypingTest, EnterInOverwriteModeOnlyMovesDownButEnterNextStillOpensALine) {
    options.editor().insertMode = 0;
    setLines({"abc", "def"});
    place(0, 1);
    exec(functionIdOf("Enter"));
    EXPECT_EQ(lines(), (Lines{"abc", "def"}));
    EXPECT_EQ(doc().cursorLine(), 1);
    exec(functionIdOf("EnterNext"));
    EXPECT_EQ(lines(), (Lines{"abc", "def", ""}));
    EXPECT_EQ(doc().cursorLine(), 2);
}

TEST_F(TypingTest, EnterReplacesTheMarkWhenTheKeymapSaysSo) {
    keymap.keyRemovesMark = true;
    setLines({"abcdef"});
    place(0, 1);
    exec(functionIdOf("MarkBlockSet"));
    exec(functionIdOf("MoveLineRight"));
    exec(functionIdOf("MoveLineRight"));
    exec(functionIdOf("MarkBlockReset"));
    exec(functionIdOf("Enter"));
    EXPECT_EQ(lines(), (Lines{"a", "def"}));
}

TEST_F(TypingTest, SmartBraceLayoutsInTheDefaultMode) {
    const std::vector<EnterCase> cases = {
        {"no closing brace below", {"if (x) {"}, 0, 8, functionIdOf("Enter"), {"if (x) {", "   ", "}"}, 1, 3},
        {"indented brace line",
         {"   if (x) {"},
         0,
         11,
         functionIdOf("Enter"),
         {"   if (x) {", "      ", "   }"},
         1,
         6},
        {"cursor beyond the end counts as at the end",
         {"f() {"},
         0,
         9,
         functionIdOf("Enter"),
         {"f() {", "   ", "}"},
         1,
         3},
        {"closing brace at the same column",
         {"{", "}"},
         0,
         1,
         functionIdOf("Enter"),
         {"{", "   ", "}"},
         1,
         3},
        {"closing brace on the same line", {"{ x }"}, 0, 1, functionIdOf("Enter"), {"{", "   x }"}, 1, 3},
        {"nested braces are counted",
         {"{", "  { }", "}"},
         0,
         1,
         functionIdOf("Enter"),
         {"{", "   ", "  { }", "}"},
         1,
         3},
        {"closing brace at another column",
         {"if (a) {", "  }"},
         0,
         8,
         functionIdOf("Enter"),
         {"if (a) {", "   ", "}", "  }"},
         1,
         3},
    };
    for (const EnterCase& c : cases) {
        setLines(c.lines);
        place(c.line, c.offset);
        exec(c.id);
        EXPECT_EQ(lines(), c.expected) << c.name;
        expectCursor(c.cursorLine, c.cursorColumn, c.name);
    }
}

TEST_F(TypingTest, SmartBraceLayoutsWithBracesIndentedWithTheBlock) {
    options.editor().smartBraceMode = 1;
    const std::vector<EnterCase> cases = {
        {"brace alone on its line",
         {"if (x)", "{"},
         1,
         1,
         functionIdOf("Enter"),
         {"if (x)", "   {", "", "   }"},
         2,
         3},
        {"brace after text", {"if (x) {"}, 0, 8, functionIdOf("Enter"), {"if (x) {", "   ", "   }"}, 1, 3},
    };
    for (const EnterCase& c : cases) {
        setLines(c.lines);
        place(c.line, c.offset);
        exec(c.id);
        EXPECT_EQ(lines(), c.expected) << c.name;
        expectCursor(c.cursorLine, c.cursorColumn, c.name);
    }
}

// Regression: in overwrite mode the layout wrote "}" over the first character of the next line.
TEST_F(TypingTest, SmartBraceNeverOverwritesText) {
    options.editor().insertMode = 0;
    const std::vector<std::pair<int, EnterCase>> cases = {
        {0,
         {"default mode",
          {"if (x) {", "important();"},
          0,
          8,
          functionIdOf("Enter"),
          {"if (x) {", "", "}", "important();"},
          1,
          3}},
        {1,
         {"brace alone on its line",
          {"if (x)", "{", "body"},
          1,
          1,
          functionIdOf("Enter"),
          {"if (x)", "   {", "", "   }", "body"},
          2,
          3}},
        {1,
         {"brace after text",
          {"if (x) {", "body"},
          0,
          8,
          functionIdOf("Enter"),
          {"if (x) {", "", "   }", "body"},
          1,
          3}},
    };
    for (const auto& [mode, c] : cases) {
        options.editor().smartBraceMode = mode;
        setLines(c.lines);
        place(c.line, c.offset);
        exec(c.id);
        EXPECT_EQ(lines(), c.expected) << c.name;
        expectCursor(c.cursorLine, c.cursorColumn, c.name);
    }
}

// Regression: Enter at column 0 tested the brace right of the cursor and added a stray "}".
TEST_F(TypingTest, SmartBraceNeedsTheBraceLeftOfTheCursor) {
    setLines({"{x", "}"});
    place(0, 0);
    exec(functionIdOf("Enter"));
    EXPECT_EQ(lines(), (Lines{"", "{x", "}"}));
    expectCursor(1, 0, "on the brace line");
}

TEST_F(TypingTest, SmartBraceStaysOutOfTheWayWhenOffOrWhileATemplateTypes) {
    for (int pass = 0; pass < 2; ++pass) {
        options.editor().smartBrace = pass == 0 ? 0 : 1;
        processor.setTemplateTyping(pass == 1);
        setLines({"if (x) {"});
        place(0, 8);
        exec(functionIdOf("Enter"));
        EXPECT_EQ(lines(), (Lines{"if (x) {", ""})) << pass;
    }
}

// Seen in the window: Enter after "{" put a "}" below; typing "}" right before it doubled it.
TEST_F(TypingTest, ATypedClosingBraceStepsOverTheOneSmartBraceTyped) {
    setLines({"if (x) {"});
    place(0, 8);
    exec(functionIdOf("Enter"));
    type("a;");
    exec(functionIdOf("Enter"));
    type("b;");
    ASSERT_EQ(lines(), (Lines{"if (x) {", "   a;", "   b;", "}"}));
    place(3, 0);
    type("}");
    EXPECT_EQ(lines(), (Lines{"if (x) {", "   a;", "   b;", "}"}));
    expectCursor(3, 1, "after the brace it stepped over");
    type("}");
    EXPECT_EQ(lines(), (Lines{"if (x) {", "   a;", "   b;", "}}"})) << "only once";
}

TEST_F(TypingTest, ABraceSmartBraceDidNotTypeIsNotSteppedOver) {
    struct Case {
        const char* name;
        int smartBrace;
        Lines lines;
        int line;
        int offset;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"typed by hand", 1, {"{", "   a;", "}"}, 2, 0, {"{", "   a;", "}}"}},
        {"smart brace off", 0, {"{", "   a;", "}"}, 2, 0, {"{", "   a;", "}}"}},
    };
    for (const Case& c : cases) {
        options.editor().smartBrace = c.smartBrace;
        setLines(c.lines);
        place(c.line, c.offset);
        type("}");
        EXPECT_EQ(lines(), c.expected) << c.name;
    }
}

TEST_F(TypingTest, AnAutomaticBraceIsNotSteppedOverOnceItsLineChanged) {
    setLines({"f() {"});
    place(0, 5);
    exec(functionIdOf("Enter"));
    place(2, 0);
    type("x");
    place(2, 1);
    type("}");
    EXPECT_EQ(lines(), (Lines{"f() {", "   ", "x}}"}));
}

TEST_F(TypingTest, AClosingBraceTypedOnALineOfBlanksTakesTheIndentOfItsOpeningLine) {
    struct Case {
        const char* name;
        Lines lines;
        int line;
        Lines expected;
        int cursorColumn;
    };
    const std::vector<Case> cases = {
        {"spaces", {"  if (x) {", "      a;", "      "}, 2, {"  if (x) {", "      a;", "  }"}, 3},
        {"tabs", {"\tif (x) {", "\t\ta;", "\t\t"}, 2, {"\tif (x) {", "\t\ta;", "\t}"}, 4},
        {"nested block counted", {"f() {", "  { }", "     "}, 2, {"f() {", "  { }", "}"}, 1},
        {"empty line", {"    {", ""}, 1, {"    {", "    }"}, 5},
        {"no opening brace", {"a;", "    "}, 1, {"a;", "    }"}, 5},
        {"text before the brace", {"  {", "  x"}, 1, {"  {", "  x}"}, 4},
    };
    for (const Case& c : cases) {
        setLines(c.lines);
        place(c.line, static_cast<int>(c.lines[c.line].size()));
        type("}");
        EXPECT_EQ(lines(), c.expected) << c.name;
        expectCursor(c.line, c.cursorColumn, c.name);
    }
}

TEST_F(TypingTest, TypingPastTheWrapColumnBreaksAtTheLastBlank) {
    options.editor().lineWrap = 1;
    options.editor().wrapColumn = 10;
    type("hello world again");
    EXPECT_EQ(lines(), (Lines{"hello ", "world ", "again"}));
    expectCursor(2, 5, "end of the last piece");
}

// Regression: in overwrite mode the wrap moved to the next line and typed over it.
TEST_F(TypingTest, WrapInOverwriteModeOpensALine) {
    options.editor().lineWrap = 1;
    options.editor().wrapColumn = 10;
    options.editor().insertMode = 0;
    setLines({"", "keep this"});
    type("hello world again");
    EXPECT_EQ(lines(), (Lines{"hello ", "world ", "again", "keep this"}));
    expectCursor(2, 5, "end of the last piece");
}

TEST_F(TypingTest, WrapInsideALineKeepsTheCursorOnItsCharacter) {
    options.editor().lineWrap = 1;
    options.editor().wrapColumn = 10;
    setLines({"aaaa bbbbbb"});
    place(0, 10);
    type("X");
    EXPECT_EQ(lines(), (Lines{"aaaa ", "bbbbbXb"}));
    expectCursor(1, 6, "after the X");
}

TEST_F(TypingTest, WrapIndentsTheNewLineLikeTheOneAbove) {
    options.editor().lineWrap = 1;
    options.editor().wrapColumn = 12;
    setLines({"    one two"});
    place(0, 11);
    type(" six");
    // The space that reached the wrap column opens the new line and gives way to the indent.
    EXPECT_EQ(lines(), (Lines{"    one two", "    six"}));
}

TEST_F(TypingTest, WithoutLineWrapLongLinesStay) {
    options.editor().wrapColumn = 5;
    type("abc def ghi");
    EXPECT_EQ(lines(), (Lines{"abc def ghi"}));
}

TEST_F(TypingTest, LineWrapBreaksTheCursorLineAndPutsTheCursorBack) {
    options.editor().wrapColumn = 10;
    setLines({"one two three four"});
    place(0, 2);
    exec(functionIdOf("LineWrap"));
    EXPECT_EQ(lines(), (Lines{"one two ", "three four"}));
    expectCursor(0, 2, "back");
}

TEST_F(TypingTest, LineWrapMarkedAreaReflowsTheMarkedLines) {
    options.editor().wrapColumn = 10;
    setLines({"aa bb", "cc dd", "ee", "tail"});
    place(2, 0);
    exec(functionIdOf("MarkLineSet"));
    exec(functionIdOf("MoveLineUp"));
    exec(functionIdOf("MoveLineUp"));
    exec(functionIdOf("MarkLineReset"));
    EXPECT_EQ(exec(functionIdOf("LineWrapMarkedArea")), 1);
    EXPECT_EQ(lines(), (Lines{"aa bb cc ", "dd ee", "tail"}));
    EXPECT_FALSE(doc().hasMark());
    expectCursor(0, 0, "back");
    EXPECT_EQ(exec(functionIdOf("LineWrapMarkedArea")), 0);
}

TEST_F(TypingTest, LineWrapMarkedAreaInOverwriteModeChangesOnlyTheMarkedLines) {
    options.editor().wrapColumn = 10;
    options.editor().insertMode = 0;
    setLines({"aa bb", "cc dd", "ee", "tail"});
    place(2, 0);
    exec(functionIdOf("MarkLineSet"));
    exec(functionIdOf("MoveLineUp"));
    exec(functionIdOf("MoveLineUp"));
    exec(functionIdOf("MarkLineReset"));
    EXPECT_EQ(exec(functionIdOf("LineWrapMarkedArea")), 1);
    EXPECT_EQ(lines(), (Lines{"aa bb cc ", "dd ee", "tail"}));
}

TEST_F(TypingTest, ToggleFunctionsSwitchTheLineWrapOption) {
    exec(functionIdOf("LineWrapToggle"));
    EXPECT_EQ(options.editor().lineWrap, 1);
    EXPECT_EQ(frame.lastStatus(), "The automatic line wrapping feature is 'On'");
    exec(functionIdOf("LineWrapToggle"));
    EXPECT_EQ(options.editor().lineWrap, 0);
    EXPECT_EQ(frame.lastStatus(), "The automatic line wrapping feature is 'Off'");
}

// Characters that reach the processor as typed characters (macro events, scripts): a line end
// splits the line plainly and NUL is refused; nothing stores LF, CR or NUL inside a line.
TEST_F(TypingTest, LineEndAndNulCharactersNeverGoInsideALine) {
    options.editor().smartIndent = 1;
    options.editor().smartBrace = 1;
    struct Case {
        const char* name;
        std::u32string typed;
        Lines expected;
        int cursorLine;
        int cursorOffset;
    };
    const std::vector<Case> cases = {
        {"LF", U"\n", {"  {a", "b"}, 1, 0},
        {"CR", U"\r", {"  {a", "b"}, 1, 0},
        {"CR LF typed as two events makes two line ends", U"\r\n", {"  {a", "", "b"}, 2, 0},
        {"NUL", std::u32string(1, U'\0'), {"  {ab"}, 0, 4},
    };
    for (const Case& c : cases) {
        setLines({"  {ab"});
        place(0, 4);
        for (char32_t ch : c.typed) {
            EXPECT_TRUE(processor.typeCharacter(ch)) << c.name;
        }
        EXPECT_EQ(lines(), c.expected) << c.name;
        EXPECT_EQ(doc().cursorLine(), c.cursorLine) << c.name;
        EXPECT_EQ(doc().cursorOffset(), c.cursorOffset) << c.name;
    }
    EXPECT_EQ(frame.lastStatus(), "A null character can not be typed into a document.");
}

TEST_F(TypingTest, TypedTextTakesCrLfAsOneLineEnd) {
    setLines({"ab"});
    place(0, 1);
    type("1\r\n2\r3\n4");
    EXPECT_EQ(lines(), (Lines{"a1", "2", "3", "4b"}));
}

struct UndoWordsCase {
    const char* name;
    int undoWords;
    const char* typed;
    // The line after each Undo, until the line is empty.
    std::vector<std::string> afterEachUndo;
};

TEST_F(TypingTest, UndoWordsGroupsTheCharactersOfOneWord) {
    const UndoWordsCase cases[] = {
        {"off: one character a step", 0, "ab c", {"ab ", "ab", "a", ""}},
        {"on: a word a step, the blank alone", 1, "ab cd", {"ab ", "ab", ""}},
        {"on: punctuation stands alone", 1, "x=y1", {"x=", "x", ""}},
    };
    for (const UndoWordsCase& c : cases) {
        options.editor().undoWords = c.undoWords;
        setLines({""});
        type(c.typed);
        for (const std::string& expected : c.afterEachUndo) {
            ASSERT_NE(exec(functionIdOf("Undo")), 0) << c.name;
            EXPECT_EQ(lines(), Lines{expected}) << c.name;
        }
        EXPECT_TRUE(doc().undoStore().isEmpty()) << c.name;
    }
}

TEST_F(TypingTest, AFunctionBetweenTypedCharactersEndsTheWordsUndoStep) {
    options.editor().undoWords = 1;
    setLines({""});
    type("ab");
    exec(functionIdOf("MoveLineLeft"));
    type("c");
    ASSERT_NE(exec(functionIdOf("Undo")), 0);
    EXPECT_EQ(lines(), Lines{"ab"});
}

} // namespace
} // namespace vexa
