// Work on the marked area built from the document's operations.
#include "commands/MarkedText.h"

#include <algorithm>
#include <string_view>

namespace vexa {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

int leadingBlanks(std::string_view text) {
    int count = 0;
    while (count < static_cast<int>(text.size()) && (text[count] == ' ' || text[count] == '\t')) {
        ++count;
    }
    return count;
}

// Goes to a line and column without the refusal to leave an empty last line.
void moveTo(Document& document, int line, int column) {
    document.moveToLine(line);
    document.setCursorColumn(column);
}

} // namespace

template <typename Visit>
void MarkedText::forEachPiece(Visit&& visit) const {
    const MarkState& mark = m_document.mark();
    const MarkPoint start = mark.start();
    const MarkPoint end = mark.end();
    const int first = mark.firstLine();
    const int last = mark.lastLine();
    for (int line = first; line <= last; ++line) {
        switch (mark.type) {
        case MarkType::Line:
            visit(Piece{line, 0, -1});
            break;
        case MarkType::Column:
            visit(Piece{line, start.column, end.column});
            break;
        default:
            if (first == last) {
                visit(Piece{line, start.column, end.column});
            } else if (line == first) {
                visit(Piece{line, start.column, -1});
            } else if (line == last) {
                visit(Piece{line, 0, end.column});
            } else {
                visit(Piece{line, 0, -1});
            }
            break;
        }
    }
}

std::string MarkedText::collect() const {
    std::string text;
    if (!m_document.hasMark()) {
        return text;
    }
    const MarkState& mark = m_document.mark();
    const int tabSize = m_document.settings().tabSize;
    const bool multiLine = mark.lastLine() > mark.firstLine();
    forEachPiece([&](const Piece& piece) {
        const DocLine& line = m_document.line(piece.line);
        const int from = std::min(line.offsetOfColumn(piece.fromColumn, tabSize), line.length());
        const int to = piece.toColumn < 0
                           ? line.length()
                           : std::min(line.offsetOfColumn(piece.toColumn, tabSize), line.length());
        if (to > from) {
            text.append(line.text().substr(from, to - from));
        }
        if (multiLine && (!mark.isStream() || piece.line < mark.lastLine())) {
            text.append(kLineEnd);
        }
    });
    return text;
}

void MarkedText::remove() {
    if (!m_document.hasMark()) {
        return;
    }
    const MarkState mark = m_document.mark();
    const MarkPoint start = mark.start();
    const MarkPoint end = mark.end();
    const int first = mark.firstLine();
    const int last = mark.lastLine();
    ReplayingScope replaying(m_document);
    // The mark goes first so that the cursor moves below no longer drag its moving point.
    m_document.clearMark();
    switch (mark.type) {
    case MarkType::Line:
        m_document.moveToLine(first);
        for (int i = first; i <= last; ++i) {
            m_document.deleteLine(first);
        }
        moveTo(m_document, std::min(first, std::max(m_document.lineCount() - 1, 0)), start.column);
        break;
    case MarkType::Column:
        for (int line = first; line <= last; ++line) {
            m_document.moveToLine(line);
            m_document.deleteColumnRange(start.column, end.column);
        }
        moveTo(m_document, first, start.column);
        break;
    default:
        m_document.moveToLine(first);
        if (first == last) {
            m_document.deleteColumnRange(start.column, end.column);
            break;
        }
        m_document.deleteColumnRange(start.column,
                                     m_document.currentLine().width(m_document.settings().tabSize));
        for (int i = first + 1; i < last; ++i) {
            m_document.deleteLine(first + 1);
        }
        {
            const DocLine& tail = m_document.line(first + 1);
            if (end.column >= tail.width(m_document.settings().tabSize)) {
                m_document.deleteLine(first + 1);
            } else {
                m_document.moveToLine(first + 1);
                m_document.deleteColumnRange(0, end.column);
                moveTo(m_document, first, start.column);
                m_document.deleteCharacters(1);
            }
        }
        moveTo(m_document, first, start.column);
        break;
    }
}

void MarkedText::changeCase(CaseChange change) {
    if (!m_document.hasMark()) {
        return;
    }
    const int line = m_document.cursorLine();
    const int offset = m_document.cursorOffset();
    const int tabSize = m_document.settings().tabSize;
    ReplayingScope replaying(m_document);
    forEachPiece([&](const Piece& piece) {
        m_document.moveToLine(piece.line);
        const DocLine& current = m_document.currentLine();
        const int to = piece.toColumn < 0 ? current.width(tabSize) : piece.toColumn;
        const int fromOffset = current.offsetOfColumn(piece.fromColumn, tabSize);
        const int toOffset = std::min(current.offsetOfColumn(to, tabSize), current.length());
        if (toOffset > fromOffset) {
            m_document.changeCase(piece.fromColumn, toOffset - fromOffset, change);
        }
    });
    m_document.moveToLine(line);
    m_document.setCursorOffset(offset);
}

void MarkedText::shiftLines(int columns) {
    if (!m_document.hasMark()) {
        return;
    }
    const int first = m_document.mark().firstLine();
    const int last = m_document.mark().lastLine();
    const int line = m_document.cursorLine();
    const int column = m_document.cursorColumn();
    const EditSettings& settings = m_document.settings();
    const int tabSize = std::max(settings.tabSize, 1);
    ReplayingScope replaying(m_document);
    for (int index = first; index <= last && index < m_document.lineCount(); ++index) {
        const DocLine& current = m_document.line(index);
        if (current.empty()) {
            continue;
        }
        const int blanks = leadingBlanks(current.text());
        const int width = current.columnOfOffset(blanks, tabSize);
        const int target = std::max(0, width + columns);
        std::string fill;
        int filled = 0;
        if (settings.useTabs) {
            while ((filled / tabSize + 1) * tabSize <= target) {
                fill.push_back('\t');
                filled = (filled / tabSize + 1) * tabSize;
            }
        }
        fill.append(static_cast<std::size_t>(target - filled), ' ');
        m_document.moveToLine(index);
        m_document.setCursorOffset(0);
        if (blanks > 0) {
            m_document.deleteCharacters(blanks);
        }
        m_document.insertText(fill);
    }
    moveTo(m_document, line, column);
}

} // namespace vexa
