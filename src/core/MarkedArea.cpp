// The marked-area operations and the clipboard shapes.
#include "core/MarkedArea.h"

#include "core/DocumentText.h"

#include <algorithm>

namespace vexa {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

struct Bounds {
    int first;
    int last;
    int startColumn;
    int endColumn;
};

Bounds boundsOf(const MarkState& mark) {
    return {mark.firstLine(), mark.lastLine(), mark.start().column, mark.end().column};
}

std::string_view columnSlice(const DocLine& line, int fromColumn, int toColumn, LineLayout layout) {
    int from = std::min(line.offsetOfColumn(fromColumn, layout), line.length());
    int to = std::min(line.offsetOfColumn(toColumn, layout), line.length());
    if (to <= from) {
        return {};
    }
    return line.text().substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

// Cuts clipboard text at its line ends: CR LF as the editor writes them, or a lone LF as the
// programs of this platform do. A final empty piece is dropped.
std::vector<std::string> splitPieces(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            if (start < text.size()) {
                pieces.emplace_back(text.substr(start));
            }
            break;
        }
        const std::size_t pieceEnd = end > start && text[end - 1] == '\r' ? end - 1 : end;
        pieces.emplace_back(text.substr(start, pieceEnd - start));
        start = end + 1;
    }
    return pieces;
}

// Restores the marking-active state of the mark when the deletion ends.
class ReplayingInactiveMark {
public:
    explicit ReplayingInactiveMark(Document& document)
        : m_replaying(document), m_document(document), m_wasActive(document.mark().active) {
        if (m_wasActive) {
            document.setMarkingActive(false);
        }
    }
    ~ReplayingInactiveMark() {
        if (m_wasActive) {
            m_document.setMarkingActive(true);
        }
    }
    ReplayingInactiveMark(const ReplayingInactiveMark&) = delete;
    ReplayingInactiveMark& operator=(const ReplayingInactiveMark&) = delete;

private:
    ReplayingScope m_replaying;
    Document& m_document;
    bool m_wasActive;
};

} // namespace

MarkType pasteShapeOf(const platform::ClipboardContent& content) {
    // Whole lines stay whole lines, also the single line of a one-line line mark, whose text
    // has no line end: otherwise moving that mark would merge the line into the target line.
    if (content.privateMarkType == static_cast<int32_t>(MarkType::Line)) {
        return MarkType::Line;
    }
    if (content.text.find('\n') == std::string::npos) {
        return MarkType::Column;
    }
    switch (content.privateMarkType.value_or(0)) {
    case static_cast<int32_t>(MarkType::Line):
        return MarkType::Line;
    case static_cast<int32_t>(MarkType::Stream):
        return MarkType::Stream;
    case static_cast<int32_t>(MarkType::Column):
        return MarkType::Column;
    default:
        return MarkType::CuaStream;
    }
}

std::vector<std::string> markedPieces(const Document& document) {
    std::vector<std::string> pieces;
    const MarkState& mark = document.mark();
    if (!mark.exists()) {
        return pieces;
    }
    const Bounds b = boundsOf(mark);
    const LineLayout layout = document.layout();
    pieces.reserve(static_cast<std::size_t>(b.last - b.first + 1));
    switch (mark.type) {
    case MarkType::Line:
        for (int i = b.first; i <= b.last; ++i) {
            pieces.emplace_back(document.lineText(i));
        }
        break;
    case MarkType::Column:
        for (int i = b.first; i <= b.last; ++i) {
            pieces.emplace_back(columnSlice(document.line(i), b.startColumn, b.endColumn, layout));
        }
        break;
    default:
        if (b.first == b.last) {
            pieces.emplace_back(columnSlice(document.line(b.first), b.startColumn, b.endColumn, layout));
            break;
        }
        {
            const DocLine& first = document.line(b.first);
            int from = std::min(first.offsetOfColumn(b.startColumn, layout), first.length());
            pieces.emplace_back(first.text().substr(static_cast<std::size_t>(from)));
        }
        for (int i = b.first + 1; i < b.last; ++i) {
            pieces.emplace_back(document.lineText(i));
        }
        pieces.emplace_back(columnSlice(document.line(b.last), 0, b.endColumn, layout));
        break;
    }
    return pieces;
}

