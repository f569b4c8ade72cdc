// The two key and habit profiles: the classic keys, and the keys common in desktop editors with
// the habits that go with them. The first start asks which one to use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

class Messenger;
class Options;

enum class KeyProfile : uint8_t { Classic, Common };

// Answers the first start's question in advance ("classic" or "common"), for scripted starts.
inline constexpr const char* kProfileVariable = "VEXA_PROFILE";
inline constexpr std::string_view kProfileTitle = "Vexa Keys";
inline constexpr std::string_view kProfileQuestion =
    "Which keys should Vexa use?\n\n"
    "Classic: Vexa's own keymap and habits.\n"
    "Common: the keys of most desktop editors (Ctrl+F finds, Ctrl+Home goes to the start of the "
    "document, a drag marks text as a stream, F10 opens the menu bar).\n\n"
    "You can change this later in Options | Editor (Key profile), or answer in advance with VEXA_PROFILE.";
// The keymap of the Common profile, and the shipped text it is made from when the user has none.
inline constexpr std::string_view kCommonKeymapName = "Common";
inline constexpr std::string_view kCommonKeymapText = "COMMON.ZXP";
inline constexpr std::string_view kCommonKeymapMissing =
    "The Common keymap could not be made: the shipped file COMMON.ZXP was not found or could not be read.";

// The shipped files the profile switch makes keymaps from, relative to the home: a start copies
// each one that a home made before them lacks.
std::vector<std::filesystem::path> profileShippedFiles();

// "classic" or "common" in any case; nothing for anything else.
std::optional<KeyProfile> profileFromName(std::string_view name);
std::string_view profileName(KeyProfile profile);

// The profile the settings name; nothing until the user chose one.
std::optional<KeyProfile> chosenProfile(const Options& options);

// What a start does about the profile: nothing when one is chosen; the value of VEXA_PROFILE
// when it is set (an unknown value takes Classic, so that a scripted start is never asked);
// otherwise it must ask the user.
struct ProfileStart {
    bool ask = false;
    std::optional<KeyProfile> answer;
};
ProfileStart profileAtStart(const Options& options, const char* environmentValue);

// Makes a profile the current one: the keymap, the mouse marking of a plain drag, F10, the two
// undo habits and the "Profile" setting, written to the settings file (each habit stays a
// setting of its own that the user may change afterwards). The Common keymap file is made from the
// shipped text (looked for in the home's configuration directory, then in each of shippedConfig)
// only when the user has none, so a Common keymap the user edited is kept; no other keymap file
// is touched. False, with the message, when the Common keymap could not be made; nothing is
// changed then.
[[nodiscard]] bool applyProfile(KeyProfile profile, Options& options, Messenger& messenger,
                                std::span<const std::filesystem::path> shippedConfig = {});

} // namespace vexa
