// A fast 64-bit hash of a stream of bytes, fed piece by piece as a reader's pass sees them.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vexa {

// Not cryptographic: it tells whether a file still holds the bytes it was read from. The
// result does not depend on how the bytes were cut into pieces.
class ContentHash {
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
            mixWord(load(m_tail));
            m_pending = 0;
        }
        // The state stays in a register across the words: the loop runs at the speed of the
        // multiplications, well beyond the pace of reading a file.
        std::uint64_t state = m_state;
        while (size >= 8) {
            state = mix(state, load(data));
            data += 8;
            size -= 8;
        }
        m_state = state;
        std::memcpy(m_tail, data, size);
        m_pending = size;
    }

    std::uint64_t value() const {
        std::uint64_t state = m_state;
        std::uint64_t last = 0;
        for (std::size_t i = 0; i < m_pending; ++i) {
            last |= static_cast<std::uint64_t>(static_cast<unsigned char>(m_tail[i])) << (8 * i);
        }
        state = mix(state, last ^ m_total);
        // The final avalanche spreads every input bit over the whole value.
        state ^= state >> 33;
        state *= 0xff51afd7ed558ccdULL;
        state ^= state >> 33;
        state *= 0xc4ceb9fe1a85ec53ULL;
        state ^= state >> 33;
        return state;
    }

    std::uint64_t size() const { return m_total; }

    static std::uint64_t of(std::string_view bytes) {
        ContentHash hash;
        hash.add(bytes);
        return hash.value();
    }

private:
    // Eight bytes as a little-endian word, whatever the machine's byte order.
    static std::uint64_t load(const char* bytes) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, sizeof word);
        if constexpr (std::endian::native == std::endian::big) {
            word = __builtin_bswap64(word);
        }
        return word;
    }
    static std::uint64_t mix(std::uint64_t state, std::uint64_t word) {
        state ^= word * 0x9e3779b97f4a7c15ULL;
        state = (state << 31) | (state >> 33);
        return state * 0xbf58476d1ce4e5b9ULL;
    }
    void mixWord(std::uint64_t word) { m_state = mix(m_state, word); }

    std::uint64_t m_state = 0x243f6a8885a308d3ULL;
    std::uint64_t m_total = 0;
    char m_tail[8] = {};
    std::size_t m_pending = 0;
};

} // namespace vexa