std::string MarkedArea::markedText() const {
    std::vector<std::string> pieces = markedPieces(m_document);
    const MarkState& mark = m_document.mark();
    std::size_t lines = pieces.size();
    std::string text;
    text.reserve(lines < 100 ? 6000 : lines < 500 ? 10000 : 55000);
    bool endEveryPiece = !mark.isStream() && lines > 1;
    for (std::size_t i = 0; i < lines; ++i) {
        text += pieces[i];
        if (endEveryPiece || i + 1 < lines) {
            text += kLineEnd;
        }
    }
    return text;
}

bool MarkedArea::copyToClipboard() {
    if (!m_document.hasMark()) {
        return false;
    }
    return m_clipboard.put(documentTextAsUtf8(m_document, markedText()),
                           static_cast<int32_t>(m_document.mark().type));
}

bool MarkedArea::cutToClipboard() {
    if (!copyToClipboard()) {
        return false;
    }
    return deleteMarkedArea();
}

bool MarkedArea::copyLineToClipboard() {
    std::string text = documentTextAsUtf8(m_document, m_document.currentLine().text());
    text += kLineEnd;
    return m_clipboard.put(text, static_cast<int32_t>(MarkType::Line));
}

bool MarkedArea::deleteMarkedArea() {
    if (!m_document.hasMark()) {
        return false;
    }
    Document& d = m_document;
    const MarkState mark = d.mark();
    const Bounds b = boundsOf(mark);
    ReplayingInactiveMark scope(d);
    // A mark may reach the line one past the end, which holds nothing yet: only lines that
    // exist are deleted.
    const int lastExisting = std::min(b.last, d.lineCount() - 1);
    switch (mark.type) {
    case MarkType::Line: {
        const bool wholeDocument = b.first == 0 && lastExisting == d.lineCount() - 1;
        d.moveToLine(b.first);
        for (int i = b.first; i <= lastExisting; ++i) {
            d.deleteLine(b.first);
        }
        // Lines deleted keep the cursor's column for the lines that close up; with every line gone
        // there is nothing to keep it for, and the cursor starts the empty document.
        if (wholeDocument) {
            d.setCursorColumn(0);
        }
        break;
    }
    case MarkType::Column:
        for (int i = b.first; i <= b.last; ++i) {
            d.moveToLine(i);
            d.deleteColumnRange(b.startColumn, b.endColumn);
        }
        break;
    default:
        d.moveToLine(b.first);
        if (b.first == b.last) {
            d.deleteColumnRange(b.startColumn, b.endColumn);
            break;
        }
        d.setCursorColumn(b.startColumn);
        d.deleteToLineEnd();
        for (int i = b.first + 1; i < std::min(b.last, lastExisting + 1); ++i) {
            d.deleteLine(b.first + 1);
        }
        if (b.last > lastExisting) {
            break;
        }
        if (b.endColumn > d.line(b.first + 1).width(d.layout())) {
            d.deleteLine(b.first + 1);
            d.setCursorColumn(b.startColumn);
        } else {
            d.moveToLine(b.first + 1);
            d.deleteColumnRange(0, b.endColumn);
            d.moveToLine(b.first);
            d.setCursorColumn(b.startColumn);
            d.deleteCharacters(1);
        }
        break;
    }
    return true;
}

bool MarkedArea::paste(MarkType resultType) {
    auto content = m_clipboard.get();
    if (!content || content->text.empty()) {
        return false;
    }
    // Text the document's encoding cannot hold is refused whole, with a message, rather than
    // pasted with characters changed.
    const std::optional<std::string> bytes = documentBytes(m_document, content->text, m_document.messenger());
    if (!bytes) {
        return false;
    }
    ReplayingScope replaying(m_document);
    const MarkType type = pasteShapeOf(*content);
    std::vector<std::string> pieces = splitPieces(*bytes);
    if (pieces.empty()) {
        pieces.emplace_back();
    }
    if (resultType != MarkType::None) {
        m_document.beginMark(resultType);
    }
    switch (type) {
    case MarkType::Line:
        pasteLines(pieces, resultType);
        break;
    case MarkType::Column:
        pasteColumn(pieces, resultType);
        break;
    default:
        pasteStream(pieces, resultType);
        break;
    }
    return true;
}

