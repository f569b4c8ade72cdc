// The primary selection of the desktop: the text of a stream mark follows the mark as it changes,
// and a middle click pastes it.
#pragma once

#include "core/MarkState.h"
#include "platform/Clipboard.h"

namespace vexa {

class CommandProcessor;
class Document;

class PrimarySelection {
public:
    // The selection is a clipboard port of its own (on X11 the PRIMARY selection).
    explicit PrimarySelection(platform::Clipboard& selection) : m_selection(selection) {}

    // Puts the marked text of the document's stream mark (made by keys or by the mouse) when the
    // document, its mark or its text changed since the last call (an edit inside a mark that
    // stays changes what it holds); any other mark, or none, leaves the selection as it was, as
    // other programs do when their selection goes.
    void follow(Document* document);

    // Pastes the selection at the cursor of the active document through the paste function, so
    // that the read-only guard, the typing rules and undo apply as to Ctrl+V.
    int32_t paste(CommandProcessor& processor);

    platform::Clipboard& clipboard() { return m_selection; }

private:
    platform::Clipboard& m_selection;
    const Document* m_document = nullptr;
    MarkState m_mark;
    uint64_t m_textSerial = 0;
};

} // namespace vexa
