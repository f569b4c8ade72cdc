// The C compiler's own include directories, where Open Include and the output windows look for a
// file that an #include names.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/RunFolder.h"

namespace vexa::platform {
class ProcessLauncher;
}

namespace vexa::toolchain {

// What is searched when the compiler cannot be asked or names no directory.
inline constexpr std::string_view kFallbackIncludePath = "/usr/local/include:/usr/include";
// How much of the compiler's answer is read, and how many directories are kept of it.
inline constexpr std::size_t kIncludeAnswerLimit = 256 * 1024;
inline constexpr std::size_t kIncludeDirectoryLimit = 256;

// The directories of the list a compiler prints for -v between the lines
// "#include <...> search starts here:" and "End of search list.", in order: each without its
// leading blanks and without a trailing " (framework directory)". A name that is not absolute, or
// holds ':' or ';' (which separate the directories of a search path), is left out. Reads at most
// kIncludeAnswerLimit bytes and keeps at most kIncludeDirectoryLimit directories.
std::vector<std::string> parseIncludeSearchList(std::string_view output);

// The compiler's include directories as a search path (directories separated by ':'), asked of the
// compiler once: `$CC -E -v -x c /dev/null` (cc when CC is not set), started from an argument
// vector with /dev/null as its input and given a few seconds. kFallbackIncludePath when there is no
// launcher, the compiler cannot be started or names no directory.
class CompilerIncludePath {
public:
    CompilerIncludePath(platform::ProcessLauncher* launcher, std::string homeDirectory);

    const std::string& searchPath();

private:
    std::vector<std::string> ask();

    platform::ProcessLauncher* m_launcher;
    RunFolder m_folder;
    std::optional<std::string> m_searchPath;
};

} // namespace vexa::toolchain
