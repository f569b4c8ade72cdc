// A 64-bit hash of bytes as one chain of multiplications, a word at a time.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/HashWords.h"

namespace vexa {

// Not cryptographic. Its values are kept on users' disks and may never change: the recovery
// journal's file names are the hashes of the paths, its frames carry the hashes of their bytes,
// and journals written before the content hash took several lanes hold their file's hash by it.
// A word waits for the one before it (about a byte a cycle): the content hash (ContentHash.h)
// reads files faster. The result does not depend on how the bytes were cut into pieces.
class WordChainHash {
public:
    void add(std::string_view bytes) {
        const char* data = bytes.data();
        std::size_t size = bytes.size();
        m_total += size;
        if (m_pending > 0) {
            const std::size_t take = std::min(size, sizeof m_tail - m_pending);
            std::memcpy(m_tail + m_pending, data, take);
            m_pending += take;
            data += take;
            size -= take;
            if (m_pending < sizeof m_tail) {
                return;
            }
            mixWord(hash_words::load(m_tail));
            m_pending = 0;
        }
        // The state stays in a register across the words: the loop runs at the speed of the
        // multiplications one after another.
        std::uint64_t state = m_state;
        while (size >= 8) {
            state = mix(state, hash_words::load(data));
            data += 8;
            size -= 8;
        }
        m_state = state;
        std::memcpy(m_tail, data, size);
        m_pending = size;
    }

    std::uint64_t value() const { return finish(m_state, hash_words::loadTail(m_tail, m_pending), m_total); }

    std::uint64_t size() const { return m_total; }

    // The same value as add and value give, in one pass without the state kept between pieces
    // (the journal checks each of its short entries with it).
    static std::uint64_t of(std::string_view bytes) {
        const char* data = bytes.data();
        std::size_t size = bytes.size();
        std::uint64_t state = kSeed;
        while (size >= 8) {
            state = mix(state, hash_words::load(data));
            data += 8;
            size -= 8;
        }
        return finish(state, hash_words::loadTail(data, size), bytes.size());
    }

private:
    static std::uint64_t mix(std::uint64_t state, std::uint64_t word) {
        state ^= word * 0x9e3779b97f4a7c15ULL;
        state = (state << 31) | (state >> 33);
        return state * 0xbf58476d1ce4e5b9ULL;
    }
    static std::uint64_t finish(std::uint64_t state, std::uint64_t last, std::uint64_t total) {
        return hash_words::avalanche(mix(state, last ^ total));
    }
    void mixWord(std::uint64_t word) { m_state = mix(m_state, word); }

    static constexpr std::uint64_t kSeed = 0x243f6a8885a308d3ULL;
    std::uint64_t m_state = kSeed;
    std::uint64_t m_total = 0;
    char m_tail[8] = {};
    std::size_t m_pending = 0;
};

} // namespace vexa
