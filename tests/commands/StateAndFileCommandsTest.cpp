// Option and state switches, sounds, stamps and the file functions through the processor.
#include "commands/FileCommands.h"
#include "commands/OptionCommands.h"
#include "commands/StampCommands.h"

#include <algorithm>
#include <filesystem>

#include "ProcessorFixture.h"
#include "settings/Format.h"

namespace vexa {
namespace {

using platform::SoundKind;
using test::ProcessorTest;
using Lines = std::vector<std::string>;

class StateTest : public ProcessorTest {};

TEST_F(StateTest, SwitchTriplesSetResetAndToggleWithTheirMessages) {
    struct Family {
        const char* prefix;
        int EditorOptions::*field;
        const char* message; // empty for a switch without one
    };
    const std::vector<Family> families = {
        {"LineWrap", &EditorOptions::lineWrap, "The automatic line wrapping feature is '%s'"},
        {"InsertMode", &EditorOptions::insertMode, ""},
        {"FileBackup", &EditorOptions::autoBackup, "The file auto backup feature is '%s'"},
        {"FileReadOnlyMode", &EditorOptions::fileReadOnly, "The system read/only mode state is now '%s'"},
        {"FileReadOEM", &EditorOptions::oemRead, "The 'Read file as OEM text' option is now '%s'"},
        {"FileWriteOEM", &EditorOptions::oemWrite, "The 'Write file as OEM text' option is now '%s'"},
        {"ToolBarView", &EditorOptions::toolBar, ""},
        {"StatusBarView", &EditorOptions::statusBar, ""},
    };
    const std::vector<std::pair<const char*, int>> steps = {
        {"Set", 1}, {"Toggle", 0}, {"Toggle", 1}, {"Reset", 0}};
    for (const Family& family : families) {
        for (const auto& [action, value] : steps) {
            frame.clearEvents();
            const FunctionId id = FunctionTable::standard().idOf(std::string(family.prefix) + action);
            ASSERT_NE(id, kNoFunction);
            EXPECT_EQ(exec(id), 1);
            EXPECT_EQ(options.editor().*family.field, value) << family.prefix << action;
            if (std::string(family.message).empty()) {
                EXPECT_TRUE(statuses().empty()) << family.prefix;
            } else {
                ASSERT_EQ(statuses().size(), 1u) << family.prefix;
                EXPECT_EQ(statuses()[0].text, formatText(family.message, value ? "On" : "Off"));
                EXPECT_EQ(statuses()[0].sound, SoundKind::None);
            }
        }
    }
}

TEST_F(StateTest, BarSwitchesShowAndHideTheFramesBars) {
    exec(functionIdOf("ToolBarViewToggle"));
    exec(functionIdOf("StatusBarViewReset"));
    exec(functionIdOf("StatusBarViewSet"));
    std::vector<std::string> calls;
    for (const FrameEvent& event : frame.eventsOf(FrameEventKind::Bar)) {
        calls.push_back(std::string(event.value == static_cast<int>(FrameBar::ToolBar) ? "tool" : "status") +
                        (event.visible ? " on" : " off"));
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"tool off", "status off", "status on"}));
    EXPECT_EQ(options.editor().toolBar, 0);
}

TEST_F(StateTest, InsertModeReachesTheDocument) {
    setLines({"abc"});
    exec(functionIdOf("InsertModeReset"));
    type("X");
    EXPECT_EQ(doc().lineText(0), "Xbc");
    exec(functionIdOf("InsertModeToggle"));
    type("Y");
    EXPECT_EQ(doc().lineText(0), "XYbc");
}

TEST_F(StateTest, DocumentReadOnlySwitches) {
    setLines({"abc"});
    exec(functionIdOf("FileReadOnlySet"));
    EXPECT_TRUE(doc().isReadOnly());
    EXPECT_EQ(frame.lastStatus(), "The document is now marked as 'Read Only'");
    exec(functionIdOf("FileReadOnlyToggle"));
    EXPECT_FALSE(doc().isReadOnly());
    EXPECT_EQ(frame.lastStatus(), "The document is now marked as 'Read/Write'");

    type("x");
    frame.clearEvents();
    exec(functionIdOf("FileReadOnlySet"));
    EXPECT_FALSE(doc().isReadOnly());
    ASSERT_EQ(statuses().size(), 1u);
    EXPECT_EQ(statuses()[0].text, "The document can not be made read only as it has been changed!");
    EXPECT_EQ(statuses()[0].sound, SoundKind::Information);
}

