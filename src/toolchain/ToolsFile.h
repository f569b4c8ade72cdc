// The tools list and its information file "VexaTool.INF".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/ToolRecord.h"

namespace vexa::toolchain {

inline constexpr std::string_view kToolsFileName = "VexaTool.INF";
// One tools-menu slot per tool.
inline constexpr std::size_t kMaxTools = 15;
// Field widths of a tool record on disk.
inline constexpr std::size_t kToolPathWidth = 256;
inline constexpr std::size_t kToolMenuTextWidth = 41;
// A record's size in the three versions of the file.
inline constexpr std::size_t kToolRecordSize0100 = 817;
inline constexpr std::size_t kToolRecordSize0101 = 819;
inline constexpr std::size_t kToolRecordSize0102 = 821;

// What reading the tools file gave: the tools, or why there are none.
struct ToolsRead {
    enum class Status : uint8_t { Ok, Missing, OpenFailed, UnknownFormat };
    Status status = Status::Ok;
    std::vector<ToolRecord> tools;
};

// The tools a file's bytes hold. The version decides the record layout: 01.00 lacks the
// save-before-running and capture-errors fields, 01.01 the save-before-running field; those read
// as off. A file of another type, of a version newer than this program writes, or whose records
// are cut short is of an unknown format. A negative count means no tools; more than fifteen
// are cut to fifteen.
ToolsRead decodeToolsFile(std::string_view bytes);
// The bytes of a tools file in the current (01.02) layout.
std::string encodeToolsFile(const std::vector<ToolRecord>& tools);

// Reads the file; a file that does not exist gives an empty list.
ToolsRead loadToolsFile(const std::string& path);
// Replaces the file atomically; false when it could not be written (the old file then stays).
[[nodiscard]] bool saveToolsFile(const std::string& path, const std::vector<ToolRecord>& tools);

// The message for a refused file, with its name; empty for Ok and Missing.
std::string toolsReadMessage(ToolsRead::Status status, const std::string& name);

// The tools a new home starts with, each working in the active document's directory and captured
// into Standard Output: search for the word at the cursor, the document's changes under version
// control and make.
std::vector<ToolRecord> defaultTools();

// A new tool: DOS program, run hidden, capturing standard output, in the given directory.
ToolRecord newToolRecord(std::string workingDirectory);
// The text the tools list shows: the program's file name (after the last '\' or '/') and the
// arguments.
std::string toolDisplayText(const ToolRecord& tool);

// What the Find button reads from a program file's first bytes.
enum class ProgramKind : uint8_t { Dos, Windows, Unknown };
// "MZ" with a relocation offset below 64 is a DOS program; at 64 or more the new header it points
// to decides ("NE": Windows). Without "MZ": a BAT or COM extension is a DOS program; on POSIX an
// executable ELF file or a "#!" script is a program that runs directly (Windows). The header
// bytes are as many as were read from the file's start.
ProgramKind programKindOf(std::string_view header, std::string_view fileName, bool executable);
// The same for a file on disk.
ProgramKind programKindOfFile(const std::string& path);

} // namespace vexa::toolchain
