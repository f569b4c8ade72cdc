// The POSIX instance link: flock marker with stale-file recovery, Unix datagram messages.
#include "platform/posix/PosixInstanceLink.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/Environment.h"

namespace vexa::platform {
namespace {

// Attempts at taking the marker when another process swaps the file under us.
constexpr int kClaimAttempts = 8;

bool tryLock(int fd) {
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// A process checking for a stale marker holds the lock for a moment too; a lock that stays
// taken over a few short waits belongs to a running editor.
bool tryLockPatiently(int fd) {
    for (int wait = 0; wait < 3; ++wait) {
        if (tryLock(fd)) {
            return true;
        }
        ::usleep(10'000);
    }
    return tryLock(fd);
}

// True when the open file is still the one the path names: a holder that is leaving, or a
// process cleaning up a stale marker, may have unlinked it after we opened it.
bool isStillAtPath(int fd, const std::string& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

std::optional<sockaddr_un> socketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

} // namespace

PosixInstanceLink::PosixInstanceLink(std::string directory)
    : m_directory(std::move(directory)), m_record(m_directory + "/Load.keys") {}

PosixInstanceLink::~PosixInstanceLink() {
    deleteMarker();
}

std::string PosixInstanceLink::sessionName(std::string_view xDisplay, std::string_view waylandDisplay,
                                           std::string_view home) {
    std::string display;
    if (!waylandDisplay.empty()) {
        display = "wayland:" + std::string(waylandDisplay);
    } else if (!xDisplay.empty()) {
        // ":0" and ":0.1" are screens of one display, served by one editor.
        std::string_view name = xDisplay;
        const auto colon = name.rfind(':');
        if (const auto dot = name.rfind('.');
            colon != std::string_view::npos && dot != std::string_view::npos && dot > colon) {
            name = name.substr(0, dot);
        }
        display = "x11:" + std::string(name);
    } else {
        display = "console";
    }
    // FNV-1a over both parts; the separator cannot occur in a display name.
    uint64_t hash = 0xcbf29ce484222325ULL;
    const auto mix = [&hash](std::string_view text) {
        for (const char c : text) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 0x100000001b3ULL;
        }
    };
    mix(display);
    mix(std::string_view("\n", 1));
    mix(home);
    std::array<char, 17> hex{};
    std::snprintf(hex.data(), hex.size(), "%016llx", static_cast<unsigned long long>(hash));
    return std::string("session-") + hex.data();
}

std::optional<std::string> PosixInstanceLink::defaultDirectory(std::string_view home) {
    std::string base;
    auto runtime = environmentVariable("XDG_RUNTIME_DIR");
    if (runtime && !runtime->empty() && runtime->front() == '/') {
        base = *runtime + "/vexa";
    } else {
        base = "/tmp/vexa-" + std::to_string(userId());
    }
    if (!prepareDirectory(base)) {
        return std::nullopt;
    }
    const std::string path = base + "/" +
                             sessionName(environmentVariable("DISPLAY").value_or(""),
                                         environmentVariable("WAYLAND_DISPLAY").value_or(""), home);
    if (!prepareDirectory(path)) {
        return std::nullopt;
    }
    return path;
}

bool PosixInstanceLink::prepareDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        return false;
    }
    if ((info.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) {
        return false;
    }
    return true;
}

bool PosixInstanceLink::isMarkerPresent() {
    if (m_lockFd >= 0) {
        return true;
    }
    const std::string marker = markerPath();
    for (int attempt = 0; attempt < kClaimAttempts; ++attempt) {
        int fd = ::open(marker.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            return false;
        }
        if (!tryLock(fd)) {
            ::close(fd);
            return true; // a live editor holds it
        }
        if (!isStillAtPath(fd, marker)) {
            ::close(fd);
            continue;
        }
        // Nobody holds it: the editor that made it ended without cleaning up.
        ::unlink(socketPath().c_str());
        ::unlink(marker.c_str());
        ::close(fd);
        return false;
    }
    return false;
}

bool PosixInstanceLink::addMarker() {
    if (m_lockFd >= 0) {
        return true;
    }
    const std::string marker = markerPath();
    for (int attempt = 0; attempt < kClaimAttempts; ++attempt) {
        int fd = ::open(marker.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            return false;
        }
        if (!tryLockPatiently(fd)) {
            ::close(fd);
            return false; // another editor runs
        }
        if (!isStillAtPath(fd, marker)) {
            ::close(fd);
            continue;
        }
        // The process id inside is for people looking at the directory; the lock decides.
        std::string pid = std::to_string(::getpid()) + "\n";
        if (::ftruncate(fd, 0) != 0 ||
            ::write(fd, pid.data(), pid.size()) != static_cast<ssize_t>(pid.size())) {
            ::unlink(marker.c_str());
            ::close(fd);
            return false;
        }
        m_lockFd = fd;
        if (!openReceiver()) {
            deleteMarker();
            return false;
        }
        return true;
    }
    return false;
}

bool PosixInstanceLink::openReceiver() {
    const std::string path = socketPath();
    auto address = socketAddress(path);
    if (!address) {
        return false;
    }
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    // A socket file left by a crashed editor is ours to replace: we hold the marker.
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::chmod(path.c_str(), 0600) != 0) {
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    m_socketFd = fd;
    return true;
}

void PosixInstanceLink::deleteMarker() {
    if (m_socketFd >= 0) {
        ::close(m_socketFd);
        m_socketFd = -1;
        ::unlink(socketPath().c_str());
    }
    if (m_lockFd >= 0) {
        // Unlinked while still locked, so no newcomer can lock this file and think it holds
        // the marker: it finds the path gone and makes a new one.
        ::unlink(markerPath().c_str());
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}

bool PosixInstanceLink::postFileOpen() {
    return post(LinkMessageKind::FileOpen, {});
}

bool PosixInstanceLink::postCommand(std::string_view command) {
    if (command.size() > kMaxLinkCommand) {
        return false;
    }
    return post(LinkMessageKind::Command, command);
}

bool PosixInstanceLink::postOpenFiles(std::string_view list) {
    if (list.size() > kMaxLinkFiles) {
        return false;
    }
    return post(LinkMessageKind::OpenFiles, list);
}

bool PosixInstanceLink::post(LinkMessageKind kind, std::string_view text) {
    auto address = socketAddress(socketPath());
    if (!address) {
        return false;
    }
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    std::string datagram(1, static_cast<char>(kind));
    datagram += text;
    // A start handing over many files may fill the receiver's queue before its next poll: wait
    // for room a little, never without end.
    const timeval patience{2, 0};
    (void)::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    ssize_t sent = 0;
    do {
        sent = ::sendto(fd, datagram.data(), datagram.size(), MSG_NOSIGNAL,
                        reinterpret_cast<const sockaddr*>(&*address), sizeof *address);
    } while (sent < 0 && errno == EINTR);
    ::close(fd);
    return sent == static_cast<ssize_t>(datagram.size());
}

std::vector<LinkMessage> PosixInstanceLink::receive() {
    std::vector<LinkMessage> messages;
    if (m_socketFd < 0) {
        return messages;
    }
    std::array<char, kMaxLinkFiles + 2> buffer{};
    while (true) {
        ssize_t length = ::recv(m_socketFd, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
        if (length < 0) {
            if (errno == EINTR) {
                continue;
            }
            break; // nothing more waiting
        }
        // Empty, cut short or of an unknown kind: not from an editor, dropped.
        if (length == 0 || static_cast<std::size_t>(length) > kMaxLinkFiles + 1) {
            continue;
        }
        auto kind = static_cast<unsigned char>(buffer[0]);
        std::string text(buffer.data() + 1, static_cast<std::size_t>(length) - 1);
        if (kind == static_cast<unsigned char>(LinkMessageKind::FileOpen) && text.empty()) {
            messages.push_back(LinkMessage{LinkMessageKind::FileOpen, {}});
        } else if (kind == static_cast<unsigned char>(LinkMessageKind::Command) &&
                   text.size() <= kMaxLinkCommand) {
            messages.push_back(LinkMessage{LinkMessageKind::Command, std::move(text)});
        } else if (kind == static_cast<unsigned char>(LinkMessageKind::OpenFiles)) {
            messages.push_back(LinkMessage{LinkMessageKind::OpenFiles, std::move(text)});
        }
    }
    return messages;
}

} // namespace vexa::platform
