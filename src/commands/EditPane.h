// The view model of one document window: the document, the visible area and the repaint bookkeeping.
#pragma once

#include <memory>

#include "core/Document.h"

namespace vexa {

// Told what the pane needs from its widget. The Qt layer implements it; tests count the calls.
class PaneObserver {
public:
    virtual ~PaneObserver() = default;
    // The document's line count or widest line changed: new scroll ranges.
    virtual void extentChanged(int lines, int width) = 0;
    // The view scrolled: the caret moves and the status line shows the new position.
    virtual void viewScrolled() = 0;
    virtual void repaintAll() = 0;
    // One visible line, by its index in the document.
    virtual void repaintLine(int index) = 0;
};

// A window owns its pane and the pane owns the document. The view is the top line and the first
// visible column of the text area, whose size in character cells the widget sets.
class EditPane {
public:
    explicit EditPane(std::unique_ptr<Document> document);

    Document& document() { return *m_document; }
    const Document& document() const { return *m_document; }

    void setObserver(PaneObserver* observer) { m_observer = observer; }

    // The text area in character cells; at least one of each.
    void setTextArea(int columns, int lines);
    int visibleColumns() const { return m_visibleColumns; }
    int visibleLines() const { return m_visibleLines; }
    int topLine() const { return m_topLine; }
    int firstColumn() const { return m_firstColumn; }
    int lastVisibleLine() const { return m_topLine + m_visibleLines - 1; }
    int lastVisibleColumn() const { return m_firstColumn + m_visibleColumns - 1; }
    // How far the page functions scroll: a page keeps one line (or column) of the old view.
    int pageLines() const { return m_visibleLines > 1 ? m_visibleLines - 1 : 1; }
    int pageColumns() const { return m_visibleColumns > 1 ? m_visibleColumns - 1 : 1; }
    // The lowest top line the page functions scroll to: the last page ends at the last line.
    int maxTopLine() const;

    // Moves the view (never above line 0 or left of column 0); true when it moved.
    bool scrollTo(int topLine, int firstColumn);
    bool scrollBy(int lines, int columns) { return scrollTo(m_topLine + lines, m_firstColumn + columns); }

    // Set by the page and scroll functions so that the refresh keeps the view they chose.
    void markScrolledByFunction() { m_scrolledByFunction = true; }
    bool scrolledByFunction() const { return m_scrolledByFunction; }

    // The refresh after a function (in this order): the scroll ranges when the extent changed,
    // the view brought to the cursor by the smallest scroll (unless a function scrolled it; the
    // flag is cleared instead), and the repaint of the changed lines.
    void updateExtent();
    void bringCursorIntoView();
    void repaintChanged();

    int extentLines() const { return m_extentLines; }
    int extentWidth() const { return m_extentWidth; }

private:
    std::unique_ptr<Document> m_document;
    PaneObserver* m_observer = nullptr;
    int m_topLine = 0;
    int m_firstColumn = 0;
    int m_visibleColumns = 80;
    int m_visibleLines = 25;
    bool m_scrolledByFunction = false;
    int m_extentLines = -1;
    int m_extentWidth = -1;
};

} // namespace vexa
