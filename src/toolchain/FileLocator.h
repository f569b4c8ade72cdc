// Finding a file named in a command line, an error line or a script on disk.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vexa::toolchain {

class CompilerIncludePath;

// The settings the search uses: "DefaultSearchPath" and "SearchInclude", and the compiler's include
// directories that stand in for an empty search path (asked only when a search reaches them).
struct LocateSettings {
    std::string searchPath;
    bool searchInclude = true;
    CompilerIncludePath* compilerIncludes = nullptr;
};

// The path of an existing file for a name (a '\' read as '/'); nothing when no step finds one. The
// steps, first existing file wins: an absolute name is taken as it is or not at all; the name in
// the base directory (when one is given); a name with a directory part against the current
// directory; the name's file name in the current directory; the name as given; then, for names
// that do not start with a separator, along the search path (put into the variable "vPath"), or
// the compiler's include directories when it is empty, and, when enabled, along the INCLUDE
// variable. Search paths take ';' or ':' between directories.
std::optional<std::string> locateFile(std::string_view name, std::string_view baseDirectory,
                                      const LocateSettings& settings);

} // namespace vexa::toolchain
