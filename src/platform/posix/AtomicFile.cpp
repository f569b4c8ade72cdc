// The POSIX atomic writer: a temporary file, fsync, then a rename or a guarded copy in place.
#include "platform/AtomicFile.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace vexa::platform {
namespace {

constexpr std::string_view kTemporaryMark = ".vexa-";
// The random part mkstemp fills in.
constexpr std::string_view kRandomPart = "XXXXXX";
// The copy of the old content kept while a file is rewritten in place. Its name is longer than
// a temporary file's, so the clean-up of stale temporary files never takes it: after a failed
// restore it is the only copy of the old text.
constexpr std::string_view kOldCopyMark = "old-";
// A staging file is created under this longer name, which the clean-up also passes over, and
// gets its temporary name only once it is locked.
constexpr std::string_view kNewFileMark = "new-";

// The path whose directory entry is to be replaced: a symbolic link resolves to its target
// (even a dangling one), so saving through a link rewrites the file it points at.
std::string resolveLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::vector<char> buffer(PATH_MAX);
        ssize_t length = readlink(current.c_str(), buffer.data(), buffer.size() - 1);
        if (length < 0) {
            return current;
        }
        std::string target(buffer.data(), static_cast<size_t>(length));
        if (!target.empty() && target.front() != '/') {
            auto slash = current.rfind('/');
            target = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + target;
        }
        current = target;
    }
    return current;
}

std::string directoryOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where the staging file goes when the target's own directory cannot take it.
std::string temporaryDirectory() {
    const char* value = std::getenv("TMPDIR");
    std::string directory = value != nullptr && *value != '\0' ? value : "/tmp";
    if (directory.back() != '/') {
        directory += '/';
    }
    return directory;
}

bool inOwnGroups(gid_t group) {
    if (group == getegid()) {
        return true;
    }
    int count = getgroups(0, nullptr);
    if (count <= 0) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<size_t>(count));
    count = getgroups(count, groups.data());
    for (int i = 0; i < count; ++i) {
        if (groups[static_cast<size_t>(i)] == group) {
            return true;
        }
    }
    return false;
}

// Removes the temporary files that killed saves of the same name left in a directory. A save
// in progress holds a lock on its temporary file, so only abandoned ones (this user's, regular,
// unlocked) go.
void removeStaleTemporaries(const std::string& directory, const std::string& name) {
    const std::string prefix = temporaryPrefix(name);
    DIR* listing = opendir(directory.empty() ? "." : directory.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        std::string_view entryName = entry->d_name;
        if (entryName.size() != prefix.size() + kRandomPart.size() || !entryName.starts_with(prefix)) {
            continue;
        }
        std::string path = directory + std::string(entryName);
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
            flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlink(path.c_str());
        }
        ::close(fd);
    }
    closedir(listing);
}

// Copies everything from one descriptor (read from its start) to another (written at its
// current position). False with errno set on the first failure.
bool copyContent(int from, int to) {
    std::array<char, 64 * 1024> buffer{};
    off_t offset = 0;
    for (;;) {
        ssize_t got = pread(from, buffer.data(), buffer.size(), offset);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (got == 0) {
            return true;
        }
        offset += got;
        const char* data = buffer.data();
        while (got > 0) {
            ssize_t put = ::write(to, data, static_cast<size_t>(got));
            if (put < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            data += put;
            got -= put;
        }
    }
}

std::string randomPart() {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string part;
    for (std::size_t i = 0; i < kRandomPart.size(); ++i) {
        part += kLetters[pick(device)];
    }
    return part;
}

// Creates a staging file for a name in a directory, exclusively and already locked: the file
// appears under its temporary name (the one the clean-up of abandoned files looks at) only once
// its lock is held, so another save never takes it for abandoned. -1 with errno on failure.
int createLockedTemporary(const std::string& directory, std::string_view name, std::string& path) {
    const std::string prefix = directory + temporaryPrefix(name);
    std::string hidden = prefix + std::string(kNewFileMark) + std::string(kRandomPart);
    int fd = mkostemp(hidden.data(), O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    (void)flock(fd, LOCK_EX);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = prefix + randomPart();
        // A hard link is made only where the name is free, like an exclusive create.
        if (link(hidden.c_str(), candidate.c_str()) == 0) {
            unlink(hidden.c_str());
            path = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    // Without hard links the file keeps the name it was made with; it is locked all the same.
    path = std::move(hidden);
    return fd;
}

enum class Rewrite : uint8_t { Done, NotOpened, Failed };

// Truncates the target and copies a source file's content into it. NotOpened leaves the target
// as it was; Failed may have left it truncated or partly written. errno tells why.
Rewrite rewriteFrom(const std::string& target, int source) {
    int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return Rewrite::NotOpened;
    }
    bool ok = copyContent(source, fd) && fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && ok) {
        return Rewrite::Failed;
    }
    errno = saved;
    return ok ? Rewrite::Done : Rewrite::Failed;
}

} // namespace

