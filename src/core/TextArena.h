// The buffer that holds a loaded file's bytes, which unchanged lines read in place.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace vexa {

// Bytes live in large blocks that never move, so a line may point into them for as long as the
// arena lives: blocks a file was read into, and blocks bytes are copied into. A block is allocated
// without being cleared: pages never written are never touched.
class TextArena {
public:
    // A block of bytes on the C heap: it can grow in place while no line reads from it yet (a
    // large block is remapped rather than copied).
    class Block {
    public:
        char* data() const { return m_bytes.get(); }
        std::size_t capacity() const { return m_capacity; }
        // Makes room for at least `capacity` bytes, keeping the bytes held; false when the memory
        // is not there (the block is then unchanged).
        [[nodiscard]] bool grow(std::size_t capacity);

    private:
        struct Free {
            void operator()(char* bytes) const { std::free(bytes); }
        };
        std::unique_ptr<char, Free> m_bytes;
        std::size_t m_capacity = 0;
    };

    // The size of the next block to allocate (e.g. the size of the file about to be read).
    void expect(std::size_t bytes) { m_nextBlock = std::max(bytes, kMinBlock); }
    // Copies bytes into the arena and returns the copy.
    std::string_view store(std::string_view bytes);
    // Keeps a filled block for as long as the arena lives; nothing more is stored into it.
    void keep(Block block);
    void clear();
    std::size_t blockCount() const { return m_blocks.size(); }

private:
    static constexpr std::size_t kMinBlock = 64 * 1024;

    std::vector<Block> m_blocks;
    std::size_t m_used = 0;
    std::size_t m_size = 0;
    std::size_t m_nextBlock = kMinBlock;
};

} // namespace vexa
