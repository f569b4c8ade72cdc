// Making the editor the desktop's handler of C and C++ source files without taking a type
// another program already handles: the class entries in the registry port, and the desktop
// entry with the default-application list of the XDG desktops.
#pragma once

#include <array>
#include <functional>
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

// The types for which any of the default-application lists given (the user's own, the desktop's
// and the system's) states a preference: a default, an added or a removed association.
[[nodiscard]] std::vector<std::string> typesWithPreference(const std::vector<std::string>& listTexts);

// The user's list with the desktop entry made the default of each claimed type that no list
// states a preference for; every other line is kept as it was. Nothing when nothing changes.
[[nodiscard]] std::optional<std::string> claimMimeDefaults(std::string_view userList,
                                                           const std::vector<std::string>& otherLists);

// An existing desktop entry, which the user may have edited, is never rewritten: only when the
// program its Exec key starts no longer exists (it moved) is that program's path replaced by this
// one, the rest of the entry kept. Nothing when the entry stays as it is.
[[nodiscard]] std::optional<std::string>
updatedDesktopEntry(std::string_view existing, std::string_view programPath,
                    const std::function<bool(const std::string&)>& programExists);

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
