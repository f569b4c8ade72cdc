// What one start of the editor leaves for the next.
#include "session/StartupHistory.h"

#include <charconv>

#include "platform/Files.h"
#include "settings/SettingsFile.h"

namespace vexa {
namespace {

// A path value may be as long as the system allows; the startup entry adds its line number.
constexpr std::size_t kPathSize = platform::kPathLimit;

std::string slotKey(std::string_view stem, int slot) {
    return std::string(stem) + std::to_string(slot);
}

} // namespace

HandOff parseStartupEntry(std::string_view value) {
    const std::size_t space = value.rfind(' ');
    if (space == std::string_view::npos) {
        return HandOff{std::string(value), 0};
    }
    const std::string_view number = value.substr(space + 1);
    unsigned line = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), line);
    if (number.empty() || error != std::errc{} || end != number.data() + number.size()) {
        return HandOff{std::string(value), 0};
    }
    return HandOff{std::string(value.substr(0, space)), line > 0x7fffffffu ? 0 : static_cast<int>(line)};
}

std::vector<HandOff> StartupHistory::takeStartupFiles() {
    std::vector<HandOff> files;
    for (int slot = 1; slot >= 0; --slot) {
        const std::string key = slotKey("StartupFile:", slot);
        const std::string value = m_settings.getString(kHistorySection, key, "", kPathSize + 24);
        if (!value.empty()) {
            files.push_back(parseStartupEntry(value));
        }
        (void)m_settings.putString(kHistorySection, key, "");
        m_startupPaths[static_cast<std::size_t>(slot)].clear();
    }
    return files;
}

bool StartupHistory::recordStartupFile(const std::string& path, int line) {
    int slot = m_startupIndex;
    if (path == m_startupPaths[0]) {
        slot = 0;
    } else if (path == m_startupPaths[1]) {
        slot = 1;
    } else {
        m_startupPaths[static_cast<std::size_t>(slot)] = path;
    }
    const std::string value = path + " " + std::to_string(static_cast<unsigned>(line + 1));
    const bool written = m_settings.putString(kHistorySection, slotKey("StartupFile:", slot), value);
    m_startupIndex = (m_startupIndex + 1) % 2;
    return written;
}

void StartupHistory::loadRecentFiles() {
    int inserted = 0;
    for (int slot = 0; slot < 2; ++slot) {
        auto& path = m_menuPaths[static_cast<std::size_t>(slot)];
        path = m_settings.getString(kHistorySection, slotKey("MenuFile:", slot), "", kPathSize);
        if (!path.empty()) {
            ++inserted;
        }
    }
    const int index = m_settings.getInteger(kHistorySection, "MenuIndex", 0);
    m_menuIndex = inserted == 0 || index < 0 || index > 1 ? 0 : index;
}

std::vector<std::pair<uint32_t, std::string>> StartupHistory::recentFiles() const {
    std::vector<std::pair<uint32_t, std::string>> items;
    for (uint32_t slot = 0; slot < 2; ++slot) {
        if (!m_menuPaths[slot].empty()) {
            items.emplace_back(kFirstRecentFileId + slot, m_menuPaths[slot]);
        }
    }
    return items;
}

std::string StartupHistory::recentFile(uint32_t commandId) const {
    if (commandId < kFirstRecentFileId || commandId > kFirstRecentFileId + 1) {
        return {};
    }
    return m_menuPaths[commandId - kFirstRecentFileId];
}

void StartupHistory::addRecentFile(const std::string& path) {
    if (path.empty() || path == m_menuPaths[0] || path == m_menuPaths[1]) {
        return;
    }
    m_menuPaths[static_cast<std::size_t>(m_menuIndex)] = path;
    m_menuIndex = (m_menuIndex + 1) % 2;
}

bool StartupHistory::saveRecentFiles() {
    int used = 0;
    for (const auto& path : m_menuPaths) {
        used += path.empty() ? 0 : 1;
    }
    const int index = m_menuIndex > used ? used : m_menuIndex;
    return m_settings.update([&](SettingsText& text) {
        return text.putString(kHistorySection, "MenuFile:0", m_menuPaths[0]) &&
               text.putString(kHistorySection, "MenuFile:1", m_menuPaths[1]) &&
               text.putInteger(kHistorySection, "MenuIndex", index);
    });
}

FramePlacement StartupHistory::readFramePlacement(bool restoreSize, int givenState) const {
    FramePlacement placement;
    placement.x = m_settings.getInteger(kFrameSizeSection, "x", 0);
    placement.y = m_settings.getInteger(kFrameSizeSection, "y", 0);
    placement.cx = m_settings.getInteger(kFrameSizeSection, "cx", 0);
    placement.cy = m_settings.getInteger(kFrameSizeSection, "cy", 0);
    placement.state = restoreSize ? m_settings.getInteger(kFrameSizeSection, "state", 1) : givenState;
    if (!placement.hasRectangle()) {
        placement = FramePlacement{};
    }
    return placement;
}

bool StartupHistory::writeFramePlacement(const FramePlacement& placement) {
    return m_settings.update([&](SettingsText& text) {
        return text.putInteger(kFrameSizeSection, "x", placement.x) &&
               text.putInteger(kFrameSizeSection, "y", placement.y) &&
               text.putInteger(kFrameSizeSection, "cx", placement.cx) &&
               text.putInteger(kFrameSizeSection, "cy", placement.cy) &&
               text.putInteger(kFrameSizeSection, "state", placement.state);
    });
}

} // namespace vexa
