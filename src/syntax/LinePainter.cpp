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
    m_walked = 0;
    m_behind = false;
}

namespace {

// A long token is coloured a piece at a time, so that a walk stops soon after the visible columns
// and leaves points inside tokens that span many steps.
constexpr std::size_t kPiece = 1024;

uint8_t stateOf(ColourSlot slot) {
    return static_cast<uint8_t>(slot);
}

ColourSlot slotOfState(uint8_t state) {
    return static_cast<ColourSlot>(state);
}

// The point at the start of a line: a comment carried in from above covers the line up to its
// first comment close, as one token at offset 0.
ColourPoint startPoint(std::string_view line, CommentStart comment) {
    ColourPoint point;
    point.tokenState = stateOf(ColourSlot::Default);
    point.nextState = stateOf(ColourSlot::Default);
    if (comment.insideAtStart) {
        point.tokenEnd = comment.closeEnd > 0 ? std::min(comment.closeEnd, static_cast<int>(line.size()))
                                              : static_cast<int>(line.size());
        point.tokenState = stateOf(ColourSlot::Comment);
    }
    return point;
}

// What the colour points of a line depend on besides its bytes: the profile and whether the line
// begins inside a comment.
uint64_t colourTag(const ExtensionProfile& profile, bool insideAtStart) {
    return (static_cast<uint64_t>(reinterpret_cast<std::uintptr_t>(&profile)) << 1) | (insideAtStart ? 1 : 0);
}

} // namespace

void LinePainter::colourFrom(std::string_view line, const ExtensionProfile& profile, const ColourPoint from,
                             std::vector<ColourPoint>* record, const std::size_t until) {
    m_column = from.column;
    m_next = static_cast<std::size_t>(from.offset);
    std::size_t tokenStart = static_cast<std::size_t>(from.tokenStart);
    std::size_t tokenEnd = static_cast<std::size_t>(from.tokenEnd);
    ColourSlot tokenColour = slotOfState(from.tokenState);
    // Spaces, tabs and literal pairs take the colour of the token before them.
    ColourSlot current = slotOfState(from.nextState);
    std::size_t lastPoint =
        record != nullptr && !record->empty() ? static_cast<std::size_t>(record->back().offset) : m_next;
    // Past the last visible column nothing more can show.
    while (m_column <= m_visible.last && m_next < until) {
        while (m_next < tokenEnd && m_column <= m_visible.last && m_next < until) {
            addText(line, m_next, std::min({kPiece, tokenEnd - m_next, until - m_next}), tokenColour);
            if (record != nullptr && m_next >= lastPoint + ColumnIndex::kStep && m_next < line.size()) {
                record->push_back(ColourPoint{static_cast<int>(m_next), m_column,
                                              static_cast<int>(tokenStart), static_cast<int>(tokenEnd),
                                              stateOf(tokenColour), stateOf(current)});
                lastPoint = m_next;
            }
        }
        if (m_column > m_visible.last || m_next >= until) {
            break;
        }
        const Token token = scanToken(profile, line, tokenEnd);
        if (token.kind == TokenKind::EndOfLine) {
            break;
        }
        if (token.kind != TokenKind::Spaces && token.kind != TokenKind::Tab &&
            token.kind != TokenKind::LiteralPair) {
            current = slotOf(token.kind);
        }
        tokenStart = token.offset;
        tokenEnd = token.offset + token.length;
        tokenColour = current;
    }
    m_walked += m_next - static_cast<std::size_t>(from.offset);
}

std::span<const PaintRun> LinePainter::paint(std::string_view line, CommentStart comment,
                                             const ExtensionProfile& profile, LineLayout layout,
                                             VisibleColumns visible, MarkedColumns marked) {
    start(layout, visible, marked);
    colourFrom(line, profile, startPoint(line, comment), nullptr);
    return m_runs;
}

void LinePainter::mendToken(const Document& document, int index, const ExtensionProfile& profile,
                            bool insideAtStart, std::vector<ColourPoint>& points, std::size_t at) {
    const std::string_view line = document.lineText(index);
    const ColourPoint& stale = points[at];
    const int tokenStart = stale.tokenStart;
    int end = 0;
    uint8_t state = stale.tokenState;
    if (insideAtStart && tokenStart == 0) {
        // The carried-in comment: no close ends before the point.
        const int searchFrom = std::max(stale.offset - 1, 0);
        const int closeEnd = document.commentStart(index, searchFrom).closeEnd;
        end = closeEnd > 0 ? closeEnd : static_cast<int>(line.size());
        m_walked += static_cast<std::size_t>(end - searchFrom);
    } else {
        const Token token = scanToken(profile, line, static_cast<std::size_t>(tokenStart));
        end = static_cast<int>(token.offset + token.length);
        if (token.kind != TokenKind::Spaces && token.kind != TokenKind::Tab &&
            token.kind != TokenKind::LiteralPair) {
            state = stateOf(slotOf(token.kind));
        }
        m_walked += token.length;
    }
    for (ColourPoint& point : points) {
        if (point.tokenStart == tokenStart && point.tokenEnd == ColourPoint::kEndUnknown) {
            point.tokenEnd = end;
            if (!(insideAtStart && tokenStart == 0)) {
                point.tokenState = state;
                point.nextState = state;
            }
        }
    }
}