std::string temporaryPrefix(std::string_view name) {
    std::string prefix = ".";
    prefix += name;
    prefix += kTemporaryMark;
    return prefix;
}

ReplaceMethod chooseReplaceMethod(const TargetFacts& facts) {
    if (!facts.exists) {
        return ReplaceMethod::Rename;
    }
    if (!facts.directoryWritable || facts.links > 1 || !facts.ownerKeepable || facts.hasAccessList) {
        return ReplaceMethod::InPlace;
    }
    return ReplaceMethod::Rename;
}

TargetFacts targetFacts(const std::string& path) {
    TargetFacts facts;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return facts;
    }
    facts.exists = true;
    std::string directory = directoryOf(path);
    facts.directoryWritable = access(directory.empty() ? "." : directory.c_str(), W_OK | X_OK) == 0;
    facts.links = static_cast<uint64_t>(info.st_nlink);
    facts.ownerKeepable = geteuid() == 0 || (info.st_uid == geteuid() && inOwnGroups(info.st_gid));
    facts.hasAccessList = getxattr(path.c_str(), "system.posix_acl_access", nullptr, 0) > 0;
    return facts;
}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

bool AtomicFileWriter::open(const std::string& targetPath) {
    discard();
    m_failed = false;
    m_written = 0;
    m_started = 0;
    m_error.clear();
    m_keptOldCopy.clear();
    m_target = resolveLinks(targetPath);

    const std::string directory = directoryOf(m_target);
    const std::string name = nameOf(m_target);
    const TargetFacts facts = targetFacts(m_target);
    m_method = chooseReplaceMethod(facts);
    // In place, the new content is still collected completely before the target is touched; it
    // waits beside the target when the directory allows, in the temporary directory otherwise.
    // Written in place, the target itself must take the new content.
    if (m_method == ReplaceMethod::InPlace && access(m_target.c_str(), W_OK) != 0) {
        m_error = std::strerror(errno);
        m_failed = true;
        return false;
    }
    const std::string stagingDirectory =
        m_method == ReplaceMethod::InPlace && !facts.directoryWritable ? temporaryDirectory() : directory;
    removeStaleTemporaries(stagingDirectory, name);

    // The lock tells later saves that this file is in use, not abandoned.
    int fd = createLockedTemporary(stagingDirectory, name, m_temporary);
    if (fd < 0) {
        m_error = std::strerror(errno);
        m_failed = true;
        return false;
    }

    struct stat info {};
    if (m_method == ReplaceMethod::InPlace) {
        fchmod(fd, 0600);
    } else if (stat(m_target.c_str(), &info) == 0) {
        // The new file takes the place of the old one with its permissions, owner and group.
        fchmod(fd, info.st_mode & 07777);
        struct stat own {};
        if (fstat(fd, &own) == 0 && (own.st_uid != info.st_uid || own.st_gid != info.st_gid)) {
            (void)fchown(fd, info.st_uid, info.st_gid);
            fchmod(fd, info.st_mode & 07777);
        }
    } else {
        // A new file gets the permissions a plain create would give.
        mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }

    m_file = fdopen(fd, "w+b");
    if (m_file == nullptr) {
        m_error = std::strerror(errno);
        ::close(fd);
        unlink(m_temporary.c_str());
        m_temporary.clear();
        m_failed = true;
        return false;
    }
    return true;
}

