// Where a make without a project runs: the nearest makefile at or above the document's folder,
// else a CMake build folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::toolchain {

// The names make reads, in the order it looks for them.
inline constexpr std::string_view kMakefileNames[] = {"GNUmakefile", "makefile", "Makefile"};
// The folder a CMake project builds in, beside its sources.
inline constexpr std::string_view kCMakeBuildFolder = "build";

struct BuildPlace {
    std::string directory;            // where the command runs; ends in '/'
    std::vector<std::string> command; // the argument vector
    std::string makefile;             // the makefile's name, or the build folder's
};

// The nearest folder at or above `directory` (a full path) holding a makefile: `make -k` there.
// With none, the nearest `build/` folder at or above it that CMake generated (it holds
// build.ninja or a Makefile): `cmake --build .` in it. Nothing when there is neither.
std::optional<BuildPlace> nearestBuildPlace(std::string_view directory);

} // namespace vexa::toolchain
