// The Search and Replace functions' effects and status messages.
#include "search/SearchActions.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/SearchPaneFake.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

using platform::SoundKind;
using Status = test::StatusRecorder::Status;

class SearchActionsTest : public ::testing::Test {
protected:
    void lines(const std::vector<std::string>& text) { test::setDocumentLines(m_document, text); }

    test::TempHome m_home;
    Document m_document;
    test::SearchPaneFake m_pane{m_document};
    test::StatusRecorder m_messages;
    SearchState m_state;
    SearchActions m_actions{m_state, m_messages};
};

TEST_F(SearchActionsTest, SearchNextReportsSuccessAndTheEndOfTheDocument) {
    lines({"a needle"});
    m_state.setFindText("needle", false);
    m_state.setForward(false);
    EXPECT_TRUE(m_actions.searchNext(m_pane));
    EXPECT_TRUE(m_state.forward());
    EXPECT_EQ(m_document.cursorOffset(), 2);
    EXPECT_FALSE(m_actions.searchNext(m_pane));
    EXPECT_EQ(
        m_messages.statuses,
        (std::vector<Status>{{"Search completed.", SoundKind::None},
                             {"Reached the end of document and the search string 'needle' was not found.",
                              SoundKind::Information}}));
}

TEST_F(SearchActionsTest, SearchPreviousIsSilentOnSuccess) {
    lines({"x 100%", "y"});
    m_document.goToLine(1);
    m_state.setFindText("100%", false);
    EXPECT_TRUE(m_actions.searchPrevious(m_pane));
    EXPECT_FALSE(m_state.forward());
    EXPECT_EQ(m_document.cursorLine(), 0);
    EXPECT_TRUE(m_messages.statuses.empty());
    EXPECT_FALSE(m_actions.searchPrevious(m_pane));
    EXPECT_EQ(
        m_messages.statuses,
        (std::vector<Status>{{"Reached the start of document and the search string '100%' was not found.",
                              SoundKind::Information}}));
}

TEST_F(SearchActionsTest, ReplaceNextTurnsReplaceAllOff) {
    lines({"aa aa"});
    m_state.setFindText("aa", false);
    m_state.setReplaceText("b");
    m_state.setReplaceAll(true);
    EXPECT_EQ(m_actions.replaceNext(m_pane), 1);
    EXPECT_EQ(m_state.options().replaceAll, 0);
    EXPECT_EQ(test::documentLines(m_document), (std::vector<std::string>{"b aa"}));
    EXPECT_EQ(m_actions.replacePrevious(m_pane), 0); // nothing before the cursor any more
    EXPECT_EQ(m_messages.statuses,
              (std::vector<Status>{{"Search completed.", SoundKind::None},
                                   {"Reached the start of document and the search string 'aa' was not found.",
                                    SoundKind::Information}}));
}

TEST_F(SearchActionsTest, ReplaceIsRefusedOnAReadOnlyDocument) {
    lines({"aa"});
    m_document.setReadOnly(true);
    m_state.setFindText("aa", false);
    m_state.setReplaceText("b");
    EXPECT_EQ(m_actions.replaceNext(m_pane), 0);
    EXPECT_EQ(m_actions.replacePrevious(m_pane), 0);
    EXPECT_EQ(test::documentLines(m_document), (std::vector<std::string>{"aa"}));
    const Status refusal{"The document can not be changed as it is marked as 'Read Only'",
                         SoundKind::Information};
    EXPECT_EQ(m_messages.statuses, (std::vector<Status>{refusal, refusal}));
}

