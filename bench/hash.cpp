// Speed of the file hashes: the content hash (four lanes, taken by every load and save) against
// the word chain (one multiplication after another; the journal's names and checksums, and the
// file hash of journals written before the lanes).
// Each hash is fed a 256 MiB buffer a piece of 1 MiB at a time, as a load feeds it the blocks it
// reads: the buffer is far larger than the caches, so the figure includes the memory's pace. The
// `_cached` figures hash one 1 MiB piece over and over: the hash's own pace, as on a block just
// read. `memory_read_gb_s` is a plain loop adding up the buffer's words, for scale. Each figure is
// the median of rounds (the machine is shared).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/ContentHash.h"
#include "core/WordChainHash.h"
#include "support/GeneratedText.h"

namespace {

constexpr std::size_t kBuffer = std::size_t{256} << 20;
constexpr std::size_t kPiece = std::size_t{1} << 20;
constexpr int kRounds = 5;

// Adds up the words: next to no work on each.
class WordSum {
public:
    void add(std::string_view bytes) {
        std::uint64_t sum = m_sum;
        for (std::size_t at = 0; at + 8 <= bytes.size(); at += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes.data() + at, sizeof word);
            sum += word;
        }
        m_sum = sum;
        m_size += bytes.size();
    }
    std::uint64_t value() const { return m_sum; }
    std::uint64_t size() const { return m_size; }

private:
    std::uint64_t m_sum = 0;
    std::uint64_t m_size = 0;
};

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Gigabytes (10^9 bytes) a second for feeding `pieces` (each a view of `kPiece` bytes) to a hash.
template <typename Hash>
double gigabytesPerSecond(const std::vector<std::string_view>& pieces, std::uint64_t& sink) {
    std::vector<double> rounds;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        Hash hash;
        for (const std::string_view piece : pieces) {
            hash.add(piece);
        }
        sink ^= hash.value();
        const double seconds = vexa::bench::secondsSince(start);
        rounds.push_back(static_cast<double>(hash.size()) / seconds / 1e9);
    }
    return median(rounds);
}

} // namespace

int main() {
    // Source text, repeated to fill the buffer.
    const std::string text = vexa::bench::generateCText(100'000);
    std::string buffer;
    buffer.reserve(kBuffer);
    while (buffer.size() < kBuffer) {
        buffer.append(text, 0, std::min(text.size(), kBuffer - buffer.size()));
    }
    std::vector<std::string_view> streamed;
    for (std::size_t at = 0; at < buffer.size(); at += kPiece) {
        streamed.push_back(std::string_view(buffer).substr(at, kPiece));
    }
    const std::vector<std::string_view> cached(kBuffer / kPiece, std::string_view(buffer).substr(0, kPiece));

    std::uint64_t sink = 0;
    const double memory = gigabytesPerSecond<WordSum>(streamed, sink);
    const double chain = gigabytesPerSecond<vexa::WordChainHash>(streamed, sink);
    const double lanes = gigabytesPerSecond<vexa::ContentHash>(streamed, sink);
    const double chainCached = gigabytesPerSecond<vexa::WordChainHash>(cached, sink);
    const double lanesCached = gigabytesPerSecond<vexa::ContentHash>(cached, sink);
    std::printf("buffer_mib: %zu\n", kBuffer >> 20);
    std::printf("memory_read_gb_s: %.2f\n", memory);
    std::printf("word_chain_gb_s: %.2f\n", chain);
    std::printf("content_hash_gb_s: %.2f\n", lanes);
    std::printf("content_over_word_chain: %.2f\n", lanes / chain);
    std::printf("word_chain_cached_gb_s: %.2f\n", chainCached);
    std::printf("content_hash_cached_gb_s: %.2f\n", lanesCached);
    // Printed so that no hash is left out as unused.
    std::printf("values_xor: %016llx\n", static_cast<unsigned long long>(sink));
    return 0;
}
