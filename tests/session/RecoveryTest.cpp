// The recovery journal in the whole editor: an editor that goes without closing its documents
// leaves journals, and the next one offers their changes back.
#include <filesystem>

#include "core/WordChainHash.h"
#include "recovery/JournalFormat.h"
#include "session/DocumentRecovery.h"
#include "session/EditorFixture.h"
#include "settings/Format.h"
#include "support/JournalHeaderBytes.h"

namespace vexa::test {
namespace {

namespace fs = std::filesystem;

// The recovery question's buttons as the headless frame presses them.
constexpr Answer kRecover = Answer::Yes;
constexpr Answer kOpenAsSaved = Answer::No;
constexpr Answer kDiscard = Answer::Cancel;

class RecoveryTest : public EditorTest {
protected:
    RecoveryTest() {
        journal = true;
        startEditor();
        file = writeFile("main.c", "int main()\n{\n}\n");
    }

    std::string journalDirectory() const { return options.homeDirectory() + "/vrecover"; }

    // The files of the journals directory, once the journal writer has caught up.
    std::vector<fs::path> journals(std::string_view suffix = ".vj") {
        editor->recovery().sync();
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(journalDirectory())) {
            if (entry.path().string().ends_with(suffix)) {
                found.push_back(entry.path());
            }
        }
        return found;
    }

    // Edits the open document through the keyboard road; its text and undo depth are kept.
    void editActive() {
        exec(functionIdOf("MoveLineDown"));
        exec(functionIdOf("MoveLineEnd"));
        exec(functionIdOf("Enter"));
        type("return 0;");
        exec(functionIdOf("Enter"));
        type("// done");
        text = activeDocument().text();
        undoDepth = activeDocument().undoStore().undoCount();
    }

    std::vector<FrameEvent> questions() const { return frame.eventsOf(FrameEventKind::Question); }

    // An editor opens the file holding `bytes`, edits it and goes without closing it.
    void leaveJournalOn(const std::string& bytes) {
        startEditor();
        frame.clearEvents();
        writeFileBytes(file, bytes);
        ASSERT_NE(workspace().openDocument(file), nullptr);
        editActive();
        startEditor();
        frame.clearEvents();
    }

    // The next editor recovers the journal at start, the file holding `onDisk`: the edits come
    // back into the file's window, or, when the file changed, onto the copy kept beside the
    // journal in an untitled document; nothing is lost and the file stays as it is.
    void recoverAtStart(const std::string& onDisk, bool changed) {
        frame.answerNext(kRecover);
        workspace().openStartupFiles({});
        ASSERT_EQ(questions().size(), 1U);
        EXPECT_EQ(questions()[0].text.find("has changed since") != std::string::npos, changed);
        EXPECT_TRUE(frame.eventsOf(FrameEventKind::MessageBox).empty());
        ASSERT_NE(workspace().active(), nullptr);
        EXPECT_EQ(activeDocument().hasName(), !changed);
        EXPECT_EQ(activeDocument().text(), text);
        EXPECT_TRUE(activeDocument().isModified());
        EXPECT_EQ(readFileBytes(file), onDisk);
        frame.answerNext(Answer::No);
        ASSERT_TRUE(workspace().closeAll());
        EXPECT_TRUE(journals().empty());
    }

