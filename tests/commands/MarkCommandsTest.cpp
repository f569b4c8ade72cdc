// The marking functions and undo/redo through the processor: kinds, the marked text, paste, undo.
#include "commands/MarkCommands.h"

#include "ProcessorFixture.h"

namespace vexa {
namespace {

using test::ProcessorTest;
using Lines = std::vector<std::string>;

class MarkTest : public ProcessorTest {
protected:
    // Marks from one position to another with the given set and reset functions.
    void markFrom(int line, int offset, int toLine, int toOffset, const char* kind = "Block") {
        place(line, offset);
        exec(kindId(kind, "Set"));
        doc().moveToLine(toLine);
        doc().setCursorOffset(toOffset);
        exec(kindId(kind, "Reset"));
    }
    static FunctionId kindId(const std::string& kind, const std::string& action) {
        const FunctionId id = FunctionTable::standard().idOf("Mark" + kind + action);
        EXPECT_NE(id, kNoFunction) << kind << action;
        return id;
    }
};

TEST_F(MarkTest, SetFunctionsStartKeepOrChangeTheKind) {
    struct Case {
        const char* name;
        const char* first;  // the function that starts the marking
        const char* second; // the function under test, after the cursor moved to 1:3
        MarkType type;
        MarkPoint anchor;
        bool active;
    };
    const std::vector<Case> cases = {
        {"same kind changes nothing", "MarkBlockSet", "MarkBlockSet", MarkType::Stream, {1, 0}, true},
        {"another kind takes over and ends", "MarkBlockSet", "MarkLineSet", MarkType::Line, {1, 0}, false},
        {"set ex starts again", "MarkBlockSet", "MarkBlockSetEx", MarkType::Stream, {3, 1}, true},
        {"column set ex starts again", "MarkLineSet", "MarkColumnSetEx", MarkType::Column, {3, 1}, true},
        {"toggle of another kind sets", "MarkLineSet", "MarkColumnToggle", MarkType::Column, {1, 0}, false},
        {"toggle of the same kind removes",
         "MarkColumnSet",
         "MarkColumnToggle",
         MarkType::None,
         {0, 0},
         false},
    };
    for (const Case& c : cases) {
        setLines({"abcdef", "ghijkl"});
        place(0, 1);
        exec(FunctionTable::standard().idOf(c.first));
        exec(functionIdOf("MoveLineDown"));
        exec(functionIdOf("MoveLineRight"));
        exec(functionIdOf("MoveLineRight"));
        exec(FunctionTable::standard().idOf(c.second));
        EXPECT_EQ(doc().mark().type, c.type) << c.name;
        if (c.type != MarkType::None) {
            EXPECT_EQ(doc().mark().anchor, c.anchor) << c.name;
            EXPECT_EQ(doc().mark().moving, (MarkPoint{3, 1})) << c.name;
            EXPECT_EQ(doc().mark().active, c.active) << c.name;
        }
    }
}

TEST_F(MarkTest, CopyPutsTheMarkedTextAndTypeOnTheClipboard) {
    struct Case {
        const char* kind;
        std::string text;
        int32_t type;
    };
    const std::vector<Case> cases = {
        {"Line", "one two\r\nthree\r\n", 1},
        {"Block", "e two\r\nthre", 2},
        {"Column", "e \r\nre\r\n", 3},
    };
    for (const Case& c : cases) {
        setLines({"one two", "three", "four"});
        markFrom(0, 2, 1, 4, c.kind);
        EXPECT_EQ(exec(functionIdOf("MarkCopy")), 1) << c.kind;
        ASSERT_TRUE(clipboard.get()) << c.kind;
        EXPECT_EQ(clipboard.get()->text, c.text) << c.kind;
        EXPECT_EQ(clipboard.get()->privateMarkType, c.type) << c.kind;
        EXPECT_TRUE(doc().hasMark()) << c.kind;
    }
}

TEST_F(MarkTest, CopyRemovesTheMarkWhenTheKeymapSaysSo) {
    keymap.cutCopyRemoves = true;
    setLines({"one two"});
    markFrom(0, 0, 0, 3);
    exec(functionIdOf("MarkCopy"));
    EXPECT_EQ(clipboard.get()->text, "one");
    EXPECT_FALSE(doc().hasMark());
}

TEST_F(MarkTest, FunctionsOnTheMarkReturnZeroWithoutOne) {
    const std::vector<FunctionId> ids = {
        functionIdOf("MarkCopy"),          functionIdOf("MarkCut"),         functionIdOf("MarkDelete"),
        functionIdOf("MarkPaste"),         functionIdOf("MarkCaseUpper"),   functionIdOf("MarkShiftLeft"),
        functionIdOf("MarkFillWithSpace"), functionIdOf("MarkWriteToFile"),
    };
    for (FunctionId id : ids) {
        setLines({"abc"});
        clipboard.putForeignText("zz");
        EXPECT_EQ(exec(id), 0) << id;
        EXPECT_EQ(lines(), Lines{"abc"}) << id;
        EXPECT_EQ(clipboard.get()->text, "zz") << id;
    }
}

TEST_F(MarkTest, ExVariantsFallBackWithoutAMark) {
    struct Case {
        FunctionId id;
        Lines expected;
        std::string clip;
    };
    const std::vector<Case> cases = {
        {functionIdOf("MarkCutEx"), {"second"}, "first\r\n"},
        {functionIdOf("MarkCopyEx"), {"first", "second"}, "first\r\n"},
        {functionIdOf("MarkDeleteEx"), {"irst", "second"}, "zz"},
        {functionIdOf("MarkPasteEx"), {"zzfirst", "second"}, "zz"},
    };
    for (const Case& c : cases) {
        setLines({"first", "second"});
        clipboard.putForeignText("zz");
        EXPECT_EQ(exec(c.id), 1) << c.id;
        EXPECT_EQ(lines(), c.expected) << c.id;
        EXPECT_EQ(clipboard.get()->text, c.clip) << c.id;
    }
}

TEST_F(MarkTest, CutAndDeleteRemoveTheAreaAndTheMark) {
    // Cut removes the mark by the keymap's flag, as copy does; delete always does.
    for (const bool removes : {true, false}) {
        keymap.cutCopyRemoves = removes;
        setLines({"one two", "three"});
        markFrom(0, 4, 1, 2);
        EXPECT_EQ(exec(functionIdOf("MarkCut")), 1);
        EXPECT_EQ(lines(), Lines{"one ree"});
        EXPECT_EQ(clipboard.get()->text, "two\r\nth");
        EXPECT_EQ(doc().hasMark(), !removes) << removes;
    }

    setLines({"a", "b", "c"});
    markFrom(0, 0, 1, 0, "Line");
    EXPECT_EQ(exec(functionIdOf("MarkDelete")), 1);
    EXPECT_EQ(lines(), Lines{"c"});
    EXPECT_FALSE(doc().hasMark());
    exec(functionIdOf("Undo"));
    EXPECT_EQ(lines(), (Lines{"a", "b", "c"}));
}

// A column block far out on long lines cuts and pastes back in place.
TEST_F(MarkTest, AColumnBlockFarIntoLongLinesCutsAndPastes) {
    Lines original;
    for (int line = 0; line < 5; ++line) {
        std::string text;
        for (int i = 0; i < 5000; ++i) {
            text += static_cast<char>('a' + (i * 7 + line) % 26);
        }
        original.push_back(text);
    }
    setLines(original);
    markFrom(0, 2000, 4, 2010, "Column");
    EXPECT_EQ(exec(functionIdOf("MarkCut")), 1);
    Lines cut = original;
    for (std::string& text : cut) {
        text.erase(2000, 10);
    }
    EXPECT_EQ(lines(), cut);
    place(0, 2000);
    exec(functionIdOf("ClipboardPaste"));
    EXPECT_EQ(lines(), original);
}

TEST_F(MarkTest, PasteFunctions) {
    setLines({"abc def"});
    markFrom(0, 4, 0, 7);
    clipboard.putForeignText("XY");
    exec(functionIdOf("MarkPaste"));
    EXPECT_EQ(lines(), Lines{"abc XY"});

    setLines({"abc"});
    place(0, 1);
    clipboard.putForeignText("12");
    exec(functionIdOf("ClipboardPaste"));
    EXPECT_EQ(lines(), Lines{"a12bc"});

    setLines({"abc"});
    place(0, 1);
    exec(functionIdOf("ClipboardPasteAndMark"));
    EXPECT_EQ(lines(), Lines{"a12bc"});
    ASSERT_TRUE(doc().hasMark());
    EXPECT_TRUE(doc().isInside(0, 1));
    EXPECT_TRUE(doc().isInside(0, 2));
    EXPECT_FALSE(doc().isInside(0, 3));
}

TEST_F(MarkTest, CaseAndFillChangeOnlyTheMarkedText) {
    struct Case {
        FunctionId id;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {functionIdOf("MarkCaseUpper"), "abCD ef"},
        {functionIdOf("MarkCaseLower"), "abcd ef"},
        {functionIdOf("MarkCaseTranspose"), "abCD ef"},
        {functionIdOf("MarkFillWithSpace"), "ab   ef"},
    };
    for (const Case& c : cases) {
        setLines({"abcd ef"});
        if (c.id == functionIdOf("MarkCaseLower")) {
            setLines({"abCD ef"});
        }
        markFrom(0, 2, 0, 4);
        EXPECT_EQ(exec(c.id), 1) << c.id;
        EXPECT_EQ(doc().lineText(0), c.expected) << c.id;
    }
}

TEST_F(MarkTest, MoveAndCopyToTheCursor) {
    setLines({"abc", "def", "ghi"});
    markFrom(0, 0, 1, 0, "Line");
    place(2, 0);
    EXPECT_EQ(exec(functionIdOf("MarkCopyToCursor")), 1);
    EXPECT_EQ(lines(), (Lines{"abc", "def", "abc", "def", "ghi"}));

    setLines({"abc", "def", "ghi"});
    markFrom(0, 0, 1, 0, "Line");
    place(0, 1);
    frame.clearEvents();
    EXPECT_EQ(exec(functionIdOf("MarkMoveToCursor")), 0);
    EXPECT_EQ(frame.lastStatus(), "You have requested an invalid 'move marked area' operation.");
    EXPECT_EQ(lines(), (Lines{"abc", "def", "ghi"}));
}

TEST_F(MarkTest, SelectAllMarksEveryLine) {
    setLines({"a", "b", "c"});
    place(1, 0);
    exec(functionIdOf("MarkSelectAll"));
    EXPECT_EQ(doc().mark().type, MarkType::Line);
    EXPECT_EQ(doc().mark().firstLine(), 0);
    EXPECT_EQ(doc().mark().lastLine(), 2);
    EXPECT_TRUE(doc().mark().active);

    setLines({"a", "b", "c"});
    exec(functionIdOf("MarkSelectAllEx"));
    EXPECT_EQ(doc().mark().lastLine(), 2);
    EXPECT_FALSE(doc().mark().active);
}

TEST_F(MarkTest, WordMarks) {
    struct Case {
        FunctionId id;
        int from;
        int to;
    };
    const std::vector<Case> cases = {
        {functionIdOf("MarkWordCurrent"), 4, 9},
        {functionIdOf("MarkWordStart"), 4, 6},
        {functionIdOf("MarkWordEnd"), 6, 9},
    };
    for (const Case& c : cases) {
        setLines({"int count;"});
        place(0, 6);
        EXPECT_EQ(exec(c.id), 1);
        EXPECT_EQ(doc().mark().start(), (MarkPoint{c.from, 0})) << c.id;
        EXPECT_EQ(doc().mark().end(), (MarkPoint{c.to, 0})) << c.id;
    }
    place(0, 3);
    EXPECT_EQ(exec(functionIdOf("MarkWordCurrent")), 0);
    EXPECT_EQ(frame.lastStatus(), "The cursor is not over a word.");
}

TEST_F(MarkTest, UndoRedoAndFlush) {
    type("ab");
    exec(functionIdOf("Undo"));
    EXPECT_EQ(doc().lineText(0), "a");
    exec(functionIdOf("Redo"));
    EXPECT_EQ(doc().lineText(0), "ab");
    exec(functionIdOf("UndoFlush"));
    EXPECT_EQ(frame.lastStatus(), "Undo/Redo buffers have been flushed.");
    EXPECT_EQ(statuses().back().sound, platform::SoundKind::None);
    frame.clearEvents();
    exec(functionIdOf("Undo"));
    ASSERT_EQ(statuses().size(), 1u);
    EXPECT_EQ(statuses()[0].text, "Nothing to undo!");
    EXPECT_EQ(statuses()[0].sound, platform::SoundKind::Information);
    EXPECT_EQ(doc().lineText(0), "ab");
}

TEST_F(MarkTest, WriteToFileWritesTheMarkedLines) {
    setLines({"one", "two", "three"});
    markFrom(1, 0, 2, 0, "Line");
    const std::string path = m_home.file("part.txt");
    frame.chooseNextSave(path);
    EXPECT_EQ(exec(functionIdOf("MarkWriteToFile")), 1);
    EXPECT_EQ(test::readFileBytes(path), "two\r\nthree\r\n");
    EXPECT_EQ(frame.lastStatus(), "Write successful.");
    EXPECT_TRUE(frame.unexpected().empty());
}

} // namespace
} // namespace vexa
