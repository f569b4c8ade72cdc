// Making the editor the desktop's handler of C and C++ source files without taking a type
// another program already handles: the class entries in the registry port, and the desktop
// entry with the default-application list of the XDG desktops.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::platform {
class KeyStore;
}

namespace vexa {
// The program's icon (SVG) compiled into the program.
std::string_view vexaIconSvg();
} // namespace vexa

namespace vexa::shell {

inline constexpr std::string_view kClassKey = "VexaEditor";
inline constexpr std::string_view kClassName = "Morvaine Vexa";
inline constexpr std::array<std::string_view, 4> kClaimedExtensions{".cpp", ".c", ".hpp", ".h"};

// Writes the class, its open command and the claims in order, stopping at the first write that
// fails; an extension is claimed only when its key has no value or an empty one. The key that
// failed, or nothing.
[[nodiscard]] std::optional<std::string> registerFileTypes(platform::KeyStore& store,
                                                           std::string_view programPath);

// The message of a failed registration.
[[nodiscard]] std::string registrationFailureMessage(std::string_view key);

// The desktop entry's file name and the source types claimed, in the same order as the extensions.
inline constexpr std::string_view kDesktopFileName = "vexa.desktop";
inline constexpr std::array<std::string_view, 4> kClaimedMimeTypes{"text/x-c++src", "text/x-csrc",
                                                                   "text/x-c++hdr", "text/x-chdr"};

// The desktop entry that starts the program with the files it is given.
[[nodiscard]] std::string desktopEntryText(std::string_view programPath);

// The types that have a default application in any of the default-application lists given (the
// user's own and the system's), as the lists' [Default Applications] sections say.
[[nodiscard]] std::vector<std::string> typesWithDefault(const std::vector<std::string>& listTexts);

// The user's list with the desktop entry made the default of each claimed type that has no
// default in any list; every other line is kept as it was. Nothing when nothing changes.
[[nodiscard]] std::optional<std::string> claimMimeDefaults(std::string_view userList,
                                                           const std::vector<std::string>& otherLists);

// The files of the current user's desktop: the entry in the applications folder and the claims in
// the user's default-application list. Messages for what could not be written (empty when all went
// well, or there was nothing to do).
struct XdgPlaces {
    std::string applicationsDirectory; // $XDG_DATA_HOME/applications/
    std::string iconPath;              // $XDG_DATA_HOME/icons/hicolor/scalable/apps/vexa.svg
    std::string userList;              // $XDG_CONFIG_HOME/mimeapps.list
    std::vector<std::string> otherLists;
};
[[nodiscard]] XdgPlaces xdgPlaces();
[[nodiscard]] std::vector<std::string> registerWithDesktop(const XdgPlaces& places,
                                                           std::string_view programPath);

} // namespace vexa::shell
