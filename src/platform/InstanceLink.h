// The instance link port: how a second start of the editor finds the running one and hands
// it a file, and how the shell sends it open commands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/KeyStore.h"

namespace vexa::platform {

// The marker's name: present while an editor runs.
inline constexpr std::string_view kInstanceMarker = "VexaIsActive";
// The notification that a hand-off record is waiting.
inline constexpr std::string_view kFileOpenMessage = "VexaFileOpen";
// The longest command text one message carries.
inline constexpr std::size_t kMaxLinkCommand = 4096;
// The longest list of files one message carries: room for the longest full path and its line.
inline constexpr std::size_t kMaxLinkFiles = 8192;

enum class LinkMessageKind : uint8_t { FileOpen = 1, Command = 2, OpenFiles = 3 };

struct LinkMessage {
    LinkMessageKind kind = LinkMessageKind::FileOpen;
    std::string text; // the command text or the list of files; empty for the file-open notification

    friend bool operator==(const LinkMessage&, const LinkMessage&) = default;
};

class InstanceLink {
public:
    virtual ~InstanceLink() = default;

    // Whether a running editor holds the marker (this one too, once it added it).
    [[nodiscard]] virtual bool isMarkerPresent() = 0;

    // Makes this editor the running one: adds the marker and opens the receiving end.
    // False when another editor holds the marker or the link cannot be set up.
    [[nodiscard]] virtual bool addMarker() = 0;

    // Deletes the marker and the receiving end, when this editor added them.
    virtual void deleteMarker() = 0;

    // Where the hand-off record lives ("Load\FileName", "Load\FileLine").
    [[nodiscard]] virtual KeyStore& record() = 0;

    // Tell the editor holding the marker that a record waits, or give it a command such as
    // [open("/src/a.c")]. False when no editor received it.
    [[nodiscard]] virtual bool postFileOpen() = 0;
    [[nodiscard]] virtual bool postCommand(std::string_view command) = 0;
    // Give it a list of files to open (the session's hand-off writes and reads the list); false
    // when no editor received it or the list is longer than kMaxLinkFiles.
    [[nodiscard]] virtual bool postOpenFiles(std::string_view list) = 0;

    // The messages that arrived for the holder of the marker, oldest first; never waits.
    [[nodiscard]] virtual std::vector<LinkMessage> receive() = 0;
};

} // namespace vexa::platform
