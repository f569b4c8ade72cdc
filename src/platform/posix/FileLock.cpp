// The lock file through flock(2).
#include "platform/FileLock.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vexa::platform {

FileLock::~FileLock() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_path(std::move(other.m_path)), m_descriptor(std::exchange(other.m_descriptor, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
        m_path = std::move(other.m_path);
        m_descriptor = std::exchange(other.m_descriptor, -1);
    }
    return *this;
}

std::optional<FileLock> FileLock::acquire(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0) {
        return std::nullopt;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return std::nullopt;
    }
    // A lock file made by someone else with wider rights is narrowed to its owner.
    (void)::fchmod(descriptor, 0600);
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(descriptor, 0) != 0 || ::pwrite(descriptor, pid.data(), pid.size(), 0) < 0) {
        ::close(descriptor);
        return std::nullopt;
    }
    return FileLock(path, descriptor);
}

std::optional<int> FileLock::holder(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0) {
        return std::nullopt;
    }
    std::optional<int> result;
    if (::flock(descriptor, LOCK_SH | LOCK_NB) == 0) {
        ::flock(descriptor, LOCK_UN);
    } else if (errno == EWOULDBLOCK) {
        char text[24] = {};
        const ssize_t got = ::pread(descriptor, text, sizeof text - 1, 0);
        int pid = 0;
        if (got > 0) {
            std::from_chars(text, text + got, pid);
        }
        result = pid;
    }
    ::close(descriptor);
    return result;
}

void FileLock::release() {
    if (m_descriptor >= 0) {
        ::unlink(m_path.c_str());
        ::close(m_descriptor);
        m_descriptor = -1;
    }
}

} // namespace vexa::platform
