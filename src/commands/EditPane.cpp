// The view model of one document window.
#include "commands/EditPane.h"

#include <algorithm>

namespace vexa {

EditPane::EditPane(std::unique_ptr<Document> document) : m_document(std::move(document)) {
    if (!m_document) {
        m_document = std::make_unique<Document>();
    }
}

void EditPane::setTextArea(int columns, int lines) {
    m_visibleColumns = std::max(columns, 1);
    m_visibleLines = std::max(lines, 1);
}

int EditPane::maxTopLine() const {
    return std::max(0, m_document->lineCount() - m_visibleLines);
}

bool EditPane::scrollTo(int topLine, int firstColumn) {
    topLine = std::max(topLine, 0);
    firstColumn = std::max(firstColumn, 0);
    if (topLine == m_topLine && firstColumn == m_firstColumn) {
        return false;
    }
    m_topLine = topLine;
    m_firstColumn = firstColumn;
    // Everything on screen is new; the document keeps the per-line flags for its own edits.
    if (m_observer) {
        m_observer->viewScrolled();
    }
    return true;
}

void EditPane::updateExtent() {
    const int lines = m_document->lineCount();
    const int width = m_document->widestLine();
    if (lines == m_extentLines && width == m_extentWidth) {
        return;
    }
    m_extentLines = lines;
    m_extentWidth = width;
    if (m_observer) {
        m_observer->extentChanged(lines, width);
    }
}

void EditPane::bringCursorIntoView() {
    if (m_scrolledByFunction) {
        m_scrolledByFunction = false;
        return;
    }
    const int line = m_document->cursorLine();
    const int column = m_document->cursorColumn();
    int top = m_topLine;
    int first = m_firstColumn;
    if (line < top) {
        top = line;
    } else if (line > lastVisibleLine()) {
        top = line - m_visibleLines + 1;
    }
    if (column < first) {
        first = column;
    } else if (column > lastVisibleColumn()) {
        first = column - m_visibleColumns + 1;
    }
    scrollTo(top, first);
}

void EditPane::repaintChanged() {
    Document& document = *m_document;
    const int last = std::min(lastVisibleLine(), document.lineCount() - 1);
    if (document.takeRedrawAll()) {
        for (int index = m_topLine; index <= last; ++index) {
            document.clearLineChanged(index);
        }
        if (m_observer) {
            m_observer->repaintAll();
        }
        return;
    }
    for (int index = m_topLine; index <= last; ++index) {
        if (document.line(index).isChanged()) {
            document.clearLineChanged(index);
            if (m_observer) {
                m_observer->repaintLine(index);
            }
        }
    }
}

} // namespace vexa