TEST_F(StateTest, APartlyLoadedDocumentStaysReadOnlyAndRefusesTyping) {
    setLines({"abc"});
    doc().setReadOnly(true);
    doc().setLoadIncomplete(true);
    for (const FunctionId id : {functionIdOf("FileReadOnlyReset"), functionIdOf("FileReadOnlyToggle")}) {
        const int name = static_cast<int>(id);
        frame.clearEvents();
        exec(id);
        EXPECT_TRUE(doc().isReadOnly()) << name;
        ASSERT_EQ(statuses().size(), 1u) << name;
        EXPECT_EQ(statuses()[0].text, "The document holds only part of its file, so it stays read only.") << name;
    }
    type("x");
    EXPECT_EQ(doc().lineText(0), "abc");
}

TEST_F(StateTest, SoundsVersionAndNotSupported) {
    const std::vector<std::pair<FunctionId, SoundKind>> sounds = {
        {functionIdOf("SoundNote"), SoundKind::Information},
        {functionIdOf("SoundQuestion"), SoundKind::Question},
        {functionIdOf("SoundError"), SoundKind::Error},
        {functionIdOf("SoundWarning"), SoundKind::Exclamation},
    };
    for (const auto& [id, kind] : sounds) {
        frame.clearEvents();
        EXPECT_EQ(exec(id), 1);
        ASSERT_EQ(frame.eventsOf(FrameEventKind::Beep).size(), 1u) << id;
        EXPECT_EQ(frame.eventsOf(FrameEventKind::Beep)[0].sound, kind);
    }
    frame.clearEvents();
    exec(functionIdOf("SoundOk"));
    EXPECT_TRUE(frame.eventsOf(FrameEventKind::Beep).empty());
    options.editor().makeSound = 0;
    exec(functionIdOf("SoundError"));
    EXPECT_TRUE(frame.eventsOf(FrameEventKind::Beep).empty());

    exec(functionIdOf("Version"));
    EXPECT_EQ(frame.lastStatus().rfind("Vexa for Windows 95, Windows NT Version 2.50", 0), 0u);
}

TEST_F(StateTest, CursorTestsForScripts) {
    struct Case {
        int offset;
        int32_t start;
        int32_t end;
        int32_t within;
        int32_t outside;
    };
    const std::vector<Case> cases = {{0, 1, 0, 1, 0}, {2, 0, 0, 1, 0}, {3, 0, 1, 0, 0}, {5, 0, 0, 0, 1}};
    for (const Case& c : cases) {
        setLines({"abc"});
        place(0, c.offset);
        EXPECT_EQ(exec(functionIdOf("IsStartOfLine")), c.start) << c.offset;
        EXPECT_EQ(exec(functionIdOf("IsEndOfLine")), c.end) << c.offset;
        EXPECT_EQ(exec(functionIdOf("IsWithinLine")), c.within) << c.offset;
        EXPECT_EQ(exec(functionIdOf("IsOutsideLine")), c.outside) << c.offset;
    }
    processor.activateOutputWindow();
    EXPECT_EQ(exec(functionIdOf("IsStartOfLine")), 0);
}

TEST_F(StateTest, StampsInsertTheClockAndFileFacts) {
    clock.setLocalTime(platform::LocalTime{2026, 3, 7, 9, 5, 4, 560, 6, 65});
    const std::string path = m_home.file("stamped.c");
    test::writeFileBytes(path, "12345");
    struct Case {
        FunctionId id;
        std::string text;
    };
    const std::vector<Case> cases = {
        {functionIdOf("StampDay"), "7"},
        {functionIdOf("StampMonth"), "3"},
        {functionIdOf("StampYear"), "2026"},
        {functionIdOf("StampTime"), " 9:05:04.56"},
        {functionIdOf("StampDateTime"), "Sat Mar  7 09:05:04 2026"},
        {functionIdOf("StampFileName"), path},
        {functionIdOf("StampFileSize"), "5"},
    };
    for (const Case& c : cases) {
        setLines({"<>"});
        doc().setFileName(path);
        place(0, 1);
        EXPECT_EQ(exec(c.id), 1) << c.id;
        EXPECT_EQ(doc().lineText(0), "<" + c.text + ">") << c.id;
    }
    setLines({""});
    doc().setFileName(path);
    exec(functionIdOf("StampFileDateTime"));
    EXPECT_EQ(doc().lineText(0).size(), 24u);

    processor.activateOutputWindow();
    EXPECT_EQ(exec(functionIdOf("StampYear")), 1);
}

