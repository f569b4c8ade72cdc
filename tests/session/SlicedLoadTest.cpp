// A large file opened in the window shows its first blocks at once and loads the rest in slices
// from the top-level event loop: the lines grow, the document stays read only and unsaveable until
// complete, moving to the end waits, Escape and closing stop the load.
#include <climits>

#include "EditorFixture.h"
#include "core/DocumentFile.h"
#include "core/FileLoad.h"
#include "frame/StatusMessages.h"
#include "navigation/NavigationDialogs.h"
#include "settings/Format.h"

namespace vexa {
namespace {

constexpr uint64_t kTick = 1; // the load's timer has a zero interval

class SlicedLoadTest : public test::EditorTest {
protected:
    // A file of `blocks` load blocks (and a bit) of numbered lines.
    void SetUp() override {
        workspace().loads().setEnabled(true);
        // Small fixtures: beyond the first blocks a file loads in slices.
        workspace().loads().setWholeLoadLimit(0);
        // Every look at the clock finds 10 ms gone, as if each block took that long: a slice
        // ends with the block that passes its time, a few blocks in.
        clock.setStepPerRead(10);
        std::string bytes;
        const std::size_t size = kBlocks * FileLoad::kBlockSize + 1000;
        bytes.reserve(size + 32);
        while (bytes.size() < size) {
            bytes += formatText("line %07d of the file\n", m_lines++);
        }
        m_path = writeFile("big.log", bytes);
        m_bytes = std::move(bytes);
    }

    static constexpr std::size_t kBlocks = 10;
    // Opens the file and runs the load's timer until it is complete (or `maxTicks` ran).
    EditPane* open() { return workspace().openDocument(m_path); }
    void tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            frame.advanceTime(kTick);
        }
    }
    int lineCount() { return activeDocument().lineCount(); }

    std::string m_path;
    std::string m_bytes;
    int m_lines = 0;
};

TEST_F(SlicedLoadTest, TheWindowShowsTheFirstBlocksAndTheLinesGrowFromTheEventLoop) {
    EditPane* pane = open();
    ASSERT_NE(pane, nullptr);
    Document& document = pane->document();
    // The first blocks are there before anything else runs; the rest is not.
    EXPECT_GT(document.lineCount(), 1000);
    EXPECT_LT(document.lineCount(), m_lines / 2);
    EXPECT_EQ(document.lineText(0), "line 0000000 of the file");
    EXPECT_TRUE(document.isLoadIncomplete());
    EXPECT_TRUE(document.isReadOnly());
    EXPECT_EQ(pane->extentLines(), document.lineCount());
    EXPECT_EQ(workspace().title(*pane), m_path + " (RO)");
    EXPECT_EQ(frame.lastStatus(), "Loading 39 %");
    EXPECT_TRUE(processor().hasForegroundWork());

    std::vector<int> counts{document.lineCount()};
    while (document.isLoadIncomplete() && counts.size() < 20) {
        tick();
        counts.push_back(document.lineCount());
        EXPECT_EQ(pane->extentLines(), document.lineCount()); // the scroll range follows
    }
    ASSERT_FALSE(document.isLoadIncomplete());
    // A slice ends when its time is up: the count grew in several steps.
    ASSERT_GE(counts.size(), 3u);
    for (std::size_t i = 1; i + 1 < counts.size(); ++i) {
        EXPECT_GT(counts[i], counts[i - 1]) << i;
    }
    EXPECT_EQ(document.lineCount(), m_lines);
    EXPECT_EQ(document.lineText(m_lines - 1), formatText("line %07d of the file", m_lines - 1));
    EXPECT_FALSE(document.isReadOnly());
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(workspace().title(*pane), m_path);
    EXPECT_FALSE(processor().hasForegroundWork());
    // Once complete it is an ordinary document: edited and saved whole.
    type("X");
    ASSERT_EQ(exec(functionIdOf("FileSave")), 1);
    EXPECT_EQ(test::readFileBytes(m_path), "X" + m_bytes);
}

