// The buffer that holds a loaded file's bytes, which unchanged lines read in place.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace vexa {

// Bytes are appended into large blocks that never move, so a line may point into them for as
// long as the arena lives. A block is allocated without being cleared: pages never written are
// never touched.
class TextArena {
public:
    // The size of the next block to allocate (e.g. the size of the file about to be read).
    void expect(std::size_t bytes) { m_nextBlock = std::max(bytes, kMinBlock); }
    // Copies bytes into the arena and returns the copy.
    std::string_view store(std::string_view bytes);
    void clear();
    std::size_t blockCount() const { return m_blocks.size(); }

private:
    static constexpr std::size_t kMinBlock = 64 * 1024;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_used = 0;
    std::size_t m_size = 0;
    std::size_t m_nextBlock = kMinBlock;
};

} // namespace vexa
