// The navigation functions through the whole editor: function scans, braces, bookmarks, goto,
// opening the file named on a line and the document lists.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "navigation/NavigationCommands.h"
#include "navigation/NavigationDialogs.h"
#include "session/EditorFixture.h"
#include "settings/SettingsFile.h"

namespace vexa::test {
namespace {

using navigation::ChoiceListModel;
using navigation::NumberDialogModel;

constexpr const char* kSource = "int first(int a)\n"    // 0
                                "{\n"                   // 1
                                "    return a;\n"       // 2
                                "}\n"                   // 3
                                "int declared(void);\n" // 4
                                "static char *second(const char *s)\n"
                                "{\n"
                                "    return call(f(s), g(s));\n" // 7
                                "}\n"
                                "void Widget::paint(int x)\n" // 9
                                "{\n"
                                "}\n";

class NavigationTest : public EditorTest {
protected:
    Document& open(const std::string& name, const std::string& text) {
        EXPECT_NE(workspace().openDocument(writeFile(name, text)), nullptr);
        return activeDocument();
    }
    void cursorTo(int line, int offset) {
        activeDocument().goToLine(line);
        activeDocument().setCursorOffset(offset);
    }
    void useFunctions(const std::string& pattern) {
        writeFile("vexa.INI", "[RegularExpress]\nFunctions=" + pattern + "\n");
        options.load();
    }
    // Scripts the next number dialog: types the text and presses Goto.
    void answerNumberDialog(std::string text, std::string* shownText = nullptr) {
        frame.scriptNextDialog([text, shownText](DialogModel& model) {
            auto& dialog = dynamic_cast<NumberDialogModel&>(model);
            if (shownText != nullptr) {
                *shownText = dialog.text();
            }
            dialog.setText(text);
            return dialog.pressGoto() ? DialogResult::Accepted : DialogResult::Cancelled;
        });
    }
};

TEST_F(NavigationTest, FunctionFindNextTwiceFindsSuccessiveFunctionsAndSkipsDeclarations) {
    Document& document = open("a.c", kSource);
    ASSERT_EQ(exec(functionIdOf("FunctionFindNext")), 1);
    EXPECT_EQ(document.cursorLine(), 0);
    EXPECT_EQ(frame.lastStatus(), " 00001: int first(int a)");
    ASSERT_EQ(exec(functionIdOf("FunctionFindNext")), 1);
    EXPECT_EQ(document.cursorLine(), 5) << "the declaration ending in ';' is not a function";
    ASSERT_EQ(exec(functionIdOf("FunctionFindNext")), 1);
    EXPECT_EQ(document.cursorLine(), 9);
    EXPECT_EQ(exec(functionIdOf("FunctionFindNext")), 0);
    EXPECT_EQ(frame.lastStatus(), navigation::kNoFunctions);
    EXPECT_EQ(document.cursorLine(), 9) << "the cursor stays when nothing is found";
    EXPECT_EQ(frame.busyDepth(), 0);
    EXPECT_GE(frame.busyShownCount(), 4);
}

TEST_F(NavigationTest, FunctionFindPreviousReachesTheFirstLine) {
    Document& document = open("a.c", kSource);
    cursorTo(3, 0);
    ASSERT_EQ(exec(functionIdOf("FunctionFindPrevious")), 1);
    EXPECT_EQ(document.cursorLine(), 0);
    cursorTo(9, 0);
    ASSERT_EQ(exec(functionIdOf("FunctionFindPrevious")), 1);
    EXPECT_EQ(document.cursorLine(), 9) << "a fresh previous scan tests the cursor line itself";
    ASSERT_EQ(exec(functionIdOf("FunctionFindPrevious")), 1);
    EXPECT_EQ(document.cursorLine(), 5) << "the line just found is skipped";
}

TEST_F(NavigationTest, FunctionFindAllListsEveryFunctionInTheCompilerWindow) {
    open("a.c", std::string("\tint\ttabbed(int a)\n") + kSource);
    ASSERT_EQ(exec(functionIdOf("FunctionFindAll")), 1);
    std::vector<std::string> texts;
    for (const auto& line : editor->outputs().compiler().lines()) {
        texts.push_back(line.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{" 00002: int first(int a)",
                                               " 00007: static char *second(const char *s)",
                                               " 00011: void Widget::paint(int x)"}));
    EXPECT_EQ(outputs.shown.back(), toolchain::OutputKind::Compiler);
}

TEST_F(NavigationTest, FunctionFindAllEntriesLeadToTheirLinesAndAreNoErrors) {
    Document& document = open("a.c", std::string("int report_error(int a)\n{\n}\n") + kSource);
    ASSERT_EQ(exec(functionIdOf("FunctionFindAll")), 1);
    toolchain::OutputWindow& window = editor->outputs().compiler();
    ASSERT_GE(window.lineCount(), 3u);
    for (const auto& line : window.lines()) {
        EXPECT_EQ(line.parsed.kind, toolchain::ErrorKind::None) << line.text << " is no error line";
        ASSERT_TRUE(line.location.has_value()) << line.text;
    }
    EXPECT_FALSE(window.errorSeen());
    cursorTo(0, 0);
    editor->outputs().select(toolchain::OutputKind::Compiler, 2);
    ASSERT_TRUE(editor->outputs().goToSelected(toolchain::OutputKind::Compiler));
    EXPECT_EQ(document.cursorLine(), 8) << window.lines()[2].text;
    // Next and Previous Error walk the entries of the window filled last.
    ASSERT_EQ(exec(functionIdOf("CompilerOutputPrevious")), 1);
    EXPECT_EQ(document.cursorLine(), 3);
    ASSERT_EQ(exec(functionIdOf("CompilerOutputPrevious")), 1);
    EXPECT_EQ(document.cursorLine(), 0);
    ASSERT_EQ(exec(functionIdOf("CompilerOutputNext")), 1);
    EXPECT_EQ(document.cursorLine(), 3);
}

TEST_F(NavigationTest, TheFunctionsSettingReplacesTheBuiltInPatterns) {
    Document& document = open("a.py", "x = 1\ndef run(a):\n    pass\n");
    useFunctions("^def ");
    ASSERT_EQ(exec(functionIdOf("FunctionFindNext")), 1);
    EXPECT_EQ(document.cursorLine(), 1);
    useFunctions("([");
    cursorTo(0, 0);
    EXPECT_EQ(exec(functionIdOf("FunctionFindAll")), 0) << "a pattern that does not compile finds nothing";
    EXPECT_EQ(frame.lastStatus(), navigation::kNoFunctions);
}

TEST_F(NavigationTest, EscapeCancelsALongScan) {
    std::string text(200, '\n');
    Document& document = open("long.c", text + "int late(void)\n");
    keys.setDown(platform::kKeyEscape, true);
    EXPECT_EQ(exec(functionIdOf("FunctionFindNext")), 0);
    EXPECT_EQ(frame.lastStatus(), navigation::kScanCancelled);
    EXPECT_EQ(document.cursorLine(), 0);
    keys.setDown(platform::kKeyEscape, false);
    EXPECT_EQ(exec(functionIdOf("FunctionFindNext")), 1) << "a press before the scan does not cancel it";
    EXPECT_EQ(document.cursorLine(), 200);
}

struct BraceCase {
    const char* name;
    FunctionId function;
    int line, offset;
    int result, toLine, toOffset;
    const char* message;
};

TEST_F(NavigationTest, BraceMatchingInEachForm) {
    const BraceCase cases[] = {
        {"nested call forward", functionIdOf("BraceMatch"), 7, 15, 1, 7, 26,
         "The matching brace character was found"},
        {"nested call backward", functionIdOf("BraceMatch"), 7, 26, 1, 7, 15,
         "The matching brace character was found"},
        {"closing brace to line 0 region", functionIdOf("BraceMatch"), 3, 0, 1, 1, 0,
         "The matching brace character was found"},
        {"not a brace", functionIdOf("BraceMatch"), 2, 4, 4, 2, 4,
         "The current character is not one of the valid brace character!"},
        {"forward from a closing brace", functionIdOf("BraceMatchForward"), 3, 0, 3, 3, 0,
         "Can't search for a forward brace with an end brace character selected!"},
        {"reverse from an opening brace", functionIdOf("BraceMatchReverse"), 1, 0, 3, 1, 0,
         "Can't search for a reverse brace with a start brace character selected!"},
        {"reverse from a closing brace", functionIdOf("BraceMatchReverse"), 8, 0, 1, 6, 0,
         "The matching brace character was found"},
    };
    Document& document = open("a.c", kSource);
    for (const BraceCase& c : cases) {
        SCOPED_TRACE(c.name);
        cursorTo(c.line, c.offset);
        EXPECT_EQ(exec(c.function), c.result);
        EXPECT_EQ(document.cursorLine(), c.toLine);
        EXPECT_EQ(document.cursorOffset(), c.toOffset);
        EXPECT_EQ(frame.lastStatus(), c.message);
    }
}

TEST_F(NavigationTest, BracesOnLineZeroAndUnmatched) {
    Document& document = open("b.c", "{ (x\n}\n");
    cursorTo(1, 0);
    ASSERT_EQ(exec(functionIdOf("BraceMatch")), 1);
    EXPECT_EQ(document.cursorLine(), 0);
    EXPECT_EQ(document.cursorOffset(), 0);
    cursorTo(0, 2);
    EXPECT_EQ(exec(functionIdOf("BraceMatch")), 2);
    EXPECT_EQ(frame.lastStatus(), "The matching brace character could not be found!");
    EXPECT_EQ(document.cursorOffset(), 2);
}

TEST_F(NavigationTest, BracesBeyondTheCursorLimitOnALongLine) {
    const std::string line = "(" + std::string(3000, 'x') + ")";
    Document& document = open("long.c", "\n");
    ASSERT_EQ(document.insertAt(0, 0, line), static_cast<int>(line.size()));
    const auto match = navigation::matchBrace(document, 0, 0, navigation::BraceDirection::Either);
    EXPECT_EQ(match.result, navigation::BraceResult::Found);
    EXPECT_EQ(match.index, 3001);
    const auto back = navigation::matchBrace(document, 0, 3001, navigation::BraceDirection::Either);
    EXPECT_EQ(back.index, 0);
}

TEST_F(NavigationTest, TheBracePairBesideTheCursor) {
    Document& document = open("p.c", "f(a[1], {2});\n{\n  x < y > z;\n}\n(\n");
    using navigation::BracePair;
    struct Case {
        const char* name;
        int line;
        int offset;
        std::optional<BracePair> pair;
    };
    const std::vector<Case> cases = {
        {"on an opening parenthesis", 0, 1, BracePair{0, 1, 0, 11}},
        {"just after a closing one", 0, 12, BracePair{0, 11, 0, 1}},
        {"the one at the cursor wins", 0, 3, BracePair{0, 3, 0, 5}},
        {"after a bracket", 0, 6, BracePair{0, 5, 0, 3}},
        {"across lines", 3, 0, BracePair{3, 0, 1, 0}},
        {"angle brackets are no pair", 2, 4, std::nullopt},
        {"no brace", 2, 2, std::nullopt},
        {"unmatched", 4, 0, std::nullopt},
        {"past the last line", 9, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(navigation::bracePairAt(document, c.line, c.offset), c.pair) << c.name;
    }
}

TEST_F(NavigationTest, TheBracePairSearchEndsAtItsBudget) {
    std::string text = "(" + std::string(100, 'x') + ")\n{\n";
    for (int i = 0; i < 50; ++i) {
        text += "\n";
    }
    text += "}\n";
    Document& document = open("far.c", text);
    EXPECT_TRUE(navigation::bracePairAt(document, 0, 0, 102));
    EXPECT_FALSE(navigation::bracePairAt(document, 0, 0, 100)) << "bytes count against the budget";
    EXPECT_TRUE(navigation::bracePairAt(document, 1, 0, 60));
    EXPECT_FALSE(navigation::bracePairAt(document, 1, 0, 40)) << "empty lines count too";
}

TEST_F(NavigationTest, BookmarksKeepTheirLineThroughEdits) {
    Document& document = open("a.c", kSource);
    cursorTo(5, 3);
    ASSERT_EQ(exec(functionIdOf("BookMarkDrop3")), 1);
    EXPECT_EQ(frame.lastStatus(), "Bookmark '3' dropped");
    cursorTo(0, 0);
    document.insertEmptyLine();
    document.insertEmptyLine();
    cursorTo(0, 0);
    ASSERT_EQ(exec(functionIdOf("BookMarkGoto3")), 1);
    EXPECT_EQ(document.cursorLine(), 5);
    EXPECT_EQ(document.cursorColumn(), 0);
    EXPECT_EQ(frame.lastStatus(), "At bookmark '3'");

    EXPECT_EQ(exec(functionIdOf("BookMarkGoto4")), 0);
    EXPECT_EQ(frame.lastStatus(), "No bookmark set at this location.");
    EXPECT_EQ(document.cursorLine(), 5);
}

TEST_F(NavigationTest, TheBookmarkDialogChecksItsNumberAndRemembersIt) {
    Document& document = open("a.c", kSource);
    cursorTo(7, 0);
    exec(functionIdOf("BookMarkDrop2"));
    cursorTo(0, 0);

    answerNumberDialog("12");
    EXPECT_EQ(exec(functionIdOf("BookMarkGoto")), 0);
    EXPECT_EQ(frame.lastStatus(), "Vexa only supports bookmarks '0' through '9'.");
    answerNumberDialog("5");
    EXPECT_EQ(exec(functionIdOf("BookMarkGoto")), 0);
    EXPECT_EQ(frame.lastStatus(), "No bookmark set at this location.");

    answerNumberDialog("2x");
    ASSERT_EQ(exec(functionIdOf("BookMarkGoto")), 1);
    EXPECT_EQ(document.cursorLine(), 7);
    std::string shown;
    answerNumberDialog("2", &shown);
    ASSERT_EQ(exec(functionIdOf("BookMarkGoto")), 1);
    EXPECT_EQ(shown, "2x") << "the dialog starts with the text typed last";
    EXPECT_TRUE(frame.unexpected().empty());
}

// Toggle, next and previous work on the ten numbered bookmarks: each case sets slots, puts the
// cursor on a line and runs one function.
TEST_F(NavigationTest, ToggleNextAndPreviousWorkOnTheNumberedBookmarks) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> marks; // slot, line
        int cursor;
        const char* function;
        int32_t result;
        int line; // the cursor line afterwards
        std::string status;
        std::optional<std::array<int, Document::kBookmarkCount>> after; // the slots; none = unchanged
    };
    constexpr auto kSame = std::nullopt;
    const auto slots = [](std::initializer_list<std::pair<int, int>> set) {
        std::array<int, Document::kBookmarkCount> all;
        all.fill(-1);
        for (const auto& [slot, line] : set) {
            all[static_cast<std::size_t>(slot)] = line;
        }
        return all;
    };
    const std::vector<std::pair<int, int>> allTen = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4},
                                                     {5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 9}};
    // clang-format off
    const Case cases[] = {
        {"toggle sets the first free slot", {{0, 2}}, 5, "BookMarkToggle", 1, 5, "Bookmark '1' dropped",
         slots({{0, 2}, {1, 5}})},
        {"toggle clears the slot on the line", {{0, 2}, {4, 5}}, 5, "BookMarkToggle", 1, 5,
         "Bookmark '4' cleared", slots({{0, 2}})},
        {"toggle clears every slot on the line", {{1, 5}, {3, 7}, {6, 5}}, 5, "BookMarkToggle", 1, 5,
         "Bookmark '1' cleared", slots({{3, 7}})},
        {"toggle with every slot in use", allTen, 10, "BookMarkToggle", 0, 10,
         std::string(navigation::kBookmarksFull), kSame},
        {"next goes to the nearest later line", {{0, 9}, {1, 3}, {2, 7}}, 3, "BookMarkNext", 1, 7,
         "At bookmark '2'", kSame},
        {"next wraps round to the first line", {{0, 9}, {1, 3}, {2, 7}}, 9, "BookMarkNext", 1, 3,
         "At bookmark '1'", kSame},
        {"previous goes to the nearest earlier line", {{0, 9}, {1, 3}, {2, 7}}, 8, "BookMarkPrevious", 1, 7,
         "At bookmark '2'", kSame},
        {"previous wraps round to the last line", {{0, 9}, {1, 3}, {2, 7}}, 2, "BookMarkPrevious", 1, 9,
         "At bookmark '0'", kSame},
        {"next with the only bookmark on the cursor line", {{5, 4}}, 4, "BookMarkNext", 1, 4,
         "At bookmark '5'", kSame},
        {"next with none set", {}, 4, "BookMarkNext", 0, 4, std::string(navigation::kNoBookmarks), kSame},
        {"previous with none set", {}, 4, "BookMarkPrevious", 0, 4, std::string(navigation::kNoBookmarks),
         kSame},
    };
    // clang-format on
    int opened = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document& document = open("case" + std::to_string(++opened) + ".c", kSource);
        for (const auto& [slot, line] : c.marks) {
            cursorTo(line, 0);
            ASSERT_EQ(exec(static_cast<FunctionId>(functionIdOf("BookMarkDrop0") + slot)), 1);
        }
        const std::array<int, Document::kBookmarkCount> before = document.bookmarks();
        cursorTo(c.cursor, 2);
        EXPECT_EQ(exec(FunctionTable::standard().idOf(c.function)), c.result);
        EXPECT_EQ(document.cursorLine(), c.line);
        EXPECT_EQ(frame.lastStatus(), c.status);
        EXPECT_EQ(document.bookmarks(), c.after.value_or(before));
    }
}