TEST_F(StateTest, DateTimeTextHasTheCLibraryForm) {
    EXPECT_EQ(StampCommands::dateTimeText({1993, 6, 30, 21, 49, 8, 0, 3, 0}), "Wed Jun 30 21:49:08 1993");
    EXPECT_EQ(StampCommands::dateTimeText({2000, 1, 1, 0, 0, 0, 0, 6, 0}), "Sat Jan  1 00:00:00 2000");
}

class FileTest : public ProcessorTest {
protected:
    FileTest() = default;

    Document& openFile(const std::string& name, const std::string& content) {
        const std::string path = m_home.file(name);
        test::writeFileBytes(path, content);
        auto document = std::make_unique<Document>();
        document->setFileName(path);
        DocumentFile file(fileOptionsFrom(options), frame);
        EXPECT_TRUE(file.load(*document));
        windows.add(std::move(document));
        return processor.pane()->document();
    }
};

TEST_F(FileTest, SaveWritesAModifiedDocumentAndReports) {
    Document& document = openFile("a.txt", "one\r\ntwo\r\n");
    processor.typeCharacter(U'X');
    EXPECT_EQ(exec(functionIdOf("FileSave")), 1);
    EXPECT_EQ(test::readFileBytes(m_home.file("a.txt")), "Xone\r\ntwo\r\n");
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(frame.lastStatus(), "Write successful.");
}

TEST_F(FileTest, SaveWithoutADocumentOrNameTakesTheOtherRoads) {
    processor.activateOutputWindow();
    EXPECT_EQ(exec(functionIdOf("FileSave")), 0);
    EXPECT_EQ(frame.lastStatus(), "Action can only be performed on an active document!");
    // A message only: saving without a document makes no sound.
    EXPECT_EQ(statuses().back().sound, SoundKind::None);
    EXPECT_TRUE(frame.eventsOf(FrameEventKind::Beep).empty());

    windows.newDocument();
    type("new text");
    const std::string path = m_home.file("named.txt");
    frame.chooseNextSave(path);
    EXPECT_EQ(exec(functionIdOf("FileSave")), 1);
    EXPECT_EQ(test::readFileBytes(path), "new text\r\n");
    EXPECT_EQ(processor.document()->fileName(), path);
    EXPECT_TRUE(frame.unexpected().empty());
}

TEST_F(FileTest, SaveAsFailureKeepsTheOldNameAndSaysSo) {
    Document& document = openFile("b.txt", "b\r\n");
    frame.chooseNextSave(m_home.file("missing/dir/b.txt"));
    EXPECT_EQ(exec(functionIdOf("FileSaveAs")), 0);
    EXPECT_EQ(document.fileName(), m_home.file("b.txt"));
    const auto boxes = frame.eventsOf(FrameEventKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The program was unable to write to the file 'b.txt'.\nThe file may be write "
                             "protected or does not exist!");
    EXPECT_EQ(boxes[0].title, "Vexa Error");

    frame.cancelNextDialog();
    EXPECT_EQ(exec(functionIdOf("FileSaveAs")), 0);
}

TEST_F(FileTest, SaveAsTellsTheWindowsOfTheNewName) {
    openFile("r.c", "r\r\n");
    frame.chooseNextSave(m_home.file("r.h"));
    EXPECT_EQ(exec(functionIdOf("FileSaveAs")), 1);
    frame.chooseNextSave(m_home.file("s.h"));
    EXPECT_EQ(exec(functionIdOf("FileSaveAs")), 1);
    EXPECT_EQ(windows.renamed,
              (std::vector<std::string>{m_home.file("r.h") + " new extension", m_home.file("s.h")}));
    EXPECT_EQ(test::readFileBytes(m_home.file("s.h")), "r\r\n");
    EXPECT_EQ(frame.lastStatus(), "Write successful.");

    // A document that had no name gets an extension: its profile is chosen again too.
    windows.newDocument();
    type("n");
    windows.renamed.clear();
    frame.chooseNextSave(m_home.file("n.c"));
    EXPECT_EQ(exec(functionIdOf("FileSaveAs")), 1);
    EXPECT_EQ(windows.renamed, (std::vector<std::string>{m_home.file("n.c") + " new extension"}));
}

