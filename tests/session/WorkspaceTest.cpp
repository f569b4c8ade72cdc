// The workspace without a window: opening, reuse of an open window, the save question, the window
// order, recent files, hand-off, and a jump to a line that the first Undo leaves alone.
#include <functional>
#include <sys/time.h>

#include "EditorFixture.h"
#include "session/StartupHistory.h"
#include "settings/Format.h"
#include "syntax/ColourTable.h"

namespace vexa {
namespace {

class WorkspaceTest : public test::EditorTest {};

TEST_F(WorkspaceTest, OpeningAnOpenFileReusesItsWindowUnlessMultipleCopiesIsOn) {
    const std::string path = writeFile("a.c", "int a;\n");
    for (const int multiple : {0, 1}) {
        options.editor().multipleCopies = multiple;
        EditPane* first = workspace().openDocument(path);
        workspace().newDocument();
        EditPane* again = workspace().openDocument(path);
        EXPECT_EQ(again == first, multiple == 0) << multiple;
        EXPECT_EQ(workspace().active(), again);
        EXPECT_EQ(view.active, again);
        ASSERT_TRUE(workspace().closeAll());
    }
}

TEST_F(WorkspaceTest, AMissingFileOpensAsANewDocumentWithTheMessage) {
    const std::string path = m_home.file("new.c");
    EditPane* pane = workspace().openDocument(path);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->document().fileName(), path);
    EXPECT_EQ(frame.lastStatus(), formatText(file_messages::kNewFileCreated, "new.c"));
}

TEST_F(WorkspaceTest, TheSaveQuestionOnCloseAnswersYesNoAndCancel) {
    struct Case {
        Answer answer;
        bool closed;
        std::string onDisk;
    };
    const Case cases[] = {
        {Answer::Cancel, false, "old\n"}, {Answer::No, true, "old\n"}, {Answer::Yes, true, "Xold\n"}};
    for (const Case& c : cases) {
        options.editor().fileWrite = 1;
        const std::string path = writeFile("s.c", "old\n");
        workspace().openDocument(path);
        type("X");
        frame.answerNext(c.answer);
        EXPECT_EQ(exec(functionIdOf("FileClose")), c.closed ? 1 : 0);
        EXPECT_EQ(workspace().panes().empty(), c.closed);
        EXPECT_EQ(test::readFileBytes(path), c.onDisk);
        ASSERT_EQ(frame.eventsOf(FrameEventKind::Question).size(), 1u);
        EXPECT_EQ(frame.eventsOf(FrameEventKind::Question)[0].text,
                  "The 's.c' file has been modified.\nDo you want to save the changes?");
        frame.clearEvents();
        if (!c.closed) {
            activeDocument().markUnmodified();
            ASSERT_TRUE(workspace().closeAll());
        }
    }
    EXPECT_TRUE(frame.unexpected().empty());
}

TEST_F(WorkspaceTest, NextAndPreviousWindowGoRoundInWindowOrder) {
    EditPane* one = workspace().newDocument();
    EditPane* two = workspace().newDocument();
    EditPane* three = workspace().newDocument();
    EXPECT_EQ(workspace().active(), three);
    const std::pair<const char*, EditPane*> steps[] = {
        {"WindowNext", one}, {"WindowNext", two}, {"WindowPrevious", one}, {"WindowPrevious", three}};
    for (const auto& [function, expected] : steps) {
        exec(FunctionTable::standard().idOf(function));
        EXPECT_EQ(workspace().active(), expected) << function;
        EXPECT_EQ(view.active, expected) << function;
        EXPECT_EQ(processor().pane(), expected) << function;
    }
}

TEST_F(WorkspaceTest, ClosedFilesEnterTheRecentFilesOfTheFileMenu) {
    const std::string a = writeFile("a.c", "a\n");
    const std::string b = writeFile("b.c", "b\n");
    workspace().openDocument(a);
    workspace().openDocument(b);
    ASSERT_TRUE(workspace().closeAll());
    const auto recent = editor->history().recentFiles();
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_NE(recent[0].second, recent[1].second);
    for (const auto& [id, path] : recent) {
        EXPECT_TRUE(path == a || path == b) << path;
    }
    EXPECT_EQ(view.recentChanges, 2);
    EXPECT_EQ(exec(static_cast<FunctionId>(recent[0].first)), 1);
    EXPECT_EQ(activeDocument().fileName(), recent[0].second);
}

TEST_F(WorkspaceTest, HandOffOpensTheFileAtItsLineAndAnUnreadableRecordIsReported) {
    const std::string path = writeFile("h.c", "1\n2\n3\n4\n");
    workspace().acceptHandOff(HandOff{path, 3});
    EXPECT_EQ(activeDocument().fileName(), path);
    EXPECT_EQ(activeDocument().cursorLine(), 2);

    workspace().acceptHandOff(std::nullopt);
    const auto boxes = frame.eventsOf(FrameEventKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Unexpected Vexa error at File: QLWKEY01 Line: ", 0), 0u);
}

// A second start hands over a file while a loop over the windows waits in a nested event loop
// (the question about a file changed outside, the events handled during a backup). The window
// list must stay as it is under the loop; the file opens once the loop is over.
TEST_F(WorkspaceTest, AHandOffInsideANestedLoopOpensAfterTheLoopOverTheWindows) {
    struct Case {
        const char* name;
        std::function<void()> prepare; // makes the loop reach a nested loop
        std::function<void(Workspace&)> loop;
    };
    const Case cases[] = {
        {"question of checkOutsideChanges",
         [this] {
             struct timeval past[2] = {{1000000000, 0}, {1000000000, 0}};
             ASSERT_EQ(utimes(workspace().panes().front()->document().fileName().c_str(), past), 0);
             frame.answerNext(Answer::No);
         },
         [](Workspace& w) { w.checkOutsideChanges(); }},
        {"drainEvents of idleBackup",
         [this] {
             options.editor().autoBackup = 1;
             options.editor().backupInterval = 1;
             for (EditPane* pane : workspace().panes()) {
                 workspace().activate(*pane);
                 type("x");
             }
             workspace().idleBackup(); // starts each document's clock
             clock.advance(2 * 60 * 1000);
         },
         [](Workspace& w) { w.idleBackup(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startEditor();
        // Enough windows that one more would move the window list in memory.
        for (int i = 0; i < 4; ++i) {
            workspace().openDocument(writeFile("w" + std::to_string(i) + ".c", "text\n"));
        }
        const std::string handed = writeFile("handed.c", "handed\n");
        c.prepare();
        const std::size_t before = workspace().panes().size();
        std::size_t during = 0;
        bool delivered = false;
        frame.duringNextNestedLoop([&] {
            workspace().acceptHandOff(HandOff{handed, 1});
            during = workspace().panes().size();
            delivered = true;
        });
        c.loop(workspace());
        ASSERT_TRUE(delivered);
        EXPECT_EQ(during, before);
        ASSERT_EQ(workspace().panes().size(), before + 1);
        EXPECT_EQ(activeDocument().fileName(), handed);
        for (EditPane* pane : workspace().panes()) {
            pane->document().markUnmodified();
        }
        ASSERT_TRUE(workspace().closeAll());
    }
}

// A request that arrives while a function runs (here the events handled while File Open loads a
// long file; likewise a script's yield, macro playback, a search polling for Escape) waits for the
// function to end and is handled from the top level.
TEST_F(WorkspaceTest, AHandOffDuringAFunctionWaitsForTheTopLevel) {
    workspace().openDocument(writeFile("a.c", "a\n"));
    const std::string handed = writeFile("handed.c", "handed\n");
    std::string longText;
    // More than one block of the load, which handles events after each block but the last.
    for (int i = 0; i < 300'000; ++i) {
        longText += "line\n";
    }
    const std::string big = writeFile("big.c", longText);
    std::size_t during = 0;
    frame.duringNextNestedLoop([&] {
        workspace().acceptHandOff(HandOff{handed, 0});
        during = workspace().panes().size();
    });
    frame.chooseNextOpen({big});
    ASSERT_EQ(exec(functionIdOf("FileOpen")), 1);
    EXPECT_EQ(during, 1u);
    EXPECT_EQ(activeDocument().fileName(), big);
    workspace().runQueuedRequests();
    ASSERT_EQ(workspace().panes().size(), 3u);
    EXPECT_EQ(activeDocument().fileName(), handed);
}

TEST_F(WorkspaceTest, TheFirstUndoAfterOpeningAtALineKeepsTheCursorWhereTheUserTyped) {
    const std::string path = writeFile("u.c", "one\ntwo\nthree\nfour\n");
    workspace().openDocumentAt(path, 3);
    ASSERT_EQ(activeDocument().cursorLine(), 2);
    type("X");
    exec(functionIdOf("Undo"));
    EXPECT_EQ(activeDocument().lineText(2), "three");
    EXPECT_EQ(activeDocument().cursorLine(), 2);
}

TEST_F(WorkspaceTest, ExitRemembersTheOpenFilesAndColoursAndTheNextStartReopensThem) {
    options.editor().restoreFiles = 1;
    const std::string path = writeFile("r.c", "1\n2\n3\n");
    workspace().openDocumentAt(path, 2);
    ASSERT_TRUE(workspace().closeAllForExit());
    ASSERT_TRUE(editor->syntax().colours().setIndex(syntax::ColourSlot::Background, 0));
    ASSERT_TRUE(editor->saveState());
    startEditor();
    EXPECT_EQ(editor->syntax().colours().index(syntax::ColourSlot::Background), 0);
    workspace().openStartupFiles({});
    ASSERT_EQ(workspace().panes().size(), 1u);
    EXPECT_EQ(activeDocument().fileName(), path);
}

TEST_F(WorkspaceTest, TitlesShowTheModifiedAndReadOnlyStates) {
    const std::string path = writeFile("t.c", "t\n");
    EditPane* pane = workspace().openDocument(path);
    EXPECT_EQ(workspace().title(*pane), path);
    type("x");
    EXPECT_EQ(workspace().title(*pane), path + "*");
    activeDocument().markUnmodified();
    exec(functionIdOf("FileReadOnlySet"));
    EXPECT_EQ(workspace().title(*pane), path + " (RO)");
    const int changedBefore = view.changed;
    workspace().refreshTitles();
    workspace().refreshTitles();
    EXPECT_EQ(view.changed, changedBefore + 1);
}

TEST_F(WorkspaceTest, TheWrapIndicatorShowsFromTheStartWhenLineWrapIsOn) {
    for (const int wrap : {1, 0}) {
        options.editor().lineWrap = wrap;
        startEditor();
        EXPECT_EQ(editor->statusLine().text(StatusPane::Wrap), wrap != 0 ? " WRAP" : "") << wrap;
    }
}

TEST_F(WorkspaceTest, WindowFunctionsReachTheFramesPorts) {
    workspace().newDocument();
    exec(functionIdOf("WindowTileVertical"));
    exec(functionIdOf("ToolBarViewToggle"));
    frame.answerNext(Answer::Yes);
    EXPECT_EQ(exec(functionIdOf("FilePrint")), 1);
    EXPECT_EQ(exec(functionIdOf("MarkPrint")), 0);
    EXPECT_EQ(frame.lastStatus(), "No area is currently marked");
    frame.answerNext(Answer::Yes);
    EXPECT_EQ(exec(functionIdOf("OptionsEditor")), 1);
    ASSERT_EQ(frame.eventsOf(FrameEventKind::Arrange).size(), 1u);
    EXPECT_EQ(frame.eventsOf(FrameEventKind::Arrange)[0].value,
              static_cast<int>(WindowArrangement::TileVertical));
    ASSERT_EQ(frame.eventsOf(FrameEventKind::Bar).size(), 1u);
    EXPECT_FALSE(frame.eventsOf(FrameEventKind::Bar)[0].visible);
    ASSERT_EQ(frame.eventsOf(FrameEventKind::Print).size(), 1u);
    EXPECT_EQ(frame.eventsOf(FrameEventKind::Print)[0].value, static_cast<int>(PrintScope::Document));
    ASSERT_EQ(frame.eventsOf(FrameEventKind::FrameDialog).size(), 1u);
    EXPECT_TRUE(frame.unexpected().empty());
}

} // namespace
} // namespace vexa