TEST_F(NavigationTest, ToggleTwiceLeavesNoBookmarkAndNextSaysSo) {
    Document& document = open("a.c", kSource);
    cursorTo(6, 0);
    ASSERT_EQ(exec(functionIdOf("BookMarkToggle")), 1);
    cursorTo(0, 0);
    ASSERT_EQ(exec(functionIdOf("BookMarkNext")), 1);
    EXPECT_EQ(document.cursorLine(), 6);
    ASSERT_EQ(exec(functionIdOf("BookMarkToggle")), 1);
    EXPECT_EQ(exec(functionIdOf("BookMarkPrevious")), 0);
    EXPECT_EQ(frame.lastStatus(), navigation::kNoBookmarks);
    EXPECT_EQ(document.cursorLine(), 6);
}

TEST_F(NavigationTest, GotoLineLimitsTheNumberAndRemembersIt) {
    Document& document = open("a.c", kSource);
    const int last = document.lineCount() - 1;
    const struct {
        const char* text;
        int line;
    } cases[] = {{"3", 2}, {"999", last}, {"0", 0}, {"junk", 0}, {"  7", 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        answerNumberDialog(c.text);
        ASSERT_EQ(exec(functionIdOf("LineGoto")), 1);
        EXPECT_EQ(document.cursorLine(), c.line);
    }
    std::string shown;
    answerNumberDialog("1", &shown);
    ASSERT_EQ(exec(functionIdOf("LineGoto")), 1);
    EXPECT_EQ(shown, "7");

    NumberDialogModel empty("t", "l", "", [](const std::string&) { return true; });
    EXPECT_FALSE(empty.gotoEnabled());
    EXPECT_FALSE(empty.pressGoto());
}

TEST_F(NavigationTest, OpenIncludeFindsTheFileBesideTheDocument) {
    writeFile("util.h", "int helper(void);\n");
    Document& document = open("main.c", "#include \"util.h\"\n#include \"missing.h\"\nplain\n");
    const std::string mainPath = document.fileName();
    ASSERT_EQ(exec(functionIdOf("FileOpenInLine")), 1);
    EXPECT_NE(activeDocument().fileName(), mainPath);
    EXPECT_EQ(frame.lastStatus(), activeDocument().fileName());

    ASSERT_NE(workspace().openDocument(mainPath), nullptr);
    cursorTo(1, 0);
    EXPECT_EQ(exec(functionIdOf("FileOpenInLine")), 0);
    EXPECT_EQ(frame.lastStatus(), "Cannot locate the file 'missing.h' specified in the line.");
    cursorTo(2, 0);
    EXPECT_EQ(exec(functionIdOf("FileOpenInLine")), 0);
    EXPECT_EQ(frame.lastStatus(), "The line selected does not contain a valid file name or line number.");
}

// With the default settings a system header is found along the compiler's include directories.
TEST_F(NavigationTest, OpenIncludeFindsASystemHeaderWithDefaultSettings) {
    if (!std::filesystem::is_regular_file("/usr/include/stdio.h")) {
        GTEST_SKIP() << "no /usr/include/stdio.h";
    }
    ASSERT_TRUE(options.editor().defaultSearchPath.empty());
    open("main.c", "#include <stdio.h>\n");
    ASSERT_EQ(exec(functionIdOf("FileOpenInLine")), 1) << frame.lastStatus();
    EXPECT_EQ(activeDocument().fileName(), "/usr/include/stdio.h");
}

TEST_F(NavigationTest, AssociatesListTheFilesSharingTheBaseName) {
    writeFile("part.h", "");
    writeFile("part.txt", "");
    writeFile("partner.c", "");
    Document& document = open("part.c", "x\n");
    const std::string directory = document.fileName().substr(0, document.fileName().rfind('/') + 1);
    std::vector<std::string> shown;
    frame.scriptNextDialog([&shown](DialogModel& model) {
        auto& list = dynamic_cast<ChoiceListModel&>(model);
        shown = list.entries();
        EXPECT_EQ(list.hint(), "Open this document");
        EXPECT_TRUE(list.choose(1));
        return DialogResult::Accepted;
    });
    ASSERT_EQ(exec(functionIdOf("FileListAssociates")), 1);
    EXPECT_EQ(shown, (std::vector<std::string>{directory + "part.h", directory + "part.txt"}));
    EXPECT_EQ(activeDocument().fileName(), directory + "part.txt");

    for (int i = 0; i < 12; ++i) {
        writeFile("many.x" + std::to_string(i), "");
    }
    open("many.c", "");
    frame.scriptNextDialog([&shown](DialogModel& model) {
        shown = dynamic_cast<ChoiceListModel&>(model).entries();
        return DialogResult::Cancelled;
    });
    EXPECT_EQ(exec(functionIdOf("FileListAssociates")), 0);
    EXPECT_EQ(shown.size(), 9u);

    open("alone.c", "");
    EXPECT_EQ(exec(functionIdOf("FileListAssociates")), 0);
    EXPECT_EQ(frame.lastStatus(), "No associated files where found!");
}

TEST_F(NavigationTest, TheDocumentListActivatesTheChosenDocument) {
    const std::string first = open("one.c", "1\n").fileName();
    open("two.c", "2\n");
    std::vector<std::string> shown;
    frame.scriptNextDialog([&shown](DialogModel& model) {
        auto& list = dynamic_cast<ChoiceListModel&>(model);
        shown = list.entries();
        EXPECT_FALSE(list.choose(5));
        EXPECT_TRUE(list.choose(0));
        return DialogResult::Accepted;
    });
    ASSERT_EQ(exec(functionIdOf("FileListDisplay")), 1);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(activeDocument().fileName(), first);
}

TEST_F(NavigationTest, FunctionsNeedADocument) {
    EXPECT_EQ(exec(functionIdOf("BraceMatch")), 0);
    EXPECT_EQ(exec(functionIdOf("FunctionFindNext")), 0);
    EXPECT_EQ(frame.lastStatus(), kNoActiveDocument);
}

TEST(NavigationText, LeadingNumbers) {
    EXPECT_EQ(navigation::leadingNumber("42abc"), 42);
    EXPECT_EQ(navigation::leadingNumber("abc"), 0);
    EXPECT_EQ(navigation::leadingNumber(" -3"), -3);
    EXPECT_EQ(navigation::leadingNumber("99999999999999"), 0x7fffffff);
    EXPECT_EQ(navigation::functionEntry(12, "a\tb"), " 00012: a b");
}

} // namespace
} // namespace vexa::test
