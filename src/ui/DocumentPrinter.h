// Printing a document (or the lines of its marked area) in the pane's font, page by page, through
// the Qt print support, which also prints to PDF.
#pragma once

#include <QFont>
#include <QString>
#include <string_view>

#include "core/DocLine.h"

class QPagedPaintDevice;

namespace vexa {
class Document;
}

namespace vexa::ui {

struct PrintRequest {
    QFont font;
    int tabSize = 8;
    bool markedOnly = false; // only the marked area: whole lines, or the columns of a column mark
    QString title;           // printed at the head of every page with the page number
};

// A line as it is printed: each character in the layout's encoding, tabs turned into blanks up to
// the next tab stop. With a column range [fromColumn, toColumn) (toColumn -1: the whole line) only
// the characters whose last cell lies in it are kept, as the pane marks them, and the blanks of
// the tab cells in it.
QString printedLine(std::string_view line, LineLayout layout, int fromColumn, int toColumn);

// Prints onto the device (a printer or a PDF writer); the number of pages, 0 when there was
// nothing to print or the device could not be painted on.
int printDocument(const Document& document, QPagedPaintDevice& device, const PrintRequest& request);

} // namespace vexa::ui
