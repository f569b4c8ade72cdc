// Splitting a path into drive, directory, base name and extension, with the directory normalised.
#pragma once

#include <string>
#include <string_view>

namespace vexa::toolchain {

// The parts of a path. On POSIX the drive is always empty; the directory keeps its leading and
// trailing '/' ("/src/" for "/src/main.c", "" for "main.c"), the extension its dot.
struct PathParts {
    std::string drive;
    std::string directory;
    std::string base;
    std::string extension;

    // Drive, directory, base name and extension joined.
    std::string fullName() const { return drive + directory + base + extension; }
    // Base name and extension: the name without its directory.
    std::string fileName() const { return base + extension; }
    // Drive and directory: where the file lies.
    std::string location() const { return drive + directory; }
};

// Names written with the desktop's separator are read with the POSIX one: every '\' becomes '/'.
std::string withPosixSeparators(std::string_view path);

// Splits a path (a '\' read as '/'). In the directory every "." component is dropped and every ".."
// component is dropped together with the component before it; a ".." with nothing before it to
// drop stays, so a relative path never climbs out of its start by accident.
PathParts splitPath(std::string_view path);

} // namespace vexa::toolchain
