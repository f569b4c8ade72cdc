// A fast 64-bit hash of a stream of bytes, fed piece by piece as a reader's pass sees them.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/HashWords.h"

namespace vexa {

// Not cryptographic: it tells whether a file still holds the bytes it was read from. The result
// does not depend on how the bytes were cut into pieces.
//
// The bytes go in stripes of 32, each of its four words to a lane of its own. A lane's step waits
// only for that lane's step before it, so the four run side by side and the hash keeps up with
// the memory (several bytes a cycle, where one chain of multiplications makes about one). A word
// is multiplied before it joins its lane, so that a change in one word is not undone by a change
// of a few bits in the lane's next word. Each step can be undone for a given word (add, rotate,
// multiply by an odd number), and so can each step that folds the lanes, the bytes past the last
// whole stripe and the length into the value: two inputs of one length that differ in a single
// word never hash alike, and the final avalanche spreads every input bit over the whole value.
class ContentHash {
public:
    static constexpr std::size_t kStripe = 32;

    void add(std::string_view bytes) {
        const char* data = bytes.data();
        std::size_t size = bytes.size();
        m_total += size;
        if (m_pending > 0) {
            const std::size_t take = std::min(size, kStripe - m_pending);
            std::memcpy(m_tail + m_pending, data, take);
            m_pending += take;
            data += take;
            size -= take;
            if (m_pending < kStripe) {
                return;
            }
            addStripes(m_lanes, m_tail, kStripe);
            m_pending = 0;
        }
        const std::size_t whole = size - size % kStripe;
        addStripes(m_lanes, data, whole);
        if (size > whole) {
            std::memcpy(m_tail, data + whole, size - whole);
        }
        m_pending = size - whole;
    }

    std::uint64_t value() const { return finish(m_lanes, m_tail, m_pending, m_total); }

    std::uint64_t size() const { return m_total; }

    // The same value as add and value give, in one pass without the state kept between pieces.
    static std::uint64_t of(std::string_view bytes) {
        Lanes lanes = kSeeds;
        const std::size_t whole = bytes.size() - bytes.size() % kStripe;
        addStripes(lanes, bytes.data(), whole);
        return finish(lanes, bytes.data() + whole, bytes.size() - whole, bytes.size());
    }

private:
    using Lanes = std::array<std::uint64_t, 4>;

    // The word's own multiplication does not wait for the lane; the lane's chain is an add, a
    // rotation and one multiplication a word.
    static std::uint64_t step(std::uint64_t lane, std::uint64_t word) {
        return std::rotl(lane + word * 0xbf58476d1ce4e5b9ULL, 29) * 0x9e3779b97f4a7c15ULL;
    }

    // Whole stripes only (`size` is a multiple of kStripe). The lanes stay in registers across
    // the stripes. The lanes keep up with the memory only when the memory is asked for the bytes
    // a few kilobytes before they are needed: a cache line at a time, while that is still within
    // the bytes.
    static void addStripes(Lanes& lanes, const char* data, std::size_t size) {
        std::uint64_t a = lanes[0];
        std::uint64_t b = lanes[1];
        std::uint64_t c = lanes[2];
        std::uint64_t d = lanes[3];
        const auto addStripe = [&](const char* stripe) {
            a = step(a, hash_words::load(stripe));
            b = step(b, hash_words::load(stripe + 8));
            c = step(c, hash_words::load(stripe + 16));
            d = step(d, hash_words::load(stripe + 24));
        };
        const char* const end = data + size;
        while (static_cast<std::size_t>(end - data) > kAhead) {
            hash_words::prefetch(data + kAhead);
            addStripe(data);
            addStripe(data + kStripe);
            data += 2 * kStripe;
        }
        for (; data != end; data += kStripe) {
            addStripe(data);
        }
        lanes = {a, b, c, d};
    }

    static std::uint64_t fold(std::uint64_t state, std::uint64_t word) {
        state ^= word * 0xd6e8feb86659fd93ULL;
        state = std::rotl(state, 31);
        return state * 0x94d049bb133111ebULL;
    }

    // The lanes in order, then the bytes past the last whole stripe (fewer than kStripe) a word
    // at a time, the last word padded with zeros, then the length.
    static std::uint64_t finish(const Lanes& lanes, const char* tail, std::size_t count,
                                std::uint64_t total) {
        std::uint64_t state = kSeed;
        for (const std::uint64_t lane : lanes) {
            state = fold(state, lane);
        }
        for (; count >= 8; count -= 8, tail += 8) {
            state = fold(state, hash_words::load(tail));
        }
        state = fold(state, hash_words::loadTail(tail, count));
        return hash_words::avalanche(fold(state, total));
    }

    // How far ahead the memory is asked for the bytes (a multiple of two stripes, a cache line).
    static constexpr std::size_t kAhead = 4096;
    static constexpr std::uint64_t kSeed = 0x452821e638d01377ULL;
    static constexpr Lanes kSeeds = {0x243f6a8885a308d3ULL, 0x13198a2e03707344ULL, 0xa4093822299f31d0ULL,
                                     0x082efa98ec4e6c89ULL};
    Lanes m_lanes = kSeeds;
    std::uint64_t m_total = 0;
    char m_tail[kStripe] = {};
    std::size_t m_pending = 0;
};

} // namespace vexa
