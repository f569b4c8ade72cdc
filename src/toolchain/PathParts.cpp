// Splitting a path into its parts, with the directory normalised by text alone.
#include "toolchain/PathParts.h"

#include <vector>

namespace vexa::toolchain {
namespace {

std::string normaliseDirectory(std::string_view directory) {
    if (directory.empty()) {
        return {};
    }
    const bool absolute = directory.front() == '/';
    std::vector<std::string_view> kept;
    std::size_t start = 0;
    while (start < directory.size()) {
        std::size_t slash = directory.find('/', start);
        if (slash == std::string_view::npos) {
            slash = directory.size();
        }
        std::string_view component = directory.substr(start, slash - start);
        start = slash + 1;
        if (component.empty() || component == ".") {
            continue;
        }
        if (component == ".." && !kept.empty() && kept.back() != "..") {
            kept.pop_back();
            continue;
        }
        if (component == ".." && absolute) {
            continue; // the root has no parent
        }
        kept.push_back(component);
    }
    std::string result = absolute ? "/" : "";
    for (std::string_view component : kept) {
        result.append(component);
        result.push_back('/');
    }
    return result;
}

} // namespace

std::string withPosixSeparators(std::string_view path) {
    std::string result(path);
    for (char& ch : result) {
        if (ch == '\\') {
            ch = '/';
        }
    }
    return result;
}

PathParts splitPath(std::string_view path) {
    const std::string posix = withPosixSeparators(path);
    const std::size_t slash = posix.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    PathParts parts;
    parts.directory = normaliseDirectory(std::string_view(posix).substr(0, nameStart));
    const std::string_view name = std::string_view(posix).substr(nameStart);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        parts.base = std::string(name);
    } else {
        parts.base = std::string(name.substr(0, dot));
        parts.extension = std::string(name.substr(dot));
    }
    return parts;
}

} // namespace vexa::toolchain