    std::string file;
    std::string text;
    std::size_t undoDepth = 0;
};

TEST_F(RecoveryTest, AnEditorThatDiesLeavesItsChangesToTheNextOne) {
    // Found when the file is opened again, and at start for a file not opened.
    for (const bool atStart : {false, true}) {
        SCOPED_TRACE(atStart);
        ASSERT_NE(workspace().openDocument(file), nullptr);
        activeDocument().goToLine(1);
        type("/* one */");
        activeDocument().nextGroup();
        type("/* two */");
        text = activeDocument().text();
        undoDepth = activeDocument().undoStore().undoCount();
        startEditor(); // the old editor goes without closing its document
        frame.clearEvents();
        frame.answerNext(kRecover);
        if (atStart) {
            workspace().openStartupFiles({});
        } else {
            ASSERT_NE(workspace().openDocument(file), nullptr);
        }
        ASSERT_EQ(questions().size(), 1U);
        EXPECT_NE(questions()[0].text.find("main.c"), std::string::npos);
        ASSERT_NE(workspace().active(), nullptr);
        Document& document = activeDocument();
        EXPECT_EQ(document.fileName(), file);
        EXPECT_EQ(workspace().title(*workspace().active()), file + "*");
        EXPECT_EQ(document.text(), text);
        EXPECT_TRUE(document.isModified());
        EXPECT_EQ(document.undoStore().undoCount(), undoDepth);
        while (document.undo()) {
        }
        EXPECT_EQ(document.text(), "int main()\n{\n}");
        // Recovered once: the old journal is gone, the document's own one holds the edits.
        EXPECT_EQ(journals().size(), 1U);
        ASSERT_TRUE(workspace().closeAll()); // unmodified again: nothing to ask
        EXPECT_EQ(frame.unusedReplies(), 0U);
        EXPECT_TRUE(journals().empty());
        EXPECT_TRUE(frame.unexpected().empty());
    }
}

TEST_F(RecoveryTest, SavingAndClosingWithoutSavingRemoveTheJournal) {
    ASSERT_NE(workspace().openDocument(file), nullptr);
    type("x");
    EXPECT_EQ(journals().size(), 1U);
    exec(functionIdOf("FileSave"));
    EXPECT_TRUE(journals().empty());
    type("y");
    EXPECT_EQ(journals().size(), 1U);
    frame.answerNext(Answer::No);
    ASSERT_TRUE(workspace().closeAll());
    EXPECT_TRUE(journals().empty());
    EXPECT_TRUE(journals(".lock").empty());
    startEditor();
    frame.clearEvents();
    ASSERT_NE(workspace().openDocument(file), nullptr);
    EXPECT_TRUE(questions().empty());
    EXPECT_EQ(readFileBytes(file), "xint main()\n{\n}\n");
}

TEST_F(RecoveryTest, AFileChangedSinceComesBackAsANewUntitledDocument) {
    ASSERT_NE(workspace().openDocument(file), nullptr);
    editActive();
    startEditor();
    writeFileBytes(file, "changed by another program\n");
    frame.answerNext(kRecover);
    workspace().openStartupFiles({});
    ASSERT_EQ(questions().size(), 1U);
    EXPECT_NE(questions()[0].text.find("has changed since"), std::string::npos);
    ASSERT_NE(workspace().active(), nullptr);
    EXPECT_FALSE(activeDocument().hasName());
    EXPECT_EQ(activeDocument().text(), text);
    EXPECT_TRUE(activeDocument().isModified());
    EXPECT_EQ(readFileBytes(file), "changed by another program\n");
}

TEST_F(RecoveryTest, AFileOfSeveralMegabytesIsComparedWholeWithItsJournal) {
    // The file and the journal's copy of it are read a piece at a time: a change in the last
    // byte, far past the first piece, is still a change, and the copy still brings the edits back.
    std::string bytes = "int main()\n{\n}\n";
    for (int line = 0; bytes.size() < 5 * 1024 * 1024 / 2; ++line) {
        bytes += "/* filler line " + std::to_string(line) + " */\n";
    }
    for (const bool changed : {false, true}) {
        SCOPED_TRACE(changed);
        leaveJournalOn(bytes);
        std::string onDisk = bytes;
        if (changed) {
            onDisk[onDisk.size() - 2] = '!'; // the same length, one byte other
            writeFileBytes(file, onDisk);
        }
        recoverAtStart(onDisk, changed);
    }
}

TEST_F(RecoveryTest, JournalsOfEitherFileHashComeBackAndNoticeAChangedFile) {
    // Journals left by editors before the file hash took lanes hold the word-chain hash of the
    // file (header version 1): the file and the copy of it beside the journal are compared by
    // that hash, today's journals by the content hash.
    const std::string bytes = "int main()\n{\n}\n";
    for (const bool older : {false, true}) {
        for (const bool changed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "older " << older << " changed " << changed);
            leaveJournalOn(bytes);
            const std::vector<fs::path> left = journals();
            ASSERT_EQ(left.size(), 1U);
            if (older) {
                const std::string journal = readFileBytes(left[0]);
                std::optional<recovery::JournalHeader> header = recovery::readJournal(journal).header;
                ASSERT_TRUE(header);
                EXPECT_EQ(header->hashKind, recovery::FileHashKind::Lanes);
                header->hash = WordChainHash::of(bytes);
                writeFileBytes(left[0], withHeaderFrame(journal, journalHeaderFrame(*header, 1)));
            }
            std::string onDisk = bytes;
            if (changed) {
                onDisk[1] = 'N'; // the same length, one byte other
                writeFileBytes(file, onDisk);
            }
            recoverAtStart(onDisk, changed);
        }
    }
}

