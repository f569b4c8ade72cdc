// The Search and Replace functions through the processor: finding again, replacing, the switches,
// the read-only guard and the Find and Replace dialogs shown by the frame.
#include "commands/SearchCommands.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ProcessorFixture.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "search/SearchState.h"
#include "settings/HistoryFile.h"

namespace vexa {
namespace {

using platform::SoundKind;
using test::ProcessorTest;
using Lines = std::vector<std::string>;

constexpr const char* kEndNotFound = "Reached the end of document and the search string '%s' was not found.";
constexpr const char* kStartNotFound =
    "Reached the start of document and the search string '%s' was not found.";

// A status message with its sound, as the frame received it.
struct Shown {
    std::string text;
    SoundKind sound = SoundKind::None;

    friend bool operator==(const Shown&, const Shown&) = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown) {
    return out << '"' << shown.text << "\" sound " << static_cast<int>(shown.sound);
}

std::string withText(const char* format, const std::string& text) {
    std::string result(format);
    result.replace(result.find("%s"), 2, text);
    return result;
}

class SearchCommandsTest : public ProcessorTest {
protected:
    SearchState& state() { return processor.searchState(); }

    std::vector<Shown> shown() const {
        std::vector<Shown> all;
        for (const FrameEvent& event : statuses()) {
            all.push_back({event.text, event.sound});
        }
        return all;
    }

    std::vector<std::string> dialogsShown() const {
        std::vector<std::string> titles;
        for (const FrameEvent& event : frame.eventsOf(FrameEventKind::SearchDialog)) {
            titles.push_back(event.text);
        }
        return titles;
    }

    void expectCursor(int line, int offset, const std::string& name) {
        EXPECT_EQ(doc().cursorLine(), line) << name;
        EXPECT_EQ(doc().cursorOffset(), offset) << name;
    }

    // The match marked on one line between two display columns.
    void expectMarked(int line, int startColumn, int endColumn, const std::string& name) {
        const MarkState& mark = doc().mark();
        EXPECT_TRUE(mark.exists()) << name;
        EXPECT_EQ(mark.start(), (MarkPoint{startColumn, line})) << name;
        EXPECT_EQ(mark.end(), (MarkPoint{endColumn, line})) << name;
    }