std::vector<ColourPoint>& LinePainter::pointsOf(const Document& document, int index,
                                                const ExtensionProfile& profile) {
    std::vector<ColourPoint>& points =
        document.colourPoints(index, colourTag(profile, document.line(index).startDepth() > 0));
    if (points.empty()) {
        points.push_back(startPoint(document.lineText(index), document.commentStart(index)));
    }
    return points;
}

void LinePainter::walkPoints(std::string_view line, const ExtensionProfile& profile,
                             std::vector<ColourPoint>& points, std::size_t until) {
    // Nothing is visible, so the walk adds no runs and only `until` stops it.
    const VisibleColumns visible = m_visible;
    m_visible = {INT_MAX, INT_MAX};
    colourFrom(line, profile, points.back(), &points, until);
    m_visible = visible;
}

std::span<const PaintRun> LinePainter::paintDocumentLine(const Document& document, int index,
                                                         const ExtensionProfile& profile,
                                                         VisibleColumns visible) {
    const std::string_view line = document.lineText(index);
    start(document.layout(), visible, markedColumns(document.mark(), index));
    if (line.size() < static_cast<std::size_t>(ColumnIndex::kMinLength)) {
        colourFrom(line, profile, startPoint(line, document.commentStart(index)), nullptr);
        return m_runs;
    }
    // The character covering the first visible column, from the document's column checkpoints;
    // asked before the colour points, whose reference the next question to the index may move.
    const int target = document.offsetOfColumn(index, std::max(visible.first, 0));
    const bool insideAtStart = document.line(index).startDepth() > 0;
    std::vector<ColourPoint>& points = pointsOf(document, index, profile);
    const auto after =
        std::upper_bound(points.begin(), points.end(), target,
                         [](int offset, const ColourPoint& point) { return offset < point.offset; });
    const auto at = static_cast<std::size_t>(after - points.begin()) - 1;
    // A change inside the point's token, or just after it, may have moved its end or changed its
    // kind: it is scanned again, once for all the points inside it.
    if (points[at].tokenEnd == ColourPoint::kEndUnknown) {
        mendToken(document, index, profile, insideAtStart, points, at);
    }
    const bool last = at + 1 == points.size();
    const std::size_t budget = m_sharing ? m_budgetLeft : kWalkBudget;
    if (last && static_cast<std::size_t>(target - points[at].offset) > budget) {
        // Too far for one paint: the walk goes as far as the budget, and the visible part is
        // drawn in the default colour as one token from the character at the first column.
        walkPoints(line, profile, points, static_cast<std::size_t>(points[at].offset) + budget);
        m_behind = true;
        const int column = document.columnOfOffset(index, target);
        const auto plain = stateOf(ColourSlot::Default);
        colourFrom(line, profile,
                   ColourPoint{target, column, target, static_cast<int>(line.size()), plain, plain}, nullptr);
    } else {
        colourFrom(line, profile, points[at], last ? &points : nullptr);
    }
    if (m_sharing) {
        m_budgetLeft -= std::min(m_budgetLeft, m_walked);
    }
    return m_runs;
}

bool LinePainter::walkOn(const Document& document, int index, const ExtensionProfile& profile,
                         VisibleColumns visible, std::size_t budget) {
    const std::string_view line = document.lineText(index);
    start(document.layout(), visible, {});
    if (line.size() < static_cast<std::size_t>(ColumnIndex::kMinLength)) {
        return true;
    }
    const auto target = static_cast<std::size_t>(document.offsetOfColumn(index, std::max(visible.first, 0)));
    std::vector<ColourPoint>& points = pointsOf(document, index, profile);
    if (points.back().tokenEnd == ColourPoint::kEndUnknown) {
        mendToken(document, index, profile, document.line(index).startDepth() > 0, points, points.size() - 1);
    }
    const auto from = static_cast<std::size_t>(points.back().offset);
    if (target <= from + ColumnIndex::kStep + kPiece) {
        return true;
    }
    walkPoints(line, profile, points, std::min(target, from + std::max<std::size_t>(budget, 1)));
    // A walk that reached the line's end or made no way has nothing more to do.
    return m_next >= target || m_next >= line.size() || m_next == from;
}

std::span<const ColourPoint> LinePainter::colourPoints(const Document& document, int index,
                                                       const ExtensionProfile& profile) {
    return document.colourPoints(index, colourTag(profile, document.line(index).startDepth() > 0));
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
