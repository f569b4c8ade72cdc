// Handing a file from a second start of the editor to the running one, and reading it there.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "commands/CommandProcessor.h"
#include "frame/StatusMessages.h"
#include "session/StartupCommandLine.h"

namespace vexa {

namespace platform {
class InstanceLink;
}

inline constexpr std::string_view kHandOffFileKey = "Load\\FileName";
inline constexpr std::string_view kHandOffLineKey = "Load\\FileLine";
inline constexpr std::string_view kStartupModule = "VEXA";
// The receiver runs inside the command processor, so its failures carry that module's name.
inline constexpr std::string_view kHandOffReceiverModule = kProcessorModule;

enum class HandOffResult : uint8_t {
    Posted,         // the running editor was told; this process ends
    NameUnresolved, // the file name has no full path
    RecordFailed,   // the record could not be written
    NotDelivered,   // no running editor took the notification
};

// Writes the record (the full path of a named file, then the line) and, only when both writes
// succeed, tells the running editor.
HandOffResult sendHandOff(platform::InstanceLink& link, const HandOff& handOff);

// Hands over what a command line asks for: one hand-off through the record as above; several as
// lists of their full paths, each list posted in one message. Nothing is posted when a name
// cannot be resolved.
HandOffResult sendHandOffs(platform::InstanceLink& link, std::span<const HandOff> handOffs);

// The lists of files that carry the hand-offs (full paths): each list is the line as decimal
// digits followed by its files, each after a NUL byte, and no longer than kMaxLinkFiles; files
// of one line share a list while it has room. Nothing when a single file does not fit.
std::optional<std::vector<std::string>> openFilesLists(std::span<const HandOff> handOffs);

// Reads one list another program sent. Nothing unless it is one such list: a line of at most
// ten digits, then one or more full paths (each beginning with '/', none empty).
std::optional<std::vector<HandOff>> readOpenFilesList(std::string_view list);

// The message of a record that could not be read, for the receiver's source line.
std::string handOffReadFailure(int sourceLine);

// Reads the record the notification announced; nothing when either value cannot be read. A line
// that is not a number counts as 0.
std::optional<HandOff> receiveHandOff(platform::InstanceLink& link);

} // namespace vexa
