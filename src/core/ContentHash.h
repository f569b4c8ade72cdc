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

    std::uint64_t value() const { return finish(m_state, loadTail(m_tail, m_pending), m_total); }

    std::uint64_t size() const { return m_total; }

    // The same value as add and value give, in one pass without the state kept between pieces
    // (the journal checks each of its short entries with it).
    static std::uint64_t of(std::string_view bytes) {
        const char* data = bytes.data();
        std::size_t size = bytes.size();
        std::uint64_t state = kSeed;
        while (size >= 8) {
            state = mix(state, load(data));
            data += 8;
            size -= 8;
        }
        return finish(state, loadTail(data, size), bytes.size());
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
    // Fewer than eight bytes as the low bytes of a little-endian word.
    static std::uint64_t loadTail(const char* bytes, std::size_t count) {
        std::uint64_t word = 0;
        if constexpr (std::endian::native == std::endian::little) {
            if (count > 0) {
                std::memcpy(&word, bytes, count);
            }
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                word |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
            }
        }
        return word;
    }
    static std::uint64_t finish(std::uint64_t state, std::uint64_t last, std::uint64_t total) {
        state = mix(state, last ^ total);
        // The final avalanche spreads every input bit over the whole value.
        state ^= state >> 33;
        state *= 0xff51afd7ed558ccdULL;
        state ^= state >> 33;
        state *= 0xc4ceb9fe1a85ec53ULL;
        state ^= state >> 33;
        return state;
    }
    void mixWord(std::uint64_t word) { m_state = mix(m_state, word); }

    static constexpr std::uint64_t kSeed = 0x243f6a8885a308d3ULL;
    std::uint64_t m_state = kSeed;
    std::uint64_t m_total = 0;
    char m_tail[8] = {};
    std::size_t m_pending = 0;
};

} // namespace vexa