TEST_F(RecoveryTest, ACutJournalRecoversWhatItHoldsAndSaysSo) {
    ASSERT_NE(workspace().openDocument(file), nullptr);
    editActive();
    startEditor();
    const std::vector<fs::path> left = journals();
    ASSERT_EQ(left.size(), 1U);
    fs::resize_file(left[0], fs::file_size(left[0]) - 3);
    frame.answerNext(kRecover);
    ASSERT_NE(workspace().openDocument(file), nullptr);
    const std::vector<FrameEvent> boxes = frame.eventsOf(FrameEventKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_NE(boxes[0].text.find("could not be read"), std::string::npos);
    // What the journal held before the cut came back.
    EXPECT_TRUE(activeDocument().text().starts_with("int main()\n{\n   return 0;\n   // do"))
        << activeDocument().text();
    EXPECT_TRUE(activeDocument().isModified());
    EXPECT_EQ(readFileBytes(file), "int main()\n{\n}\n");
}

TEST_F(RecoveryTest, AnUntitledDocumentComesBackWhole) {
    ASSERT_NE(workspace().newDocument(), nullptr);
    type("notes never saved");
    exec(functionIdOf("Enter"));
    type("second line");
    text = activeDocument().text();
    startEditor();
    frame.answerNext(kRecover);
    workspace().openStartupFiles({});
    ASSERT_NE(workspace().active(), nullptr);
    EXPECT_FALSE(activeDocument().hasName());
    EXPECT_EQ(activeDocument().text(), text);
    EXPECT_TRUE(activeDocument().isModified());
}

TEST_F(RecoveryTest, OpenAsSavedKeepsTheJournalAsideAndDiscardRemovesIt) {
    struct Case {
        Answer answer;
        std::size_t asideFiles;
    };
    for (const Case& c : {Case{kOpenAsSaved, 1}, Case{kDiscard, 0}}) {
        for (const fs::path& aside : journals(".aside")) {
            fs::remove(aside);
        }
        ASSERT_NE(workspace().openDocument(file), nullptr);
        editActive();
        startEditor();
        frame.answerNext(c.answer);
        ASSERT_NE(workspace().openDocument(file), nullptr);
        EXPECT_EQ(activeDocument().text(), "int main()\n{\n}");
        EXPECT_FALSE(activeDocument().isModified());
        EXPECT_TRUE(journals().empty()) << journals()[0];
        EXPECT_EQ(journals(".aside").size(), c.asideFiles);
        ASSERT_TRUE(workspace().closeAll());
        // Asked once: the next editor does not ask again.
        startEditor();
        frame.clearEvents();
        ASSERT_NE(workspace().openDocument(file), nullptr);
        EXPECT_TRUE(questions().empty());
        ASSERT_TRUE(workspace().closeAll());
    }
}

// A second editor over the same home, as another process would be.
struct SecondEditor {
    explicit SecondEditor(Options& options)
        : editor(EditorPorts{frame, view, options, clock, clipboard, sound, keys, outputs, launcher, "",
                             [](int) { return false; }, true}) {}
    HeadlessFrame frame;
    HeadlessWorkspaceView view;
    FakeClock clock;
    platform::MemoryClipboard clipboard;
    platform::SilentSoundPlayer sound;
    platform::MemoryKeyState keys;
    toolchain::HeadlessOutputHost outputs;
    FakeProcessLauncher launcher;
    Editor editor;
};

TEST_F(RecoveryTest, ASecondLiveEditorOnAFileIsWarnedAndChoosesReadOnlyOrEdit) {
    ASSERT_NE(workspace().openDocument(file), nullptr);
    editActive();
    struct Case {
        Answer answer;
        bool readOnly;
    };
    for (const Case& c : {Case{Answer::Yes, true}, Case{Answer::No, false}}) {
        SecondEditor second(options);
        second.frame.answerNext(c.answer);
        EditPane* pane = second.editor.workspace().openDocument(file);
        ASSERT_NE(pane, nullptr);
        const std::vector<FrameEvent> asked = second.frame.eventsOf(FrameEventKind::Question);
        ASSERT_EQ(asked.size(), 1U);
        EXPECT_NE(asked[0].text.find(formatText("being edited in another Vexa window, process %d", getpid())),
                  std::string::npos);
        EXPECT_EQ(pane->document().isReadOnly(), c.readOnly);
        // The live editor's journal is not offered to the second one.
        EXPECT_EQ(pane->document().text(), "int main()\n{\n}");
        if (!c.readOnly) {
            second.editor.processor().typeText("z");
            second.editor.recovery().sync();
            EXPECT_EQ(journals().size(), 2U); // each editor journals into a file of its own
        }
        second.frame.answerNext(Answer::No);
        ASSERT_TRUE(second.editor.workspace().closeAll());
    }
    EXPECT_EQ(activeDocument().text(), text);
}

// An untitled document saved under a name: its journal and lock go by that name from then on,
// so another editor on the file is warned and a crash comes back for the file.
TEST_F(RecoveryTest, AnUntitledDocumentSavedUnderANameJournalsUnderThatName) {
    const std::string named = writeFile("named.c", "");
    ASSERT_NE(workspace().newDocument(), nullptr);
    type("first");
    editor->recovery().sync();
    frame.chooseNextSave(named);
    ASSERT_EQ(exec(functionIdOf("FileSaveAs")), 1);
    type(" second");
    text = activeDocument().text();
    editor->recovery().sync();
    {
        SecondEditor second(options);
        second.frame.answerNext(Answer::Yes);
        ASSERT_NE(second.editor.workspace().openDocument(named), nullptr);
        const std::vector<FrameEvent> asked = second.frame.eventsOf(FrameEventKind::Question);
        ASSERT_EQ(asked.size(), 1U);
        EXPECT_NE(asked[0].text.find("being edited in another Vexa window"), std::string::npos);
        second.frame.answerNext(Answer::No);
        ASSERT_TRUE(second.editor.workspace().closeAll());
    }
    startEditor();
    frame.clearEvents();
    frame.answerNext(kRecover);
    ASSERT_NE(workspace().openDocument(named), nullptr);
    EXPECT_EQ(questions().size(), 1U);
    EXPECT_EQ(activeDocument().fileName(), named);
    EXPECT_EQ(activeDocument().text(), text);
    EXPECT_TRUE(activeDocument().isModified());
}

// A script's set_file_name names the document anew without saving it: its journal then names the
// new file, and the edits come back for that name, whether the document had a file before or not.
TEST_F(RecoveryTest, ADocumentRenamedWithoutSavingComesBackUnderItsNewName) {
    const std::string script = writeFile("rename.zm", "int main() {\nset_file_name(\"renamed.c\");\n}\n");
    const std::string renamed = (fs::current_path() / "renamed.c").string();
    for (const bool untitled : {false, true}) {
        SCOPED_TRACE(untitled);
        ASSERT_NE(untitled ? workspace().newDocument() : workspace().openDocument(file), nullptr);
        type("/* kept */");
        editor->recovery().sync(); // a journal under the old name
        (void)editor->scripts().runCommandLine(script);
        ASSERT_EQ(activeDocument().fileName(), renamed);
        type(" more");
        text = activeDocument().text();
        editor->recovery().sync();
        startEditor();
        frame.clearEvents();
        frame.answerNext(kRecover);
        workspace().openStartupFiles({});
        ASSERT_EQ(questions().size(), 1U);
        EXPECT_NE(questions()[0].text.find(renamed), std::string::npos) << questions()[0].text;
        ASSERT_NE(workspace().active(), nullptr);
        EXPECT_EQ(activeDocument().fileName(), renamed);
        EXPECT_EQ(activeDocument().text(), text);
        EXPECT_TRUE(activeDocument().isModified());
        frame.answerNext(Answer::No);
        ASSERT_TRUE(workspace().closeAll());
        EXPECT_TRUE(journals().empty());
        EXPECT_FALSE(fs::exists(renamed));
    }
}

// Reloading and emptying the undo store are in the journal: the recovered document undoes just
// as far as the one that was lost.
TEST_F(RecoveryTest, AfterReloadOrUndoFlushTheRecoveredUndoGoesAsFar) {
    struct Step {
        const char* name;
        FunctionId id;
        bool asks; // whether it asks before it throws the changes away
    };
    for (const Step& step : {Step{"reload", functionIdOf("FileReloadCurrent"), true},
                             Step{"undo flush", functionIdOf("UndoFlush"), false}}) {
        SCOPED_TRACE(step.name);
        ASSERT_NE(workspace().openDocument(file), nullptr);
        activeDocument().goToLine(1);
        type("/* before */");
        if (step.asks) {
            frame.answerNext(Answer::Yes);
        }
        exec(step.id);
        ASSERT_EQ(frame.unusedReplies(), 0U);
        activeDocument().nextGroup();
        type("/* after */");
        text = activeDocument().text();
        undoDepth = activeDocument().undoStore().undoCount();
        startEditor();
        frame.clearEvents();
        frame.answerNext(kRecover);
        ASSERT_NE(workspace().openDocument(file), nullptr);
        EXPECT_EQ(activeDocument().text(), text);
        EXPECT_EQ(activeDocument().undoStore().undoCount(), undoDepth);
        frame.answerNext(Answer::No);
        ASSERT_TRUE(workspace().closeAll());
    }
}

// "Open as saved" for a journal found at start opens the file as it is on the disk, also when it
// changed since the journal started.
TEST_F(RecoveryTest, OpenAsSavedAtStartOpensTheFile) {
    for (const bool changed : {false, true}) {
        SCOPED_TRACE(changed);
        writeFileBytes(file, "int main()\n{\n}\n");
        for (const fs::path& aside : journals(".aside")) {
            fs::remove(aside);
        }
        ASSERT_NE(workspace().openDocument(file), nullptr);
        editActive();
        startEditor();
        const std::string onDisk = changed ? "changed by another program" : "int main()\n{\n}";
        if (changed) {
            writeFileBytes(file, onDisk + "\n");
        }
        frame.clearEvents();
        frame.answerNext(kOpenAsSaved);
        workspace().openStartupFiles({});
        ASSERT_EQ(questions().size(), 1U);
        ASSERT_NE(workspace().active(), nullptr);
        EXPECT_EQ(activeDocument().fileName(), file);
        EXPECT_EQ(activeDocument().text(), onDisk);
        EXPECT_FALSE(activeDocument().isModified());
        EXPECT_EQ(journals(".aside").size(), 1U);
        ASSERT_TRUE(workspace().closeAll());
    }
}

} // namespace
} // namespace vexa::test
