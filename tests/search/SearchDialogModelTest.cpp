// The Find and Replace dialog models: controls, enabling, Find Next, Replace, Cancel and the
// history files they keep.
#include "search/SearchDialogModel.h"
#include "search/ReplaceDialogModel.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/SearchPaneFake.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

using namespace std::string_literals;
using platform::SoundKind;
using Status = test::StatusRecorder::Status;

class SearchDialogModelTest : public ::testing::Test {
protected:
    void lines(const std::vector<std::string>& text) { test::setDocumentLines(m_document, text); }
    std::string configDirectory() const { return m_home.path().string() + "/"; }

    test::TempHome m_home;
    Document m_document;
    test::SearchPaneFake m_pane{m_document};
    test::StatusRecorder m_messages;
    SearchState m_state;
};

TEST_F(SearchDialogModelTest, OpeningFillsTheControlsFromTheState) {
    m_state.setFindText("abc", false);
    m_state.setWholeWord(true);
    m_state.setRegularExpression(true);
    m_state.setForward(false);
    m_state.setReplaceText("xyz");
    m_state.setReplaceAll(true);
    ReplaceDialogModel dialog(m_state, m_messages, configDirectory());
    EXPECT_EQ(dialog.findText(), "abc");
    EXPECT_TRUE(dialog.wholeWord());
    EXPECT_FALSE(dialog.caseSensitive());
    EXPECT_TRUE(dialog.regularExpression());
    EXPECT_FALSE(dialog.searchDown());
    EXPECT_EQ(dialog.replaceText(), "xyz");
    EXPECT_TRUE(dialog.replaceAll());
}

TEST_F(SearchDialogModelTest, FindNextIsEnabledOnlyWithText) {
    SearchDialogModel dialog(m_state, m_messages, configDirectory());
    EXPECT_FALSE(dialog.findNextEnabled());
    EXPECT_FALSE(dialog.findNext(&m_pane));
    EXPECT_TRUE(m_messages.statuses.empty());
    dialog.setFindText("x");
    EXPECT_TRUE(dialog.findNextEnabled());
}

TEST_F(SearchDialogModelTest, FindNextAppliesTheControlsAndReports) {
    lines({"Alpha alpha"});
    SearchDialogModel dialog(m_state, m_messages, configDirectory());
    dialog.setFindText("alpha");
    dialog.setCaseSensitive(true);
    EXPECT_TRUE(dialog.findNext(&m_pane));
    EXPECT_EQ(m_state.options().caseCheck, 1);
    EXPECT_EQ(m_state.findText(), "alpha");
    EXPECT_EQ(m_document.cursorOffset(), 6);
    EXPECT_TRUE(m_pane.lastScroll);
    EXPECT_FALSE(dialog.focusOnFindText());
    EXPECT_EQ(m_messages.statuses,
              (std::vector<Status>{{"Searching for string 'alpha' pattern", SoundKind::None},
                                   {"Search completed.", SoundKind::None}}));

    // Searching up from there finds nothing: the focus goes back to the text box.
    m_messages.statuses.clear();
    dialog.setSearchDown(false);
    EXPECT_FALSE(dialog.findNext(&m_pane));
    EXPECT_TRUE(dialog.focusOnFindText());
    EXPECT_EQ(m_messages.statuses.back(),
              (Status{"Reached the start of document and the search string 'alpha' was not found.",
                      SoundKind::Information}));
}

TEST_F(SearchDialogModelTest, FindNextWithANewTextStartsAtTheCursor) {
    lines({"ab ab"});
    m_state.setFindText("ab", false);
    SearchDialogModel dialog(m_state, m_messages, configDirectory());
    dialog.setFindText("ab");
    EXPECT_TRUE(dialog.findNext(&m_pane));
    EXPECT_EQ(m_document.cursorOffset(), 0);
    EXPECT_TRUE(dialog.findNext(&m_pane));
    EXPECT_EQ(m_document.cursorOffset(), 3);
}

TEST_F(SearchDialogModelTest, CancelRestoresTheStateOnlyWhenNoSearchRan) {
    lines({"text"});
    m_state.setFindText("old", false);
    {
        SearchDialogModel dialog(m_state, m_messages, configDirectory());
        // Something else changes the state while the dialog is open.
        m_state.setFindText("changed", true);
        m_state.setCaseCheck(true);
        dialog.cancel();
        EXPECT_EQ(m_state.findText(), "old");
        EXPECT_EQ(m_state.options().caseCheck, 0);
        EXPECT_FALSE(m_state.found());
    }
    {
        SearchDialogModel dialog(m_state, m_messages, configDirectory());
        dialog.setFindText("new");
        dialog.setWholeWord(true);
        EXPECT_FALSE(dialog.findNext(&m_pane));
        EXPECT_TRUE(dialog.used());
        dialog.cancel();
        EXPECT_EQ(m_state.findText(), "new");
        EXPECT_EQ(m_state.options().wholeWord, 1);
    }
}