void MarkedArea::pasteLines(const std::vector<std::string>& pieces, MarkType resultType) {
    Document& d = m_document;
    const int column = d.cursorColumn();
    const bool afterCursor = d.settings().insertAfterCursor;
    if (resultType != MarkType::None) {
        // The mark starts on the first pasted line.
        d.markStart({column, d.cursorLine() + (afterCursor ? 1 : 0)});
    }
    for (const std::string& piece : pieces) {
        if (afterCursor) {
            d.moveToLine(d.cursorLine() + 1);
            d.insertLine(DocLine(piece));
        } else {
            d.insertLine(DocLine(piece));
            d.moveToLine(d.cursorLine() + 1);
        }
    }
    if (resultType != MarkType::None) {
        if (afterCursor) {
            d.markEnd();
        } else {
            d.moveToLine(d.cursorLine() - 1);
            d.markEnd();
            d.moveToLine(d.cursorLine() + 1);
        }
    }
    d.setCursorColumn(column);
}

void MarkedArea::pasteColumn(const std::vector<std::string>& pieces, MarkType resultType) {
    Document& d = m_document;
    const int startLine = d.cursorLine();
    const int column = d.cursorColumn();
    if (resultType != MarkType::None) {
        d.markStart();
    }
    d.insertText(pieces.front());
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        d.moveToLine(d.cursorLine() + 1);
        d.setCursorColumn(column);
        d.insertText(pieces[i]);
    }
    if (resultType != MarkType::None) {
        if (pieces.size() == 1) {
            d.markEnd();
        } else {
            int width = static_cast<int>(pieces.front().size());
            d.markEnd({column + width, startLine + static_cast<int>(pieces.size()) - 1});
        }
    }
    if (d.settings().briefCursor) {
        d.moveToLine(startLine + std::max(static_cast<int>(pieces.size()), 1));
        d.setCursorColumn(column);
    }
}

void MarkedArea::pasteStream(const std::vector<std::string>& pieces, MarkType resultType) {
    Document& d = m_document;
    if (resultType != MarkType::None) {
        d.markStart();
    }
    if (d.cursorColumn() != 0 || !d.settings().insertAfterCursor) {
        d.insertText(pieces.front());
        if (pieces.size() > 1) {
            // The text after the cursor moves to a line of its own; pasting must split the line
            // in overwrite mode too, or the pasted lines would land on the following text.
            d.newLine(NewLineMode::Forced);
            for (std::size_t i = 1; i + 1 < pieces.size(); ++i) {
                d.insertLine(DocLine(pieces[i]));
                d.moveToLine(d.cursorLine() + 1);
            }
            d.setCursorOffset(0);
            d.insertText(pieces.back());
        }
    } else {
        for (const std::string& piece : pieces) {
            if (!piece.empty()) {
                d.moveToLine(d.cursorLine() + 1);
                d.insertLine(DocLine(piece));
            }
        }
    }
    if (resultType != MarkType::None) {
        d.markEnd();
    }
}

bool MarkedArea::pasteOver(MarkType resultType) {
    if (m_document.hasMark()) {
        MarkPoint start = m_document.mark().start();
        {
            ReplayingScope replaying(m_document);
            deleteMarkedArea();
            m_document.moveToLine(start.line);
            m_document.setCursorColumn(start.column);
            m_document.clearMark();
        }
    }
    return paste(resultType);
}

bool MarkedArea::moveMarkedArea(KeepMarked keep) {
    return relocate(keep, true);
}

bool MarkedArea::copyMarkedArea(KeepMarked keep) {
    return relocate(keep, false);
}

