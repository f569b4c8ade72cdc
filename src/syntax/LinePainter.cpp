// Line painting: block-comment continuation, token colours, tab expansion and the marked area.
#include "syntax/LinePainter.h"

#include <algorithm>

#include "syntax/LineTokenizer.h"
#include "text/TextEncoding.h"

namespace vexa::syntax {

MarkedColumns markedColumns(const MarkState& mark, int line) {
    if (!mark.exists() || line < mark.firstLine() || line > mark.lastLine()) {
        return {};
    }
    const MarkPoint start = mark.start();
    const MarkPoint end = mark.end();
    switch (mark.type) {
    case MarkType::Line:
        return {0, INT_MAX};
    case MarkType::Column:
        return {start.column, end.column};
    default:
        if (start.line == end.line) {
            return {start.column, end.column};
        }
        if (line == start.line) {
            return {start.column, INT_MAX};
        }
        if (line == end.line) {
            return {0, end.column};
        }
        return {0, INT_MAX};
    }
}

void LinePainter::start(LineLayout layout, VisibleColumns visible, MarkedColumns marked) {
    m_runs.clear();
    m_column = 0;
    m_next = 0;
    // A tab size below one would divide by zero; such a setting behaves as one.
    m_tabSize = std::max(layout.tabSize, 1);
    m_encoding = layout.encoding;
    m_visible = visible;
    // An inverted range marks nothing.
    m_marked = marked.empty() ? MarkedColumns{} : marked;
}

std::span<const PaintRun> LinePainter::paintPlain(std::string_view line, int offset, int column,
                                                  LineLayout layout, VisibleColumns visible,
                                                  MarkedColumns marked) {
    start(layout, visible, marked);
    m_column = column;
    m_next = static_cast<std::size_t>(offset);
    // A piece at a time, so that the walk stops soon after the last visible column.
    constexpr std::size_t kPiece = 256;
    for (std::size_t at = m_next; at < line.size() && m_column <= m_visible.last; at = std::max(m_next, at)) {
        const std::size_t length = std::min(kPiece, line.size() - at);
        addText(line, at, length, ColourSlot::Default);
        at += length;
        m_next = std::max(m_next, at);
    }
    return m_runs;
}

std::span<const PaintRun> LinePainter::paint(std::string_view line, CommentStart comment,
                                             const ExtensionProfile& profile, LineLayout layout,
                                             VisibleColumns visible, MarkedColumns marked) {
    start(layout, visible, marked);

    std::size_t pos = 0;
    if (comment.insideAtStart) {
        const bool closes = comment.closeEnd > 0;
        pos = closes ? std::min(static_cast<std::size_t>(comment.closeEnd), line.size()) : line.size();
        addText(line, 0, pos, ColourSlot::Comment);
        if (!closes) {
            return m_runs;
        }
    }
    // Spaces, tabs and literal pairs take the colour of the token before them.
    ColourSlot current = ColourSlot::Default;
    // Past the last visible column nothing more can show.
    while (m_column <= m_visible.last) {
        const Token token = scanToken(profile, line, pos);
        if (token.kind == TokenKind::EndOfLine) {
            break;
        }
        if (token.kind != TokenKind::Spaces && token.kind != TokenKind::Tab &&
            token.kind != TokenKind::LiteralPair) {
            current = slotOf(token.kind);
        }
        addText(line, token.offset, token.length, current);
        pos = token.offset + token.length;
    }
    return m_runs;
}

std::span<const PaintRun> LinePainter::paintDocumentLine(const Document& document, int index,
                                                         const ExtensionProfile& profile,
                                                         VisibleColumns visible) {
    const std::string_view line = document.lineText(index);
    if (line.size() > kMaxColouredLine) {
        // The character covering the first visible column, from the document's column checkpoints.
        const int offset = std::min(document.offsetOfColumn(index, std::max(visible.first, 0)),
                                    static_cast<int>(line.size()));
        return paintPlain(line, offset, document.columnOfOffset(index, offset), document.layout(), visible,
                          markedColumns(document.mark(), index));
    }
    return paint(line, document.commentStart(index), profile, document.layout(), visible,
                 markedColumns(document.mark(), index));
}

void LinePainter::addText(std::string_view line, std::size_t offset, std::size_t length,
                          ColourSlot foreground) {
    const std::size_t end = offset + length;
    // The bytes before m_next belong to a character the previous token already drew.
    offset = std::max(offset, m_next);
    while (offset < end) {
        if (line[offset] == '\t') {
            addTab(offset, foreground);
            ++offset;
            continue;
        }
        const std::size_t tab = line.substr(0, end).find('\t', offset);
        const std::size_t stop = tab == std::string_view::npos ? end : tab;
        if (m_encoding == TextEncoding::Utf8) {
            addUtf8(line, offset, stop, foreground);
            offset = m_next;
        } else {
            addBytes(static_cast<int>(stop - offset), offset, foreground);
            offset = stop;
        }
    }
    m_next = std::max(m_next, offset);
}

void LinePainter::addTab(std::size_t offset, ColourSlot foreground) {
    const int from = m_column;
    const int to = m_tabSize * (m_column / m_tabSize + 1);
    m_column = to;
    // The blanks split at the exact marked columns: up to three pieces.
    const int cuts[4] = {from, std::clamp(m_marked.from, from, to), std::clamp(m_marked.to, from, to), to};
    for (int i = 0; i < 3; ++i) {
        if (cuts[i] < cuts[i + 1]) {
            addRun(cuts[i], cuts[i + 1], offset, 1, RunContent::Blanks, i == 1 && !m_marked.empty(),
                   foreground);
        }
    }
}

void LinePainter::addBytes(int width, std::size_t offset, ColourSlot foreground) {
    const int from = m_column;
    const int to = m_column + width;
    m_column = to;
    if (to <= m_visible.first || from > m_visible.last) {
        return;
    }
    const int cuts[4] = {from, std::clamp(m_marked.from, from, to), std::clamp(m_marked.to, from, to), to};
    for (int i = 0; i < 3; ++i) {
        if (cuts[i] < cuts[i + 1]) {
            addRun(cuts[i], cuts[i + 1], offset + static_cast<std::size_t>(cuts[i] - from),
                   static_cast<std::size_t>(cuts[i + 1] - cuts[i]), RunContent::Text,
                   i == 1 && !m_marked.empty(), foreground);
        }
    }
}

void LinePainter::addUtf8(std::string_view line, std::size_t offset, std::size_t end, ColourSlot foreground) {
    std::size_t pieceStart = offset;
    int pieceColumn = m_column;
    bool pieceMarked = false;
    std::size_t pos = offset;
    while (pos < end) {
        const auto lead = static_cast<unsigned char>(line[pos]);
        int cells = 1;
        std::size_t length = 1;
        if (lead >= 0x80) {
            // An invalid byte decodes as one replacement character of one cell.
            const text::Decoded decoded = text::decodeUtf8(line, pos);
            cells = text::cellWidth(decoded.character);
            length = static_cast<std::size_t>(decoded.length);
        }
        // The character's last cell decides its side of a marked edge.
        const int last = m_column + cells;
        const bool marked = last > m_marked.from && last <= m_marked.to;
        if (marked != pieceMarked && pos != pieceStart) {
            addRun(pieceColumn, m_column, pieceStart, pos - pieceStart, RunContent::Text, pieceMarked,
                   foreground);
            pieceStart = pos;
            pieceColumn = m_column;
        }
        pieceMarked = marked;
        m_column = last;
        pos += length;
    }
    if (pos > pieceStart) {
        addRun(pieceColumn, m_column, pieceStart, pos - pieceStart, RunContent::Text, pieceMarked,
               foreground);
    }
    m_next = pos;
}

void LinePainter::addRun(int from, int to, std::size_t offset, std::size_t length, RunContent content,
                         bool marked, ColourSlot foreground) {
    if (to <= m_visible.first || from > m_visible.last) {
        return;
    }
    PaintRun run;
    run.column = from;
    run.width = to - from;
    run.offset = offset;
    run.length = length;
    run.content = content;
    run.foreground = marked ? ColourSlot::MarkText : foreground;
    run.background = marked ? ColourSlot::MarkBackground : ColourSlot::Background;
    push(run);
}

void LinePainter::push(PaintRun run) {
    // Neighbouring pieces in the same colours become one, so the pane sets colours and draws
    // text only where something changes.
    if (!m_runs.empty()) {
        PaintRun& last = m_runs.back();
        if (last.content == run.content && last.foreground == run.foreground &&
            last.background == run.background && last.column + last.width == run.column &&
            (run.content == RunContent::Blanks || last.offset + last.length == run.offset)) {
            last.width += run.width;
            last.length = std::max(last.offset + last.length, run.offset + run.length) - last.offset;
            return;
        }
    }
    m_runs.push_back(run);
}

} // namespace vexa::syntax
