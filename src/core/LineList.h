// The ordered lines of a document: indexed access, and cheap insertion and removal anywhere.
#pragma once

#include <cstddef>
#include <vector>

#include "core/DocLine.h"

namespace vexa {

// Lines are kept in blocks of up to a few thousand: an insertion or removal moves only the lines
// of one block and the start indices of the blocks after it, so its cost does not grow with the
// length of the document the way a single array's would. The last block found is remembered,
// as most look-ups are near the previous one.
class LineList {
public:
    int count() const { return static_cast<int>(m_count); }
    bool empty() const { return m_count == 0; }

    // The line at an index; the index must exist.
    DocLine& at(int index);
    const DocLine& at(int index) const;

    // Inserts before `index` (index == count appends).
    void insert(int index, DocLine line);
    void append(DocLine line);
    // Removes the line at an existing index and hands it back.
    DocLine take(int index);
    void clear();

private:
    static constexpr std::size_t kBlockLines = 2048;

    std::size_t findBlock(std::size_t index) const;

    std::vector<std::vector<DocLine>> m_blocks;
    // The index of the first line of each block.
    std::vector<std::size_t> m_starts;
    std::size_t m_count = 0;
    mutable std::size_t m_lastBlock = 0;
};

} // namespace vexa
