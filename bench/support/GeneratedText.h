// The benchmarks' test text: a deterministic C-like file of about 50 bytes a line.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::bench {

// The text of `lines` lines, each ended by CR LF, the same bytes on every run.
std::string generateCText(std::size_t lines = 1'000'000);

// Writes generateCText(lines) to path unless the file exists; returns the path.
std::string ensureGeneratedFile(const std::string& path, std::size_t lines = 1'000'000);

// The lines of a generated text (CR LF line ends), as views into it.
std::vector<std::string_view> splitGeneratedLines(std::string_view text);

// Seconds since an earlier point of the steady clock.
inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace vexa::bench
