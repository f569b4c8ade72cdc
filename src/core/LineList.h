// The ordered lines of a document: indexed access, and cheap insertion and removal anywhere.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "core/DocLine.h"

namespace vexa {

// Lines are kept in blocks of a few hundred: an insertion or removal moves only the lines of one
// block, so its cost does not grow with the length of the document the way a single array's
// would. The index of each block's first line is recomputed lazily: a change in one block only
// marks the starts after it stale, and a look-up brings them up to date as far as it needs, so
// a run of edits at one place (typing, a paste) never walks the whole list. The last block found
// is remembered, as most look-ups are near the previous one.
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
    // Appends a line made in place from the arguments (a loaded line, made without moves).
    template <typename... Args>
    DocLine& emplaceBack(Args&&... args) {
        if (m_blocks.empty() || m_blocks.back().size() >= kBlockLines) {
            startBlock();
        }
        ++m_count;
        return m_blocks.back().emplace_back(std::forward<Args>(args)...);
    }
    // Calls f on every line in order: a walk over the whole text without an index look-up.
    template <typename F>
    void forEach(F&& f) {
        for (std::vector<DocLine>& block : m_blocks) {
            for (DocLine& line : block) {
                f(line);
            }
        }
    }
    template <typename F>
    void forEach(F&& f) const {
        for (const std::vector<DocLine>& block : m_blocks) {
            for (const DocLine& line : block) {
                f(line);
            }
        }
    }
    // Makes room in the index for `lines` lines, so that a load that knows about how many lines
    // are coming does not move it as it grows.
    void reserve(std::size_t lines);
    // Removes the line at an existing index and hands it back.
    DocLine take(int index);
    void clear();

private:
    static constexpr std::size_t kBlockLines = 128;

    std::size_t findBlock(std::size_t index) const;
    void startBlock();
    void invalidateAfter(std::size_t block);

    std::vector<std::vector<DocLine>> m_blocks;
    // The index of the first line of each block; only the first m_validStarts are up to date.
    mutable std::vector<std::size_t> m_starts;
    mutable std::size_t m_validStarts = 0;
    std::size_t m_count = 0;
    mutable std::size_t m_lastBlock = 0;
};

} // namespace vexa
