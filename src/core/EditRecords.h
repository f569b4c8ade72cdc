// The primitive edits of a document: cursor moves, byte and line changes, mark changes.
#pragma once

#include <string>
#include <utility>

#include "core/DocLine.h"
#include "core/EditRecord.h"
#include "core/MarkState.h"

namespace vexa {

// Sets the cursor offset on the cursor line.
class MoveColumnRecord final : public EditRecord {
public:
    explicit MoveColumnRecord(int offset) : m_offset(offset) {}
    bool execute(Document& document) override;
    void undo(Document& document) override;
    EditRecordView view(const Document& document) const override;

private:
    int m_offset;
    int m_oldOffset = 0;
};

// Moves the cursor to another line, keeping its display column.
class GoToLineRecord final : public EditRecord {
public:
    explicit GoToLineRecord(int line) : m_line(line) {}
    bool execute(Document& document) override;
    void undo(Document& document) override;
    EditRecordView view(const Document& document) const override;

private:
    int m_line;
    int m_oldLine = 0;
    int m_oldOffset = 0;
};

// Replaces one byte (appends at the end of the line); byte 0 ends the line there.
class OverwriteCharacterRecord final : public EditRecord {
public:
    OverwriteCharacterRecord(int line, int offset, char ch) : m_line(line), m_offset(offset), m_char(ch) {}
    bool execute(Document& document) override;
    void undo(Document& document) override;
    EditRecordView view(const Document& document) const override;

private:
    int m_line;
    int m_offset;
    char m_char;
    // The bytes the record writes: none when it ends the line, else its character.
    std::string_view written() const {
        return m_char == '\0' ? std::string_view() : std::string_view(&m_char, 1);
    }

    bool m_appended = false;
    std::string m_oldTail;
};

// Puts bytes in place of a range of a line: any number of bytes inserted, deleted or replaced at
// once, so that a long run of bytes costs one pass over the line.
class ReplaceBytesRecord final : public EditRecord {
public:
    ReplaceBytesRecord(int line, int offset, int count, std::string text)
        : m_line(line), m_offset(offset), m_count(count), m_text(std::move(text)) {}
    bool execute(Document& document) override;
    void undo(Document& document) override;
    EditRecordView view(const Document& document) const override;

private:
    int m_line;
    int m_offset;
    int m_count;
    std::string m_text; // the new bytes; after execute, the old ones are in m_old
    std::string m_old;
};

// Places a line (an empty one for "insert empty line") at an index; the old line moves down.
class InsertLineRecord final : public EditRecord {
public:
    InsertLineRecord(int index, DocLine line) : m_index(index), m_line(std::move(line)) {}
    bool execute(Document& document) override;
    void undo(Document& document) override;
    EditRecordView view(const Document& document) const override;

private:
    int m_index;
    DocLine m_line;
};

// Cuts a line at an offset and inserts the tail as the next line; both keep the line's end.
class SplitLineRecord final : public EditRecord {
public:
    SplitLineRecord(int line, int offset) : m_line(line), m_offset(offset) {}
    bool execute(Document& document) override;
    void undo(Document& document) override;
    EditRecordView view(const Document& document) const override;

private:
    int m_line;
    int m_offset;
    int m_cut = 0;
};

// Appends the next line to a line and removes it, the joined line taking the removed line's
// end; refused at the last line.
class JoinLineRecord final : public EditRecord {
public:
    explicit JoinLineRecord(int line) : m_line(line) {}
    bool execute(Document& document) override;
    void undo(Document& document) override;
    EditRecordView view(const Document& document) const override;

private:
    int m_line;
    int m_oldLength = 0;
    bool m_oldOtherLineEnd = false;
    DocLine m_removed;
};

// Removes a line, keeping it for undo; refused when the line does not exist.
class DeleteLineRecord final : public EditRecord {
public:
    explicit DeleteLineRecord(int line) : m_line(line) {}
    bool execute(Document& document) override;
    void undo(Document& document) override;
    EditRecordView view(const Document& document) const override;

private:
    int m_line;
    int m_cursorLine = 0;
    DocLine m_removed;
};

// Any change of the marked area (begin, start, end, resume, clear, shift): the new state is
// worked out by the document before the record is made.
class MarkRecord final : public EditRecord {
public:
    explicit MarkRecord(const MarkState& mark) : m_mark(mark) {}
    bool execute(Document& document) override;
    void undo(Document& document) override;
    EditRecordView view(const Document& document) const override;

private:
    MarkState m_mark;
    MarkState m_old;
};

} // namespace vexa
