// Looking upward from the document's folder for something to build.
#include "toolchain/BuildPlace.h"

#include <functional>

#include "platform/Files.h"

namespace vexa::toolchain {
namespace {

// The folder itself, then each folder above it up to the root; each ends in '/'.
std::vector<std::string> foldersUpward(std::string_view directory) {
    std::vector<std::string> folders;
    std::string folder(directory);
    while (!folder.empty() && folder.back() == '/' && folder.size() > 1) {
        folder.pop_back();
    }
    while (!folder.empty()) {
        folders.push_back(folder == "/" ? folder : folder + "/");
        if (folder == "/") {
            break;
        }
        const std::size_t slash = folder.rfind('/');
        if (slash == std::string::npos) {
            break;
        }
        folder = slash == 0 ? std::string("/") : folder.substr(0, slash);
    }
    return folders;
}

std::optional<BuildPlace>
firstUpward(std::string_view directory,
            const std::function<std::optional<BuildPlace>(const std::string&)>& at) {
    for (const std::string& folder : foldersUpward(directory)) {
        if (std::optional<BuildPlace> place = at(folder)) {
            return place;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<BuildPlace> nearestBuildPlace(std::string_view directory) {
    const auto makefileIn = [](const std::string& folder) -> std::optional<BuildPlace> {
        for (std::string_view name : kMakefileNames) {
            if (platform::isRegularFile(folder + std::string(name))) {
                return BuildPlace{folder, {"make", "-k"}, std::string(name)};
            }
        }
        return std::nullopt;
    };
    if (std::optional<BuildPlace> place = firstUpward(directory, makefileIn)) {
        return place;
    }
    const auto buildFolderIn = [](const std::string& folder) -> std::optional<BuildPlace> {
        const std::string build = folder + std::string(kCMakeBuildFolder) + "/";
        if (platform::isRegularFile(build + "CMakeCache.txt") &&
            (platform::isRegularFile(build + "build.ninja") || platform::isRegularFile(build + "Makefile"))) {
            return BuildPlace{build, {"cmake", "--build", "."}, std::string(kCMakeBuildFolder)};
        }
        return std::nullopt;
    };
    return firstUpward(directory, buildFolderIn);
}

} // namespace vexa::toolchain
