// Keymap files: their names, the binary layout of versions 1.00 and 1.01, loading and saving.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "keyboard/Keymap.h"

namespace vexa {

inline constexpr std::string_view kKeymapFileExtension = ".BND";

// Offsets of the body after the 140-byte header.
inline constexpr std::size_t kKeymapShiftFlagOffset = 140;
inline constexpr std::size_t kKeymapKeyPressFlagOffset = 142; // version 1.01 and later
inline constexpr std::size_t kKeymapCutCopyFlagOffset = 144;  // version 1.01 and later
inline constexpr std::size_t kKeymapTableCountOffset = 146;   // 142 in version 1.00
inline constexpr std::size_t kKeymapTablesOffset = 148;

// The file base name of a keymap: the name cut at its first full stop, in lower case with the
// first character in upper case ("my.keys" becomes "My"). Nothing for the default keymap, for a
// name that leaves nothing, and for a name holding a '/' or a NUL, which would reach outside the
// configuration directory.
std::optional<std::string> keymapFileBaseName(std::string_view name);

// The name a keymap list shows for a file base name: lower case with the first letter in upper case.
std::string keymapListName(std::string_view baseName);

// The configuration directory (ending in '/'), the base name and ".BND".
std::optional<std::string> keymapFilePath(const std::string& configDirectory, std::string_view name);

// The body in the current layout: three flags, the table count, the tables.
std::string encodeKeymapBody(const Keymap& keymap);

// Reads a body into an empty keymap, the two later flags only when the layout has them. At most
// 28 tables and 500 bindings per table are kept (a longer table's extra bindings are skipped, so
// the next table is still read from its place); a short body keeps what was complete.
void decodeKeymapBody(std::span<const char> body, bool hasLaterFlags, Keymap& keymap);

enum class KeymapFileStatus : uint8_t { Ok, OpenFailed, UnknownFormat, TooNew, CreateFailed };

// Loads a keymap file; the keymap is valid afterwards only when the status is Ok.
KeymapFileStatus loadKeymapFile(const std::string& path, Keymap& keymap);

// Replaces the file with the keymap in the current version.
KeymapFileStatus saveKeymapFile(const std::string& path, const Keymap& keymap);

} // namespace vexa
