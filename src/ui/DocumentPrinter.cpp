// Printing a document page by page.
#include "ui/DocumentPrinter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

#include "core/Document.h"
#include "ui/Windows1252.h"

namespace vexa::ui {

QString printedLine(std::string_view line, LineLayout layout, int fromColumn, int toColumn) {
    const bool all = toColumn < 0;
    QString shown;
    forEachCell(line, layout, [&](const LineCell& cell) {
        if (!all && cell.column >= toColumn) {
            return false;
        }
        if (cell.character == '\t') {
            // Blanks for the tab's cells within the printed columns.
            for (int column = cell.column; column < cell.next; ++column) {
                if (all || (column >= fromColumn && column < toColumn)) {
                    shown.append(QLatin1Char(' '));
                }
            }
        } else if (all || (cell.next > fromColumn && cell.next <= toColumn)) {
            // A character is printed when its last cell lies within the columns.
            appendCharacter(shown, cell.character);
        }
        return true;
    });
    return shown;
}

int printDocument(const Document& document, QPagedPaintDevice& device, const PrintRequest& request) {
    int first = 0;
    int last = document.lineCount() - 1;
    int fromColumn = 0;
    int toColumn = -1; // to the end of each line
    if (request.markedOnly) {
        if (!document.hasMark()) {
            return 0;
        }
        const MarkState& mark = document.mark();
        first = mark.firstLine();
        last = std::min(mark.lastLine(), last);
        if (mark.type == MarkType::Column) {
            fromColumn = mark.start().column;
            toColumn = mark.end().column;
        }
    }
    if (last < first) {
        return 0;
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    const LineLayout layout{request.tabSize, document.encoding()};
    painter.setFont(request.font);
    const QFontMetricsF metrics(request.font, &device);
    const qreal lineHeight = metrics.height();
    const QRectF page(0, 0, device.width(), device.height());
    const qreal bodyTop = lineHeight * 2; // the heading line and a blank one
    const int linesPerPage = std::max(1, static_cast<int>((page.height() - bodyTop) / lineHeight));
    int pages = 0;
    for (int index = first; index <= last; index += linesPerPage) {
        if (pages > 0 && !device.newPage()) {
            break;
        }
        ++pages;
        painter.drawText(QPointF(0, metrics.ascent()),
                         QStringLiteral("%1    Page %2").arg(request.title).arg(pages));
        const int end = std::min(last, index + linesPerPage - 1);
        for (int line = index; line <= end; ++line) {
            painter.drawText(QPointF(0, bodyTop + (line - index) * lineHeight + metrics.ascent()),
                             printedLine(document.lineText(line), layout, fromColumn, toColumn));
        }
    }
    painter.end();
    return pages;
}

} // namespace vexa::ui
