// Tests of the keyboard macros in the whole editor: recording through the processor's hooks,
// playback, repeat, macro files and the Macros menu entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "keyboard/MacroCommands.h"
#include "keyboard/MacroDialogs.h"
#include "search/SearchBudget.h"
#include "session/EditorFixture.h"
#include "settings/InfoHeader.h"

namespace vexa::test {
namespace {

constexpr FunctionId kRecordToggle = functionIdOf("MacroRecordToggle");
constexpr FunctionId kRecordSet = functionIdOf("MacroRecordSet");
constexpr FunctionId kRecordReset = functionIdOf("MacroRecordReset");
constexpr FunctionId kPlay = functionIdOf("MacroPlay");
constexpr FunctionId kRepeat = functionIdOf("MacroRepeat");
constexpr FunctionId kSave = functionIdOf("MacroSave");
constexpr FunctionId kLoad = functionIdOf("MacroLoad");
constexpr FunctionId kExecute1 = functionIdOf("MacroExecute1");
constexpr FunctionId kExecute2 = functionIdOf("MacroExecute2");
constexpr FunctionId kMoveLineDown = functionIdOf("MoveLineDown");

class MacroCommandsTest : public EditorTest {
protected:
    MacroCommandsTest() {
        std::filesystem::create_directories(options.directory(DirectoryKind::Config));
        workspace().openDocument(writeFile("doc.txt", "one\ntwo\nthree\nfour\n"));
    }

    MacroRecorder& recorder() { return editor->macros().recorder(); }
    std::string line(int index) { return std::string(activeDocument().lineText(index)); }
    bool recIndicator() { return editor->statusLine().text(StatusPane::Recording) == "REC"; }