TEST_F(SlicedLoadTest, WhileLoadingEveryChangeAndEverySaveIsRefusedOnEachRoad) {
    EditPane* pane = open();
    Document& document = pane->document();
    const int before = document.lineCount();
    // Typing, a text-changing function, Save, Save As, Replace, the encoding and line-end switches.
    const std::string incomplete = formatText(kIncompleteMessage, "big.log");
    type("X");
    EXPECT_EQ(frame.lastStatus(), incomplete);
    frame.clearEvents();
    EXPECT_EQ(exec(functionIdOf("LineDelete")), 0);
    EXPECT_EQ(frame.lastStatus(), incomplete);
    for (const FunctionId id : {functionIdOf("FileEncodingToggle"), functionIdOf("FileLineEndsToggle")}) {
        frame.clearEvents();
        EXPECT_EQ(exec(id), 0) << id;
        EXPECT_EQ(frame.lastStatus(), incomplete) << id;
    }
    frame.clearEvents();
    (void)exec(functionIdOf("FileSave"));
    ASSERT_EQ(frame.eventsOf(FrameEventKind::MessageBox).size(), 1u);
    EXPECT_EQ(frame.eventsOf(FrameEventKind::MessageBox)[0].text,
              formatText(file_messages::kIncompleteNotSaved, "big.log"));
    frame.clearEvents();
    (void)exec(functionIdOf("FileSaveAs"));
    // Refused before a name is asked for.
    EXPECT_TRUE(frame.eventsOf(FrameEventKind::SaveDialog).empty());
    ASSERT_EQ(frame.eventsOf(FrameEventKind::MessageBox).size(), 1u);
    EXPECT_EQ(frame.eventsOf(FrameEventKind::MessageBox)[0].text,
              formatText(file_messages::kIncompleteNotSaved, "big.log"));
    processor().searchState().setFindText("line", false);
    processor().searchState().setReplaceText("LINE");
    frame.clearEvents();
    EXPECT_EQ(exec(functionIdOf("ReplaceNext")), 0);
    EXPECT_EQ(document.lineText(0), "line 0000000 of the file");
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.lineCount(), before); // no slice ran under a function
    EXPECT_EQ(test::readFileBytes(m_path), m_bytes);
    EXPECT_EQ(document.encoding(), TextEncoding::Utf8); // plain ASCII takes the new documents' encoding
}

TEST_F(SlicedLoadTest, NoSliceRunsInsideANestedEventLoop) {
    EditPane* pane = open();
    const int before = pane->document().lineCount();
    // The refused save's message box is a nested event loop in which the timer falls due.
    frame.duringNextNestedLoop([this] { tick(5); });
    (void)exec(functionIdOf("FileSave"));
    EXPECT_EQ(pane->document().lineCount(), before);
    tick();
    EXPECT_GT(pane->document().lineCount(), before);
}

TEST_F(SlicedLoadTest, EscapeStopsTheLoadAndLeavesAReadOnlyPartOfTheFile) {
    EditPane* pane = open();
    tick();
    Document& document = pane->document();
    const int loaded = document.lineCount();
    // Escape while work runs sends the stop function.
    EXPECT_EQ(exec(functionIdOf("RunStop")), 1);
    EXPECT_TRUE(document.isLoadIncomplete());
    EXPECT_TRUE(document.isReadOnly());
    EXPECT_EQ(frame.lastStatus(), formatText(file_messages::kLoadStopped, "big.log"));
    EXPECT_FALSE(processor().hasForegroundWork());
    tick(10);
    EXPECT_EQ(document.lineCount(), loaded);
    // The part stays read only and is never written.
    frame.clearEvents();
    (void)exec(functionIdOf("FileSave"));
    EXPECT_EQ(frame.eventsOf(FrameEventKind::MessageBox).size(), 1u);
    EXPECT_EQ(test::readFileBytes(m_path), m_bytes);
    // Reading it again reads it whole.
    EXPECT_EQ(exec(functionIdOf("FileReloadCurrent")), 1);
    EXPECT_FALSE(document.isLoadIncomplete());
    EXPECT_EQ(document.lineCount(), m_lines);
}

