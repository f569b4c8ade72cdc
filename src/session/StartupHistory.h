// What one start of the editor leaves for the next: the documents open at exit, the recent-file
// items of the File menu and the frame placement, all kept in the settings file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/FunctionTable.h"
#include "session/StartupCommandLine.h"

namespace vexa {

class SettingsFile;

inline constexpr std::string_view kHistorySection = "History";
inline constexpr std::string_view kFrameSizeSection = "Frame Size";
// The command identifiers of the two recent-file items, and the item they are placed before.
inline constexpr uint32_t kFirstRecentFileId = functionIdOf("FileReload1");
inline constexpr uint32_t kRecentFilesBeforeId = functionIdOf("FileExit");

// A "StartupFile:%d" value split into path and 1-based line. The line is the number after the
// last space, so a path holding spaces survives; a value without a trailing number is all path.
HandOff parseStartupEntry(std::string_view value);

// The frame rectangle (left, top, right, bottom) and show state (1 normal, 2 minimised,
// 3 maximised).
struct FramePlacement {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    int state = 1;

    // A rectangle with any zero field is not restored.
    bool hasRectangle() const { return x != 0 && y != 0 && cx != 0 && cy != 0; }
    friend bool operator==(const FramePlacement&, const FramePlacement&) = default;
};

class StartupHistory {
public:
    explicit StartupHistory(SettingsFile& settings) : m_settings(settings) {}

    // The documents remembered at the last exit, slot 1 first; each slot is emptied as it is read.
    std::vector<HandOff> takeStartupFiles();

    // A document closed as part of closing the application: its path and zero-based cursor line.
    // A path already remembered reuses its slot; otherwise the rotating slot takes it.
    bool recordStartupFile(const std::string& path, int line);

    // The recent-file items as the settings file holds them.
    void loadRecentFiles();
    // The non-empty recent-file paths with their command identifiers, in menu order.
    std::vector<std::pair<uint32_t, std::string>> recentFiles() const;
    // The path of one recent-file item; empty when it has none.
    std::string recentFile(uint32_t commandId) const;
    // A closed document enters the menu unless it is already there; the slot index turns.
    void addRecentFile(const std::string& path);
    bool saveRecentFiles();

    // The placement to restore: the stored state only when restoreSize is on, otherwise the given
    // one; a rectangle with a zero field gives the normal state without a rectangle.
    FramePlacement readFramePlacement(bool restoreSize, int givenState) const;
    bool writeFramePlacement(const FramePlacement& placement);

private:
    SettingsFile& m_settings;
    std::array<std::string, 2> m_startupPaths;
    int m_startupIndex = 0;
    std::array<std::string, 2> m_menuPaths;
    int m_menuIndex = 0;
};

} // namespace vexa
