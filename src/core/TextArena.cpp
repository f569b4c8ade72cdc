// The load buffer of a document.
#include "core/TextArena.h"

#include <algorithm>
#include <cstring>

namespace vexa {

std::string_view TextArena::store(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    if (m_blocks.empty() || m_size - m_used < bytes.size()) {
        std::size_t size = std::max(m_nextBlock, bytes.size());
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        m_size = size;
        m_used = 0;
        m_nextBlock = kMinBlock;
    }
    char* at = m_blocks.back().get() + m_used;
    std::memcpy(at, bytes.data(), bytes.size());
    m_used += bytes.size();
    return {at, bytes.size()};
}

void TextArena::clear() {
    m_blocks.clear();
    m_used = 0;
    m_size = 0;
    m_nextBlock = kMinBlock;
}

} // namespace vexa