void AtomicFileWriter::fail() {
    if (!m_failed) {
        m_error = std::strerror(errno != 0 ? errno : EIO);
        m_failed = true;
    }
}

bool AtomicFileWriter::write(std::span<const char> bytes) {
    if (m_file == nullptr || m_failed) {
        return false;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        fail();
        return false;
    }
    m_written += bytes.size();
#ifdef __linux__
    // The disk starts on what has been written while the rest is still being made, so the
    // commit's sync waits only for the last pieces of a large file.
    constexpr std::uint64_t kWriteBehind = 8U << 20;
    if (m_written - m_started >= kWriteBehind) {
        (void)sync_file_range(fileno(m_file), static_cast<off_t>(m_started),
                              static_cast<off_t>(m_written - m_started), SYNC_FILE_RANGE_WRITE);
        m_started = m_written;
    }
#endif
    return true;
}

bool AtomicFileWriter::replaceInPlace() {
    const std::string oldCopyPattern = directoryOf(m_temporary) + temporaryPrefix(nameOf(m_target)) +
                                       std::string(kOldCopyMark) + std::string(kRandomPart);
    std::string oldCopy = oldCopyPattern;
    int copyFd = mkostemp(oldCopy.data(), O_CLOEXEC);
    if (copyFd < 0) {
        fail();
        return false;
    }
    fchmod(copyFd, 0600);
    int targetFd = ::open(m_target.c_str(), O_RDONLY | O_CLOEXEC);
    bool copied = targetFd >= 0 && copyContent(targetFd, copyFd) && fsync(copyFd) == 0;
    if (!copied) {
        fail();
    }
    if (targetFd >= 0) {
        ::close(targetFd);
    }
    if (!copied) {
        ::close(copyFd);
        unlink(oldCopy.c_str());
        return false;
    }
    if (m_beforeRewrite) {
        m_beforeRewrite();
    }
    const Rewrite written = rewriteFrom(m_target, fileno(m_file));
    if (written != Rewrite::Done) {
        fail();
        // The target may now hold part of the new text: put the old content back.
        if (written == Rewrite::NotOpened || rewriteFrom(m_target, copyFd) == Rewrite::Done) {
            unlink(oldCopy.c_str());
        } else {
            m_keptOldCopy = oldCopy;
            m_error += "; the old content is kept in " + oldCopy;
        }
        ::close(copyFd);
        return false;
    }
    ::close(copyFd);
    unlink(oldCopy.c_str());
    return true;
}

bool AtomicFileWriter::commit() {
    if (m_file == nullptr) {
        return false;
    }
    errno = 0;
    if (!m_failed && std::fflush(m_file) != 0) {
        fail();
    }
    if (!m_failed && fsync(fileno(m_file)) != 0) {
        fail();
    }
    bool replaced = false;
    if (!m_failed) {
        if (m_method == ReplaceMethod::Rename) {
            // Renamed while still open and locked, so no other save takes it for abandoned.
            replaced = std::rename(m_temporary.c_str(), m_target.c_str()) == 0;
            if (!replaced) {
                fail();
            }
        } else {
            (void)replaceInPlace();
        }
    }
    // Removed while still locked, so no other save's clean-up meets it unlocked.
    if (!replaced) {
        unlink(m_temporary.c_str());
    }
    if (std::fclose(m_file) != 0 && !m_failed) {
        fail();
    }
    m_file = nullptr;
    m_temporary.clear();
    return !m_failed;
}

void AtomicFileWriter::discard() {
    if (!m_temporary.empty()) {
        unlink(m_temporary.c_str());
        m_temporary.clear();
    }
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

bool writeFileAtomically(const std::string& targetPath, std::string_view content, std::string* errorText) {
    AtomicFileWriter writer;
    bool ok = writer.open(targetPath) && writer.write(content) && writer.commit();
    if (!ok && errorText != nullptr) {
        *errorText = writer.errorText();
    }
    return ok;
}

} // namespace vexa::platform
