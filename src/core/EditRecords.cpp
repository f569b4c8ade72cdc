// The primitive edits of a document and their undo.
#include "core/EditRecords.h"

#include "core/Document.h"

namespace vexa {

bool MoveColumnRecord::execute(Document& document) {
    m_oldOffset = document.cursorOffset();
    document.setCursor(key(), document.cursorLine(), m_offset);
    document.cursorMoved(key());
    return true;
}

void MoveColumnRecord::undo(Document& document) {
    document.setCursor(key(), document.cursorLine(), m_oldOffset);
    document.cursorMoved(key());
}

bool GoToLineRecord::execute(Document& document) {
    m_oldLine = document.cursorLine();
    m_oldOffset = document.cursorOffset();
    int column = document.cursorColumn();
    int offset = document.offsetOfColumn(m_line, column);
    // A column far out on a long line can lie further past the end of a short line than the
    // cursor may stand: the cursor rule holds after a line move as after any other.
    offset = Document::clampCursorOffset(offset, document.line(m_line).length());
    if (m_oldLine < document.lineCount()) {
        document.lineForEdit(key(), m_oldLine).setChanged(true);
    }
    if (m_line < document.lineCount()) {
        document.lineForEdit(key(), m_line).setChanged(true);
    }
    document.setCursor(key(), m_line, offset);
    document.cursorMoved(key());
    return true;
}

void GoToLineRecord::undo(Document& document) {
    if (m_line < document.lineCount()) {
        document.lineForEdit(key(), m_line).setChanged(true);
    }
    if (m_oldLine < document.lineCount()) {
        document.lineForEdit(key(), m_oldLine).setChanged(true);
    }
    document.setCursor(key(), m_oldLine, m_oldOffset);
    document.cursorMoved(key());
}

bool OverwriteCharacterRecord::execute(Document& document) {
    if (m_line >= document.lineCount() || m_offset < 0 || m_offset > document.line(m_line).length()) {
        return false;
    }
    DocLine& line = document.lineForEdit(key(), m_line);
    m_appended = m_offset == line.length();
    m_oldTail.clear();
    if (m_char == '\0') {
        // Writing byte 0 ends the line at the offset.
        m_oldTail.assign(line.text().substr(static_cast<std::size_t>(m_offset)));
        line.truncate(m_offset);
    } else if (m_appended) {
        line.append(std::string_view(&m_char, 1));
    } else {
        m_oldTail.assign(1, line.at(m_offset));
        line.setByte(m_offset, m_char);
    }
    document.lineTextChanged(key(), m_line, +1, {m_offset, m_oldTail, written()});
    return true;
}

void OverwriteCharacterRecord::undo(Document& document) {
    DocLine& line = document.lineForEdit(key(), m_line);
    if (m_char == '\0') {
        line.append(m_oldTail);
    } else if (m_appended) {
        line.truncate(m_offset);
    } else {
        line.setByte(m_offset, m_oldTail.front());
    }
    document.lineTextChanged(key(), m_line, -1, {m_offset, written(), m_oldTail});
}

bool ReplaceBytesRecord::execute(Document& document) {
    if (m_line < 0 || m_line >= document.lineCount() || m_offset < 0 || m_count < 0) {
        return false;
    }
    DocLine& line = document.lineForEdit(key(), m_line);
    if (m_offset > line.length() || m_count > line.length() - m_offset) {
        return false;
    }
    m_old.assign(line.text().substr(static_cast<std::size_t>(m_offset), static_cast<std::size_t>(m_count)));
    line.replace(m_offset, m_count, m_text);
    document.lineTextChanged(key(), m_line, +1, {m_offset, m_old, m_text});
    return true;
}

void ReplaceBytesRecord::undo(Document& document) {
    document.lineForEdit(key(), m_line).replace(m_offset, static_cast<int>(m_text.size()), m_old);
    document.lineTextChanged(key(), m_line, -1, {m_offset, m_text, m_old});
}

bool InsertLineRecord::execute(Document& document) {
    if (m_index < 0 || m_index > document.lineCount()) {
        return false;
    }
    document.placeLine(key(), m_index, std::move(m_line), +1);
    return true;
}

void InsertLineRecord::undo(Document& document) {
    m_line = document.removeLine(key(), m_index, -1);
}

bool SplitLineRecord::execute(Document& document) {
    if (m_line < 0 || m_line >= document.lineCount()) {
        return false;
    }
    DocLine& line = document.lineForEdit(key(), m_line);
    m_cut = std::min(std::max(m_offset, 0), line.length());
    DocLine tail(line.text().substr(static_cast<std::size_t>(m_cut)));
    // Both parts end the way the line ended: in a file mixing CR LF and LF the split line keeps
    // its own line end.
    tail.setOtherLineEnd(line.hasOtherLineEnd());
    line.truncate(m_cut);
    document.lineTextChanged(key(), m_line, +1);
    document.placeLine(key(), m_line + 1, std::move(tail), 0);
    return true;
}

void SplitLineRecord::undo(Document& document) {
    DocLine tail = document.removeLine(key(), m_line + 1, 0);
    DocLine& line = document.lineForEdit(key(), m_line);
    line.truncate(m_cut);
    line.append(tail.text());
    document.lineTextChanged(key(), m_line, -1);
}

bool JoinLineRecord::execute(Document& document) {
    if (m_line < 0 || m_line + 1 >= document.lineCount()) {
        return false;
    }
    m_oldLength = document.line(m_line).length();
    m_oldOtherLineEnd = document.line(m_line).hasOtherLineEnd();
    m_removed = document.removeLine(key(), m_line + 1, 0);
    DocLine& joined = document.lineForEdit(key(), m_line);
    joined.append(m_removed.text());
    // The line end between the two lines is the one that goes: the joined line ends the way the
    // removed line ended.
    joined.setOtherLineEnd(m_removed.hasOtherLineEnd());
    document.lineTextChanged(key(), m_line, +1);
    return true;
}

void JoinLineRecord::undo(Document& document) {
    DocLine& line = document.lineForEdit(key(), m_line);
    line.truncate(m_oldLength);
    line.setOtherLineEnd(m_oldOtherLineEnd);
    document.lineTextChanged(key(), m_line, -1);
    document.placeLine(key(), m_line + 1, std::move(m_removed), 0);
}

bool DeleteLineRecord::execute(Document& document) {
    if (m_line < 0 || m_line >= document.lineCount()) {
        return false;
    }
    m_removed = document.removeLine(key(), m_line, +1);
    // A cursor below the end of the shortened text comes up to the line after the last one.
    m_cursorLine = document.cursorLine();
    if (m_cursorLine > document.lineCount()) {
        document.setCursor(key(), document.lineCount(), document.cursorOffset());
    }
    return true;
}

void DeleteLineRecord::undo(Document& document) {
    document.placeLine(key(), m_line, std::move(m_removed), -1);
    document.setCursor(key(), m_cursorLine, document.cursorOffset());
}

bool MarkRecord::execute(Document& document) {
    m_old = document.mark();
    document.setMarkState(key(), m_mark);
    return true;
}

void MarkRecord::undo(Document& document) {
    document.setMarkState(key(), m_old);
}

// ---- views ----

namespace {
using Kind = EditRecordValue::Kind;

EditRecordView viewOf(Kind kind, int line, int offset = 0, char byte = 0) {
    EditRecordView view;
    view.kind = kind;
    view.line = line;
    view.offset = offset;
    view.byte = byte;
    return view;
}
} // namespace

EditRecordView MoveColumnRecord::view(const Document&) const {
    return viewOf(Kind::MoveColumn, m_offset);
}
EditRecordView GoToLineRecord::view(const Document&) const {
    return viewOf(Kind::GoToLine, m_line);
}
EditRecordView ReplaceBytesRecord::view(const Document&) const {
    EditRecordView view = viewOf(Kind::ReplaceBytes, m_line, m_offset);
    view.count = m_count;
    view.bytes = m_text;
    return view;
}
EditRecordView OverwriteCharacterRecord::view(const Document&) const {
    return viewOf(Kind::OverwriteCharacter, m_line, m_offset, m_char);
}
EditRecordView InsertLineRecord::view(const Document& document) const {
    // The line itself moved into the text at its index.
    const DocLine& placed = document.line(m_index);
    EditRecordView view = viewOf(Kind::InsertLine, m_index);
    view.bytes = placed.text();
    view.otherLineEnd = placed.hasOtherLineEnd();
    return view;
}
EditRecordView SplitLineRecord::view(const Document&) const {
    return viewOf(Kind::SplitLine, m_line, m_offset);
}
EditRecordView JoinLineRecord::view(const Document&) const {
    return viewOf(Kind::JoinLine, m_line);
}
EditRecordView DeleteLineRecord::view(const Document&) const {
    return viewOf(Kind::DeleteLine, m_line);
}
EditRecordView MarkRecord::view(const Document&) const {
    EditRecordView view = viewOf(Kind::Mark, 0);
    view.mark = m_mark;
    return view;
}

std::unique_ptr<EditRecord> makeEditRecord(const EditRecordValue& value) {
    switch (value.kind) {
    case Kind::MoveColumn:
        return std::make_unique<MoveColumnRecord>(value.line);
    case Kind::GoToLine:
        return std::make_unique<GoToLineRecord>(value.line);
    case Kind::ReplaceBytes:
        return std::make_unique<ReplaceBytesRecord>(value.line, value.offset, value.count, value.bytes);
    case Kind::OverwriteCharacter:
        return std::make_unique<OverwriteCharacterRecord>(value.line, value.offset, value.byte);
    case Kind::InsertLine: {
        DocLine line(value.bytes);
        line.setOtherLineEnd(value.otherLineEnd);
        return std::make_unique<InsertLineRecord>(value.line, std::move(line));
    }
    case Kind::SplitLine:
        return std::make_unique<SplitLineRecord>(value.line, value.offset);
    case Kind::JoinLine:
        return std::make_unique<JoinLineRecord>(value.line);
    case Kind::DeleteLine:
        return std::make_unique<DeleteLineRecord>(value.line);
    case Kind::Mark:
        return std::make_unique<MarkRecord>(value.mark);
    }
    return nullptr;
}

} // namespace vexa