TEST_F(SlicedLoadTest, MovingToTheEndWaitsForTheLoadWithTheBusyCursor) {
    struct Case {
        const char* how;
        bool escape;
    };
    for (const Case c : {Case{"Ctrl+End", false}, Case{"Ctrl+End, Escape", true}, Case{"goto line", false}}) {
        SCOPED_TRACE(c.how);
        EditPane* pane = open();
        ASSERT_TRUE(pane->document().isLoadIncomplete());
        Document& document = pane->document();
        const int busy = frame.busyShownCount();
        keys.setDown(platform::kKeyEscape, c.escape);
        if (std::string_view(c.how) == "goto line") {
            // Goto Line waits for its line, not for the end.
            const int wanted = m_lines * 3 / 4;
            frame.scriptNextDialog([wanted](DialogModel& model) {
                auto& dialog = dynamic_cast<navigation::NumberDialogModel&>(model);
                dialog.setText(std::to_string(wanted));
                return dialog.pressGoto() ? DialogResult::Accepted : DialogResult::Cancelled;
            });
            EXPECT_EQ(exec(functionIdOf("LineGoto")), 1);
            EXPECT_EQ(document.cursorLine(), wanted - 1);
            EXPECT_TRUE(document.isLoadIncomplete());
        } else {
            EXPECT_EQ(exec(functionIdOf("MoveDocumentEnd")), 1);
            if (c.escape) {
                EXPECT_TRUE(document.isLoadIncomplete());
                EXPECT_LT(document.lineCount(), m_lines);
                EXPECT_EQ(frame.lastStatus(), formatText(file_messages::kLoadStopped, "big.log"));
            } else {
                EXPECT_FALSE(document.isLoadIncomplete());
                EXPECT_FALSE(document.isReadOnly());
            }
            EXPECT_EQ(document.cursorLine(), document.lineCount() - 1);
        }
        EXPECT_EQ(frame.busyShownCount(), busy + 1);
        EXPECT_EQ(frame.busyDepth(), 0);
        keys.setDown(platform::kKeyEscape, false);
        ASSERT_TRUE(workspace().closeAll());
    }
}

TEST_F(SlicedLoadTest, AWindowOpenedAtALineShowsThatLineWithTheRestStillLoading) {
    const int wanted = m_lines * 3 / 4;
    EditPane* pane = workspace().openDocumentAt(m_path, wanted);
    EXPECT_EQ(pane->document().cursorLine(), wanted - 1);
    EXPECT_TRUE(pane->document().isLoadIncomplete());
    EXPECT_LT(pane->document().lineCount(), m_lines);
    while (pane->document().isLoadIncomplete()) {
        tick();
    }
    EXPECT_EQ(pane->document().cursorLine(), wanted - 1);
}

TEST_F(SlicedLoadTest, ClosingTheWindowOrTheEditorMidLoadEndsTheLoad) {
    const std::size_t timers = frame.runningTimers();
    open();
    EXPECT_EQ(frame.runningTimers(), timers + 1);
    ASSERT_TRUE(workspace().closeActive());
    EXPECT_EQ(frame.runningTimers(), timers);
    EXPECT_FALSE(processor().hasForegroundWork());
    tick(3);
    // Two loads under way when the editor goes.
    open();
    options.editor().multipleCopies = 1;
    open();
    tick();
    editor.reset();
    EXPECT_EQ(frame.runningTimers(), 0u);
    tick(3);
}

TEST_F(SlicedLoadTest, SmallFilesAndBatchRunsLoadWholeBeforeTheWindowOpens) {
    const std::string small = writeFile("small.log", m_bytes.substr(0, 3 * FileLoad::kBlockSize));
    EditPane* pane = workspace().openDocument(small);
    EXPECT_FALSE(pane->document().isLoadIncomplete());
    EXPECT_FALSE(processor().hasForegroundWork());
    // Up to the window's limit a file loads whole, as it always did.
    workspace().loads().setWholeLoadLimit(DocumentLoads::kWholeLoadLimit);
    pane = open();
    EXPECT_FALSE(pane->document().isLoadIncomplete());
    EXPECT_EQ(pane->document().lineCount(), m_lines);
    ASSERT_TRUE(workspace().closeAll());
    workspace().loads().setWholeLoadLimit(0);
    workspace().loads().setEnabled(false); // as a batch run has it
    pane = open();
    EXPECT_FALSE(pane->document().isLoadIncomplete());
    EXPECT_EQ(pane->document().lineCount(), m_lines);
}

} // namespace
} // namespace vexa
