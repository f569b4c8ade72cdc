// Printing a document (or the lines of its marked area) in the pane's font, page by page, through
// the Qt print support, which also prints to PDF.
#pragma once

#include <QFont>
#include <QString>

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

// Prints onto the device (a printer or a PDF writer); the number of pages, 0 when there was
// nothing to print or the device could not be painted on.
int printDocument(const Document& document, QPagedPaintDevice& device, const PrintRequest& request);

} // namespace vexa::ui
