// Find in Files through the whole editor: the dialog, results streaming into the Search Results
// window, open documents searched in their edited text, navigation, Escape.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "findfiles/FindInFilesCommands.h"
#include "findfiles/FindInFilesDialog.h"
#include "session/EditorFixture.h"

namespace vexa::test {
namespace {

using findfiles::FindInFilesDialog;
using findfiles::FolderSearchRequest;
namespace fs = std::filesystem;

class FindInFilesTest : public EditorTest {
protected:
    void SetUp() override {
        fs::create_directories(fs::path(writeFile("x", "")).parent_path() / "proj/sub");
        folder = fs::path(writeFile("proj/a.c", "int alpha;\nint beta;\n")).parent_path().string();
        writeFile("proj/sub/b.c", "// beta\nbeta();\n");
        writeFile("proj/notes.txt", "no match\n");
    }
    // Runs the timers until the search has finished (bounded: a test never hangs on it).
    void runSearch() {
        // The worker runs in real time, the frame's timers in the frame's own.
        for (int i = 0; i < 2000 && editor->findInFiles().isRunning(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            frame.advanceTime(findfiles::kSearchTickMs);
        }
        ASSERT_FALSE(editor->findInFiles().isRunning());
    }
    std::vector<std::string> resultTexts() {
        std::vector<std::string> texts;
        for (const auto& line : editor->outputs().searchResults().lines()) {
            texts.push_back(line.text);
        }
        return texts;
    }
    // Scripts the next dialog: sets the find text and folder and presses Find.
    void answerDialog(std::string text, std::string folderText, FolderSearchRequest* shown = nullptr) {
        frame.scriptNextDialog([text, folderText, shown](DialogModel& model) {
            auto& dialog = dynamic_cast<FindInFilesDialog&>(model);
            if (shown != nullptr) {
                *shown = dialog.request();
            }
            dialog.request().findText = text;
            dialog.request().folder = folderText;
            dialog.request().options.caseCheck = true;
            return dialog.pressFind() ? DialogResult::Accepted : DialogResult::Cancelled;
        });
    }

    std::string folder;
};

TEST_F(FindInFilesTest, ResultsStreamIntoTheSearchResultsWindowAndLeadToTheirLines) {
    ASSERT_NE(workspace().openDocument(folder + "/notes.txt"), nullptr);
    // The open document is searched in its edited text, not its saved bytes.
    activeDocument().goToLine(0);
    activeDocument().insertText("beta ");
    FolderSearchRequest shown;
    answerDialog("beta", folder, &shown);
    ASSERT_EQ(exec(functionIdOf("FindInFiles")), 1) << frame.lastStatus();
    EXPECT_EQ(shown.folder, folder) << "the active document's folder";
    runSearch();
    const std::vector<std::string> texts = resultTexts();
    ASSERT_GE(texts.size(), 5u);
    EXPECT_EQ(texts[0], "Searching for 'beta' in " + folder + " (files " +
                            std::string(findfiles::kDefaultFilePatterns) + ", match case)");
    const std::vector<std::string> results(texts.begin() + 1, texts.end() - 1);
    EXPECT_EQ(results, (std::vector<std::string>{"notes.txt:1: beta no match", "a.c:2: int beta;",
                                                 "sub/b.c:1: // beta", "sub/b.c:2: beta();"}));
    EXPECT_EQ(texts.back(), "Search completed: 4 matching lines, 3 files searched.");
    EXPECT_EQ(frame.lastStatus(), texts.back());
    EXPECT_EQ(editor->outputs().lastFilled(), toolchain::OutputKind::SearchResults);

    // Choosing the third result opens sub/b.c at its line and the match's column.
    editor->outputs().select(toolchain::OutputKind::SearchResults, 3);
    ASSERT_TRUE(editor->outputs().goToSelected(toolchain::OutputKind::SearchResults));
    EXPECT_EQ(activeDocument().fileName(), folder + "/sub/b.c");
    EXPECT_EQ(activeDocument().cursorLine(), 0);
    EXPECT_EQ(activeDocument().cursorOffset(), 3);
    // Next Error walks the window filled last: the search results.
    ASSERT_EQ(exec(functionIdOf("CompilerOutputNext")), 1);
    EXPECT_EQ(activeDocument().fileName(), folder + "/sub/b.c");
    EXPECT_EQ(activeDocument().cursorLine(), 1);
    ASSERT_EQ(exec(functionIdOf("CompilerOutputPrevious")), 1);
    ASSERT_EQ(exec(functionIdOf("CompilerOutputPrevious")), 1);
    EXPECT_EQ(activeDocument().fileName(), folder + "/a.c");
    EXPECT_EQ(activeDocument().cursorLine(), 1);
    EXPECT_EQ(activeDocument().cursorOffset(), 4);
}

TEST_F(FindInFilesTest, EscapeStopsTheSearchAndKeepsTheResults) {
    answerDialog("beta", folder);
    ASSERT_EQ(exec(functionIdOf("FindInFiles")), 1);
    ASSERT_TRUE(editor->findInFiles().isRunning());
    keys.setDown(platform::kKeyEscape, true);
    keys.setDown(platform::kKeyEscape, false);
    frame.advanceTime(findfiles::kSearchTickMs);
    EXPECT_FALSE(editor->findInFiles().isRunning());
    EXPECT_EQ(frame.lastStatus(), findfiles::kSearchStopped);
    EXPECT_TRUE(resultTexts().back().starts_with("Search stopped: ")) << resultTexts().back();
    EXPECT_EQ(frame.runningTimers(), 0u);
}

// While the search is the work the user waits for, Escape on the key road stops it (through the
// Stop function, which stops a search as it stops a run) and does not also run Escape's binding.
TEST_F(FindInFilesTest, EscapeOnTheKeyRoadAndTheStopFunctionStopTheSearch) {
    ASSERT_NE(workspace().openDocument(writeFile("open.c", "one\ntwo\n")), nullptr);
    const auto escape = [this] {
        return editor->keys().filter().keyMessage({0x1B, 0, KeyRepeat::First, KeyDirection::Down});
    };
    const auto marked = [this] { return activeDocument().mark().exists(); };
    ASSERT_EQ(exec(functionIdOf("MarkLineSet")), 1);
    ASSERT_TRUE(marked());
    // With nothing running Escape keeps its binding: it hides the mark.
    (void)escape();
    EXPECT_FALSE(marked());

    ASSERT_EQ(exec(functionIdOf("MarkLineSet")), 1);
    answerDialog("beta", folder);
    ASSERT_EQ(exec(functionIdOf("FindInFiles")), 1);
    ASSERT_TRUE(editor->findInFiles().isRunning());
    EXPECT_TRUE(processor().hasForegroundWork());
    EXPECT_EQ(escape(), KeyHandling::Handled);
    EXPECT_FALSE(editor->findInFiles().isRunning());
    EXPECT_EQ(frame.lastStatus(), findfiles::kSearchStopped);
    EXPECT_TRUE(marked()) << "Escape ran its binding too";

    answerDialog("beta", folder);
    ASSERT_EQ(exec(functionIdOf("FindInFiles")), 1);
    EXPECT_EQ(exec(functionIdOf("RunStop")), 1);
    EXPECT_FALSE(editor->findInFiles().isRunning());
    EXPECT_EQ(exec(functionIdOf("RunStop")), 0);
    EXPECT_EQ(frame.lastStatus(), "Nothing is running.");
}

TEST_F(FindInFilesTest, TheDialogRefusesAMissingFolderOrText) {
    answerDialog("beta", folder + "/missing");
    EXPECT_EQ(exec(functionIdOf("FindInFiles")), 0);
    answerDialog("", folder);
    EXPECT_EQ(exec(functionIdOf("FindInFiles")), 0);
    EXPECT_FALSE(editor->findInFiles().isRunning());
}

TEST(FindInFilesFolder, DefaultsToTheNearestFolderHoldingGit) {
    TempHome home;
    fs::create_directories(home.path() / "repo/.git");
    fs::create_directories(home.path() / "repo/src/deep");
    const std::string repo = (home.path() / "repo").string();
    EXPECT_EQ(findfiles::defaultSearchFolder(repo + "/src/deep/x.c"), repo);
    fs::create_directories(home.path() / "tree/src");
    writeFileBytes(home.path() / "tree/.git", "gitdir: /elsewhere\n");
    EXPECT_EQ(findfiles::defaultSearchFolder((home.path() / "tree/src/z.c").string()),
              (home.path() / "tree").string());
    const std::string plain = home.path().string();
    EXPECT_EQ(findfiles::defaultSearchFolder(plain + "/y.c"), plain);
}

} // namespace
} // namespace vexa::test
