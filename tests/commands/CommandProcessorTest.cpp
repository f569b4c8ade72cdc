// The execute road and the typing road of the command processor: counts, hooks, guards, groups, hold.
#include "commands/CommandProcessor.h"
#include "settings/Format.h"

#include "ProcessorFixture.h"
#include "frame/StatusLine.h"

namespace vexa {
namespace {

using platform::SoundKind;
using test::FakeRecorder;
using test::FakeTemplates;
using test::ProcessorTest;

TEST_F(ProcessorTest, CountsEveryDispatchedIdentifierButNotTheInternalShiftFunctions) {
    struct Case {
        uint32_t id;
        uint32_t countAfter;
        int32_t result;
    };
    const std::vector<Case> cases = {
        {functionIdOf("MoveLineEnd"), 1, 1},
        {kMarkCuaStart, 1, 1},
        {kMarkCuaEnd, 1, 1},
        {1500, 2, 0}, // no record: reaches the frame
        {1095, 3, 0}, // reserved
        {999, 4, 0},
        {functionIdOf("HelpAbout"), 5, 0}, // not in the road yet
    };
    for (const Case& c : cases) {
        EXPECT_EQ(exec(static_cast<FunctionId>(c.id)), c.result) << c.id;
        EXPECT_EQ(processor.commandCount(), c.countAfter) << c.id;
    }
}

TEST_F(ProcessorTest, OnlyTheLowSixteenBitsCarryTheIdentifier) {
    setLines({"abc"});
    EXPECT_EQ(processor.execute(0x70000u | functionIdOf("MoveLineEnd"), kKeyboardCommandSource), 1);
    EXPECT_EQ(doc().cursorOffset(), 3);
}

TEST_F(ProcessorTest, ResetsThePrefixAfterEveryFunctionWithARecord) {
    keymap.armed = true;
    EXPECT_EQ(exec(functionIdOf("HelpAbout")), 0);
    EXPECT_FALSE(keymap.armed);
    keymap.armed = true;
    exec(functionIdOf("MoveLineHome"));
    EXPECT_FALSE(keymap.armed);
    EXPECT_EQ(keymap.resets, 2);
}

TEST_F(ProcessorTest, RecordsFunctionsExceptTheFourNeverRecorded) {
    FakeRecorder recorder;
    linkHooks(recorder, noTemplates);
    const std::vector<FunctionId> sent = {
        functionIdOf("MoveLineEnd"),
        functionIdOf("MacroPlay"),
        functionIdOf("MacroRepeat"),
        functionIdOf("MacroRecordToggle"),
        functionIdOf("MacroSave"),
        functionIdOf("MacroRecordReset"),
        kMarkCuaStart,
        functionIdOf("MoveLineHome"),
    };
    for (FunctionId id : sent) {
        exec(id);
    }
    const std::vector<uint16_t> expected = {functionIdOf("MoveLineEnd"), functionIdOf("MacroRecordReset"),
                                            kMarkCuaStart, functionIdOf("MoveLineHome")};
    EXPECT_EQ(recorder.functions, expected);
    type("ab");
    EXPECT_EQ(recorder.characters, "ab");
}

TEST_F(ProcessorTest, ReadOnlyGuardRefusesEveryBuiltTextChangingFunction) {
    const std::vector<FunctionId> guarded = {
        functionIdOf("LineDelete"),      functionIdOf("LineCut"),      functionIdOf("WordDelete"),
        functionIdOf("Enter"),           functionIdOf("Tab"),          functionIdOf("Backspace"),
        functionIdOf("CharDelete"),      functionIdOf("MarkDelete"),   functionIdOf("LineWrap"),
        functionIdOf("StampYear"),       functionIdOf("SpaceDelete"),  functionIdOf("InsertSpace"),
        functionIdOf("LineCaseUpper"),   functionIdOf("CharSwapNext"), functionIdOf("LineTextReverse"),
        functionIdOf("WordTextReverse"), functionIdOf("Undo"),         functionIdOf("FileInsertAtCursor"),
    };
    for (FunctionId id : guarded) {
        setLines({"alpha beta", "gamma"});
        place(0, 2);
        doc().beginMark(MarkType::Line);
        doc().markStart();
        doc().setReadOnly(true);
        frame.clearEvents();
        EXPECT_EQ(exec(id), 0) << id;
        EXPECT_EQ(lines(), (std::vector<std::string>{"alpha beta", "gamma"})) << id;
        ASSERT_EQ(statuses().size(), 1u) << id;
        EXPECT_EQ(statuses()[0].text, kReadOnlyMessage);
        EXPECT_EQ(statuses()[0].sound, SoundKind::Information);
    }
}

TEST_F(ProcessorTest, ReadOnlyDocumentStillMovesAndCopies) {
    setLines({"alpha", "beta"});
    doc().setReadOnly(true);
    EXPECT_EQ(exec(functionIdOf("MoveLineDown")), 1);
    EXPECT_EQ(exec(functionIdOf("LineCopy")), 1);
    EXPECT_EQ(clipboard.get()->text, "beta\r\n");
    EXPECT_TRUE(statuses().empty());
}

TEST_F(ProcessorTest, TypingInAReadOnlyDocumentIsRefusedWithoutCounting) {
    setLines({"abc"});
    doc().setReadOnly(true);
    EXPECT_TRUE(processor.typeCharacter(U'x'));
    EXPECT_EQ(lines(), std::vector<std::string>{"abc"});
    EXPECT_EQ(processor.commandCount(), 0u);
    ASSERT_EQ(statuses().size(), 1u);
    EXPECT_EQ(statuses()[0].text, kReadOnlyMessage);
}

TEST_F(ProcessorTest, TypingWithoutADocumentIsNotHandled) {
    processor.activateOutputWindow();
    EXPECT_FALSE(processor.typeCharacter(U'x'));
    EXPECT_EQ(exec(functionIdOf("MoveLineEnd")), 0);
}

TEST_F(ProcessorTest, AltAndCtrlCharactersFollowTheirOptions) {
    struct Case {
        CharacterModifiers modifiers;
        int allowAlt;
        int allowControl;
        bool typed;
        SoundKind beep;
    };
    const std::vector<Case> cases = {
        {{true, false}, 0, 0, false, SoundKind::Information},
        {{false, true}, 0, 0, false, SoundKind::Exclamation},
        {{true, false}, 1, 0, true, SoundKind::None},
        {{false, true}, 0, 1, true, SoundKind::None},
    };
    for (const Case& c : cases) {
        setLines({""});
        frame.clearEvents();
        options.keyboard().allowAlt = c.allowAlt;
        options.keyboard().allowControl = c.allowControl;
        processor.typeCharacter(U'q', c.modifiers);
        EXPECT_EQ(doc().lineText(0), c.typed ? "q" : "");
        const auto beeps = frame.eventsOf(FrameEventKind::Beep);
        if (c.typed) {
            EXPECT_TRUE(beeps.empty());
        } else {
            ASSERT_EQ(beeps.size(), 1u);
            EXPECT_EQ(beeps[0].sound, c.beep);
        }
    }
}

TEST_F(ProcessorTest, LiteralNextCharacterSkipsTheAltCheckOnce) {
    options.keyboard().allowAlt = 0;
    exec(functionIdOf("CharQuote"));
    EXPECT_EQ(frame.lastStatus(), "Enter the literal character required");
    processor.typeCharacter(U'x', {true, false});
    processor.typeCharacter(U'y', {true, false});
    EXPECT_EQ(doc().lineText(0), "x");
}

TEST_F(ProcessorTest, ACharacterAfterAnArmedPrefixIsDroppedWithABeep) {
    keymap.armed = true;
    processor.typeCharacter(U'x');
    EXPECT_EQ(doc().lineText(0), "");
    EXPECT_FALSE(keymap.armed);
    ASSERT_EQ(frame.eventsOf(FrameEventKind::Beep).size(), 1u);
    EXPECT_EQ(frame.eventsOf(FrameEventKind::Beep)[0].sound, SoundKind::Exclamation);
    EXPECT_EQ(processor.commandCount(), 1u);
}

TEST_F(ProcessorTest, EachTypedCharacterIsOneUndoStepWithTheCursorPutBack) {
    type("abc");
    EXPECT_EQ(doc().lineText(0), "abc");
    const std::vector<std::pair<std::string, int>> after = {{"ab", 2}, {"a", 1}, {"", 0}};
    for (const auto& [text, offset] : after) {
        exec(functionIdOf("Undo"));
        EXPECT_EQ(doc().lineText(0), text);
        EXPECT_EQ(doc().cursorOffset(), offset);
    }
    exec(functionIdOf("Undo"));
    EXPECT_EQ(frame.lastStatus(), "Nothing to undo!");
}

TEST_F(ProcessorTest, OneFunctionIsOneUndoGroup) {
    setLines({"if (x) {"});
    place(0, 8);
    exec(functionIdOf("Enter"));
    ASSERT_EQ(doc().lineCount(), 3);
    exec(functionIdOf("Undo"));
    EXPECT_EQ(lines(), std::vector<std::string>{"if (x) {"});
    EXPECT_EQ(doc().cursorOffset(), 8);
    exec(functionIdOf("Redo"));
    EXPECT_EQ(doc().lineCount(), 3);
    exec(functionIdOf("Redo"));
    EXPECT_EQ(frame.lastStatus(), "Nothing to redo!");
}

// Regression: redo after a new edit replayed a group recorded for another text, which could put
// the cursor past the end of the document; a refused redo then kept reporting success.
TEST_F(ProcessorTest, ANewEditClearsTheRedoListAndARefusedRedoIsReported) {
    setLines({"one", "two"});
    place(1, 3);
    exec(functionIdOf("LineDelete"));
    exec(functionIdOf("Undo"));
    EXPECT_EQ(lines(), (std::vector<std::string>{"one", "two"}));
    type("x");
    EXPECT_EQ(exec(functionIdOf("Redo")), 0);
    EXPECT_EQ(frame.lastStatus(), "Nothing to redo!");
    EXPECT_EQ(lines(), (std::vector<std::string>{"one", "twox"}));
    // A loop that redoes until nothing is left ends.
    int steps = 0;
    while (exec(functionIdOf("Redo")) != 0 && steps < 5) {
        ++steps;
    }
    EXPECT_EQ(steps, 0);
}

// Typing, tabs, overwriting and pasting go on past byte 1024 of a line, in order.
TEST_F(ProcessorTest, EditingGoesOnFarIntoALongLine) {
    const std::string dots(100'000, '.');
    setLines({dots});
    exec(functionIdOf("MoveLineEnd"));
    EXPECT_EQ(doc().cursorOffset(), 100'000);
    type("x");
    EXPECT_EQ(doc().lineText(0), dots + "x");
    EXPECT_EQ(doc().cursorOffset(), 100'001);
    place(0, 1020);
    type("abcdefghij");
    EXPECT_EQ(doc().lineText(0).substr(1020, 10), "abcdefghij");
    EXPECT_EQ(doc().cursorOffset(), 1030);
    EXPECT_EQ(exec(functionIdOf("TabChar")), 1);
    EXPECT_GT(doc().cursorOffset(), 1030);
    options.editor().insertMode = 0;
    place(0, 50'000);
    type("XYZ");
    EXPECT_EQ(doc().lineText(0).substr(49'999, 5), ".XYZ.");
    EXPECT_EQ(doc().cursorOffset(), 50'003);
    options.editor().insertMode = 1;

    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    clipboard.putForeignText(text);
    place(0, 60'000);
    exec(functionIdOf("ClipboardPaste"));
    EXPECT_EQ(doc().lineText(0).substr(60'000, text.size()), text);
    EXPECT_EQ(doc().cursorOffset(), 63'000);
}

// Word moves far into a line, also over a run without blanks longer than the look-back window.
TEST_F(ProcessorTest, WordMovesWorkFarIntoALongLine) {
    std::string words;
    while (words.size() < 100'000) {
        words += "word ";
    }
    const std::string run(100'000, 'x');
    struct WordCase {
        const char* name;
        std::string line;
        int from;
        const char* function;
        int expected;
    };
    const WordCase cases[] = {
        {"next at 50,000", words, 50'000, "MoveWordNext", 50'005},
        {"previous at 50,000", words, 50'000, "MoveWordPrevious", 49'995},
        {"previous inside a word", words, 50'002, "MoveWordPrevious", 50'000},
        {"previous over a long run", "a " + run, 90'000, "MoveWordPrevious", 2},
        {"next over a long run", run + " b", 10, "MoveWordNext", 100'001},
    };
    for (const auto& c : cases) {
        setLines({c.line});
        place(0, c.from);
        exec(FunctionTable::standard().idOf(c.function));
        EXPECT_EQ(doc().cursorOffset(), c.expected) << c.name;
    }
}

TEST_F(ProcessorTest, AFunctionThatKeepsTheViewStillClosesItsUndoGroup) {
    setLines({"abc"});
    place(0, 3);
    exec(functionIdOf("LineDeleteStart"));
    const int group = doc().undoStore().currentGroup();
    exec(functionIdOf("FileName"));
    EXPECT_EQ(doc().undoStore().currentGroup(), group + 1);
}

TEST_F(ProcessorTest, TypedSpaceTriesTemplatesOnlyInInsertMode) {
    FakeTemplates templates;
    linkHooks(idleRecorder, templates);
    type("if ");
    EXPECT_EQ(doc().lineText(0), "if ()");
    EXPECT_EQ(templates.calls, 1);

    setLines({""});
    options.editor().insertMode = 0;
    type("if ");
    EXPECT_EQ(doc().lineText(0), "if ");
    EXPECT_EQ(templates.calls, 1);

    setLines({""});
    options.editor().insertMode = 1;
    options.editor().smartTemplate = 0;
    type("if ");
    EXPECT_EQ(doc().lineText(0), "if ");
    EXPECT_EQ(templates.calls, 1);
}

// The recorder and the templates come with the one wiring step: links without them do not compile.
template <typename... Hooks>
concept Linkable = requires(StatusLine& statusLine, test::FakeKeymap& keymap, test::FakeWindows& windows,
                            Hooks&... hooks) {
    ProcessorLinks{statusLine, keymap, windows, hooks..., std::vector<CommandFamily*>{}};
};
static_assert(Linkable<test::IdleRecorder, test::NoTemplates>);
static_assert(!Linkable<>);

TEST_F(ProcessorTest, UnlinkedHooksHearNothing) {
    FakeRecorder recorder;
    FakeTemplates templates;
    linkHooks(recorder, templates);
    processor.unlinkHooks();
    exec(functionIdOf("MoveLineEnd"));
    type("if ");
    EXPECT_TRUE(recorder.functions.empty());
    EXPECT_EQ(recorder.characters, "");
    EXPECT_EQ(templates.calls, 0);
    EXPECT_EQ(doc().lineText(0), "if ");
}

// Regression: in overwrite mode the typed character left the marked text in place.
TEST_F(ProcessorTest, TypingReplacesTheMarkWhenTheKeymapSaysSo) {
    struct Case {
        const char* name;
        bool removesMark;
        int insertMode;
        std::string expected;
        bool marked;
    };
    const Case cases[] = {
        {"insert mode", true, 1, "Xworld", false},
        {"overwrite mode", true, 0, "Xworld", false},
        {"flag off, insert mode", false, 1, "Xhello world", true},
        {"flag off, overwrite mode", false, 0, "Xello world", true},
    };
    for (const Case& c : cases) {
        setLines({"hello world"});
        options.editor().insertMode = c.insertMode;
        place(0, 0);
        doc().beginMark(MarkType::Stream);
        doc().markStart();
        doc().setCursorOffset(6);
        doc().markEnd();
        place(0, 0);
        keymap.keyRemovesMark = c.removesMark;
        type("X");
        EXPECT_EQ(doc().lineText(0), c.expected) << c.name;
        EXPECT_EQ(doc().hasMark(), c.marked) << c.name;
    }
}

TEST_F(ProcessorTest, EnterReplacesTheMarkOnlyInInsertMode) {
    keymap.keyRemovesMark = true;
    for (const int insertMode : {1, 0}) {
        setLines({"hello world", "next"});
        options.editor().insertMode = insertMode;
        doc().beginMark(MarkType::Stream);
        doc().markStart();
        doc().setCursorOffset(6);
        doc().markEnd();
        exec(functionIdOf("Enter"));
        EXPECT_EQ(doc().lineText(0), insertMode == 1 ? "" : "hello world") << insertMode;
    }
}

TEST_F(ProcessorTest, WithoutMakeSoundMessagesAreSilent) {
    exec(functionIdOf("NotSupported"));
    EXPECT_EQ(statuses().back().sound, SoundKind::Information);
    options.editor().makeSound = 0;
    exec(functionIdOf("NotSupported"));
    EXPECT_EQ(statuses().back().text, "This keystroke is not supported");
    EXPECT_EQ(statuses().back().sound, SoundKind::None);
}

class HeldStatusTest : public ProcessorTest {
protected:
    HeldStatusTest() = default;
};

TEST_F(HeldStatusTest, AHeldMessageDropsNewOnesUntilItHasGone) {
    statusLine.showMessage("Script line 3", MessageTimeout::Clear, MessageBeep::No);
    statusLine.setHold(true);
    doc().setReadOnly(true);
    processor.typeCharacter(U'x');
    exec(functionIdOf("NotSupported"));
    EXPECT_TRUE(statuses().empty());
    EXPECT_TRUE(frame.eventsOf(FrameEventKind::Beep).empty());

    clock.advance(9000);
    for (int i = 0; i < 6; ++i) {
        statusLine.tick();
    }
    ASSERT_FALSE(statusLine.isMessageShown());
    processor.typeCharacter(U'x');
    ASSERT_EQ(statuses().size(), 1u);
    EXPECT_EQ(statuses()[0].text, kReadOnlyMessage);
    EXPECT_FALSE(statusLine.isHeld());
}

TEST_F(HeldStatusTest, OptionSwitchesDriveTheIndicators) {
    exec(functionIdOf("LineWrapSet"));
    EXPECT_EQ(statusLine.text(StatusPane::Wrap), " WRAP");
    exec(functionIdOf("InsertModeToggle"));
    EXPECT_EQ(statusLine.text(StatusPane::Mode), "OVR ");
    exec(functionIdOf("FileReadOnlySet"));
    EXPECT_EQ(statusLine.text(StatusPane::ReadOnly), " RO");
}

TEST_F(HeldStatusTest, ActivatingAPaneShowsItsDocumentState) {
    setLines({"abc"});
    doc().setReadOnly(true);
    processor.activatePane(pane.get());
    EXPECT_EQ(statusLine.text(StatusPane::ReadOnly), " RO");
    setLines({"abc"});
    EXPECT_EQ(statusLine.text(StatusPane::ReadOnly), "");
}

TEST_F(HeldStatusTest, TheRefreshShowsTheCursorPosition) {
    setLines({"abc", "defgh"});
    exec(functionIdOf("MoveLineDown"));
    exec(functionIdOf("MoveLineEnd"));
    EXPECT_EQ(statusLine.text(StatusPane::Position), " L:00002 C:0006");
    EXPECT_EQ(statusLine.text(StatusPane::Changed), "");
    type("x");
    EXPECT_EQ(statusLine.text(StatusPane::Changed), "CHG");
    exec(functionIdOf("Undo"));
    EXPECT_EQ(statusLine.text(StatusPane::Changed), "");
}

class CountingObserver final : public PaneObserver {
public:
    void extentChanged(int lines, int) override {
        ++extents;
        lastLines = lines;
    }
    void viewScrolled() override { ++scrolls; }
    void repaintAll() override { ++fullRepaints; }
    void repaintLine(int index) override { repainted.push_back(index); }

    int extents = 0;
    int lastLines = 0;
    int scrolls = 0;
    int fullRepaints = 0;
    std::vector<int> repainted;
};

TEST_F(ProcessorTest, RefreshScrollsToTheCursorAndRepaintsOnlyChangedVisibleLines) {
    std::vector<std::string> text(100, "line");
    setLines(text);
    CountingObserver observer;
    pane->setObserver(&observer);
    pane->setTextArea(40, 10);
    for (int i = 0; i < 100; ++i) {
        doc().clearLineChanged(i);
    }
    doc().takeRedrawAll();

    type("x");
    EXPECT_EQ(observer.extents, 1);
    EXPECT_EQ(observer.lastLines, 100);
    EXPECT_EQ(observer.repainted, std::vector<int>{0});
    EXPECT_EQ(observer.scrolls, 0);

    observer.repainted.clear();
    for (int i = 0; i < 12; ++i) {
        exec(functionIdOf("MoveLineDown"));
    }
    // The smallest scroll brings line 12 to the bottom of a 10-line view.
    EXPECT_EQ(pane->topLine(), 3);
    EXPECT_EQ(observer.extents, 1);

    exec(functionIdOf("MoveDocumentStart"));
    EXPECT_EQ(pane->topLine(), 0);
    exec(functionIdOf("MoveLineEnd"));
    for (int i = 0; i < 45; ++i) {
        type("y");
    }
    EXPECT_EQ(pane->firstColumn(), 50 - 40 + 1);
}

// Regression: widening a column mark repainted only the cursor line; the others looked unmarked.
TEST_F(ProcessorTest, WideningAColumnMarkRepaintsEveryMarkedLine) {
    setLines(std::vector<std::string>(10, "some text"));
    CountingObserver observer;
    pane->setObserver(&observer);
    pane->setTextArea(40, 10);
    place(1, 1);
    exec(functionIdOf("MarkColumnSet"));
    for (int i = 0; i < 3; ++i) {
        exec(functionIdOf("MoveLineDown"));
    }
    observer.repainted.clear();
    exec(functionIdOf("MoveLineRight"));
    EXPECT_EQ(observer.repainted, (std::vector<int>{1, 2, 3, 4}));
    observer.repainted.clear();
    exec(functionIdOf("MoveLineUp"));
    // Shrinking by a line changes the line left and the line the cursor reaches.
    EXPECT_EQ(observer.repainted, (std::vector<int>{3, 4}));
}

TEST_F(ProcessorTest, WindowFunctionsDoNotBringTheCursorIntoView) {
    std::vector<std::string> text(100, "line");
    setLines(text);
    pane->setTextArea(40, 10);
    pane->scrollTo(50, 0);
    exec(functionIdOf("FileName"));
    EXPECT_EQ(pane->topLine(), 50);
    exec(functionIdOf("Version"));
    EXPECT_EQ(pane->topLine(), 0);
}

TEST_F(ProcessorTest, NotYetImplementedFunctionsSayIt) {
    const std::vector<FunctionId> ids = {
        functionIdOf("FilePrintAll"),       functionIdOf("MarkTextReverse"),
        functionIdOf("MarkFillWithChar"),   functionIdOf("ProjectExecute"),
        functionIdOf("ProjectMakeAll"),     functionIdOf("ProjectDisplay"),
        functionIdOf("SearchForwardCount"), functionIdOf("SearchReverseCount"),
        functionIdOf("SpaceDelete"),        functionIdOf("SpaceDeleteEnd"),
        functionIdOf("SpaceDeleteStart"),
    };
    for (FunctionId id : ids) {
        frame.clearEvents();
        EXPECT_EQ(exec(id), 1) << id;
        ASSERT_EQ(statuses().size(), 1u) << id;
        EXPECT_EQ(statuses()[0].text, "Not yet implemented!");
        EXPECT_EQ(statuses()[0].sound, SoundKind::Information);
    }
}

TEST_F(ProcessorTest, AnUnlinkedProcessorRefusesEveryFunctionAsAnInternalError) {
    CommandProcessor unlinked(ProcessorServices{frame, options, clock, clipboard});
    unlinked.activatePane(pane.get());
    frame.clearEvents();
    EXPECT_EQ(unlinked.execute(functionIdOf("MoveLineRight")), 0);
    ASSERT_EQ(frame.eventsOf(FrameEventKind::MessageBox).size(), 1u);
    EXPECT_EQ(frame.eventsOf(FrameEventKind::MessageBox)[0].text.rfind(
                  "Unexpected Vexa error at File: QLWKEY01 Line: ", 0),
              0u);
    EXPECT_EQ(doc().cursorOffset(), 0);
}

} // namespace
} // namespace vexa

namespace vexa {
namespace {

// Every identifier, run against a read-only document: whatever a function does, the text stays.
TEST_F(ProcessorTest, NoFunctionChangesTheTextOfAReadOnlyDocument) {
    const std::vector<std::string> text = {"int main() {", "   return 0; // done", "}"};
    for (uint32_t id = 1000; id <= 1355; ++id) {
        setLines(text);
        place(1, 5);
        doc().beginMark(MarkType::Stream);
        doc().markStart();
        doc().setCursorOffset(9);
        doc().markEnd();
        doc().setReadOnly(true);
        clipboard.putForeignText("pasted\r\ntext");
        const int32_t result = exec(static_cast<FunctionId>(id));
        EXPECT_TRUE(result == 0 || result == 1) << id;
        EXPECT_EQ(lines(), text) << FunctionTable::standard().nameOf(id);
    }
}

// Every identifier without any document: nothing may reach for one.
TEST_F(ProcessorTest, NoFunctionNeedsADocumentToBeSafe) {
    processor.activateOutputWindow();
    for (uint32_t id = 1000; id <= 1355; ++id) {
        const int32_t result = exec(static_cast<FunctionId>(id));
        EXPECT_TRUE(result == 0 || result == 1) << id;
    }
    processor.activateOutputWindow(); // FileNew and FileOpen may have opened one
    EXPECT_EQ(exec(kMarkCuaStart), 0);
    EXPECT_EQ(exec(kMarkCuaEnd), 0);
}

} // namespace
} // namespace vexa
