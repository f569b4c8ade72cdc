// The load buffer of a document.
#include "core/TextArena.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vexa {

bool TextArena::Block::grow(std::size_t capacity) {
    if (capacity <= m_capacity) {
        return true;
    }
    void* grown = std::realloc(m_bytes.get(), capacity);
    if (grown == nullptr) {
        return false;
    }
    (void)m_bytes.release();
    m_bytes.reset(static_cast<char*>(grown));
    m_capacity = capacity;
    return true;
}

std::string_view TextArena::store(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    if (m_blocks.empty() || m_size - m_used < bytes.size()) {
        Block block;
        if (!block.grow(std::max(m_nextBlock, bytes.size()))) {
            throw std::bad_alloc();
        }
        m_blocks.push_back(std::move(block));
        m_size = m_blocks.back().capacity();
        m_used = 0;
        m_nextBlock = kMinBlock;
    }
    char* at = m_blocks.back().data() + m_used;
    std::memcpy(at, bytes.data(), bytes.size());
    m_used += bytes.size();
    return {at, bytes.size()};
}

void TextArena::keep(Block block) {
    // The kept block goes before the one bytes are copied into (when there is one), which stays
    // the last.
    m_blocks.insert(m_size > 0 ? m_blocks.end() - 1 : m_blocks.end(), std::move(block));
}

void TextArena::clear() {
    m_blocks.clear();
    m_used = 0;
    m_size = 0;
    m_nextBlock = kMinBlock;
}

} // namespace vexa
