// Reading the title and the keyword list out of a WinHelp file. The bytes are untrusted: every
// read is checked against the end of the data, of its internal file and of its page; the pages a
// tree declares must lie inside the data and a walk over linked pages reads each page once, so
// the work is bounded by the data's size.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vexa::aids {

// The outcome of building a keyword index; the numbers are the ones the index builder reports.
enum class HelpIndexStatus : uint8_t {
    Done = 0,
    CannotOpen = 1,
    CannotWrite = 2,
    UnknownFormat = 3,
    NoKeywords = 4,
    DirectoryError = 5,
};

inline constexpr uint32_t kHelpFileMagic = 0x00035F3F;
// Sizes of the fixed parts of the format.
inline constexpr std::size_t kHelpHeaderSize = 16;
inline constexpr std::size_t kInternalHeaderSize = 9;
inline constexpr std::size_t kTreeHeaderSize = 38;
inline constexpr std::size_t kLeafHeaderSize = 8;
inline constexpr std::size_t kDirectoryPageSize = 1024;
// Internal file names longer than this are taken as a damaged directory.
inline constexpr std::size_t kMaxInternalName = 50;
// The longest title of an old-style system header.
inline constexpr std::size_t kMaxOldTitle = 32;

struct HelpFileContents {
    HelpIndexStatus status = HelpIndexStatus::UnknownFormat;
    std::string title;
    // Every non-empty keyword, in tree order.
    std::vector<std::string> keywords;
};

// Reads a whole help file held in memory.
[[nodiscard]] HelpFileContents readHelpFile(std::span<const uint8_t> bytes);

} // namespace vexa::aids
