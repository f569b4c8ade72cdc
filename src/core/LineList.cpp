// The block list of lines.
#include "core/LineList.h"

#include <algorithm>
#include <iterator>

namespace vexa {

void LineList::invalidateAfter(std::size_t block) {
    m_validStarts = std::min(m_validStarts, block + 1);
}

std::size_t LineList::findBlock(std::size_t index) const {
    std::size_t cached = m_lastBlock;
    if (cached < m_validStarts && index >= m_starts[cached] &&
        index < m_starts[cached] + m_blocks[cached].size()) {
        return cached;
    }
    // Within the blocks whose starts are known, a binary search; past them, the starts are
    // brought up to date block by block until the index is reached.
    if (m_validStarts > 0) {
        std::size_t lastValid = m_validStarts - 1;
        if (index < m_starts[lastValid] + m_blocks[lastValid].size()) {
            auto end = m_starts.begin() + static_cast<std::ptrdiff_t>(m_validStarts);
            auto it = std::upper_bound(m_starts.begin(), end, index);
            m_lastBlock = static_cast<std::size_t>(std::distance(m_starts.begin(), it)) - 1;
            return m_lastBlock;
        }
    }
    std::size_t block = m_validStarts;
    std::size_t start = block == 0 ? 0 : m_starts[block - 1] + m_blocks[block - 1].size();
    while (block < m_blocks.size()) {
        m_starts[block] = start;
        ++m_validStarts;
        if (index < start + m_blocks[block].size()) {
            break;
        }
        start += m_blocks[block].size();
        ++block;
    }
    m_lastBlock = block;
    return block;
}

DocLine& LineList::at(int index) {
    auto i = static_cast<std::size_t>(index);
    std::size_t block = findBlock(i);
    return m_blocks[block][i - m_starts[block]];
}

const DocLine& LineList::at(int index) const {
    auto i = static_cast<std::size_t>(index);
    std::size_t block = findBlock(i);
    return m_blocks[block][i - m_starts[block]];
}

void LineList::startBlock() {
    m_blocks.emplace_back();
    m_blocks.back().reserve(kBlockLines);
    m_starts.push_back(m_count);
    if (m_validStarts + 1 == m_blocks.size()) {
        ++m_validStarts;
    }
}

void LineList::append(DocLine line) {
    (void)emplaceBack(std::move(line));
}

void LineList::insert(int index, DocLine line) {
    auto i = static_cast<std::size_t>(std::clamp(index, 0, count()));
    if (i == m_count) {
        append(std::move(line));
        return;
    }
    std::size_t block = findBlock(i);
    auto& lines = m_blocks[block];
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i - m_starts[block]), std::move(line));
    ++m_count;
    invalidateAfter(block);
    // A block that has grown to twice its size is split, so no block ever gets long.
    if (lines.size() >= 2 * kBlockLines) {
        std::vector<DocLine> tail;
        tail.reserve(2 * kBlockLines);
        std::move(lines.begin() + kBlockLines, lines.end(), std::back_inserter(tail));
        lines.erase(lines.begin() + kBlockLines, lines.end());
        m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(block + 1), std::move(tail));
        m_starts.insert(m_starts.begin() + static_cast<std::ptrdiff_t>(block + 1),
                        m_starts[block] + kBlockLines);
        invalidateAfter(block + 1);
    }
}

DocLine LineList::take(int index) {
    auto i = static_cast<std::size_t>(index);
    std::size_t block = findBlock(i);
    auto& lines = m_blocks[block];
    auto position = lines.begin() + static_cast<std::ptrdiff_t>(i - m_starts[block]);
    DocLine line = std::move(*position);
    lines.erase(position);
    --m_count;
    invalidateAfter(block);
    if (lines.empty()) {
        m_blocks.erase(m_blocks.begin() + static_cast<std::ptrdiff_t>(block));
        m_starts.erase(m_starts.begin() + static_cast<std::ptrdiff_t>(block));
        m_validStarts = std::min(m_validStarts, block);
        m_lastBlock = 0;
    }
    return line;
}

void LineList::reserve(std::size_t lines) {
    const std::size_t blocks = lines / kBlockLines + 1;
    m_blocks.reserve(blocks);
    m_starts.reserve(blocks);
}

void LineList::clear() {
    m_blocks.clear();
    m_starts.clear();
    m_validStarts = 0;
    m_count = 0;
    m_lastBlock = 0;
}

} // namespace vexa
