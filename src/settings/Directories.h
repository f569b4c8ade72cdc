// The Vexa home directory and its sub-directories, each known by a selector value.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vexa {

// The selector values of the directory query; each is a bit of its own.
enum class DirectoryKind : uint32_t {
    Help = 1,
    Home = 2,
    Backup = 4,
    Config = 8,
    Macros = 16,
    Example = 32,
    Spell = 64,
    Script = 128,
};

inline constexpr std::string_view kSettingsFileName = "vexa.INI";

inline constexpr const char* kNoHomeMessage =
    "Vexa can not find a home directory for its settings. Set VEXA_HOME (or HOME) to a directory "
    "and start Vexa again.";

// What every sub-directory becomes when the home path is too long to hold the editor's file
// names: a path that names no usable directory, so later writes fail instead of landing in a
// truncated path.
inline constexpr std::string_view kOopsDirectory = "/??Oops/";

// The longest sub-directory and file name the editor appends to the home path, and the path
// length the original fixed buffers allowed.
inline constexpr size_t kHomePathReserve = 22;
inline constexpr size_t kMaxPathLength = 255;

// Looks an environment variable up; nothing when it is unset.
using EnvironmentLookup = std::function<const char*(const char*)>;

class Directories {
public:
    // The home path; a final '/' is added when it lacks one.
    explicit Directories(std::string home);

    // $VEXA_HOME when set and not empty, otherwise ${XDG_DATA_HOME:-$HOME/.local/share}/vexa,
    // made absolute against the current directory at the time of the call, so a later change
    // of directory never moves the settings file. Empty when none of these variables helps.
    static std::string resolveHome(const EnvironmentLookup& lookup);
    static std::string resolveHome();

    const std::string& home() const { return m_home; }

    // The full path of one directory, ending with '/'. Every sub-directory is kOopsDirectory
    // when the home path is too long; a value that is no selector gives an empty path.
    std::string path(DirectoryKind kind) const;

    // The sub-directory name of a selector ("vConfig"), empty for the home and unknown values.
    static std::string_view subdirectoryName(DirectoryKind kind);

    // True when home length + kHomePathReserve reaches kMaxPathLength.
    bool isTooLong() const;

    std::string settingsFilePath() const { return m_home + std::string(kSettingsFileName); }

    // Creates the home (with its parents) and each missing sub-directory, one level each.
    // Nothing is built when the home path is too long. False when a directory could not be
    // made.
    [[nodiscard]] bool create() const;

private:
    std::string m_home;
};

} // namespace vexa
