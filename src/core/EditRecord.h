// The base of every undoable primitive edit of a document.
#pragma once

#include <memory>

#include "core/EditRecordValue.h"

namespace vexa {

class Document;

// Opens the document's raw changes to edit records only: every change to text, cursor or mark
// goes through a record, so nothing else can make one the undo store would not know about.
class EditKey {
    friend class EditRecord;
    EditKey() = default;
};

class EditRecord {
public:
    virtual ~EditRecord() = default;

    // Makes the change, remembering what undo needs. A refused record returns false and is
    // dropped without being recorded.
    [[nodiscard]] virtual bool execute(Document& document) = 0;
    // Restores the state from before execute; the document is then exactly as execute found it.
    virtual void undo(Document& document) = 0;
    // What the record was made with, once it has run: its bytes are the record's own or, where
    // execute moved them into the text, the document's.
    virtual EditRecordView view(const Document& document) const = 0;

    int group() const { return m_group; }
    void setGroup(int group) { m_group = group; }

protected:
    static EditKey key() { return EditKey(); }

private:
    int m_group = 0;
};

// The record a value describes, ready to execute (which checks it against the text).
std::unique_ptr<EditRecord> makeEditRecord(const EditRecordValue& value);

} // namespace vexa
