// Searching in a real edit pane: the view the search chooses, and a pane that goes away.
#include "commands/SearchPaneAdapter.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "commands/EditPane.h"
#include "support/SearchPaneFake.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

class SearchPaneAdapterTest : public ::testing::Test {
protected:
    SearchPaneAdapterTest() {
        auto document = std::make_unique<Document>();
        std::vector<std::string> lines(1000, "filler");
        lines[500] = std::string(150, ' ') + "target";
        test::setDocumentLines(*document, lines);
        m_pane = std::make_unique<EditPane>(std::move(document));
        m_pane->setTextArea(80, 25);
    }

    test::TempHome m_home;
    std::unique_ptr<EditPane> m_pane;
    SearchState m_state;
};

TEST_F(SearchPaneAdapterTest, MatchIsShownWhereTheSearchPutsIt) {
    SearchPaneAdapter adapter(m_pane.get());
    m_state.setFindText("target", false);
    m_state.attach(&adapter);
    ASSERT_TRUE(m_state.findNext(true));
    m_state.detach();
    EXPECT_EQ(m_pane->document().cursorLine(), 500);
    EXPECT_EQ(m_pane->document().cursorOffset(), 150);
    // Half a screen above the match line, and the match start half a screen from the left.
    EXPECT_EQ(m_pane->topLine(), 500 - 12);
    EXPECT_EQ(m_pane->firstColumn(), 150 - 40);
}

TEST_F(SearchPaneAdapterTest, ClosedPaneEndsTheSearch) {
    SearchPaneAdapter adapter(m_pane.get());
    adapter.paneClosed();
    m_state.setFindText("target", false);
    m_state.attach(&adapter);
    EXPECT_FALSE(m_state.findNext(true));
    EXPECT_EQ(m_state.replace(true), 0);
    m_state.detach();
    EXPECT_EQ(m_pane->document().cursorLine(), 0);
    EXPECT_FALSE(m_pane->document().hasMark());
}

} // namespace
} // namespace vexa
