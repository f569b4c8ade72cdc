// The keyboard-macro file (the events after the information-file header, 8 bytes each) and the
// list of macro files installed in the Macros menu ("VexaMac.INF").
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/MacroRecorder.h"
#include "settings/InfoFile.h"

namespace vexa {

inline constexpr size_t kMacroEventSize = 8;
inline constexpr std::string_view kMacroMenuFileName = "VexaMac.INF";
inline constexpr size_t kMacroMenuMaxEntries = 15;
inline constexpr size_t kMacroMenuNameWidth = 41;
inline constexpr size_t kMacroMenuPathWidth = 256;
inline constexpr size_t kMacroMenuRecordSize = kMacroMenuNameWidth + kMacroMenuPathWidth;

// The events of the bytes after the header; a cut last event is dropped.
MacroEvents decodeMacroEvents(std::span<const char> bytes);
std::string encodeMacroEvents(const MacroEvents& events);

struct MacroFileRead {
    InfoStatus status = InfoStatus::OpenFailed;
    MacroEvents events;
};
// Reads a macro file: the events when it opened and is a keyboard-macro file.
MacroFileRead readMacroFile(const std::string& path);
// Writes header and events; the old file stays whole when anything fails.
[[nodiscard]] bool writeMacroFile(const std::string& path, const MacroEvents& events);

// One item of the Macros menu: its name and the macro file it runs.
struct MacroMenuEntry {
    std::string name;
    std::string path;
    friend bool operator==(const MacroMenuEntry&, const MacroMenuEntry&) = default;
};

// The records of the list file's bytes after the header, at most 15; records of a newer file
// version are taken as empty, and empty records are dropped.
std::vector<MacroMenuEntry> decodeMacroMenu(std::span<const char> records, bool newerVersion);
// Reads the list from the configuration directory; an absent or foreign file gives no entries.
std::vector<MacroMenuEntry> readMacroMenu(const std::string& configDirectory);
[[nodiscard]] bool writeMacroMenu(const std::string& configDirectory,
                                  const std::vector<MacroMenuEntry>& entries);

// The key number shown for the menu entry at the index: Shift+F1 to F4, then F7 upward.
int macroMenuKeyNumber(size_t index);
// The menu item's text: the name, a tab and the default key text.
std::string macroMenuItemText(size_t index, const std::string& name);

} // namespace vexa
