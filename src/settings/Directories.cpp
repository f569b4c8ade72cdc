// Resolving the home directory and naming and creating its sub-directories.
#include "settings/Directories.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/Files.h"

namespace vexa {
namespace {

struct Subdirectory {
    DirectoryKind kind;
    std::string_view name;
};

constexpr std::array<Subdirectory, 7> kSubdirectories{{
    {DirectoryKind::Help, "vHelp"},
    {DirectoryKind::Backup, "vbackup"},
    {DirectoryKind::Config, "vConfig"},
    {DirectoryKind::Macros, "vMacros"},
    {DirectoryKind::Example, "vExample"},
    {DirectoryKind::Spell, "vSpell"},
    {DirectoryKind::Script, "vScript"},
}};

std::string withSlash(std::string path) {
    if (!path.empty() && path.back() != '/') {
        path.push_back('/');
    }
    return path;
}

bool isSet(const char* value) {
    return value != nullptr && *value != '\0';
}

} // namespace

Directories::Directories(std::string home) : m_home(withSlash(std::move(home))) {}

namespace {

// The environment's choice of home, as written there.
std::string homeFromEnvironment(const EnvironmentLookup& lookup) {
    if (const char* home = lookup("VEXA_HOME"); isSet(home)) {
        return withSlash(home);
    }
    if (const char* data = lookup("XDG_DATA_HOME"); isSet(data)) {
        return withSlash(data) + "vexa/";
    }
    if (const char* user = lookup("HOME"); isSet(user)) {
        return withSlash(user) + ".local/share/vexa/";
    }
    return {};
}

} // namespace

std::string Directories::resolveHome(const EnvironmentLookup& lookup) {
    const std::string home = homeFromEnvironment(lookup);
    if (home.empty()) {
        return {};
    }
    // A relative home would follow the current directory, which the editor changes.
    const std::optional<std::string> absolute = platform::fullPath(home);
    return absolute ? withSlash(*absolute) : std::string();
}

std::string Directories::resolveHome() {
    return resolveHome([](const char* name) { return static_cast<const char*>(std::getenv(name)); });
}

std::string_view Directories::subdirectoryName(DirectoryKind kind) {
    for (const auto& sub : kSubdirectories) {
        if (sub.kind == kind) {
            return sub.name;
        }
    }
    return {};
}

bool Directories::isTooLong() const {
    return m_home.size() + kHomePathReserve >= kMaxPathLength;
}

std::string Directories::path(DirectoryKind kind) const {
    if (kind == DirectoryKind::Home) {
        return m_home;
    }
    std::string_view name = subdirectoryName(kind);
    if (name.empty()) {
        return {};
    }
    if (isTooLong()) {
        return std::string(kOopsDirectory);
    }
    return m_home + std::string(name) + "/";
}

bool Directories::create() const {
    if (isTooLong() || m_home.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(m_home, error);
    if (!std::filesystem::is_directory(m_home)) {
        return false;
    }
    bool ok = true;
    for (const auto& sub : kSubdirectories) {
        std::string directory = m_home + std::string(sub.name);
        std::filesystem::create_directory(directory, error);
        ok = ok && std::filesystem::is_directory(directory);
    }
    return ok;
}

} // namespace vexa
