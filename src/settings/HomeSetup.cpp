// Home preparation: share directory lookup and the copy of missing shipped files.
#include "settings/HomeSetup.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/AtomicFile.h"

namespace vexa {
namespace fs = std::filesystem;

namespace {

bool isDirectory(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool readWhole(const fs::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream out;
    out << in.rdbuf();
    bytes = out.str();
    return !in.bad();
}

bool isHomeSubdirectory(std::string_view name) {
    for (DirectoryKind kind :
         {DirectoryKind::Help, DirectoryKind::Backup, DirectoryKind::Config, DirectoryKind::Macros,
          DirectoryKind::Example, DirectoryKind::Spell, DirectoryKind::Script}) {
        if (name == Directories::subdirectoryName(kind)) {
            return true;
        }
    }
    return false;
}

enum class CopyResult : uint8_t { Kept, Copied, Failed };

// Copies a shipped file to the home unless the home has something at its place: a file the user
// already has, or even a broken link in its place, is the user's own.
CopyResult copyUnlessPresent(const fs::path& source, const fs::path& target) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(target, error))) {
        return CopyResult::Kept;
    }
    std::string bytes;
    fs::create_directories(target.parent_path(), error);
    if (readWhole(source, bytes) && platform::writeFileAtomically(target.string(), bytes)) {
        return CopyResult::Copied;
    }
    return CopyResult::Failed;
}

} // namespace

std::vector<fs::path> locateShareDirectories(const ShareSearch& search) {
    const auto holdsShippedFiles = [](const fs::path& directory) {
        return !directory.empty() &&
               isDirectory(directory / Directories::subdirectoryName(DirectoryKind::Config));
    };
    if (!search.environment.empty() && holdsShippedFiles(search.environment)) {
        return {fs::path(search.environment)};
    }
    if (!search.programFile.empty()) {
        const fs::path programDirectory = search.programFile.parent_path();
        const fs::path installed = programDirectory.parent_path() / "share" / "vexa";
        if (programDirectory.filename() == "bin" && holdsShippedFiles(installed)) {
            return {installed};
        }
    }
    if (search.buildTree.empty() || !holdsShippedFiles(search.buildTree.front())) {
        return {};
    }
    std::vector<fs::path> found;
    for (const fs::path& directory : search.buildTree) {
        if (isDirectory(directory)) {
            found.push_back(directory);
        }
    }
    return found;
}

std::string noShareMessage(const std::string& home) {
    return "The shipped files of Vexa (templates, syntax profiles, tools, scripts, the dictionary) "
           "were not found, so the home '" +
           home +
           "' starts without them. Install Vexa, or set VEXA_SHARE to the directory that holds "
           "vConfig/.";
}

fs::path currentProgramFile() {
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program;
}

SeedResult seedHome(const fs::path& shareDirectory, const std::string& home) {
    SeedResult result;
    if (shareDirectory.empty() || !isDirectory(shareDirectory)) {
        return result;
    }
    std::error_code walkError;
    fs::recursive_directory_iterator it(shareDirectory, fs::directory_options::skip_permission_denied,
                                        walkError);
    for (; !walkError && it != fs::recursive_directory_iterator(); it.increment(walkError)) {
        std::error_code error;
        if (!it->is_regular_file(error)) {
            continue;
        }
        fs::path relative = it->path().lexically_relative(shareDirectory);
        // The share directory also holds what the desktop needs (the menu entry, the icon);
        // only the home's own sub-directories are seeded.
        if (!isHomeSubdirectory(relative.begin()->string())) {
            continue;
        }
        switch (copyUnlessPresent(it->path(), fs::path(home) / relative)) {
        case CopyResult::Kept:
            break;
        case CopyResult::Copied:
            ++result.copied;
            break;
        case CopyResult::Failed:
            ++result.failed;
            break;
        }
    }
    if (walkError) {
        ++result.failed;
    }
    return result;
}

HomeStart prepareHome(const Directories& directories, const std::vector<fs::path>& shareDirectories,
                      std::span<const fs::path> filesEveryHomeNeeds) {
    if (directories.home().empty()) {
        return HomeStart::NoHome;
    }
    if (!directories.create()) {
        return HomeStart::DirectoriesMissing;
    }
    std::error_code error;
    if (fs::exists(directories.settingsFilePath(), error)) {
        for (const fs::path& relative : filesEveryHomeNeeds) {
            // The first share directory that holds the file gives it; one that cannot be copied
            // is missed as before, and whoever needs it says so.
            const auto holder =
                std::find_if(shareDirectories.begin(), shareDirectories.end(), [&](const fs::path& share) {
                    return fs::is_regular_file(share / relative, error);
                });
            if (holder != shareDirectories.end()) {
                (void)copyUnlessPresent(*holder / relative, fs::path(directories.home()) / relative);
            }
        }
        return HomeStart::Ready;
    }
    if (shareDirectories.empty()) {
        return HomeStart::FirstRunWithoutShare;
    }
    for (const fs::path& share : shareDirectories) {
        seedHome(share, directories.home());
    }
    return HomeStart::FirstRun;
}

} // namespace vexa
