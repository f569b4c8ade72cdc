// The edit pane as the search state sees it.
#include "commands/SearchPaneAdapter.h"

#include "commands/EditPane.h"

namespace vexa {

Document* SearchPaneAdapter::document() {
    return m_pane != nullptr ? &m_pane->document() : nullptr;
}

int SearchPaneAdapter::topLine() const {
    return m_pane != nullptr ? m_pane->topLine() : 0;
}

int SearchPaneAdapter::firstColumn() const {
    return m_pane != nullptr ? m_pane->firstColumn() : 0;
}

int SearchPaneAdapter::visibleLines() const {
    return m_pane != nullptr ? m_pane->visibleLines() : 1;
}

int SearchPaneAdapter::visibleColumns() const {
    return m_pane != nullptr ? m_pane->visibleColumns() : 1;
}

void SearchPaneAdapter::setView(int topLine, int firstColumn) {
    if (m_pane == nullptr) {
        return;
    }
    m_pane->scrollTo(topLine, firstColumn);
    m_pane->markScrolledByFunction();
}

void SearchPaneAdapter::refresh(bool scroll) {
    if (m_pane == nullptr) {
        return;
    }
    m_pane->updateExtent();
    if (scroll) {
        m_pane->bringCursorIntoView();
    }
    m_pane->repaintChanged();
}

} // namespace vexa