    std::string configDirectory() const { return options.directory(DirectoryKind::Config); }
};

// ---- finding again ----

TEST_F(SearchCommandsTest, SearchNextAndPreviousWalkTheMatchesAndReportTheEnds) {
    struct Step {
        const char* function;
        int line; // where the cursor stands afterwards
        int offset;
        std::vector<Shown> messages; // shown by this step alone
    };
    struct Case {
        const char* name;
        Lines text;
        const char* findText;
        int startLine;
        int startOffset;
        std::vector<Step> steps;
    };
    const std::string endMessage = withText(kEndNotFound, "foo");
    const std::string startMessage = withText(kStartNotFound, "foo");
    const std::vector<Case> cases = {
        {"forward twice, then the end",
         {"a foo", "", "b foo c"},
         "foo",
         0,
         0,
         {{"SearchNext", 0, 2, {{"Search completed.", SoundKind::None}}},
          {"SearchNext", 2, 2, {{"Search completed.", SoundKind::None}}},
          {"SearchNext", 2, 2, {{endMessage, SoundKind::Information}}}}},
        {"backward is silent on success and reports the start",
         {"foo x", "y foo", "z"},
         "foo",
         2,
         1,
         {{"SearchPrevious", 1, 2, {}},
          {"SearchPrevious", 0, 0, {}},
          {"SearchPrevious", 0, 0, {{startMessage, SoundKind::Information}}}}},
        {"nothing found leaves the cursor",
         {"abc", "def"},
         "foo",
         1,
         1,
         {{"SearchNext", 1, 1, {{endMessage, SoundKind::Information}}},
          {"SearchPrevious", 1, 1, {{startMessage, SoundKind::Information}}}}},
        {"forward after backward turns round",
         {"foo foo foo"},
         "foo",
         0,
         5,
         {{"SearchNext", 0, 8, {{"Search completed.", SoundKind::None}}}, {"SearchPrevious", 0, 4, {}}}},
    };
    for (const Case& c : cases) {
        setLines(c.text);
        place(c.startLine, c.startOffset);
        state().setFindText(c.findText, false);
        int index = 0;
        for (const Step& step : c.steps) {
            const std::string name = std::string(c.name) + ", step " + std::to_string(index++);
            frame.clearEvents();
            EXPECT_EQ(exec(FunctionTable::standard().idOf(step.function)), 1) << name;
            expectCursor(step.line, step.offset, name);
            EXPECT_EQ(shown(), step.messages) << name;
        }
        EXPECT_EQ(doc().lineCount(), static_cast<int>(c.text.size())) << c.name;
        EXPECT_EQ(lines(), c.text) << c.name;
    }
}

TEST_F(SearchCommandsTest, SearchNextEdgeCases) {
    struct Case {
        const char* name;
        Lines text;
        int startLine;
        int startOffset;
        bool regularExpression;
        bool wholeWord;
        const char* findText;
        bool found;
        int line; // the cursor afterwards
        int offset;
        int markStart; // the marked display columns when found
        int markEnd;
    };
    const std::vector<Case> cases = {
        {"whole word skips a line whose first occurrence is inside a word",
         {"foobar foo", "x foo"},
         0,
         0,
         false,
         true,
         "foo",
         true,
         1,
         2,
         2,
         5},
        {"whole word finds nothing at all", {"foobar foo"}, 0, 0, false, true, "foo", false, 0, 0, 0, 0},
        {"partial words are found without whole word",
         {"foobar foo"},
         0,
         0,
         false,
         false,
         "foo",
         true,
         0,
         0,
         0,
         3},
        {"backslash t matches a real tab", {"ab", "x\ty"}, 0, 0, false, false, "\\t", true, 1, 1, 1, 3},
        {"two backslashes match one", {"a\\b"}, 0, 0, false, false, "\\\\", true, 0, 1, 1, 2},
        {"an anchored pattern begins on the next line",
         {"ab ab", "ab"},
         0,
         1,
         true,
         false,
         "^ab",
         true,
         1,
         0,
         0,
         2},
        {"a lone dollar is marked one column wide", {"abc"}, 0, 0, true, false, "$", true, 0, 3, 3, 4},
        {"a pattern that does not compile finds nothing",
         {"a(b"},
         0,
         0,
         true,
         false,
         "(b",
         false,
         0,
         0,
         0,
         0},
    };
    for (const Case& c : cases) {
        setLines(c.text);
        place(c.startLine, c.startOffset);
        state().setRegularExpression(c.regularExpression);
        state().setWholeWord(c.wholeWord);
        state().setFindText(c.findText, false);
        frame.clearEvents();
        exec(functionIdOf("SearchNext"));
        if (c.found) {
            expectCursor(c.line, c.offset, c.name);
            expectMarked(c.line, c.markStart, c.markEnd, c.name);
            EXPECT_EQ(frame.lastStatus(), "Search completed.") << c.name;
        } else {
            expectCursor(c.startLine, c.startOffset, c.name);
            EXPECT_FALSE(doc().mark().exists()) << c.name;
            EXPECT_EQ(frame.lastStatus(), withText(kEndNotFound, c.findText)) << c.name;
        }
    }
}

TEST_F(SearchCommandsTest, TheLastMatchStaysMarkedWhenTheEndIsReached) {
    setLines({"x needle y needle"});
    state().setFindText("needle", false);
    exec(functionIdOf("SearchNext"));
    exec(functionIdOf("SearchNext"));
    expectMarked(0, 11, 17, "second match");
    exec(functionIdOf("SearchNext"));
    expectMarked(0, 11, 17, "after the end");
    EXPECT_EQ(frame.lastStatus(), withText(kEndNotFound, "needle"));
}

TEST_F(SearchCommandsTest, AMatchFarDownScrollsTheViewToShowIt) {
    Lines text(200, "line");
    text[150] = "the target";
    setLines(text);
    pane->setTextArea(40, 20);
    state().setFindText("target", false);
    exec(functionIdOf("SearchNext"));
    expectCursor(150, 4, "match");
    // The match line comes into the middle of the view, not merely onto its last line.
    EXPECT_EQ(pane->topLine(), 140);
}

// ---- replacing ----

TEST_F(SearchCommandsTest, ReplaceNextAndPreviousReplaceOneMatchAndReport) {
    struct Case {
        const char* name;
        Lines text;
        int startLine;
        int startOffset;
        const char* function;
        const char* findText;
        const char* replaceText;
        Lines expected;
        std::vector<Shown> messages;
    };
    const std::vector<Case> cases = {
        {"forward",
         {"one two one", "one"},
         0,
         1,
         "ReplaceNext",
         "one",
         "1",
         {"one two 1", "one"},
         {{"Search completed.", SoundKind::None}}},
        {"backward is silent on success",
         {"one two", "three one"},
         1,
         2,
         "ReplacePrevious",
         "one",
         "ONE",
         {"ONE two", "three one"},
         {}},
        {"placeholder takes the found text",
         {"say hi"},
         0,
         0,
         "ReplaceNext",
         "hi",
         "<\\&>",
         {"say <hi&>"},
         {{"Search completed.", SoundKind::None}}},
        {"nothing to replace forward",
         {"abc"},
         0,
         0,
         "ReplaceNext",
         "zzz",
         "y",
         {"abc"},
         {{withText(kEndNotFound, "zzz"), SoundKind::Information}}},
        {"nothing to replace backward",
         {"abc", "zzz"},
         0,
         2,
         "ReplacePrevious",
         "zzz",
         "y",
         {"abc", "zzz"},
         {{withText(kStartNotFound, "zzz"), SoundKind::Information}}},
    };
    for (const Case& c : cases) {
        setLines(c.text);
        place(c.startLine, c.startOffset);
        state().setFindText(c.findText, false);
        state().setReplaceText(c.replaceText);
        state().setReplaceAll(true);
        frame.clearEvents();
        EXPECT_EQ(exec(FunctionTable::standard().idOf(c.function)), 1) << c.name;
        EXPECT_EQ(lines(), c.expected) << c.name;
        EXPECT_EQ(shown(), c.messages) << c.name;
        // The function replaces one match only, and the switch stays off afterwards.
        EXPECT_EQ(state().options().replaceAll, 0) << c.name;
    }
}

TEST_F(SearchCommandsTest, AReplacementIsUndoneByOneUndo) {
    setLines({"alpha beta"});
    state().setFindText("beta", false);
    state().setReplaceText("gamma");
    exec(functionIdOf("ReplaceNext"));
    ASSERT_EQ(lines(), (Lines{"alpha gamma"}));
    exec(functionIdOf("Undo"));
    EXPECT_EQ(lines(), (Lines{"alpha beta"}));
}

// ---- the read-only guard ----

TEST_F(SearchCommandsTest, ReplaceFunctionsAreRefusedOnAReadOnlyDocument) {
    const std::vector<const char*> functions = {"ReplaceNext",    "ReplacePrevious", "ReplaceDialog",
                                                "ReplaceForward", "ReplaceReverse",  "ReplaceWordCurrent"};
    for (const char* function : functions) {
        setLines({"abc abc", "abc"});
        place(0, 4);
        doc().setReadOnly(true);
        state().setFindText("abc", false);
        state().setReplaceText("x");
        state().setForward(true);
        frame.clearEvents();
        exec(FunctionTable::standard().idOf(function));
        EXPECT_EQ(lines(), (Lines{"abc abc", "abc"})) << function;
        EXPECT_EQ(shown(), (std::vector<Shown>{{std::string(kReadOnlyMessage), SoundKind::Information}}))
            << function;
        EXPECT_TRUE(dialogsShown().empty()) << function;
        // Refused before it ran: the direction and the find text are untouched.
        EXPECT_TRUE(state().forward()) << function;
        EXPECT_EQ(state().findText(), "abc") << function;
    }
}

TEST_F(SearchCommandsTest, SearchingAReadOnlyDocumentIsAllowed) {
    setLines({"abc abc"});
    doc().setReadOnly(true);
    state().setFindText("abc", false);
    exec(functionIdOf("SearchNext"));
    expectCursor(0, 0, "first");
    exec(functionIdOf("SearchNext"));
    expectCursor(0, 4, "second");
    EXPECT_EQ(frame.lastStatus(), "Search completed.");
}

// ---- the switches ----

TEST_F(SearchCommandsTest, SwitchesSetResetAndToggleWithTheirMessages) {
    struct Case {
        const char* function;
        int32_t SearchOptions::*option;
        int32_t before;
        int32_t after;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"SearchCaseSet", &SearchOptions::caseCheck, 0, 1, "The search case sensitivity is 'On'"},
        {"SearchCaseReset", &SearchOptions::caseCheck, 1, 0, "The search case sensitivity is 'Off'"},
        {"SearchCaseToggle", &SearchOptions::caseCheck, 0, 1, "The search case sensitivity is 'On'"},
        {"SearchCaseToggle", &SearchOptions::caseCheck, 1, 0, "The search case sensitivity is 'Off'"},
        {"SearchWordSet", &SearchOptions::wholeWord, 0, 1, "Search for 'whole' word match only"},
        {"SearchWordReset", &SearchOptions::wholeWord, 1, 0, "Search for 'whole' or 'partial' word match"},
        {"SearchWordToggle", &SearchOptions::wholeWord, 1, 0, "Search for 'whole' or 'partial' word match"},
        {"SearchDirectionSet", &SearchOptions::forward, 0, 1, "The search direction is 'Down'"},
        {"SearchDirectionReset", &SearchOptions::forward, 1, 0, "The search direction is 'Up'"},
        {"SearchDirectionToggle", &SearchOptions::forward, 1, 0, "The search direction is 'Up'"},
        {"SearchRegexpSet", &SearchOptions::regularExpression, 0, 1, "The search regular expression is 'On'"},
        {"SearchRegexpReset", &SearchOptions::regularExpression, 1, 0,
         "The search regular expression is 'Off'"},
        {"SearchRegexpToggle", &SearchOptions::regularExpression, 0, 1,
         "The search regular expression is 'On'"},
    };
    for (const Case& c : cases) {
        const bool before = c.before != 0;
        state().setCaseCheck(before);
        state().setWholeWord(before);
        state().setForward(before);
        state().setRegularExpression(before);
        frame.clearEvents();
        EXPECT_EQ(exec(FunctionTable::standard().idOf(c.function)), 1) << c.function;
        EXPECT_EQ(state().options().*c.option, c.after) << c.function;
        EXPECT_EQ(shown(), (std::vector<Shown>{{c.message, SoundKind::None}})) << c.function;
    }
}

TEST_F(SearchCommandsTest, TheCountFunctionsAreNotYetImplemented) {
    for (const char* function : {"SearchForwardCount", "SearchReverseCount"}) {
        frame.clearEvents();
        EXPECT_EQ(exec(FunctionTable::standard().idOf(function)), 1) << function;
        EXPECT_EQ(shown(), (std::vector<Shown>{{std::string(kNotYetImplemented), SoundKind::Information}}))
            << function;
    }
}

TEST_F(SearchCommandsTest, WithoutAPaneEveryFunctionDoesNothing) {
    const std::vector<const char*> functions = {
        "SearchNext",           "SearchPrevious",     "ReplaceNext",   "ReplacePrevious",
        "SearchDialog",         "ReplaceDialog",      "SearchForward", "ReplaceReverse",
        "SearchWordCurrent",    "ReplaceWordCurrent", "SearchCaseSet", "SearchWordToggle",
        "SearchDirectionReset", "SearchRegexpToggle"};
    state().setFindText("x", false);
    const SearchOptions before = state().options();
    processor.activateOutputWindow();
    for (const char* function : functions) {
        frame.clearEvents();
        EXPECT_EQ(exec(FunctionTable::standard().idOf(function)), 1) << function;
        EXPECT_TRUE(frame.events().empty()) << function;
    }
    EXPECT_EQ(state().options(), before);
    EXPECT_EQ(frame.searchDialog(), nullptr);
}

TEST_F(SearchCommandsTest, MessagesTakeTheProcessorsSoundRule) {
    options.editor().makeSound = 0;
    setLines({"abc"});
    state().setFindText("zzz", false);
    exec(functionIdOf("SearchNext"));
    EXPECT_EQ(shown(), (std::vector<Shown>{{withText(kEndNotFound, "zzz"), SoundKind::None}}));
}

// ---- the dialogs ----

TEST_F(SearchCommandsTest, DialogFunctionsOpenTheirDialogWithTheStateFilledIn) {
    struct Case {
        const char* function;
        const char* title;
        bool searchDown;      // the direction the dialog shows
        const char* findText; // the find text the dialog shows
    };
    const std::vector<Case> cases = {
        {"SearchDialog", "Find", true, "old"},       {"SearchForward", "Find", true, "old"},
        {"SearchReverse", "Find", false, "old"},     {"SearchWordCurrent", "Find", true, "beta"},
        {"ReplaceDialog", "Replace", true, "old"},   {"ReplaceForward", "Replace", true, "old"},
        {"ReplaceReverse", "Replace", false, "old"}, {"ReplaceWordCurrent", "Replace", true, "beta"},
    };
    for (const Case& c : cases) {
        setLines({"alpha beta"});
        place(0, 7);
        state().setFindText("old", false);
        state().setReplaceText("new");
        state().setForward(true);
        frame.clearEvents();
        SearchDialogControls seen;
        frame.scriptNextSearchDialog([&seen](SearchDialogSession& dialog) { seen = dialog.controls(); });
        EXPECT_EQ(exec(FunctionTable::standard().idOf(c.function)), 1) << c.function;
        EXPECT_EQ(dialogsShown(), (std::vector<std::string>{c.title})) << c.function;
        EXPECT_EQ(seen.findText, c.findText) << c.function;
        EXPECT_EQ(seen.searchDown, c.searchDown) << c.function;
        EXPECT_EQ(seen.replaceText, std::string(c.title) == "Replace" ? "new" : "") << c.function;
        ASSERT_NE(frame.searchDialog(), nullptr) << c.function;
        EXPECT_EQ(frame.searchDialog()->kind(),
                  std::string(c.title) == "Replace" ? SearchDialogKind::Replace : SearchDialogKind::Find)
            << c.function;
        // The dialog leaves the document and its cursor alone until a button is pressed.
        EXPECT_EQ(lines(), (Lines{"alpha beta"})) << c.function;
        EXPECT_EQ(doc().cursorOffset(), 7) << c.function;
    }
    EXPECT_EQ(frame.unusedReplies(), 0u);
}

TEST_F(SearchCommandsTest, FindDialogFindsOnTheActivePaneAndStaysOpen) {
    setLines({"one", "two one", "one"});
    place(0, 1);
    frame.scriptNextSearchDialog([](SearchDialogSession& dialog) {
        SearchDialogControls controls = dialog.controls();
        controls.findText = "one";
        dialog.setControls(controls);
        EXPECT_TRUE(dialog.findNext());
    });
    exec(functionIdOf("SearchDialog"));
    expectCursor(1, 4, "first press");
    EXPECT_EQ(shown(), (std::vector<Shown>{{"Searching for string 'one' pattern", SoundKind::None},
                                           {"Search completed.", SoundKind::None}}));
    ASSERT_NE(frame.searchDialog(), nullptr);
    EXPECT_TRUE(frame.searchDialog()->findNext());
    expectCursor(2, 0, "second press");
    frame.clearEvents();
    EXPECT_FALSE(frame.searchDialog()->findNext());
    expectCursor(2, 0, "at the end");
    EXPECT_EQ(frame.lastStatus(), withText(kEndNotFound, "one"));
    EXPECT_EQ(state().findText(), "one");
}

TEST_F(SearchCommandsTest, DialogButtonsWorkOnThePaneActiveWhenPressed) {
    setLines({"first pane", "word"});
    exec(functionIdOf("SearchDialog"));
    ASSERT_NE(frame.searchDialog(), nullptr);
    SearchDialogControls controls = frame.searchDialog()->controls();
    controls.findText = "word";
    frame.searchDialog()->setControls(controls);

    auto other = std::make_unique<Document>();
    other->clearForLoad(0);
    other->appendLoadedLine("no");
    other->appendLoadedLine("a word here");
    auto otherPane = std::make_unique<EditPane>(std::move(other));
    processor.activatePane(otherPane.get());
    EXPECT_TRUE(frame.searchDialog()->findNext());
    EXPECT_EQ(otherPane->document().cursorLine(), 1);
    EXPECT_EQ(otherPane->document().cursorOffset(), 2);
    EXPECT_EQ(doc().cursorLine(), 0);

    processor.activateOutputWindow();
    frame.clearEvents();
    EXPECT_FALSE(frame.searchDialog()->findNext());
    EXPECT_EQ(frame.lastStatus(), withText(kEndNotFound, "word"));
    frame.closeSearchDialog();
}

TEST_F(SearchCommandsTest, ReplaceDialogReplacesEveryMatchAndReturnsTheCursor) {
    setLines({"cat start", "a cat, a cat", "cat"});
    place(0, 4);
    exec(functionIdOf("ReplaceDialog"));
    ASSERT_NE(frame.searchDialog(), nullptr);
    SearchDialogControls controls = frame.searchDialog()->controls();
    controls.findText = "cat";
    controls.replaceText = "dog";
    controls.replaceAll = true;
    frame.searchDialog()->setControls(controls);
    // Pressed outside any editor function, as a user does.
    EXPECT_EQ(frame.searchDialog()->replace(), 3);
    EXPECT_EQ(lines(), (Lines{"cat start", "a dog, a dog", "dog"}));
    expectCursor(0, 4, "returned");
    EXPECT_EQ(frame.lastStatus(), "Replacement completed with 3 occurrences changed.");
    EXPECT_EQ(state().options().replaceAll, 1);
    EXPECT_EQ(state().replaceText(), "dog");

    // The replacements form one undo group of their own: typing afterwards is undone apart.
    type("X");
    exec(functionIdOf("Undo"));
    EXPECT_EQ(lines(), (Lines{"cat start", "a dog, a dog", "dog"}));
    exec(functionIdOf("Undo"));
    EXPECT_EQ(lines(), (Lines{"cat start", "a cat, a cat", "cat"}));
}

// Regression: the cursor stops at offset 1023, so replace all through the cursor never ended once
// the line grew past it.
TEST_F(SearchCommandsTest, ReplaceAllOnALongLineEndsAndCountsEveryMatch) {
    setLines({std::string(600, 'x')});
    exec(functionIdOf("ReplaceDialog"));
    ASSERT_NE(frame.searchDialog(), nullptr);
    SearchDialogControls controls = frame.searchDialog()->controls();
    controls.findText = "x";
    controls.replaceText = "yy";
    controls.replaceAll = true;
    frame.searchDialog()->setControls(controls);
    EXPECT_EQ(frame.searchDialog()->replace(), 600);
    EXPECT_EQ(lines(), (Lines{std::string(1200, 'y')}));
    EXPECT_EQ(frame.lastStatus(), "Replacement completed with 600 occurrences changed.");
}

// Regression: the view stayed at the last replacement while the cursor went back.
TEST_F(SearchCommandsTest, AfterReplaceAllTheViewFollowsTheCursor) {
    Lines text(200, "plain");
    text[150] = "cat";
    text[190] = "cat";
    setLines(text);
    pane->setTextArea(80, 20);
    place(2, 0);
    exec(functionIdOf("ReplaceDialog"));
    ASSERT_NE(frame.searchDialog(), nullptr);
    SearchDialogControls controls = frame.searchDialog()->controls();
    controls.findText = "cat";
    controls.replaceText = "dog";
    controls.replaceAll = true;
    frame.searchDialog()->setControls(controls);
    EXPECT_EQ(frame.searchDialog()->replace(), 2);
    expectCursor(2, 0, "returned");
    EXPECT_LE(pane->topLine(), 2);
    EXPECT_GT(pane->topLine() + pane->visibleLines(), 2);
}

TEST_F(SearchCommandsTest, SearchNextAndReplaceNextGoPastMatchesBeyondTheCursorLimit) {
    std::string longLine(1400, '.');
    longLine.replace(1100, 3, "abc");
    longLine.replace(1200, 3, "abc");
    setLines({longLine, "abc"});
    state().setFindText("abc", false);
    state().setReplaceText("XYZ");
    exec(functionIdOf("SearchNext"));
    EXPECT_EQ(state().lastMatch().offset, 1100);
    exec(functionIdOf("SearchNext"));
    EXPECT_EQ(state().lastMatch().offset, 1200);
    exec(functionIdOf("SearchNext"));
    EXPECT_EQ(state().lastMatch().line, 1);
    place(0, 0);
    state().setFound(false);
    exec(functionIdOf("ReplaceNext"));
    exec(functionIdOf("ReplaceNext"));
    exec(functionIdOf("ReplaceNext"));
    std::string expected = longLine;
    expected.replace(1100, 3, "XYZ");
    expected.replace(1200, 3, "XYZ");
    EXPECT_EQ(lines(), (Lines{expected, "XYZ"}));
}

TEST_F(SearchCommandsTest, ReplaceDialogFindsNothingAndReportsTheDirection) {
    struct Case {
        bool down;
        const char* message;
    };
    for (const Case& c : {Case{true, kEndNotFound}, Case{false, kStartNotFound}}) {
        setLines({"abc"});
        exec(functionIdOf("ReplaceDialog"));
        ASSERT_NE(frame.searchDialog(), nullptr);
        SearchDialogControls controls = frame.searchDialog()->controls();
        controls.findText = "zz";
        controls.replaceText = "y";
        controls.searchDown = c.down;
        frame.searchDialog()->setControls(controls);
        EXPECT_EQ(frame.searchDialog()->replace(), 0);
        EXPECT_EQ(shown().back(), (Shown{withText(c.message, "zz"), SoundKind::Information})) << c.down;
        EXPECT_EQ(lines(), (Lines{"abc"}));
    }
}

TEST_F(SearchCommandsTest, ReplaceButtonIsRefusedWhenTheDocumentBecameReadOnly) {
    setLines({"abc"});
    exec(functionIdOf("ReplaceDialog"));
    ASSERT_NE(frame.searchDialog(), nullptr);
    SearchDialogControls controls = frame.searchDialog()->controls();
    controls.findText = "abc";
    controls.replaceText = "x";
    frame.searchDialog()->setControls(controls);
    doc().setReadOnly(true);
    EXPECT_EQ(frame.searchDialog()->replace(), 0);
    EXPECT_EQ(lines(), (Lines{"abc"}));
    EXPECT_EQ(frame.lastStatus(), kReadOnlyMessage);
}

TEST_F(SearchCommandsTest, CancelRestoresTheCopiedStateUnlessTheDialogWasUsed) {
    struct Case {
        const char* name;
        const char* function;
        bool pressFindNext;
        bool restored;
    };
    const std::vector<Case> cases = {
        {"find dialog, unused", "SearchDialog", false, true},
        {"find dialog, used", "SearchDialog", true, false},
        {"replace dialog, unused", "ReplaceDialog", false, true},
        {"replace dialog, used", "ReplaceDialog", true, false},
    };
    for (const Case& c : cases) {
        setLines({"abc abc"});
        state().setFindText("abc", false);
        state().setCaseCheck(false);
        state().setRegularExpression(false);
        const SearchState::Snapshot opened = state().snapshot();
        exec(FunctionTable::standard().idOf(c.function));
        ASSERT_NE(frame.searchDialog(), nullptr) << c.name;
        if (c.pressFindNext) {
            EXPECT_TRUE(frame.searchDialog()->findNext()) << c.name;
        }
        // While the modeless dialog is open the keys still change the state.
        exec(functionIdOf("SearchCaseSet"));
        exec(functionIdOf("SearchRegexpSet"));
        state().setFindText("other", false);
        frame.cancelSearchDialog();
        EXPECT_EQ(frame.searchDialog(), nullptr) << c.name;
        EXPECT_EQ(state().findText(), c.restored ? "abc" : "other") << c.name;
        EXPECT_EQ(state().options().caseCheck, c.restored ? 0 : 1) << c.name;
        EXPECT_EQ(state().options().regularExpression, c.restored ? 0 : 1) << c.name;
        if (c.restored) {
            EXPECT_EQ(state().options(), opened.options) << c.name;
            EXPECT_EQ(state().found(), opened.found) << c.name;
        }
    }
}

TEST_F(SearchCommandsTest, OpeningADialogClosesTheOpenOneAndKeepsItsHistory) {
    ASSERT_TRUE(m_directories.create());
    setLines({"abc"});
    frame.scriptNextSearchDialog([](SearchDialogSession& dialog) {
        SearchDialogControls controls = dialog.controls();
        controls.findText = "first";
        dialog.setControls(controls);
        (void)dialog.findNext();
    });
    exec(functionIdOf("SearchDialog"));
    std::vector<std::string> history;
    frame.scriptNextSearchDialog([&history](SearchDialogSession& dialog) { history = dialog.findHistory(); });
    exec(functionIdOf("ReplaceDialog"));
    // The Find dialog wrote its history when it closed, before the Replace dialog read it.
    EXPECT_EQ(history, (std::vector<std::string>{"first"}));
    EXPECT_TRUE(frame.lastSearchDialogCloseSaved());
    EXPECT_EQ(dialogsShown(), (std::vector<std::string>{"Find", "Replace"}));
    ASSERT_NE(frame.searchDialog(), nullptr);
    EXPECT_EQ(frame.searchDialog()->kind(), SearchDialogKind::Replace);
    frame.closeSearchDialog();
    HistoryFile saved;
    saved.load(configDirectory() + std::string(kFindHistoryFile));
    EXPECT_EQ(saved.entries(), (std::vector<std::string>{"first"}));
}

TEST_F(SearchCommandsTest, ClosingTheProcessorClosesItsDialog) {
    {
        CommandProcessor another(ProcessorServices{frame, options, clock, clipboard});
        linkProcessor(another);
        another.activatePane(pane.get());
        another.execute(functionIdOf("SearchDialog"));
        ASSERT_NE(frame.searchDialog(), nullptr);
    }
    EXPECT_EQ(frame.searchDialog(), nullptr);
}

// ---- ending a long search ----

// A clock that moves on each time it is read, as time passes while a search works.
class RunningClock final : public platform::Clock {
public:
    [[nodiscard]] uint64_t tickCount() const override { return m_ticks += 40; }
    [[nodiscard]] platform::LocalTime localTime() const override { return {}; }

private:
    mutable uint64_t m_ticks = 0;
};

TEST_F(SearchCommandsTest, EscapeHeldThroughTheKeyStateEndsALongFind) {
    Lines text(20'000, "    total += table[i]; /* nothing to see */");
    text.push_back("the needle");
    RunningClock running;
    platform::MemoryKeyState keys;
    for (const bool held : {false, true}) {
        CommandProcessor watched(ProcessorServices{frame, options, running, clipboard, &keys});
        linkProcessor(watched);
        setLines(text);
        watched.activatePane(pane.get());
        watched.searchState().setFindText("needle", false);
        keys.setDown(platform::kKeyEscape, held);
        const int drainsBefore = frame.drainCount();
        frame.clearEvents();
        watched.execute(functionIdOf("SearchNext"), kKeyboardCommandSource);
        // Nothing else runs during the search: the frame's events are not drained.
        EXPECT_EQ(frame.drainCount(), drainsBefore) << held;
        if (held) {
            EXPECT_EQ(doc().cursorLine(), 0);
            EXPECT_EQ(shown(),
                      (std::vector<Shown>{{withText(kEndNotFound, "needle"), SoundKind::Information}}));
        } else {
            EXPECT_EQ(doc().cursorLine(), 20'000);
        }
    }
}

// ---- the settings ----

TEST_F(SearchCommandsTest, TheStateIsReadFromTheSettingsAndWrittenBackOnRequest) {
    SettingsFile& settings = options.settingsFile();
    ASSERT_TRUE(settings.putString("Searching", "FindText", "needle"));
    ASSERT_TRUE(settings.putString("Searching", "ReplaceText", "pin"));
    ASSERT_TRUE(settings.putInteger("Searching", "Forward", 0));
    ASSERT_TRUE(settings.putInteger("Searching", "WholeWord", 1));
    CommandProcessor loaded(ProcessorServices{frame, options, clock, clipboard});
    linkProcessor(loaded);
    EXPECT_EQ(loaded.searchState().findText(), "needle");
    EXPECT_EQ(loaded.searchState().replaceText(), "pin");
    EXPECT_FALSE(loaded.searchState().forward());
    EXPECT_EQ(loaded.searchState().options().wholeWord, 1);

    loaded.activatePane(pane.get());
    loaded.execute(functionIdOf("SearchCaseSet"));
    loaded.searchState().setFindText("thread", false);
    ASSERT_TRUE(loaded.saveSearchState());
    EXPECT_EQ(settings.getString("Searching", "FindText", "", 81), "thread");
    EXPECT_EQ(settings.getString("Searching", "CaseCheck", "", 4), "1");
    EXPECT_EQ(settings.getString("Searching", "Forward", "", 4), "0");
}

} // namespace
} // namespace vexa
