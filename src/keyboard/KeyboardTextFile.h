// Reading the keyboard's small text files (the prefix-key file, keymap import files) whole.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vexa {

// No text file of the keyboard needs more: an export of 28 full tables stays well below it.
inline constexpr std::size_t kMaxKeyboardTextFile = 4 * 1024 * 1024;

// The first `limit` bytes of a regular file; nothing when the path names no regular file or it
// cannot be read. Devices and directories are refused, so a chosen name can never make the
// reader wait or read without end.
std::optional<std::string> readKeyboardTextFile(const std::string& path,
                                                std::size_t limit = kMaxKeyboardTextFile);

} // namespace vexa
