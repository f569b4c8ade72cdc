// The instance link on POSIX: a lock file as the marker, a key store file for the record and
// a datagram socket for the notification and commands, in a per-user runtime directory.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/InstanceLink.h"
#include "platform/posix/FileKeyStore.h"

namespace vexa::platform {

// The marker is present while a process holds an exclusive lock on the marker file; the lock
// dies with its process, so a file left by a crashed editor is recognised as stale, removed
// together with its socket, and claimed anew. The directory must be private to the user
// (see prepareDirectory); the socket is made owner-only as well.
class PosixInstanceLink final : public InstanceLink {
public:
    explicit PosixInstanceLink(std::string directory);
    // Deletes the marker when this object holds it: an editor cleans up on its way out.
    ~PosixInstanceLink() override;
    PosixInstanceLink(const PosixInstanceLink&) = delete;
    PosixInstanceLink& operator=(const PosixInstanceLink&) = delete;

    // The user's runtime directory for the link of one display and one Vexa home, created and
    // checked: a sessionName() directory inside $XDG_RUNTIME_DIR/vexa, or inside
    // /tmp/vexa-<uid> when that variable is unset or not absolute. A start on another display
    // or with another home finds no editor there and becomes an editor itself, rather than
    // handing its file to one its user cannot see or that keeps other settings. Nothing when
    // a directory cannot be made private to the user.
    [[nodiscard]] static std::optional<std::string> defaultDirectory(std::string_view home);

    // The name that ties the link to a display and a home: the Wayland display when there is
    // one, otherwise the X display without its screen number, otherwise the console; with the
    // home path, hashed into a short name (socket paths are short).
    [[nodiscard]] static std::string sessionName(std::string_view xDisplay, std::string_view waylandDisplay,
                                                 std::string_view home);

    // Creates the directory with mode 0700 when missing. An existing one must be a real
    // directory (not a link) owned by the user; group and other permissions are removed.
    [[nodiscard]] static bool prepareDirectory(const std::string& path);

    [[nodiscard]] bool isMarkerPresent() override;
    [[nodiscard]] bool addMarker() override;
    void deleteMarker() override;
    [[nodiscard]] KeyStore& record() override { return m_record; }
    [[nodiscard]] bool postFileOpen() override;
    [[nodiscard]] bool postCommand(std::string_view command) override;
    [[nodiscard]] bool postOpenFiles(std::string_view list) override;
    [[nodiscard]] std::vector<LinkMessage> receive() override;

    // The receiving socket, for an event loop to watch; -1 unless this object holds the marker.
    int receiverDescriptor() const { return m_socketFd; }

    std::string markerPath() const { return m_directory + "/" + std::string(kInstanceMarker); }
    std::string socketPath() const { return m_directory + "/" + std::string(kFileOpenMessage) + ".sock"; }

private:
    [[nodiscard]] bool post(LinkMessageKind kind, std::string_view text);
    [[nodiscard]] bool openReceiver();

    std::string m_directory;
    FileKeyStore m_record;
    int m_lockFd = -1;
    int m_socketFd = -1;
};

} // namespace vexa::platform
