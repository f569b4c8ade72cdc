// The edit pane as the search state sees it.
#pragma once

#include "search/SearchState.h"

namespace vexa {

class EditPane;

// Wraps the active pane for one search operation. When the pane's window closes, paneClosed()
// makes every later step of the search find that it is gone.
class SearchPaneAdapter final : public SearchPane {
public:
    explicit SearchPaneAdapter(EditPane* pane) : m_pane(pane) {}

    void paneClosed() { m_pane = nullptr; }

    [[nodiscard]] bool isAlive() const override { return m_pane != nullptr; }
    [[nodiscard]] Document* document() override;
    [[nodiscard]] int topLine() const override;
    [[nodiscard]] int firstColumn() const override;
    [[nodiscard]] int visibleLines() const override;
    [[nodiscard]] int visibleColumns() const override;
    // The view a search chose stays: the refresh after the function does not move it again.
    void setView(int topLine, int firstColumn) override;
    void refresh(bool scroll) override;

private:
    EditPane* m_pane;
};

} // namespace vexa
