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
    const int tabSize = std::max(1, layout.tabSize);
    QString shown;
    int column = 0;
    for (std::size_t at = 0; at < line.size() && (all || column < toColumn);) {
        if (line[at] == '\t') {
            const int next = (column / tabSize + 1) * tabSize;
            for (; column < next; ++column) {
                if (all || (column >= fromColumn && column < toColumn)) {
                    shown.append(QLatin1Char(' '));
                }
            }
            ++at;
            continue;
        }
        char32_t character = 0;
        int cells = 1;
        std::size_t length = 1;
        if (layout.encoding == TextEncoding::Utf8) {
            const text::Decoded decoded = text::decodeUtf8(line, at);
            character = decoded.character;
            cells = text::cellWidth(character);
            length = static_cast<std::size_t>(decoded.length);
        } else {
            character = text::windows1252ToUnicode(static_cast<unsigned char>(line[at]));
        }
        column += cells;
        if (all || (column > fromColumn && column <= toColumn)) {
            appendCharacter(shown, character);
        }
        at += length;
    }
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