TEST_F(FileTest, SaveAllAndSaveAllNamed) {
    Document& named = openFile("c.txt", "c\r\n");
    named.insertText("1");
    windows.newDocument();
    type("unnamed");
    EXPECT_EQ(exec(functionIdOf("FileSaveAllNamed")), 1);
    EXPECT_EQ(test::readFileBytes(m_home.file("c.txt")), "1c\r\n");
    EXPECT_TRUE(frame.eventsOf(FrameEventKind::SaveDialog).empty());

    frame.chooseNextSave(m_home.file("d.txt"));
    EXPECT_EQ(exec(functionIdOf("FileSaveAll")), 1);
    EXPECT_EQ(test::readFileBytes(m_home.file("d.txt")), "unnamed\r\n");
}

// Regression: save all asked for a name for every untitled window, also the untouched ones.
TEST_F(FileTest, SaveAllSkipsUnmodifiedUntitledWindows) {
    windows.newDocument();
    windows.newDocument();
    type("typed");
    frame.chooseNextSave(m_home.file("typed.txt"));
    EXPECT_EQ(exec(functionIdOf("FileSaveAll")), 1);
    EXPECT_EQ(frame.eventsOf(FrameEventKind::SaveDialog).size(), 1u);
    EXPECT_EQ(test::readFileBytes(m_home.file("typed.txt")), "typed\r\n");
    EXPECT_TRUE(frame.unexpected().empty());
}

TEST_F(FileTest, TheFiltersOfTheOptionsAreOfferedByTheOpenAndSaveDialogs) {
    options.filters().filter1 = "C Files (*.c)|*.c;*.h|";
    options.filters().filter2 = "All Files (*.*)|*.*|";
    const std::vector<FileFilter> expected = {{"C Files (*.c)", "*.c;*.h"}, {"All Files (*.*)", "*"}};
    openFile("f.c", "f\r\n");
    frame.cancelNextDialog();
    exec(functionIdOf("FileOpen"));
    frame.cancelNextDialog();
    exec(functionIdOf("FileSaveAs"));
    frame.cancelNextDialog();
    exec(functionIdOf("FileInsertAtCursor"));
    const auto opens = frame.eventsOf(FrameEventKind::OpenDialog);
    const auto saves = frame.eventsOf(FrameEventKind::SaveDialog);
    ASSERT_EQ(opens.size(), 2u);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(opens[0].dialog.filters, expected);
    EXPECT_EQ(opens[1].dialog.filters, expected);
    EXPECT_EQ(saves[0].dialog.filters, expected);
}

TEST_F(FileTest, TheOpenDialogAcceptsOnlyExistingFilesWhenFileMustExistIsOn) {
    for (const int mustExist : {1, 0}) {
        options.editor().fileMustExist = mustExist;
        frame.cancelNextDialog();
        exec(functionIdOf("FileOpen"));
        const auto opens = frame.eventsOf(FrameEventKind::OpenDialog);
        ASSERT_FALSE(opens.empty());
        EXPECT_EQ(opens.back().dialog.mustExist, mustExist != 0);
    }
}

