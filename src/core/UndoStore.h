// The undo and redo stacks of one document, grouped per editor function.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "core/EditRecord.h"

namespace vexa {

class Messenger;

class UndoStore {
public:
    // A step that has worked through this many records shows the busy cursor until it ends.
    static constexpr int kBusyRecords = 50;

    // Takes a record its caller has already executed, stamped with the current group. A new
    // edit empties the redo stack.
    void record(std::unique_ptr<EditRecord> record);
    void nextGroup() { ++m_group; }
    int currentGroup() const { return m_group; }

    // Undoes or redoes the top group; false when the stack is empty.
    bool undo(Document& document, Messenger* messenger = nullptr);
    bool redo(Document& document, Messenger* messenger = nullptr);

    // Destroys every record of both stacks and starts again at group 0.
    void flush();

    bool isEmpty() const { return m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    std::size_t undoCount() const { return m_undo.size(); }
    std::size_t redoCount() const { return m_redo.size(); }

private:
    enum class Direction { Undo, Redo };
    bool step(Document& document, Messenger* messenger, Direction direction);

    int m_group = 0;
    std::vector<std::unique_ptr<EditRecord>> m_undo;
    std::vector<std::unique_ptr<EditRecord>> m_redo;
};

} // namespace vexa
