// The undo and redo stacks of one document.
#include "core/UndoStore.h"

#include <optional>

#include "core/Messenger.h"

namespace vexa {

void UndoStore::record(std::unique_ptr<EditRecord> record) {
    record->setGroup(m_group);
    m_undo.push_back(std::move(record));
    // The undone groups were recorded against a text this edit has just changed: replayed on
    // top of it they could reach lines and offsets that no longer exist.
    m_redo.clear();
}

bool UndoStore::undo(Document& document, Messenger* messenger) {
    return step(document, messenger, Direction::Undo);
}

bool UndoStore::redo(Document& document, Messenger* messenger) {
    return step(document, messenger, Direction::Redo);
}

bool UndoStore::step(Document& document, Messenger* messenger, Direction direction) {
    auto& from = direction == Direction::Undo ? m_undo : m_redo;
    auto& to = direction == Direction::Undo ? m_redo : m_undo;
    if (from.empty()) {
        return false;
    }
    const int group = from.back()->group();
    std::optional<BusyCursor> busy;
    int processed = 0;
    while (!from.empty() && from.back()->group() == group) {
        std::unique_ptr<EditRecord> record = std::move(from.back());
        from.pop_back();
        if (direction == Direction::Undo) {
            record->undo(document);
        } else if (!record->execute(document)) {
            // A record that executed once executes again on the same state. Should it refuse
            // anyway, the redo list no longer fits the text: it is dropped, so that the refusal
            // is reported once and a redo loop ends.
            m_redo.clear();
            return processed > 0;
        }
        to.push_back(std::move(record));
        if (++processed == kBusyRecords && messenger != nullptr && !busy) {
            busy.emplace(*messenger);
        }
    }
    return true;
}

void UndoStore::flush() {
    m_undo.clear();
    m_redo.clear();
    m_group = 0;
}

} // namespace vexa