TEST(FileFilters, TheFilterStringIsReadInPairs) {
    struct Case {
        const char* text;
        std::vector<FileFilter> filters;
    };
    const Case cases[] = {
        {"", {}},
        {"Text (*.txt)|*.txt|", {{"Text (*.txt)", "*.txt"}}},
        {"Text (*.txt)|*.txt", {{"Text (*.txt)", "*.txt"}}},
        {"A|*.a|B|*.b;*.*|", {{"A", "*.a"}, {"B", "*.b;*"}}},
        {"No patterns|", {}},
        {"Empty||Text|*.txt|", {{"Text", "*.txt"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileFiltersFrom(c.text), c.filters) << c.text;
    }
}

TEST_F(FileTest, OpenOpensEveryChosenFileAndHonoursTheReadOnlyMode) {
    frame.chooseNextOpen({"/x/one.c", "/x/two.c"});
    options.editor().fileReadOnly = 1;
    EXPECT_EQ(exec(functionIdOf("FileOpen")), 1);
    EXPECT_EQ(windows.opened, (std::vector<std::string>{"/x/one.c", "/x/two.c"}));
    EXPECT_TRUE(windows.owned.back()->document().isReadOnly());
    EXPECT_EQ(options.lastDirectoryUsed(), "/x/");

    frame.cancelNextDialog();
    EXPECT_EQ(exec(functionIdOf("FileOpen")), 0);
}

TEST_F(FileTest, WindowFunctionsGoToTheDocumentWindows) {
    EXPECT_EQ(exec(functionIdOf("FileNew")), 1);
    EXPECT_EQ(windows.owned.size(), 1u);
    EXPECT_EQ(exec(functionIdOf("FileClose")), 1);
    EXPECT_EQ(windows.closes, 1);
    EXPECT_EQ(exec(functionIdOf("FileReload1")), 1);
    EXPECT_EQ(windows.opened, std::vector<std::string>{"/recent/one.c"});
    EXPECT_EQ(exec(functionIdOf("FileReload2")), 0);
    EXPECT_EQ(exec(functionIdOf("FileExit")), 1);
    EXPECT_EQ(windows.exits, 1);
}

TEST_F(FileTest, FileNameShowsTheFullPathOrSaysThereIsNone) {
    openFile("e.txt", "e\r\n");
    exec(functionIdOf("FileName"));
    EXPECT_EQ(frame.lastStatus(), m_home.file("e.txt"));
    windows.newDocument();
    exec(functionIdOf("FileName"));
    EXPECT_EQ(frame.lastStatus(), "No file currently loaded!");
}

TEST_F(FileTest, ReloadAsksFirstWhenTheDocumentIsModified) {
    Document& document = openFile("f.txt", "old\r\n");
    test::writeFileBytes(m_home.file("f.txt"), "new\r\n");
    processor.typeCharacter(U'X');
    frame.answerNext(Answer::No);
    exec(functionIdOf("FileReloadCurrent"));
    EXPECT_EQ(document.lineText(0), "Xold");
    frame.answerNext(Answer::Yes);
    exec(functionIdOf("FileReloadCurrent"));
    EXPECT_EQ(document.lineText(0), "new");
    EXPECT_TRUE(frame.unexpected().empty());
}

TEST_F(FileTest, InsertAtCursorReadsTheChosenFile) {
    Document& document = openFile("g.txt", "first\r\nlast\r\n");
    test::writeFileBytes(m_home.file("part.txt"), "p1\r\np2\r\n");
    document.moveToLine(1);
    frame.chooseNextOpen({m_home.file("part.txt")});
    EXPECT_EQ(exec(functionIdOf("FileInsertAtCursor")), 1);
    EXPECT_EQ(document.text(), "first\np1\np2\nlast");
    EXPECT_EQ(frame.lastStatus(), "Write successful.");
    const auto messages = statuses();
    EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [](const FrameEvent& event) {
        return event.text == "Select the name of the text file to be inserted.";
    }));

    document.setReadOnly(true);
    frame.clearEvents();
    EXPECT_EQ(exec(functionIdOf("FileInsertAtCursor")), 0);
    EXPECT_TRUE(frame.eventsOf(FrameEventKind::OpenDialog).empty());

    processor.activateOutputWindow();
    EXPECT_EQ(exec(functionIdOf("FileInsertAtCursor")), 0);
    EXPECT_EQ(frame.lastStatus(), "Action can only be performed on an active document!");
}

TEST_F(FileTest, TouchAndBackup) {
    openFile("h.txt", "h\r\n");
    const std::string path = m_home.file("h.txt");
    std::filesystem::last_write_time(path,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(5));
    const auto before = std::filesystem::last_write_time(path);
    exec(functionIdOf("FileTouch"));
    EXPECT_GT(std::filesystem::last_write_time(path), before);
    EXPECT_EQ(frame.lastStatus(), "The '" + path + "' file has been touched.");

    processor.typeCharacter(U'Z');
    std::filesystem::create_directories(options.directory(DirectoryKind::Backup));
    exec(functionIdOf("FileBackupWrite"));
    EXPECT_EQ(test::readFileBytes(options.directory(DirectoryKind::Backup) + "h.txt"), "Zh\r\n");
    EXPECT_TRUE(processor.document()->isModified());
}

} // namespace
} // namespace vexa
