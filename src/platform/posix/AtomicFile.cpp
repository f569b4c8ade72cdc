// The POSIX atomic writer: a temporary file in the target's directory, fsync, rename.
#include "platform/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa::platform {
namespace {

// The path whose directory entry is to be replaced: a symbolic link resolves to its target
// (even a dangling one), so saving through a link rewrites the file it points at.
std::string resolveLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        char buffer[PATH_MAX];
        ssize_t length = readlink(current.c_str(), buffer, sizeof buffer - 1);
        if (length < 0) {
            return current;
        }
        std::string target(buffer, static_cast<size_t>(length));
        if (!target.empty() && target.front() != '/') {
            auto slash = current.rfind('/');
            target = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + target;
        }
        current = target;
    }
    return current;
}

} // namespace

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

bool AtomicFileWriter::open(const std::string& targetPath) {
    discard();
    m_failed = false;
    m_error.clear();
    m_target = resolveLinks(targetPath);

    auto slash = m_target.rfind('/');
    std::string directory = slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    std::string pattern = directory + "." + name + ".vexa-XXXXXX";

    int fd = mkstemp(pattern.data());
    if (fd < 0) {
        m_error = std::strerror(errno);
        m_failed = true;
        return false;
    }
    m_temporary = pattern;

    // A new file gets the permissions a plain create would give; an existing one keeps its own.
    struct stat info {};
    mode_t mode = 0;
    if (stat(m_target.c_str(), &info) == 0) {
        mode = info.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);

    m_file = fdopen(fd, "wb");
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
    if (std::fclose(m_file) != 0 && !m_failed) {
        fail();
    }
    m_file = nullptr;
    if (!m_failed && std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        fail();
    }
    if (m_failed) {
        unlink(m_temporary.c_str());
    }
    m_temporary.clear();
    return !m_failed;
}

void AtomicFileWriter::discard() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temporary.empty()) {
        unlink(m_temporary.c_str());
        m_temporary.clear();
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