    // Records "abc" and MoveLineDown with the toggle.
    void recordAbcDown() {
        exec(kRecordToggle);
        type("abc");
        exec(kMoveLineDown);
        exec(kRecordToggle);
    }
};

TEST_F(MacroCommandsTest, RecordingAbcAndMoveLineDownGivesFourEventsAndPlaysBack) {
    exec(kRecordToggle);
    EXPECT_TRUE(recIndicator());
    EXPECT_EQ(frame.lastStatus(), "Macro recording started");
    type("abc");
    exec(kMoveLineDown);
    exec(kRecordToggle);
    EXPECT_FALSE(recIndicator());
    EXPECT_EQ(frame.lastStatus(), "Macro recording complete");
    const MacroEvents expected = {MacroEvent::ofCharacter(u'a'), MacroEvent::ofCharacter(u'b'),
                                  MacroEvent::ofCharacter(u'c'), MacroEvent::ofFunction(kMoveLineDown)};
    EXPECT_EQ(*recorder().macro(), expected);
    EXPECT_EQ(line(0), "abcone");

    EXPECT_EQ(exec(kPlay), 1);
    EXPECT_EQ(frame.lastStatus(), "Macro playback complete");
    EXPECT_EQ(line(1), "twoabc");
    EXPECT_EQ(activeDocument().cursorLine(), 2);
    // The playback added nothing to the macro.
    EXPECT_EQ(recorder().macro()->size(), 4u);
}

TEST_F(MacroCommandsTest, CharacterEventsKeepTheirModifiersAndPlaybackFollowsThem) {
    options.keyboard().allowAlt = 1;
    options.keyboard().allowControl = 1;
    exec(kRecordToggle);
    processor().typeCharacter(U'a', {true, false});
    processor().typeCharacter(U'c', {false, true});
    processor().typeCharacter(U'p');
    exec(kRecordToggle);
    const MacroEvents expected = {MacroEvent::ofCharacter(u'a', 4), MacroEvent::ofCharacter(u'c', 2),
                                  MacroEvent::ofCharacter(u'p', 0)};
    EXPECT_EQ(*recorder().macro(), expected);
    EXPECT_EQ(line(0), "acpone");

    // Played back, each character meets the Alt and Ctrl rules as it did when typed.
    struct Case {
        int allowAlt;
        int allowControl;
        const char* typed;
    };
    const Case cases[] = {{1, 1, "acp"}, {0, 1, "cp"}, {1, 0, "ap"}, {0, 0, "p"}};
    int row = 0;
    for (const Case& c : cases) {
        ++row;
        const std::string before = line(row);
        options.keyboard().allowAlt = c.allowAlt;
        options.keyboard().allowControl = c.allowControl;
        activeDocument().goToLine(row);
        activeDocument().setCursorOffset(0);
        EXPECT_EQ(exec(kPlay), 1);
        EXPECT_EQ(line(row), c.typed + before) << row;
    }
}

// A macro recorded far into a long line plays back there; a script's column positions reach it.
TEST_F(MacroCommandsTest, AMacroRecordedAtColumn3000PlaysBackThere) {
    Document& document = activeDocument();
    document.moveToLine(0);
    document.setCursorOffset(0);
    document.insertText(std::string(5000, '.'));
    document.moveToLine(1);
    document.setCursorOffset(0);
    document.insertText(std::string(5000, ','));
    document.moveToLine(0);
    document.setCursorColumn(3000);
    recordAbcDown();
    EXPECT_EQ(line(0).substr(2999, 5), ".abc.");
    EXPECT_EQ(document.cursorLine(), 1);
    EXPECT_EQ(document.cursorColumn(), 3003);
    document.setCursorColumn(3000);
    EXPECT_EQ(exec(kPlay), 1);
    EXPECT_EQ(line(1).substr(2999, 5), ",abc,");
    EXPECT_EQ(document.cursorLine(), 2);
}

TEST_F(MacroCommandsTest, LineEndEventsSplitTheLineAndNulIsRefused) {
    // Smart indent on: the split from a line-end event is plain all the same.
    options.editor().smartIndent = 1;
    exec(kRecordToggle);
    type("  x");
    processor().typeCharacter(U'\n');
    processor().typeCharacter(U'\0');
    processor().typeCharacter(U'\r');
    exec(kRecordToggle);
    const MacroEvents expected = {MacroEvent::ofCharacter(u' '), MacroEvent::ofCharacter(u' '),
                                  MacroEvent::ofCharacter(u'x'), MacroEvent::ofCharacter(u'\n'),
                                  MacroEvent::ofCharacter(u'\r')};
    EXPECT_EQ(*recorder().macro(), expected);
    EXPECT_EQ(exec(kPlay), 1);
    const std::vector<std::string> lines = {"  x", "", "  x", "", "one", "two"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(line(static_cast<int>(i)), lines[i]) << i;
    }
}

TEST_F(MacroCommandsTest, CancelledRecordingKeepsTheOldMacro) {
    recordAbcDown();
    for (FunctionId stop : {kRecordToggle, kRecordReset}) {
        exec(kRecordSet);
        exec(stop);
        EXPECT_EQ(frame.lastStatus(), "Macro recording was cancelled") << stop;
        EXPECT_EQ(recorder().macro()->size(), 4u) << stop;
    }
    exec(kPlay);
    EXPECT_EQ(line(1), "twoabc");

    // The MacroRecordReset that ends a recording is not part of it.
    exec(kRecordSet);
    type("x");
    exec(kRecordReset);
    EXPECT_EQ(frame.lastStatus(), "Macro recording complete");
    EXPECT_EQ(*recorder().macro(), MacroEvents{MacroEvent::ofCharacter(u'x')});
}

TEST_F(MacroCommandsTest, PlaybackRefusals) {
    EXPECT_EQ(exec(kPlay), 0);
    EXPECT_EQ(frame.lastStatus(), "No macro recorded!");
    recordAbcDown();
    exec(kRecordSet);
    EXPECT_EQ(exec(kPlay), 0);
    EXPECT_EQ(frame.lastStatus(), "Can't playback macro while recording!");
    exec(kRecordReset);
    // The refused MacroPlay was not recorded either: the recording was empty.
    EXPECT_EQ(recorder().macro()->size(), 4u);

    activeDocument().setReadOnly(true);
    EXPECT_EQ(exec(kPlay), 0);
    EXPECT_EQ(frame.lastStatus(), "The document can not be changed as it is marked as 'Read Only'");
    EXPECT_EQ(line(1), "two");
}

// Playback looks at Escape between events: a press stops a single playback and a repeat of
// 32,767 passes alike, with the status message, and leaves the recorder ready.
TEST_F(MacroCommandsTest, EscapeStopsPlaybackAndRepeat) {
    recordAbcDown();
    struct Case {
        const char* name;
        FunctionId function;
    };
    const Case cases[] = {{"MacroPlay", kPlay}, {"MacroRepeat", kRepeat}};
    clock.setStepPerRead(SearchBudget::kPollIntervalMs);
    for (const Case& c : cases) {
        if (c.function == kRepeat) {
            frame.scriptNextDialog([](DialogModel& model) {
                dynamic_cast<MacroRepeatModel&>(model).setCount(32767);
                return DialogResult::Accepted;
            });
        }
        const std::string before = line(1);
        keys.setDown(platform::kKeyEscape, true);
        keys.setDown(platform::kKeyEscape, false);
        EXPECT_EQ(exec(c.function), 0) << c.name;
        EXPECT_EQ(frame.lastStatus(), kMacroPlaybackStopped) << c.name;
        EXPECT_EQ(line(1), before) << c.name;
        EXPECT_FALSE(recorder().isPlayingBack()) << c.name;
    }
    // Without Escape the macro plays again.
    EXPECT_EQ(exec(kPlay), 1);
    EXPECT_EQ(line(1), "twoabc");
    EXPECT_TRUE(frame.unexpected().empty());
}

TEST_F(MacroCommandsTest, RepeatPlaysTheCountOrNothingOnCancel) {
    recordAbcDown();
    frame.scriptNextDialog([](DialogModel& model) {
        dynamic_cast<MacroRepeatModel&>(model).setCount(2);
        return DialogResult::Accepted;
    });
    EXPECT_EQ(exec(kRepeat), 1);
    EXPECT_EQ(line(1), "twoabc");
    EXPECT_EQ(line(2), "three abc");
    frame.scriptNextDialog([](DialogModel&) { return DialogResult::Cancelled; });
    EXPECT_EQ(exec(kRepeat), 0);
    EXPECT_EQ(line(3), "four");
    EXPECT_TRUE(frame.unexpected().empty());
}

TEST_F(MacroCommandsTest, SaveAndLoadRoundTrip) {
    EXPECT_EQ(exec(kSave), 0);
    EXPECT_EQ(frame.lastStatus(), "No macro recorded!");
    recordAbcDown();
    const std::string path = m_home.file("abc.mac");
    frame.chooseNextSave(path);
    EXPECT_EQ(exec(kSave), 1);
    EXPECT_EQ(frame.lastStatus(), "The current macro was saved to the '" + path + "' macro file");
    EXPECT_EQ(readFileBytes(path).size(), kInfoHeaderSize + 8 * 4);

    // A new recording replaces the macro; loading the file brings the old one back.
    exec(kRecordToggle);
    type("x");
    exec(kRecordToggle);
    frame.chooseNextOpen({path});
    EXPECT_EQ(exec(kLoad), 1);
    EXPECT_EQ(frame.lastStatus(), "The loading of the macro file '" + path + "' was successful");
    EXPECT_EQ(recorder().macro()->size(), 4u);
    exec(kPlay);
    EXPECT_EQ(line(1), "twoxabc");

    frame.chooseNextOpen({m_home.file("absent.mac")});
    EXPECT_EQ(exec(kLoad), 0);
    EXPECT_EQ(frame.lastStatus(), "Error loading the '" + m_home.file("absent.mac") + "' macro file.");
    const std::string foreign = writeFile("foreign.mac", encodeInfoHeader(InfoHeader::forKind(kKeymapInfo)));
    frame.chooseNextOpen({foreign});
    EXPECT_EQ(exec(kLoad), 0);
    EXPECT_EQ(frame.lastStatus(),
              "The '" + foreign + "' information file is of an unknown format or has been corrupted.");
    EXPECT_EQ(recorder().macro()->size(), 4u);
}

TEST_F(MacroCommandsTest, MenuEntriesLoadAndPlayTheirFiles) {
    recordAbcDown();
    const std::string path = m_home.file("abc.mac");
    ASSERT_TRUE(editor->macros().save(path));
    ASSERT_TRUE(editor->macros().setMenu({{"Abc", path}}));
    EXPECT_EQ(editor->macros().menuItemTexts(), std::vector<std::string>{"Abc\tShift+F1"});

    // A new editor reads the list at start.
    startEditor();
    workspace().openDocument(writeFile("doc2.txt", "1\n2\n"));
    ASSERT_EQ(editor->macros().menu().size(), 1u);
    EXPECT_EQ(exec(kExecute1), 1);
    EXPECT_EQ(line(0), "abc1");
    EXPECT_EQ(activeDocument().cursorLine(), 1);

    // A number beyond the list is an internal error.
    EXPECT_EQ(exec(kExecute2), 0);
    const auto boxes = frame.eventsOf(FrameEventKind::MessageBox);
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes.back().text.find("QLWMAC01"), std::string::npos);
}

TEST_F(MacroCommandsTest, AMacroThatPlaysItselfDoesNothingMore) {
    // A recorded MacroExecute1 whose file holds the same macro: the inner playback is refused.
    const std::string path = m_home.file("self.mac");
    ASSERT_TRUE(writeMacroFile(path, {MacroEvent::ofCharacter(u'z'), MacroEvent::ofFunction(kExecute1)}));
    ASSERT_TRUE(editor->macros().setMenu({{"Self", path}}));
    EXPECT_EQ(exec(kExecute1), 1);
    EXPECT_EQ(line(0), "zone");
    EXPECT_FALSE(recorder().isPlayingBack());
}

} // namespace
} // namespace vexa::test
