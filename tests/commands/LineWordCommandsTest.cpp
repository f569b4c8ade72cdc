// Text changes on the cursor line, its characters and its word, through the processor.
#include "commands/LineCommands.h"
#include "commands/WordCommands.h"

#include "ProcessorFixture.h"

namespace vexa {
namespace {

using test::ProcessorTest;
using Lines = std::vector<std::string>;

struct ChangeCase {
    const char* name;
    Lines lines;
    int line;
    int offset;
    FunctionId id;
    Lines expected;
    int cursorLine;
    int cursorOffset;
    TextEncoding encoding = TextEncoding::Windows1252;
};

class LineWordTest : public ProcessorTest {
protected:
    void runCases(const std::vector<ChangeCase>& cases) {
        for (const ChangeCase& c : cases) {
            setLines(c.lines, c.encoding);
            place(c.line, c.offset);
            exec(c.id);
            EXPECT_EQ(lines(), c.expected) << c.name;
            EXPECT_EQ(doc().cursorLine(), c.cursorLine) << c.name;
            EXPECT_EQ(doc().cursorOffset(), c.cursorOffset) << c.name;
        }
    }
};

TEST_F(LineWordTest, CharacterFunctions) {
    const Lines two = {"abcd", "xy"};
    runCases({
        {"backspace", two, 0, 2, functionIdOf("Backspace"), {"acd", "xy"}, 0, 1},
        {"backspace at the start stays", two, 1, 0, functionIdOf("Backspace"), two, 1, 0},
        {"backspace beyond the end only moves", two, 1, 5, functionIdOf("Backspace"), two, 1, 4},
        {"backspace ex joins at the start", two, 1, 0, functionIdOf("BackspaceEx"), {"abcdxy"}, 0, 4},
        {"backspace ex elsewhere", two, 1, 1, functionIdOf("BackspaceEx"), {"abcd", "y"}, 1, 0},
        {"delete", two, 0, 1, functionIdOf("CharDelete"), {"acd", "xy"}, 0, 1},
        {"delete at the end joins", two, 0, 4, functionIdOf("CharDelete"), {"abcdxy"}, 0, 4},
        {"delete at the end of the last line", two, 1, 2, functionIdOf("CharDelete"), two, 1, 2},
        {"swap next", two, 0, 1, functionIdOf("CharSwapNext"), {"acbd", "xy"}, 0, 1},
        {"swap next at the last character", two, 0, 3, functionIdOf("CharSwapNext"), two, 0, 3},
        {"swap previous", two, 0, 2, functionIdOf("CharSwapPrevious"), {"acbd", "xy"}, 0, 2},
        {"swap previous at column 0", two, 0, 0, functionIdOf("CharSwapPrevious"), two, 0, 0},
        {"copy from above", {"abcd", "x"}, 1, 1, functionIdOf("CharCopyFromLineAbove"), {"abcd", "xb"}, 1, 2},
        {"copy from above past its end",
         {"ab", "wxyz"},
         1,
         3,
         functionIdOf("CharCopyFromLineAbove"),
         {"ab", "wxy z"},
         1,
         4},
        {"copy from below", {"a", "klm"}, 0, 1, functionIdOf("CharCopyFromLineBelow"), {"al", "klm"}, 0, 2},
        {"copy from above on the first line", two, 0, 1, functionIdOf("CharCopyFromLineAbove"), two, 0, 1},
        {"copy from below on the last line", two, 1, 1, functionIdOf("CharCopyFromLineBelow"), two, 1, 1},
        {"insert space", two, 0, 2, functionIdOf("InsertSpace"), {"ab cd", "xy"}, 0, 2},
    });
}

TEST_F(LineWordTest, CharacterFunctionsTakeWholeUtf8Characters) {
    constexpr auto kUtf8 = TextEncoding::Utf8;
    // a, e acute (2 bytes), a CJK ideograph (3 bytes), b.
    const Lines mixed = {"a\xC3\xA9\xE4\xB8\xAD"
                         "b",
                         "x\xE4\xB8\xADy"};
    runCases({
        {"backspace over a sequence",
         mixed,
         0,
         6,
         functionIdOf("Backspace"),
         {"a\xC3\xA9"
          "b",
          mixed[1]},
         0,
         3,
         kUtf8},
        {"delete a sequence",
         mixed,
         0,
         3,
         functionIdOf("CharDelete"),
         {"a\xC3\xA9"
          "b",
          mixed[1]},
         0,
         3,
         kUtf8},
        {"delete a two-byte one",
         mixed,
         0,
         1,
         functionIdOf("CharDelete"),
         {"a\xE4\xB8\xAD"
          "b",
          mixed[1]},
         0,
         1,
         kUtf8},
        {"swap next",
         mixed,
         0,
         1,
         functionIdOf("CharSwapNext"),
         {"a\xE4\xB8\xAD\xC3\xA9"
          "b",
          mixed[1]},
         0,
         1,
         kUtf8},
        {"swap previous",
         mixed,
         0,
         3,
         functionIdOf("CharSwapPrevious"),
         {"a\xE4\xB8\xAD\xC3\xA9"
          "b",
          mixed[1]},
         0,
         4,
         kUtf8},
        {"reverse keeps sequences whole",
         mixed,
         0,
         0,
         functionIdOf("LineTextReverse"),
         {"b\xE4\xB8\xAD\xC3\xA9"
          "a",
          mixed[1]},
         0,
         0,
         kUtf8},
        // Column 1 of the line below lies in the wide character's cells: the whole character is copied.
        {"copy a wide character from below",
         {"ab", "x\xE4\xB8\xADy"},
         0,
         1,
         functionIdOf("CharCopyFromLineBelow"),
         {"a\xE4\xB8\xAD"
          "b",
          "x\xE4\xB8\xADy"},
         0,
         4,
         kUtf8},
        // The same bytes in a Windows-1252 document are characters of one byte.
        {"backspace in windows-1252",
         mixed,
         0,
         6,
         functionIdOf("Backspace"),
         {"a\xC3\xA9\xE4\xB8"
          "b",
          mixed[1]},
         0,
         5},
    });
}

TEST_F(LineWordTest, LineFunctions) {
    const Lines three = {"one two", "three", "four"};
    runCases({
        {"delete line keeps the column", three, 0, 4, functionIdOf("LineDelete"), {"three", "four"}, 0, 4},
        {"delete the last line", three, 2, 2, functionIdOf("LineDelete"), {"one two", "three"}, 1, 2},
        {"delete to the end", three, 0, 3, functionIdOf("LineDeleteEnd"), {"one", "three", "four"}, 0, 3},
        {"delete end at the end changes nothing", three, 0, 7, functionIdOf("LineDeleteEnd"), three, 0, 7},
        {"delete end ex at the end joins",
         three,
         0,
         7,
         functionIdOf("LineDeleteEndEx"),
         {"one twothree", "four"},
         0,
         7},
        {"delete end ex inside",
         three,
         1,
         2,
         functionIdOf("LineDeleteEndEx"),
         {"one two", "th", "four"},
         1,
         2},
        {"delete to the start", three, 0, 4, functionIdOf("LineDeleteStart"), {"two", "three", "four"}, 0, 0},
        {"lower", {"MiXeD 1"}, 0, 2, functionIdOf("LineCaseLower"), {"mixed 1"}, 0, 2},
        {"upper", {"MiXeD 1"}, 0, 2, functionIdOf("LineCaseUpper"), {"MIXED 1"}, 0, 2},
        {"transpose", {"MiXeD 1"}, 0, 2, functionIdOf("LineCaseTranspose"), {"mIxEd 1"}, 0, 2},
        {"reverse", {"abc de"}, 0, 1, functionIdOf("LineTextReverse"), {"ed cba"}, 0, 1},
    });
}

TEST_F(LineWordTest, LineCopyAndCutsUseTheClipboard) {
    struct Case {
        FunctionId id;
        int offset;
        Lines expected;
        std::string clip;
        int32_t type;
    };
    const std::vector<Case> cases = {
        {functionIdOf("LineCopy"), 2, {"hello world", "next"}, "hello world\r\n", 1},
        {functionIdOf("LineCut"), 2, {"next"}, "hello world\r\n", 1},
        {functionIdOf("LineCutEnd"), 5, {"hello", "next"}, " world", 2},
        {functionIdOf("LineCutStart"), 6, {"world", "next"}, "hello ", 2},
        {functionIdOf("LineCutEndEx"), 6, {"hello ", "next"}, "world", 2},
    };
    for (const Case& c : cases) {
        setLines({"hello world", "next"});
        clipboard.clear();
        place(0, c.offset);
        EXPECT_EQ(exec(c.id), 1) << c.id;
        EXPECT_EQ(lines(), c.expected) << c.id;
        ASSERT_TRUE(clipboard.get().has_value()) << c.id;
        EXPECT_EQ(clipboard.get()->text, c.clip) << c.id;
        EXPECT_EQ(clipboard.get()->privateMarkType, c.type) << c.id;
    }
    setLines({"hello world", "next"});
    clipboard.putForeignText("kept");
    place(0, 11);
    exec(functionIdOf("LineCutEndEx"));
    EXPECT_EQ(lines(), (Lines{"hello worldnext"}));
    EXPECT_EQ(clipboard.get()->text, "kept");
}

TEST_F(LineWordTest, WordFunctions) {
    const Lines line = {"int count = value;"};
    runCases({
        {"delete word", line, 0, 6, functionIdOf("WordDelete"), {"int  = value;"}, 0, 4},
        {"delete to word start", line, 0, 6, functionIdOf("WordDeleteStart"), {"int unt = value;"}, 0, 4},
        {"delete to word end", line, 0, 6, functionIdOf("WordDeleteEnd"), {"int co = value;"}, 0, 6},
        {"delete next", line, 0, 4, functionIdOf("WordDeleteNext"), {"int = value;"}, 0, 4},
        {"delete previous", line, 0, 12, functionIdOf("WordDeletePrevious"), {"int count value;"}, 0, 10},
        {"delete previous at the start", line, 0, 0, functionIdOf("WordDeletePrevious"), line, 0, 0},
        {"delete next at the end", line, 0, 18, functionIdOf("WordDeleteNext"), line, 0, 18},
        {"upper", line, 0, 5, functionIdOf("WordCaseUpper"), {"int COUNT = value;"}, 0, 5},
        {"lower", {"A BIG one"}, 0, 3, functionIdOf("WordCaseLower"), {"A big one"}, 0, 3},
        {"transpose", {"A BiG one"}, 0, 3, functionIdOf("WordCaseTranspose"), {"A bIg one"}, 0, 3},
        {"reverse", line, 0, 5, functionIdOf("WordTextReverse"), {"int tnuoc = value;"}, 0, 5},
        {"inside a string", {"s = \"a b\";"}, 0, 6, functionIdOf("WordDelete"), {"s = \"\";"}, 0, 5},
    });
}

TEST_F(LineWordTest, WordFunctionsOffAWordReportIt) {
    const std::vector<FunctionId> ids = {functionIdOf("WordDelete"),      functionIdOf("WordDeleteEnd"),
                                         functionIdOf("WordDeleteStart"), functionIdOf("WordCaseUpper"),
                                         functionIdOf("WordTextReverse"), functionIdOf("WordCopy"),
                                         functionIdOf("WordCut")};
    for (FunctionId id : ids) {
        setLines({"a  ;  b"});
        place(0, 3);
        frame.clearEvents();
        EXPECT_EQ(exec(id), 0) << id;
        EXPECT_EQ(doc().lineText(0), "a  ;  b") << id;
        EXPECT_EQ(frame.lastStatus(), "The cursor is not over a word.") << id;
    }
}

TEST_F(LineWordTest, WordCopyAndCut) {
    setLines({"alpha beta"});
    place(0, 7);
    exec(functionIdOf("WordCopy"));
    EXPECT_EQ(clipboard.get()->text, "beta");
    EXPECT_EQ(doc().lineText(0), "alpha beta");
    place(0, 1);
    exec(functionIdOf("WordCut"));
    EXPECT_EQ(clipboard.get()->text, "alpha");
    EXPECT_EQ(doc().lineText(0), " beta");
}

TEST_F(LineWordTest, WordReverseTakesAtMostEightyCharacters) {
    const std::string word = std::string(80, 'a') + std::string(5, 'b');
    setLines({word});
    place(0, 0);
    exec(functionIdOf("WordTextReverse"));
    EXPECT_EQ(doc().lineText(0), std::string(80, 'a') + std::string(5, 'b'));
    setLines({std::string(79, 'a') + "b" + "cc"});
    exec(functionIdOf("WordTextReverse"));
    EXPECT_EQ(doc().lineText(0), "b" + std::string(79, 'a') + "cc");
}

TEST_F(LineWordTest, WordReverseKeepsUtf8CharactersWhole) {
    constexpr auto kUtf8 = TextEncoding::Utf8;
    const FunctionId reverse = functionIdOf("WordTextReverse");
    // h, e acute (2 bytes), l, l, o.
    const std::string hello = "h\xC3\xA9llo";
    // x, 78 e acutes, a CJK ideograph (3 bytes) as the 80th character, then b.
    const std::string long80 = std::string("x") + [] {
        std::string e;
        for (int i = 0; i < 78; ++i) {
            e += "\xC3\xA9";
        }
        return e;
    }() + "\xE4\xB8\xAD" + "b";
    runCases({
        {"two-byte character", {hello + " x"}, 0, 1, reverse, {"oll\xC3\xA9h x"}, 0, 1, kUtf8},
        {"three-byte characters",
         {"a\xE4\xB8\xAD\xE6\x96\x87z"},
         0,
         0,
         reverse,
         {"z\xE6\x96\x87\xE4\xB8\xAD"
          "a"},
         0,
         0,
         kUtf8},
        {"eighty characters, not eighty bytes",
         {long80},
         0,
         0,
         reverse,
         {std::string("\xE4\xB8\xAD") + long80.substr(1, 156) + "x" + "b"},
         0,
         0,
         kUtf8},
    });
}

TEST_F(LineWordTest, LineChangesUndoInOneStep) {
    setLines({"Hello World"});
    place(0, 3);
    exec(functionIdOf("LineCaseUpper"));
    exec(functionIdOf("LineTextReverse"));
    exec(functionIdOf("Undo"));
    EXPECT_EQ(doc().lineText(0), "HELLO WORLD");
    exec(functionIdOf("Undo"));
    EXPECT_EQ(doc().lineText(0), "Hello World");
    EXPECT_FALSE(doc().isModified());
}

// Regression: deleting where no line exists failed without a word.
TEST_F(LineWordTest, DeletingTheLineAfterTheLastReportsAnInternalError) {
    setLines({"a", "b"});
    place(2, 0);
    EXPECT_EQ(exec(functionIdOf("LineDelete")), 0);
    EXPECT_EQ(lines(), (std::vector<std::string>{"a", "b"}));
    const auto boxes = frame.eventsOf(FrameEventKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Unexpected Error in File: QLWDAC01 at Line: ", 0), 0u) << boxes[0].text;
}

TEST_F(LineWordTest, AMarkReachingTheLineAfterTheLastDeletesWithoutAnError) {
    const std::pair<FunctionId, std::vector<std::string>> cases[] = {
        {functionIdOf("MarkLineSet"), {"a"}},
        {functionIdOf("MarkBlockSet"), {"a", ""}},
    };
    for (const auto& [kind, expected] : cases) {
        setLines({"a", "b"});
        place(1, 0);
        exec(kind);
        exec(functionIdOf("MoveLineDown"));
        exec(functionIdOf("MarkDelete"));
        EXPECT_EQ(lines(), expected) << kind;
        EXPECT_TRUE(frame.eventsOf(FrameEventKind::MessageBox).empty()) << kind;
    }
}

} // namespace
} // namespace vexa
