// What the content hashes share: bytes read as little-endian words, and the final avalanche.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vexa::hash_words {

// Eight bytes as a little-endian word, whatever the machine's byte order.
inline std::uint64_t load(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

// Fewer than eight bytes as the low bytes of a little-endian word.
inline std::uint64_t loadTail(const char* bytes, std::size_t count) {
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

// Asks the memory for the cache line at `bytes` before it is read (where the compiler can).
inline void prefetch(const char* bytes) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(bytes);
#else
    (void)bytes;
#endif
}

// Spreads every bit of the state over the whole value (each step can be undone, so two states
// never give one value).
inline std::uint64_t avalanche(std::uint64_t state) {
    state ^= state >> 33;
    state *= 0xff51afd7ed558ccdULL;
    state ^= state >> 33;
    state *= 0xc4ceb9fe1a85ec53ULL;
    state ^= state >> 33;
    return state;
}

} // namespace vexa::hash_words
