// The files port: full paths, wildcard search, access tests, file facts, removal, directories.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::platform {

// The longest path the system takes, counting the terminator: settings that hold paths keep
// this many bytes.
inline constexpr std::size_t kPathLimit = 4096;

enum class FileKind : uint8_t { Regular, Directory, Other };

// What the file system says about one path (symbolic links followed).
struct FileInfo {
    FileKind kind = FileKind::Other;
    uint64_t size = 0;
    // Nanoseconds since the epoch: fine enough to see a rewrite within the same second.
    int64_t modified = 0;
};

// One ordinary file found by findFiles: its name without the directory.
struct FoundFile {
    std::string name;
    uint64_t size = 0;
    int64_t modified = 0;
};

enum class Access : uint8_t { Exists, Read, Write, ReadWrite, Execute };

// The absolute form of a path: a relative path is taken against the current directory; "."
// and ".." steps and repeated separators are removed by text alone, so the file need not
// exist and symbolic links stay as written. Nothing for an empty path or when the current
// directory cannot be read.
[[nodiscard]] std::optional<std::string> fullPath(std::string_view path);

// The same against a given absolute base directory instead of the current directory.
[[nodiscard]] std::string fullPathFrom(std::string_view base, std::string_view path);

// The real path of an existing file: absolute, links resolved. Nothing when it does not exist.
[[nodiscard]] std::optional<std::string> canonicalPath(std::string_view path);

// The ordinary files (not directories, not devices) matching a pattern whose last component
// may hold the wildcards * and ?, sorted by name. The directory part (up to the last '/') is
// taken literally; without one the current directory is searched. A name beginning with '.'
// is found only by a pattern whose name part begins with '.', as the shell does; "*.*" finds
// every file, dotted or not, as the desktop's search does.
[[nodiscard]] std::vector<FoundFile> findFiles(std::string_view pattern);

// True when the name part of a path holds a wildcard character (* or ?).
[[nodiscard]] bool hasWildcard(std::string_view path);

// Whether a whole name matches a pattern in which * stands for any run of characters and ?
// for any one character; every other character, '[' included, stands for itself, and case
// counts.
[[nodiscard]] bool matchesWildcard(std::string_view pattern, std::string_view name);

[[nodiscard]] bool canAccess(const std::string& path, Access access);
[[nodiscard]] std::optional<FileInfo> fileInfo(const std::string& path);
[[nodiscard]] bool isRegularFile(const std::string& path);
[[nodiscard]] bool isDirectory(const std::string& path);
[[nodiscard]] std::optional<int64_t> modificationTime(const std::string& path);
[[nodiscard]] std::optional<uint64_t> fileSize(const std::string& path);

// Sets a file's modification (and access) time to now without touching its content. False
// when the file does not exist or may not be changed.
[[nodiscard]] bool touchFile(const std::string& path, std::string* errorText = nullptr);

// Lets everyone read and run a file its owner may write (a script the editor writes for itself).
[[nodiscard]] bool makeExecutable(const std::string& path, std::string* errorText = nullptr);

// Removes a file (not a directory). False, with the system's text, when it could not.
[[nodiscard]] bool removeFile(const std::string& path, std::string* errorText = nullptr);

// Creates one directory (mode 0777 less the umask). True when it exists afterwards as a
// directory, also when it was already there.
[[nodiscard]] bool makeDirectory(const std::string& path, std::string* errorText = nullptr);

// Creates a directory and every missing parent; true when it exists afterwards.
[[nodiscard]] bool makeDirectories(const std::string& path, std::string* errorText = nullptr);

// Creates a new directory inside `parent` whose name is `prefix` followed by six characters
// chosen so that no other directory has it, which only its owner may read, write or enter; the
// parent and its missing parents are made first. Its full name ending in '/', or nothing with the
// system's text.
[[nodiscard]] std::optional<std::string> makePrivateDirectory(const std::string& parent, std::string_view prefix,
                                                              std::string* errorText = nullptr);

// Removes an empty directory. False, with the system's text, when it could not.
[[nodiscard]] bool removeDirectory(const std::string& path, std::string* errorText = nullptr);

// One entry of a directory as readDirectory gives it: a symbolic link is reported as a link,
// whatever it points to, so that a walk over folders can refuse to follow it.
enum class EntryKind : uint8_t { Regular, Directory, Link, Other };
struct DirectoryEntry {
    std::string name;
    EntryKind kind = EntryKind::Other;
};

// The entries of a directory ("." and ".." left out), in the order the system gives them. False,
// with the system's text, when the directory cannot be read.
[[nodiscard]] bool readDirectory(const std::string& path, std::vector<DirectoryEntry>& entries,
                                 std::string* errorText = nullptr);

// Reads a whole ordinary file into `bytes` (its old content replaced, its capacity kept, so that a
// caller reading many files reuses one buffer). False, with the system's text, when it cannot.
[[nodiscard]] bool readWholeFile(const std::string& path, std::string& bytes, std::string* errorText = nullptr);

// The directory part of a path including its last '/', and the name after it.
[[nodiscard]] std::string_view directoryPart(std::string_view path);
[[nodiscard]] std::string_view namePart(std::string_view path);

} // namespace vexa::platform
