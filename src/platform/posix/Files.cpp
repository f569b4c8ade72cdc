// The POSIX files port: lexical path resolution, wildcard directory scans, stat and access.
#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Environment.h"

namespace vexa::platform {
namespace {

void setError(std::string* errorText, int error) {
    if (errorText != nullptr) {
        *errorText = std::strerror(error);
    }
}

int64_t modifiedOf(const struct stat& info) {
    return static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

FileKind kindOf(const struct stat& info) {
    if (S_ISREG(info.st_mode)) {
        return FileKind::Regular;
    }
    if (S_ISDIR(info.st_mode)) {
        return FileKind::Directory;
    }
    return FileKind::Other;
}

bool matchesName(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") {
        return true;
    }
    if (!name.empty() && name.front() == '.' && pattern.front() != '.') {
        return false;
    }
    return matchesWildcard(pattern, name);
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

std::string fullPathFrom(std::string_view base, std::string_view path) {
    std::string joined;
    if (!path.empty() && path.front() == '/') {
        joined = path;
    } else {
        joined = base;
        joined += '/';
        joined += path;
    }
    std::vector<std::string_view> parts;
    std::string_view rest = joined;
    while (!rest.empty()) {
        auto slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            // Above the root is the root again, as the kernel resolves it.
            if (!parts.empty()) {
                parts.pop_back();
            }
            continue;
        }
        parts.push_back(part);
    }
    std::string result;
    for (std::string_view part : parts) {
        result += '/';
        result += part;
    }
    return result.empty() ? std::string("/") : result;
}

std::optional<std::string> fullPath(std::string_view path) {
    if (path.empty()) {
        return std::nullopt;
    }
    if (path.front() == '/') {
        return fullPathFrom("/", path);
    }
    auto current = currentDirectory();
    if (!current) {
        return std::nullopt;
    }
    return fullPathFrom(*current, path);
}

std::optional<std::string> canonicalPath(std::string_view path) {
    std::string copy(path);
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(copy.c_str(), nullptr), &std::free);
    if (!resolved) {
        return std::nullopt;
    }
    return std::string(resolved.get());
}

bool hasWildcard(std::string_view path) {
    return namePart(path).find_first_of("*?") != std::string_view::npos;
}

bool matchesWildcard(std::string_view pattern, std::string_view name) {
    // Greedy matching that, on a mismatch, lets the latest * swallow one more character:
    // linear in practice and never recursive.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::vector<FoundFile> findFiles(std::string_view pattern) {
    std::vector<FoundFile> found;
    std::string directory(directoryPart(pattern));
    std::string name(namePart(pattern));
    if (name.empty()) {
        return found;
    }
    std::string scanned = directory.empty() ? std::string(".") : directory;
    std::unique_ptr<DIR, DirCloser> dir(opendir(scanned.c_str()));
    if (!dir) {
        return found;
    }
    while (const dirent* entry = readdir(dir.get())) {
        if (!matchesName(name, entry->d_name)) {
            continue;
        }
        struct stat info {};
        std::string path = directory + entry->d_name;
        if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        found.push_back(FoundFile{entry->d_name, static_cast<uint64_t>(info.st_size), modifiedOf(info)});
    }
    std::sort(found.begin(), found.end(),
              [](const FoundFile& a, const FoundFile& b) { return a.name < b.name; });
    return found;
}

bool readDirectory(const std::string& path, std::vector<DirectoryEntry>& entries, std::string* errorText) {
    entries.clear();
    std::unique_ptr<DIR, DirCloser> dir(opendir(path.c_str()));
    if (!dir) {
        setError(errorText, errno);
        return false;
    }
    errno = 0;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        EntryKind kind = EntryKind::Other;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            // Some file systems leave the type out; lstat keeps links as links.
            struct stat info {};
            const std::string full = path + "/" + entry->d_name;
            if (lstat(full.c_str(), &info) == 0) {
                type = S_ISLNK(info.st_mode) ? DT_LNK : S_ISDIR(info.st_mode) ? DT_DIR
                                                    : S_ISREG(info.st_mode) ? DT_REG
                                                                            : DT_UNKNOWN;
            }
        }
        switch (type) {
        case DT_REG:
            kind = EntryKind::Regular;
            break;
        case DT_DIR:
            kind = EntryKind::Directory;
            break;
        case DT_LNK:
            kind = EntryKind::Link;
            break;
        default:
            break;
        }
        entries.push_back(DirectoryEntry{std::string(name), kind});
    }
    if (errno != 0) {
        setError(errorText, errno);
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string* errorText) {
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        setError(errorText, errno);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        setError(errorText, S_ISREG(info.st_mode) ? errno : EINVAL);
        close(fd);
        return false;
    }
    // The size is a hint: a file that grows or shrinks while it is read is read to its end.
    std::size_t capacity = static_cast<std::size_t>(info.st_size) + 1;
    std::size_t used = 0;
    for (;;) {
        if (bytes.size() < capacity) {
            bytes.resize(capacity);
        }
        const ssize_t got = read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            setError(errorText, errno);
            close(fd);
            bytes.clear();
            return false;
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
        if (used == bytes.size()) {
            capacity = bytes.size() * 2;
        }
    }
    close(fd);
    bytes.resize(used);
    return true;
}