bool MarkedArea::relocate(KeepMarked keep, bool move) {
    Document& d = m_document;
    if (!d.hasMark() || d.isInside(d.cursorLine(), d.cursorColumn())) {
        return false;
    }
    const MarkState mark = d.mark();
    const Bounds b = boundsOf(mark);
    MarkPoint target{d.cursorColumn(), d.cursorLine()};
    if (move) {
        // Where the target lands once the marked text has gone.
        if (mark.type == MarkType::Line) {
            if (target.line >= b.first) {
                target.line -= b.last - b.first + 1;
            }
        } else if (mark.type == MarkType::Column) {
            if (target.line >= b.first && target.line <= b.last && target.column >= b.startColumn) {
                target.column -= b.endColumn - b.startColumn;
            }
        } else if (b.first == b.last) {
            if (target.line == b.first && target.column >= b.endColumn) {
                target.column -= b.endColumn - b.startColumn;
            }
        } else if (target.line == b.last && target.column >= b.endColumn) {
            // The rest of the last line is joined onto the first line at the start column
            // (unless the mark ended beyond it and the whole line goes).
            bool wholeLine = b.endColumn > d.line(b.last).width(d.layout());
            target = wholeLine ? MarkPoint{target.column, b.first + 1}
                               : MarkPoint{b.startColumn + target.column - b.endColumn, b.first};
        } else if (target.line > b.last) {
            target.line -= b.last - b.first;
        }
        target.line = std::max(target.line, 0);
        target.column = std::max(target.column, 0);
    }
    ReplayingScope replaying(d);
    bool stored = move ? cutToClipboard() : copyToClipboard();
    if (!stored) {
        return false;
    }
    d.moveToLine(target.line);
    d.setCursorColumn(target.column);
    d.clearMark();
    paste(keep == KeepMarked::Yes ? mark.type : MarkType::None);
    d.moveToLine(target.line);
    d.setCursorColumn(target.column);
    return true;
}

void MarkedArea::applyToMarkedText(const LineOperation& operation) {
    Document& d = m_document;
    if (!d.hasMark()) {
        return;
    }
    const MarkState mark = d.mark();
    const Bounds b = boundsOf(mark);
    const LineLayout layout = d.layout();
    const int line = d.cursorLine();
    const int column = d.cursorColumn();
    ReplayingScope replaying(d);
    for (int i = b.first; i <= b.last; ++i) {
        d.moveToLine(i);
        const DocLine& current = d.line(i);
        int startColumn = 0;
        int endColumn = current.width(layout);
        if (mark.type == MarkType::Column) {
            startColumn = b.startColumn;
            endColumn = b.endColumn;
        } else if (mark.isStream()) {
            int from =
                i == b.first ? std::min(current.offsetOfColumn(b.startColumn, layout), current.length()) : 0;
            int to = i == b.last ? std::min(current.offsetOfColumn(b.endColumn, layout), current.length())
                                 : current.length();
            startColumn = current.columnOfOffset(from, layout);
            endColumn = current.columnOfOffset(std::max(to, from), layout);
        }
        operation(d, startColumn, endColumn);
    }
    d.moveToLine(line);
    d.setCursorColumn(column);
}

MarkedArea::LineOperation MarkedArea::caseChange(CaseChange change) {
    return [change](Document& document, int startColumn, int endColumn) {
        const DocLine& line = document.currentLine();
        const LineLayout layout = document.layout();
        const int from = line.offsetOfColumn(startColumn, layout);
        const int to = std::min(line.offsetOfColumn(endColumn, layout), line.length());
        document.changeCase(startColumn, to - from, change);
    };
}

MarkedArea::LineOperation MarkedArea::blank(BlankReach reach) {
    return [reach](Document& document, int startColumn, int endColumn) {
        const DocLine& line = document.currentLine();
        const LineLayout layout = document.layout();
        // Past the end of the text every column is one byte, so the end offset also tells how
        // far a shorter line is extended.
        const int from = line.offsetOfColumn(startColumn, layout);
        int to = line.offsetOfColumn(endColumn, layout);
        for (int offset = from; offset < to;) {
            const DocLine& current = document.currentLine();
            const int length = current.length();
            if (offset >= length && reach == BlankReach::WithinLines) {
                break;
            }
            const int bytes = offset < length ? document.characterLength(offset) : 1;
            if (bytes > 1) {
                // A character of several bytes becomes as many blanks as it takes cells, so the
                // text after it keeps its columns.
                const int cells =
                    current.columnOfOffset(offset + bytes, layout) - current.columnOfOffset(offset, layout);
                document.replaceCharacterAt(offset, std::string(static_cast<std::size_t>(cells), ' '));
                to += cells - bytes;
                offset += cells;
                continue;
            }
            if (offset >= length || current.at(offset) != ' ') {
                document.overwriteAt(offset, ' ');
            }
            ++offset;
        }
    };
}

} // namespace vexa
