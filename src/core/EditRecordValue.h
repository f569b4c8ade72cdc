// An edit record as plain fields (what it was made with), and the observer of a document's edits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/MarkState.h"

namespace vexa {

// The arguments a primitive edit was made with, but its bytes: with them, enough to make the
// same record again and run it on the same text (a journal of the edits stores these).
struct EditRecordFields {
    enum class Kind : uint8_t {
        MoveColumn,
        GoToLine,
        ReplaceBytes,
        OverwriteCharacter,
        InsertLine,
        SplitLine,
        JoinLine,
        DeleteLine,
        Mark,
    };
    static constexpr int kKindCount = 9;

    Kind kind = Kind::MoveColumn;
    int line = 0;   // the line (or the offset of MoveColumn)
    int offset = 0; // the byte offset in the line
    int count = 0;  // the bytes ReplaceBytes takes out
    char byte = 0;  // the character of OverwriteCharacter
    bool otherLineEnd = false;
    MarkState mark;

    friend bool operator==(const EditRecordFields&, const EditRecordFields&) = default;
};

// A record's arguments as it ran, its bytes (the text of InsertLine and ReplaceBytes) still the
// record's or the document's: what the document shows its edit observer, made without a copy.
struct EditRecordView : EditRecordFields {
    std::string_view bytes;
};

// A record's arguments as a value of their own.
struct EditRecordValue : EditRecordFields {
    std::string bytes;

    EditRecordValue() = default;
    explicit EditRecordValue(const EditRecordView& view) : EditRecordFields(view), bytes(view.bytes) {}
    EditRecordView view() const { return {*this, bytes}; }

    friend bool operator==(const EditRecordValue&, const EditRecordValue&) = default;
};

// Told of every change a document's undo store sees, in order: executed records, undo and redo
// steps, the emptying of the undo store, the user's switches of encoding and line ends, and the
// start of a new text (a load or a new document).
class EditObserver {
public:
    virtual ~EditObserver() = default;
    // A record is about to run (on the text as it is before it).
    virtual void beforeRecord() = 0;
    // A record has run; its view holds only for the call.
    virtual void recorded(const EditRecordView& record, int group) = 0;
    virtual void undone() = 0;
    virtual void redone() = 0;
    // The undo and redo stacks were emptied (the text stays).
    virtual void undoFlushed() = 0;
    // The user switched how the bytes are read, or the line ends every line is written with
    // (beforeRecord comes first, on the document as it was).
    virtual void encodingSwitched() = 0;
    virtual void lineEndsChanged() = 0;
    virtual void textReplaced() = 0;
};

} // namespace vexa
