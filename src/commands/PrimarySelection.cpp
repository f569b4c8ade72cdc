// The primary selection following stream marks.
#include "commands/PrimarySelection.h"

#include "commands/CommandProcessor.h"
#include "commands/FunctionTable.h"
#include "core/Document.h"
#include "core/MarkedArea.h"

namespace vexa {

void PrimarySelection::follow(Document* document) {
    if (document == nullptr) {
        return;
    }
    const MarkState& mark = document->mark();
    if (!mark.isStream() || !mark.exists() ||
        (document == m_document && mark == m_mark && document->textSerial() == m_textSerial)) {
        return;
    }
    m_document = document;
    m_mark = mark;
    m_textSerial = document->textSerial();
    // The marked text crosses to the selection as to the clipboard: through the document's encoding.
    (void)MarkedArea(*document, m_selection).copyToClipboard();
}

int32_t PrimarySelection::paste(CommandProcessor& processor) {
    return processor.executeWithClipboard(m_selection, functionIdOf("ClipboardPaste"),
                                          kKeyboardCommandSource);
}

} // namespace vexa