bool canAccess(const std::string& path, Access access) {
    int mode = F_OK;
    switch (access) {
    case Access::Exists:
        mode = F_OK;
        break;
    case Access::Read:
        mode = R_OK;
        break;
    case Access::Write:
        mode = W_OK;
        break;
    case Access::ReadWrite:
        mode = R_OK | W_OK;
        break;
    case Access::Execute:
        mode = X_OK;
        break;
    }
    return !path.empty() && ::access(path.c_str(), mode) == 0;
}

std::optional<FileInfo> fileInfo(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileInfo{kindOf(info), static_cast<uint64_t>(info.st_size), modifiedOf(info)};
}

bool isRegularFile(const std::string& path) {
    auto info = fileInfo(path);
    return info && info->kind == FileKind::Regular;
}

bool isDirectory(const std::string& path) {
    auto info = fileInfo(path);
    return info && info->kind == FileKind::Directory;
}

std::optional<int64_t> modificationTime(const std::string& path) {
    auto info = fileInfo(path);
    if (!info) {
        return std::nullopt;
    }
    return info->modified;
}

std::optional<uint64_t> fileSize(const std::string& path) {
    auto info = fileInfo(path);
    if (!info) {
        return std::nullopt;
    }
    return info->size;
}

bool makeExecutable(const std::string& path, std::string* errorText) {
    if (::chmod(path.c_str(), 0755) != 0) {
        setError(errorText, errno);
        return false;
    }
    return true;
}

bool touchFile(const std::string& path, std::string* errorText) {
    if (path.empty()) {
        setError(errorText, ENOENT);
        return false;
    }
    // Null times mean "now" for both; the call needs write permission, as a rewrite would.
    if (::utimensat(AT_FDCWD, path.c_str(), nullptr, 0) != 0) {
        setError(errorText, errno);
        return false;
    }
    return true;
}

bool removeFile(const std::string& path, std::string* errorText) {
    if (isDirectory(path)) {
        setError(errorText, EISDIR);
        return false;
    }
    if (::unlink(path.c_str()) != 0) {
        setError(errorText, errno);
        return false;
    }
    return true;
}

bool makeDirectory(const std::string& path, std::string* errorText) {
    if (::mkdir(path.c_str(), 0777) == 0) {
        return true;
    }
    int error = errno;
    if (error == EEXIST && isDirectory(path)) {
        return true;
    }
    setError(errorText, error);
    return false;
}

bool makeDirectories(const std::string& path, std::string* errorText) {
    if (path.empty()) {
        setError(errorText, ENOENT);
        return false;
    }
    if (isDirectory(path)) {
        return true;
    }
    // Each prefix ending before a '/' is a parent to create first.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        std::string parent = path.substr(0, slash);
        if (!parent.empty() && parent.back() != '/' && !makeDirectory(parent, errorText)) {
            return false;
        }
    }
    return makeDirectory(path, errorText);
}

std::optional<std::string> makePrivateDirectory(const std::string& parent, std::string_view prefix,
                                                std::string* errorText) {
    if (!makeDirectories(parent, errorText)) {
        return std::nullopt;
    }
    std::string name = parent;
    if (name.empty() || name.back() != '/') {
        name.push_back('/');
    }
    name.append(prefix);
    name.append("XXXXXX");
    // mkdtemp makes the directory with mode 0700.
    if (::mkdtemp(name.data()) == nullptr) {
        setError(errorText, errno);
        return std::nullopt;
    }
    name.push_back('/');
    return name;
}

bool removeDirectory(const std::string& path, std::string* errorText) {
    if (::rmdir(path.c_str()) != 0) {
        setError(errorText, errno);
        return false;
    }
    return true;
}

std::string_view directoryPart(std::string_view path) {
    auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string_view namePart(std::string_view path) {
    auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace vexa::platform