TEST_F(SearchActionsTest, OptionSwitches) {
    struct Case {
        void (SearchActions::*change)(OptionChange);
        OptionChange how;
        int32_t SearchOptions::*field;
        int32_t before;
        int32_t after;
        const char* message;
    };
    using A = SearchActions;
    using O = OptionChange;
    const Case cases[] = {
        {&A::changeCaseCheck, O::Set, &SearchOptions::caseCheck, 0, 1, "The search case sensitivity is 'On'"},
        {&A::changeCaseCheck, O::Reset, &SearchOptions::caseCheck, 1, 0,
         "The search case sensitivity is 'Off'"},
        {&A::changeCaseCheck, O::Toggle, &SearchOptions::caseCheck, 1, 0,
         "The search case sensitivity is 'Off'"},
        {&A::changeWholeWord, O::Toggle, &SearchOptions::wholeWord, 0, 1,
         "Search for 'whole' word match only"},
        {&A::changeWholeWord, O::Reset, &SearchOptions::wholeWord, 1, 0,
         "Search for 'whole' or 'partial' word match"},
        {&A::changeDirection, O::Toggle, &SearchOptions::forward, 1, 0, "The search direction is 'Up'"},
        {&A::changeDirection, O::Set, &SearchOptions::forward, 0, 1, "The search direction is 'Down'"},
        {&A::changeRegularExpression, O::Toggle, &SearchOptions::regularExpression, 0, 1,
         "The search regular expression is 'On'"},
        {&A::changeRegularExpression, O::Set, &SearchOptions::regularExpression, 1, 1,
         "The search regular expression is 'On'"},
    };
    for (const Case& c : cases) {
        SearchOptions options;
        options.*c.field = c.before;
        SearchState state;
        state.setForward(options.forward != 0);
        state.setCaseCheck(options.caseCheck != 0);
        state.setWholeWord(options.wholeWord != 0);
        state.setRegularExpression(options.regularExpression != 0);
        test::StatusRecorder messages;
        SearchActions actions(state, messages);
        (actions.*c.change)(c.how);
        EXPECT_EQ(state.options().*c.field, c.after) << c.message;
        EXPECT_EQ(messages.statuses, (std::vector<Status>{{c.message, SoundKind::None}}));
    }
}

TEST_F(SearchActionsTest, NotYetImplemented) {
    m_actions.notYetImplemented();
    EXPECT_EQ(m_messages.statuses, (std::vector<Status>{{"Not yet implemented!", SoundKind::Information}}));
}

TEST_F(SearchActionsTest, FindTextFromTheMarkOrTheWordAtTheCursor) {
    lines({"alpha beta_gamma", "second line", std::string(90, 'w')});
    m_state.setFindText("old", true);

    // A stream mark within one line gives its text.
    m_document.beginMark(MarkType::Stream);
    m_document.markStart({2, 0});
    m_document.markEnd({8, 0});
    EXPECT_TRUE(m_actions.takeFindTextFromDocument(m_document));
    EXPECT_EQ(m_state.findText(), "pha be");
    EXPECT_FALSE(m_state.found());

    // A line mark does not count: the word at the cursor is taken.
    m_document.clearMark();
    m_document.beginMark(MarkType::Line);
    m_document.markStart({0, 0});
    m_document.markEnd({0, 0});
    m_document.setCursorOffset(9);
    EXPECT_TRUE(m_actions.takeFindTextFromDocument(m_document));
    EXPECT_EQ(m_state.findText(), "beta_gamma");

    // A mark over two lines does not count either.
    m_document.clearMark();
    m_document.beginMark(MarkType::Stream);
    m_document.markStart({0, 0});
    m_document.markEnd({3, 1});
    m_document.setCursorOffset(1);
    EXPECT_TRUE(m_actions.takeFindTextFromDocument(m_document));
    EXPECT_EQ(m_state.findText(), "alpha");

    // No word at the cursor: nothing changes.
    m_document.clearMark();
    m_document.setCursorOffset(5);
    EXPECT_FALSE(m_actions.takeFindTextFromDocument(m_document));
    EXPECT_EQ(m_state.findText(), "alpha");

    // A long word is cut to 80 characters.
    m_document.goToLine(2);
    m_document.setCursorOffset(3);
    EXPECT_TRUE(m_actions.takeFindTextFromDocument(m_document));
    EXPECT_EQ(m_state.findText(), std::string(80, 'w'));
}

TEST_F(SearchActionsTest, FindTextIsTheNameAtTheCursorWithoutItsPunctuation) {
    // The test document has no word-break characters, as a document of no known language.
    struct Case {
        std::string line;
        int cursor;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"int main(void)", 4, "main"},  // on the name's first letter
        {"int main(void)", 6, "main"},  // inside it
        {"int main(void)", 8, "main"},  // just after it, on the parenthesis
        {"int main(void)", 10, "void"}, // inside the parentheses
        {"p->next = q;", 4, "next"},    // after an arrow
        {"x_1.field", 1, "x_1"},        // underscores and digits belong to the name
        {"a == b", 2, "=="},            // on no name: the document's word
    };
    for (const Case& c : cases) {
        lines({c.line});
        m_document.setCursorOffset(c.cursor);
        EXPECT_TRUE(m_actions.takeFindTextFromDocument(m_document)) << c.line << " at " << c.cursor;
        EXPECT_EQ(m_state.findText(), c.expected) << c.line << " at " << c.cursor;
    }
}

} // namespace
} // namespace vexa
