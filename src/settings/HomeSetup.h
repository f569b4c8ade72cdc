// Preparing the Vexa home at start: its directories and the first-run copy of the shipped files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "settings/Directories.h"

namespace vexa {

// Where the shipped files (templates, syntax profiles, the tools list, scripts, the dictionary)
// are looked for, in this order: the directory $VEXA_SHARE names, <prefix>/share/vexa beside the
// program's bin/ directory, then the build tree's data recorded when the build was configured
// (the source tree's share/ and what the build made, such as the dictionary).
struct ShareSearch {
    std::string environment; // $VEXA_SHARE, empty when unset
    std::filesystem::path programFile;
    std::vector<std::filesystem::path> buildTree;
};

// The name of the environment variable that points at the shipped files.
inline constexpr const char* kShareVariable = "VEXA_SHARE";

// The directories the home is seeded from: those of the first place in the search order that
// holds the shipped files (a vConfig/ directory; the build tree's further directories are taken
// with the first when they exist). Empty when no place holds them.
std::vector<std::filesystem::path> locateShareDirectories(const ShareSearch& search);

// Says that a first start found no shipped files and so left the home without them.
std::string noShareMessage(const std::string& home);

// The path of the running program, empty when the system does not say.
std::filesystem::path currentProgramFile();

struct SeedResult {
    size_t copied = 0;
    size_t failed = 0;
};

// Copies every regular file under the home's sub-directories in shareDirectory (vConfig/,
// vSpell/, ...) that the home lacks to the same relative path in the home, making the
// directories on the way. Files already in the home are never touched; anything else in
// shareDirectory (the desktop entry, icons) is left alone.
SeedResult seedHome(const std::filesystem::path& shareDirectory, const std::string& home);

enum class HomeStart : uint8_t { Ready, FirstRun, FirstRunWithoutShare, DirectoriesMissing, NoHome };

// Builds the home's directories and, on the first run (no settings file yet), seeds it from
// the share directories; FirstRunWithoutShare when there are none (noShareMessage says so).
// A later run copies only the files of filesEveryHomeNeeds (paths relative to the home, such as
// "vConfig/COMMON.ZXP") that the home lacks: files the editor needs that a home made by an
// earlier version never got. A file the home has, the user's own, is never touched.
// DirectoriesMissing when the home could not be made complete (a path too long, a file in the
// way, no permission); NoHome when there is no home at all (the environment names none), in which
// case nothing is made: the settings would otherwise land in whatever the current directory is
// (kNoHomeMessage says so to the user).
HomeStart prepareHome(const Directories& directories,
                      const std::vector<std::filesystem::path>& shareDirectories,
                      std::span<const std::filesystem::path> filesEveryHomeNeeds = {});

} // namespace vexa
