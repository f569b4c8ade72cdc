// The mouse in an edit pane.
#include "commands/PaneMouse.h"

#include <algorithm>

#include "commands/CommandProcessor.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "settings/Options.h"

namespace vexa {

namespace {

// A mouse option holds a mark type value; anything else falls back to the stream marking.
MarkType markTypeOf(int value) {
    switch (value) {
    case 1:
        return MarkType::Line;
    case 3:
        return MarkType::Column;
    default:
        return MarkType::Stream;
    }
}

} // namespace

MarkType PaneMouse::markTypeFor(MouseModifiers modifiers) const {
    const MouseOptions& mouse = m_processor.options().mouse();
    if (modifiers.ctrl) {
        return markTypeOf(mouse.mouseMark2);
    }
    if (modifiers.shift) {
        return markTypeOf(mouse.mouseMark3);
    }
    if (modifiers.alt) {
        return markTypeOf(mouse.mouseMark4);
    }
    return markTypeOf(mouse.mouseMark1);
}

MarkPoint PaneMouse::pointOf(PaneCell cell) const {
    return {m_pane.firstColumn() + std::max(cell.column, 0), m_pane.topLine() + std::max(cell.row, 0)};
}

void PaneMouse::placeCursor(MarkPoint point) {
    Document& document = m_pane.document();
    const int last = std::max(document.lineCount() - 1, 0);
    document.moveToLine(std::clamp(point.line, 0, last));
    // Below the last line there is no line to stand on: the cursor goes to the end of the text, as
    // it would after the last character. On a line, the clicked column counts, past its end too.
    document.setCursorColumn(point.line > last ? document.line(last).width(document.layout()) : point.column);
}

void PaneMouse::placeCursor(PaneCell cell) {
    placeCursor(pointOf(cell));
}

void PaneMouse::finishStep() {
    Document& document = m_pane.document();
    document.nextGroup();
    m_pane.repaintChanged();
}

void PaneMouse::press(PaneCell cell, MouseModifiers modifiers) {
    // What was typed before the click is an undo step of its own.
    m_processor.closeTypedWord();
    m_pressed = true;
    m_pressModifiers = modifiers;
    // Kept as a text position: the view may scroll before the drag begins.
    m_pressedAt = pointOf(cell);
}

void PaneMouse::move(PaneCell cell, MouseModifiers modifiers, bool insideTextArea) {
    if (!m_pressed) {
        return;
    }
    Document& document = m_pane.document();
    if (!m_dragging) {
        // The marking starts where the button went down, not at the old caret.
        m_dragging = true;
        document.clearMark();
        placeCursor(m_pressedAt);
        document.beginMark(markTypeFor(modifiers));
        document.markStart();
    }
    if (insideTextArea) {
        placeCursor(cell);
    } else {
        scrollTowards(cell);
    }
    finishStep();
}

void PaneMouse::scrollTowards(PaneCell cell) {
    Document& document = m_pane.document();
    int lines = 0;
    int columns = 0;
    if (cell.row < 0) {
        lines = -1;
    } else if (cell.row >= m_pane.visibleLines()) {
        lines = 1;
    }
    if (cell.column < 0) {
        columns = -1;
    } else if (cell.column >= m_pane.visibleColumns()) {
        columns = 1;
    }
    if (lines > 0 && m_pane.topLine() >= m_pane.maxTopLine()) {
        lines = 0;
    }
    m_pane.scrollBy(lines, columns);
    // The cursor keeps to the edge of the view the pointer has left, so the marking grows with it.
    const int row = std::clamp(cell.row, 0, m_pane.visibleLines() - 1);
    const int column = std::clamp(cell.column, 0, m_pane.visibleColumns() - 1);
    const int last = std::max(document.lineCount() - 1, 0);
    document.moveToLine(std::clamp(m_pane.topLine() + row, 0, last));
    document.setCursorColumn(m_pane.firstColumn() + column);
}

void PaneMouse::release(PaneCell cell) {
    if (!m_pressed) {
        return;
    }
    m_pressed = false;
    Document& document = m_pane.document();
    const bool extend = !m_dragging && m_pressModifiers.shift && !m_pressModifiers.ctrl &&
                        m_processor.options().mouse().shiftClickExtends != 0;
    if (extend) {
        // The mark's far end moves to the click; without a mark, one starts at the cursor.
        if (document.mark().type == MarkType::None) {
            document.beginMark(MarkType::CuaStream);
            document.markStart();
        } else {
            document.resumeMarking(document.mark().type);
        }
    }
    placeCursor(cell);
    if (m_dragging || extend) {
        m_dragging = false;
        document.markEnd();
    }
    finishStep();
}

void PaneMouse::doubleClick(PaneCell cell) {
    placeCursor(cell);
    finishStep();
    m_processor.execute(functionIdOf("MarkWordCurrent"), kKeyboardCommandSource);
}

} // namespace vexa
