// The content hash: its values are kept in recovery journals, so they may never change, and they
// do not depend on how the bytes were cut into pieces.
#include "core/ContentHash.h"

#include <gtest/gtest.h>
#include <string>

namespace vexa {
namespace {

TEST(ContentHash, KeepsTheValuesJournalsHoldAcrossEveryTailLength) {
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
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ContentHash::of(c.bytes), c.value) << c.bytes;
    }
}

TEST(ContentHash, PiecesOfAnyLengthGiveTheValueOfTheWhole) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i) {
        bytes += static_cast<char>(i * 7 + i / 13);
    }
    EXPECT_EQ(ContentHash::of(bytes), 0x6f6d60ab1309d86fULL);
    for (const std::size_t piece : {1U, 3U, 8U, 37U, 4096U}) {
        ContentHash hash;
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            hash.add(std::string_view(bytes).substr(at, piece));
        }
        EXPECT_EQ(hash.value(), ContentHash::of(bytes)) << piece;
        EXPECT_EQ(hash.size(), bytes.size());
    }
}

} // namespace
} // namespace vexa
