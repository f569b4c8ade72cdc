// The headless frame's Find and Replace dialogs: the script, the open dialog, Cancel and close.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/HeadlessFrame.h"

namespace vexa {
namespace {

// Notes every button pressed into a shared log, so that it can be read after the dialog is gone.
class LoggingSession final : public SearchDialogSession {
public:
    LoggingSession(SearchDialogKind kind, std::vector<std::string>& log, bool closeSaves = true)
        : m_kind(kind), m_log(log), m_closeSaves(closeSaves) {}

    SearchDialogKind kind() const override { return m_kind; }
    SearchDialogControls controls() const override { return m_controls; }
    void setControls(const SearchDialogControls& controls) override { m_controls = controls; }
    std::vector<std::string> findHistory() const override { return {}; }
    std::vector<std::string> replaceHistory() const override { return {}; }
    bool findNextEnabled() const override { return !m_controls.findText.empty(); }
    bool findNext() override {
        m_log.push_back("find " + m_controls.findText);
        return true;
    }
    int replace() override {
        m_log.push_back("replace");
        return 1;
    }
    void cancel() override { m_log.push_back("cancel"); }
    bool close() override {
        m_log.push_back("close");
        return m_closeSaves;
    }

private:
    SearchDialogKind m_kind;
    std::vector<std::string>& m_log;
    bool m_closeSaves;
    SearchDialogControls m_controls;
};

TEST(HeadlessSearchDialogTest, RunsTheScriptAndKeepsTheDialogOpen) {
    HeadlessFrame frame;
    std::vector<std::string> log;
    frame.scriptNextSearchDialog([](SearchDialogSession& dialog) {
        SearchDialogControls controls = dialog.controls();
        controls.findText = "x";
        dialog.setControls(controls);
        (void)dialog.findNext();
    });
    frame.showSearchDialog(std::make_unique<LoggingSession>(SearchDialogKind::Replace, log));
    EXPECT_EQ(log, (std::vector<std::string>{"find x"}));
    ASSERT_NE(frame.searchDialog(), nullptr);
    EXPECT_EQ(frame.searchDialog()->controls().findText, "x");
    const auto shown = frame.eventsOf(FrameEventKind::SearchDialog);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Replace");
    EXPECT_TRUE(shown[0].scripted);
    EXPECT_EQ(frame.unusedReplies(), 0u);
}

TEST(HeadlessSearchDialogTest, ShowingAnotherClosesTheOpenOneFirst) {
    HeadlessFrame frame;
    std::vector<std::string> log;
    frame.showSearchDialog(std::make_unique<LoggingSession>(SearchDialogKind::Find, log, false));
    frame.showSearchDialog(std::make_unique<LoggingSession>(SearchDialogKind::Find, log));
    EXPECT_EQ(log, (std::vector<std::string>{"close"}));
    EXPECT_FALSE(frame.lastSearchDialogCloseSaved());
    const auto shown = frame.eventsOf(FrameEventKind::SearchDialog);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "Find");
    EXPECT_FALSE(shown[1].scripted);
    EXPECT_NE(frame.searchDialog(), nullptr);
}

TEST(HeadlessSearchDialogTest, CancelPressesCancelThenClosesOnce) {
    HeadlessFrame frame;
    std::vector<std::string> log;
    frame.showSearchDialog(std::make_unique<LoggingSession>(SearchDialogKind::Find, log));
    frame.cancelSearchDialog();
    EXPECT_EQ(frame.searchDialog(), nullptr);
    frame.cancelSearchDialog();
    frame.closeSearchDialog();
    EXPECT_EQ(log, (std::vector<std::string>{"cancel", "close"}));
    EXPECT_TRUE(frame.lastSearchDialogCloseSaved());
}

TEST(HeadlessSearchDialogTest, AnUnusedScriptCountsAsAnUnusedReply) {
    HeadlessFrame frame;
    frame.scriptNextSearchDialog([](SearchDialogSession&) {});
    EXPECT_EQ(frame.unusedReplies(), 1u);
    frame.showSearchDialog(nullptr);
    EXPECT_EQ(frame.unusedReplies(), 1u);
    EXPECT_TRUE(frame.events().empty());
}

} // namespace
} // namespace vexa
