// Preparing the Vexa home at start: its directories and the first-run copy of the shipped files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "settings/Directories.h"

namespace vexa {

// The installation's shared files for a program file: <prefix>/share/vexa beside the program's
// bin/ directory, or, for a program run from a build tree, the share/ of the source tree that
// holds the build (the nearest ancestor with share/ beside a CMakeLists.txt). Empty when neither
// is found.
std::filesystem::path locateShareDirectory(const std::filesystem::path& programFile);

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

enum class HomeStart : uint8_t { Ready, FirstRun, DirectoriesMissing, NoHome };

// Builds the home's directories and, on the first run (no settings file yet), seeds it from
// the share directory (when one is given). DirectoriesMissing when the home could not be made
// complete (a path too long, a file in the way, no permission); NoHome when there is no home
// at all (the environment names none), in which case nothing is made: the settings would
// otherwise land in whatever the current directory is (kNoHomeMessage says so to the user).
HomeStart prepareHome(const Directories& directories, const std::filesystem::path& shareDirectory);

} // namespace vexa