TEST_F(SearchDialogModelTest, HistoriesAreWrittenOnCloseAndReadOnOpen) {
    lines({"one two three"});
    {
        ReplaceDialogModel dialog(m_state, m_messages, configDirectory());
        for (const char* text : {"one", "two", "one"}) {
            dialog.setFindText(text);
            dialog.findNext(&m_pane);
        }
        dialog.setFindText("three");
        dialog.setReplaceText("3");
        EXPECT_EQ(dialog.replace(&m_pane), 1);
        ASSERT_TRUE(dialog.close());
    }
    EXPECT_EQ(test::readFileBytes(m_home.file("VexaFnd.his")), "\x00\x03\x03one\0\x03two\0\x05three\0"s);
    EXPECT_EQ(test::readFileBytes(m_home.file("VexaRep.his")), "\x01\x01\x01"
                                                               "3\0"s);

    SearchDialogModel reopened(m_state, m_messages, configDirectory());
    EXPECT_EQ(reopened.findHistory().entries(), (std::vector<std::string>{"one", "two", "three"}));
    reopened.chooseFindHistory(1);
    EXPECT_EQ(reopened.findText(), "two");
    reopened.chooseFindHistory(7);
    EXPECT_EQ(reopened.findText(), "two");
}

TEST_F(SearchDialogModelTest, ReplaceTakesTheMatchFoundByFindNext) {
    lines({"cat cat"});
    m_document.setCursorOffset(1);
    ReplaceDialogModel dialog(m_state, m_messages, configDirectory());
    dialog.setFindText("cat");
    dialog.setReplaceText("dog");
    EXPECT_TRUE(dialog.findNext(&m_pane));
    EXPECT_EQ(m_document.cursorOffset(), 4);
    m_messages.statuses.clear();
    EXPECT_EQ(dialog.replace(&m_pane), 1);
    EXPECT_EQ(test::documentLines(m_document), (std::vector<std::string>{"cat dog"}));
    EXPECT_EQ(m_messages.statuses,
              (std::vector<Status>{{"Replacement completed with 1 occurrences changed.", SoundKind::None}}));
}

TEST_F(SearchDialogModelTest, ReplaceAllCountsAndReturnsTheCursor) {
    lines({"x", "a b a", "b a"});
    m_document.goToLine(1);
    ReplaceDialogModel dialog(m_state, m_messages, configDirectory());
    dialog.setFindText("a");
    dialog.setReplaceText("<\\>");
    dialog.setReplaceAll(true);
    EXPECT_EQ(dialog.replace(&m_pane), 3);
    EXPECT_EQ(test::documentLines(m_document), (std::vector<std::string>{"x", "<a> b <a>", "b <a>"}));
    EXPECT_EQ(m_document.cursorLine(), 1);
    EXPECT_EQ(m_document.cursorOffset(), 0);
    EXPECT_EQ(m_state.options().replaceAll, 1);
    EXPECT_EQ(m_messages.statuses,
              (std::vector<Status>{{"Replacement completed with 3 occurrences changed.", SoundKind::None}}));
}

TEST_F(SearchDialogModelTest, ReplaceFindingNothingReportsByDirection) {
    lines({"abc"});
    ReplaceDialogModel dialog(m_state, m_messages, configDirectory());
    dialog.setFindText("zz");
    EXPECT_EQ(dialog.replace(&m_pane), 0);
    dialog.setSearchDown(false);
    EXPECT_EQ(dialog.replace(&m_pane), 0);
    EXPECT_EQ(m_messages.statuses,
              (std::vector<Status>{{"Reached the end of document and the search string 'zz' was not found.",
                                    SoundKind::Information},
                                   {"Reached the start of document and the search string 'zz' was not found.",
                                    SoundKind::Information}}));
}

TEST_F(SearchDialogModelTest, ReplaceIsRefusedOnAReadOnlyDocument) {
    lines({"abc"});
    m_document.setReadOnly(true);
    ReplaceDialogModel dialog(m_state, m_messages, configDirectory());
    dialog.setFindText("b");
    dialog.setReplaceText("x");
    EXPECT_EQ(dialog.replace(&m_pane), 0);
    EXPECT_FALSE(dialog.used());
    EXPECT_EQ(test::documentLines(m_document), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(m_messages.statuses,
              (std::vector<Status>{{"The document can not be changed as it is marked as 'Read Only'",
                                    SoundKind::Information}}));
}

} // namespace
} // namespace vexa
