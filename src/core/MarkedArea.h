// The operations on the marked text of a document: collect, copy, cut, delete, paste, move, apply.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/Document.h"
#include "core/MarkState.h"
#include "platform/Clipboard.h"

namespace vexa {

enum class KeepMarked { No, Yes };

// Blanking either stays within each line's characters or also extends shorter lines.
enum class BlankReach { WithinLines, BeyondLineEnds };

// The pieces of the marked text, one a line: whole lines for a line mark, the columns of each
// line for a column mark, and for a stream the first line from its start column, the middle
// lines whole and the last line up to its end column.
std::vector<std::string> markedPieces(const Document& document);

// The shape clipboard text pastes in: the private mark type when it is one the editor writes
// (another program may put anything there), otherwise a stream. Text without a line end (LF or
// CR LF) goes in at the cursor, unless it is marked as whole lines.
MarkType pasteShapeOf(const platform::ClipboardContent& content);

// Works on the marked area of one document and the clipboard. Every change goes through the
// document's records, so one editor function is undone in one step.
class MarkedArea {
public:
    // An operation on part of the cursor line, given as a range of display columns [start, end):
    // on a line with tabs the bytes of a column block are not as many as its columns.
    using LineOperation = std::function<void(Document&, int startColumn, int endColumn)>;

    MarkedArea(Document& document, platform::Clipboard& clipboard)
        : m_document(document), m_clipboard(clipboard) {}

    // The marked text as it goes to the clipboard: pieces joined by CR LF; a line or column
    // mark of several lines ends every piece with CR LF.
    std::string markedText() const;

    bool copyToClipboard();
    bool cutToClipboard();
    bool deleteMarkedArea();
    // The cursor line and CR LF, as a line mark.
    bool copyLineToClipboard();
    // Inserts the clipboard text in its shape; with a result type the pasted text is marked.
    bool paste(MarkType resultType = MarkType::None);
    bool pasteOver(MarkType resultType = MarkType::None);
    // Refused (false) when nothing is marked or the cursor is inside the area.
    bool moveMarkedArea(KeepMarked keep);
    bool copyMarkedArea(KeepMarked keep);
    void applyToMarkedText(const LineOperation& operation);

    static LineOperation caseChange(CaseChange change);
    static LineOperation blank(BlankReach reach);

private:
    void pasteLines(const std::vector<std::string>& pieces, MarkType resultType);
    void pasteColumn(const std::vector<std::string>& pieces, MarkType resultType);
    void pasteStream(const std::vector<std::string>& pieces, MarkType resultType);
    bool relocate(KeepMarked keep, bool move);

    Document& m_document;
    platform::Clipboard& m_clipboard;
};

} // namespace vexa
