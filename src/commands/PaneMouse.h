// The mouse in an edit pane: placing the cursor, drag marking with the mouse options, double clicks.
#pragma once

#include <cstdint>

#include "core/MarkState.h"

namespace vexa {

class CommandProcessor;
class EditPane;

// A character cell of the text area: row and column counted from its top left corner.
struct PaneCell {
    int row = 0;
    int column = 0;
};

struct MouseModifiers {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// Where the pointer stands relative to the text area while a drag goes on outside it.
enum class AutoScroll : uint8_t { None, Up, Down, Left, Right };

// The widget forwards the left button and the pointer's moves in character cells; every step that
// changes the document forms one undo group of its own.
class PaneMouse {
public:
    PaneMouse(CommandProcessor& processor, EditPane& pane) : m_processor(processor), m_pane(pane) {}

    // The keys held at the press decide what a click without a drag does: with Shift, and
    // "ShiftClickExtends" on, the mark is extended to the released cell (one is started at the
    // cursor when there is none).
    void press(PaneCell cell, MouseModifiers modifiers = {});
    // The pointer moved with the button held. The first move starts a marking at the pressed cell of
    // the kind the mouse options give ("MouseMark1"; "MouseMark2" with Ctrl, "MouseMark3" with Shift,
    // "MouseMark4" with Alt, in that order of precedence). Inside the text area the cursor follows
    // the pointer; outside it the view scrolls one step towards it.
    void move(PaneCell cell, MouseModifiers modifiers, bool insideTextArea);
    void release(PaneCell cell);
    // A double click marks the word under the cursor.
    void doubleClick(PaneCell cell);

    bool isDragging() const { return m_dragging; }
    // Whether the caret is hidden (while a marking is dragged).
    bool caretHidden() const { return m_dragging; }

private:
    MarkPoint pointOf(PaneCell cell) const;
    void placeCursor(PaneCell cell);
    void placeCursor(MarkPoint point);
    void scrollTowards(PaneCell cell);
    MarkType markTypeFor(MouseModifiers modifiers) const;
    void finishStep();

    CommandProcessor& m_processor;
    EditPane& m_pane;
    bool m_pressed = false;
    bool m_dragging = false;
    MarkPoint m_pressedAt;
    MouseModifiers m_pressModifiers;
};

} // namespace vexa
