// Printing a document page by page.
#include "ui/DocumentPrinter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <string>

#include "core/Document.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

// A line with its tabs turned into blanks up to the next tab stop, as the pane shows it.
std::string expandTabs(std::string_view line, int tabSize) {
    std::string shown;
    for (char c : line) {
        if (c == '\t') {
            const std::size_t next =
                (shown.size() / static_cast<std::size_t>(tabSize) + 1) * static_cast<std::size_t>(tabSize);
            shown.append(next - shown.size(), ' ');
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

} // namespace

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
    const int tabSize = std::max(1, request.tabSize);
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
            std::string shown = expandTabs(document.lineText(line), tabSize);
            if (toColumn >= 0) {
                shown = fromColumn < static_cast<int>(shown.size())
                            ? shown.substr(static_cast<std::size_t>(fromColumn),
                                           static_cast<std::size_t>(toColumn - fromColumn))
                            : std::string();
            }
            painter.drawText(QPointF(0, bodyTop + (line - index) * lineHeight + metrics.ascent()),
                             fromWindows1252(shown));
        }
    }
    painter.end();
    return pages;
}

} // namespace vexa::ui
