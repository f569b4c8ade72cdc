// Line painting: block-comment continuation, token colours, tab expansion and the marked area.
#include "syntax/LinePainter.h"

#include <algorithm>

#include "syntax/LineTokenizer.h"

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

std::span<const PaintRun> LinePainter::paint(std::string_view line, CommentStart comment,
                                             const ExtensionProfile& profile, int tabSize,
                                             VisibleColumns visible, MarkedColumns marked) {
    m_runs.clear();
    m_column = 0;
    // A tab size below one would divide by zero; such a setting behaves as one.
    m_tabSize = std::max(tabSize, 1);
    m_visible = visible;
    // An inverted range marks nothing.
    m_marked = marked.empty() ? MarkedColumns{} : marked;

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
    for (;;) {
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
    return paint(document.lineText(index), document.commentStart(index), profile, document.settings().tabSize,
                 visible, markedColumns(document.mark(), index));
}

void LinePainter::addText(std::string_view line, std::size_t offset, std::size_t length,
                          ColourSlot foreground) {
    const std::size_t end = offset + length;
    while (offset < end) {
        if (line[offset] == '\t') {
            const int width = m_tabSize * (m_column / m_tabSize + 1) - m_column;
            addPiece(width, offset, RunContent::Blanks, foreground);
            ++offset;
            continue;
        }
        const std::size_t tab = line.substr(0, end).find('\t', offset);
        const std::size_t stop = tab == std::string_view::npos ? end : tab;
        addPiece(static_cast<int>(stop - offset), offset, RunContent::Text, foreground);
        offset = stop;
    }
}

void LinePainter::addPiece(int width, std::size_t offset, RunContent content, ColourSlot foreground) {
    const int from = m_column;
    const int to = m_column + width;
    m_column = to;
    if (to <= m_visible.first || from > m_visible.last) {
        return;
    }
    // Split at the marked columns: up to three pieces, the middle one in the marking colours.
    const int cuts[4] = {from, std::clamp(m_marked.from, from, to), std::clamp(m_marked.to, from, to), to};
    for (int i = 0; i < 3; ++i) {
        if (cuts[i] >= cuts[i + 1]) {
            continue;
        }
        const bool inside = i == 1 && !m_marked.empty();
        PaintRun run;
        run.column = cuts[i];
        run.width = cuts[i + 1] - cuts[i];
        run.offset = content == RunContent::Text ? offset + static_cast<std::size_t>(cuts[i] - from) : offset;
        run.content = content;
        run.foreground = inside ? ColourSlot::MarkText : foreground;
        run.background = inside ? ColourSlot::MarkBackground : ColourSlot::Background;
        push(run);
    }
}

void LinePainter::push(PaintRun run) {
    // Neighbouring pieces in the same colours become one, so the pane sets colours and draws
    // text only where something changes.
    if (!m_runs.empty()) {
        PaintRun& last = m_runs.back();
        if (last.content == run.content && last.foreground == run.foreground &&
            last.background == run.background && last.column + last.width == run.column &&
            (run.content == RunContent::Blanks ||
             last.offset + static_cast<std::size_t>(last.width) == run.offset)) {
            last.width += run.width;
            return;
        }
    }
    m_runs.push_back(run);
}

} // namespace vexa::syntax
