// The file hashes: their values are kept in recovery journals (the word chain's also in the
// journals' names and frames), so they may never change, and they do not depend on how the
// bytes were cut into pieces.
#include "core/ContentHash.h"
#include "core/WordChainHash.h"

#include <bit>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace vexa {
namespace {

std::string sampleBytes(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) {
        bytes += static_cast<char>(i * 7 + i / 13);
    }
    return bytes;
}

TEST(WordChainHash, KeepsTheValuesJournalsHoldAcrossEveryTailLength) {
    struct Case {
        std::string_view bytes;
        std::uint64_t value;
    };
    const Case cases[] = {
        {"", 0x655a6c99d522fb24ULL},
        {"a", 0xfb95406f351b6f0eULL},
        {"abcdefgh", 0x8395ea45e0f26aedULL},
        {"abcdefghi", 0x4b9b6a5ccc76b948ULL},
        {"The quick brown fox jumps over the lazy dog\r\n", 0xe97a5e019970d850ULL},
        // A journal's name is the hash of its file's path.
        {"/home/user/src/main.c", 0x2284019762aa7615ULL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WordChainHash::of(c.bytes), c.value) << c.bytes;
    }
}

TEST(WordChainHash, PiecesOfAnyLengthGiveTheValueOfTheWhole) {
    const std::string bytes = sampleBytes(100000);
    EXPECT_EQ(WordChainHash::of(bytes), 0x6f6d60ab1309d86fULL);
    for (const std::size_t piece : {1U, 3U, 8U, 37U, 4096U}) {
        WordChainHash hash;
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            hash.add(std::string_view(bytes).substr(at, piece));
        }
        EXPECT_EQ(hash.value(), WordChainHash::of(bytes)) << piece;
        EXPECT_EQ(hash.size(), bytes.size());
    }
}

TEST(ContentHash, KeepsTheValuesJournalsHoldAcrossEveryTailLength) {
    // Lengths on both sides of a whole stripe and of a whole word past it.
    struct Case {
        std::size_t size;
        std::uint64_t value;
    };
    const Case cases[] = {
        {0, 0xf09ba1b3cb30e5b3ULL},  {1, 0x0bb294527597fb3dULL},  {8, 0x541c7d952c302a87ULL},
        {9, 0xd3fdfba140d33eebULL},  {31, 0x79293cf1c6e4e387ULL}, {32, 0xc8ca1c93969dffb8ULL},
        {33, 0xdb1ccfba6937124cULL}, {71, 0xe092d60339978512ULL}, {100000, 0xfa0f975dbef8d23bULL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContentHash::of(sampleBytes(c.size)), c.value) << c.size;
    }
}

TEST(ContentHash, PiecesOfAnyLengthGiveTheValueOfTheWhole) {
    const std::string bytes = sampleBytes(5000);
    const std::uint64_t whole = ContentHash::of(bytes);
    // Each split cuts the bytes into pieces of these lengths, over and over: single bytes, pieces
    // that end a byte before, at and after a stripe's end, empty pieces among them, and pieces
    // larger than the rest of the input.
    const std::vector<std::vector<std::size_t>> splits = {
        {1},       {7},        {8},     {31},           {32},    {33},
        {0, 5},    {31, 1, 0}, {1, 31}, {63, 1, 0, 64}, {65, 0}, {3, 29, 33, 0, 31},
        {4096, 0}, {10000},
    };
    for (const std::vector<std::size_t>& split : splits) {
        ContentHash hash;
        std::size_t at = 0;
        for (std::size_t i = 0; at < bytes.size(); ++i) {
            const std::size_t piece = split[i % split.size()];
            hash.add(std::string_view(bytes).substr(at, piece));
            at += piece;
        }
        EXPECT_EQ(hash.value(), whole) << testing::PrintToString(split);
        EXPECT_EQ(hash.size(), bytes.size());
    }
    // The value is taken between pieces without ending the stream.
    ContentHash hash;
    hash.add(std::string_view(bytes).substr(0, 33));
    EXPECT_EQ(hash.value(), ContentHash::of(std::string_view(bytes).substr(0, 33)));
    hash.add(std::string_view(bytes).substr(33));
    EXPECT_EQ(hash.value(), whole);
}

TEST(ContentHash, RunsOfZeroBytesOfEveryLengthDiffer) {
    std::set<std::uint64_t> values;
    for (std::size_t size = 0; size <= 300; ++size) {
        const bool added = values.insert(ContentHash::of(std::string(size, '\0'))).second;
        EXPECT_TRUE(added) << size;
    }
}

TEST(ContentHash, EveryFlippedBitChangesTheValueAndAboutHalfItsBits) {
    const std::string bytes = sampleBytes(1024);
    const std::uint64_t original = ContentHash::of(bytes);
    std::set<std::uint64_t> values = {original};
    // How often each bit of the value changed over all the flips.
    std::vector<int> changed(64, 0);
    const std::size_t flips = bytes.size() * 8;
    for (std::size_t bit = 0; bit < flips; ++bit) {
        std::string flipped = bytes;
        flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
        const std::uint64_t value = ContentHash::of(flipped);
        EXPECT_TRUE(values.insert(value).second) << bit;
        for (int out = 0; out < 64; ++out) {
            changed[out] += static_cast<int>(((value ^ original) >> out) & 1);
        }
    }
    for (int out = 0; out < 64; ++out) {
        EXPECT_GT(changed[out], static_cast<int>(flips * 45 / 100)) << out;
        EXPECT_LT(changed[out], static_cast<int>(flips * 55 / 100)) << out;
    }
}

TEST(ContentHash, WordsInAnotherOrderGiveAnotherValue) {
    // Words swapped within a stripe (between lanes), between stripes in one lane, and between a
    // stripe and the bytes past the last whole stripe.
    const std::string bytes = sampleBytes(32 * 3 + 16);
    struct Swap {
        std::size_t first;
        std::size_t second;
    };
    const Swap swaps[] = {{0, 8}, {8, 24}, {0, 32}, {40, 72}, {24, 96}, {64, 104}};
    for (const Swap& swap : swaps) {
        std::string swapped = bytes;
        swapped.replace(swap.first, 8, bytes, swap.second, 8);
        swapped.replace(swap.second, 8, bytes, swap.first, 8);
        ASSERT_NE(swapped, bytes);
        EXPECT_NE(ContentHash::of(swapped), ContentHash::of(bytes)) << swap.first << " " << swap.second;
    }
}

} // namespace
} // namespace vexa
