// Finding a file through the base directory, the current directory and the search paths.
#include "toolchain/FileLocator.h"

#include "toolchain/IncludeDirectories.h"
#include "toolchain/PathParts.h"
#include "platform/Environment.h"
#include "platform/Files.h"

namespace vexa::toolchain {
namespace {

bool exists(const std::string& path) {
    return !path.empty() && platform::canAccess(path, platform::Access::Exists) &&
           !platform::isDirectory(path);
}

std::optional<std::string> fullIfExists(std::string_view path) {
    auto full = platform::fullPath(path);
    if (full && exists(*full)) {
        return full;
    }
    return std::nullopt;
}

// The first directory of a list (separated by ';' or ':') that holds the name.
std::optional<std::string> searchAlong(std::string_view list, const std::string& name) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find_first_of(";:", start);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        std::string directory = withPosixSeparators(list.substr(start, end - start));
        start = end + 1;
        if (directory.empty()) {
            continue;
        }
        if (directory.back() != '/') {
            directory.push_back('/');
        }
        if (auto found = fullIfExists(directory + name)) {
            return found;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> locateFile(std::string_view name, std::string_view baseDirectory,
                                      const LocateSettings& settings) {
    const std::string posix = withPosixSeparators(name);
    if (posix.empty()) {
        return std::nullopt;
    }
    const PathParts parts = splitPath(posix);
    if (posix.front() == '/') {
        // A fully qualified name is never looked for elsewhere.
        return fullIfExists(posix);
    }
    if (!baseDirectory.empty()) {
        std::string base = withPosixSeparators(baseDirectory);
        if (base.back() != '/') {
            base.push_back('/');
        }
        if (auto found = fullIfExists(base + posix)) {
            return found;
        }
    }
    if (posix.find('/') != std::string::npos) {
        if (auto found = fullIfExists(posix)) {
            return found;
        }
    }
    if (auto directory = platform::currentDirectory()) {
        std::string path = *directory;
        if (path.empty() || path.back() != '/') {
            path.push_back('/');
        }
        if (auto found = fullIfExists(path + parts.fileName())) {
            return found;
        }
    }
    if (auto found = fullIfExists(posix)) {
        return found;
    }
    if (!settings.searchPath.empty()) {
        // The search path is also given to the programs the editor starts.
        (void)platform::setEnvironmentVariable("vPath", settings.searchPath);
        if (auto found = searchAlong(settings.searchPath, posix)) {
            return found;
        }
    } else if (settings.compilerIncludes != nullptr) {
        if (auto found = searchAlong(settings.compilerIncludes->searchPath(), posix)) {
            return found;
        }
    }
    if (settings.searchInclude) {
        if (auto include = platform::environmentVariable("INCLUDE")) {
            if (auto found = searchAlong(*include, posix)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

} // namespace vexa::toolchain
