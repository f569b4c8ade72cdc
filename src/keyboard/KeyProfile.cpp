// Choosing and applying the key and habit profiles.
#include "keyboard/KeyProfile.h"

#include <algorithm>
#include <cctype>

#include "core/Messenger.h"
#include "keyboard/DefaultKeymap.h"
#include "keyboard/KeyboardTextFile.h"
#include "keyboard/KeymapStore.h"
#include "keyboard/KeymapText.h"
#include "settings/Directories.h"
#include "settings/Options.h"

namespace vexa {
namespace {

// The mark type a plain drag makes: a column in the classic profile, a stream in the common one.
constexpr int kClassicDragMark = 3;
constexpr int kCommonDragMark = 2;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::string> shippedCommonKeymap(const std::string& configDirectory,
                                               std::span<const std::filesystem::path> shippedConfig) {
    if (auto text = readKeyboardTextFile(configDirectory + std::string(kCommonKeymapText))) {
        return text;
    }
    for (const std::filesystem::path& directory : shippedConfig) {
        if (auto text = readKeyboardTextFile((directory / kCommonKeymapText).string())) {
            return text;
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<std::filesystem::path> profileShippedFiles() {
    return {std::filesystem::path(Directories::subdirectoryName(DirectoryKind::Config)) / kCommonKeymapText};
}

std::optional<KeyProfile> profileFromName(std::string_view name) {
    if (equalsIgnoringCase(name, "classic")) {
        return KeyProfile::Classic;
    }
    if (equalsIgnoringCase(name, "common")) {
        return KeyProfile::Common;
    }
    return std::nullopt;
}

std::string_view profileName(KeyProfile profile) {
    return profile == KeyProfile::Common ? "Common" : "Classic";
}

std::optional<KeyProfile> chosenProfile(const Options& options) {
    return profileFromName(options.editor().profile);
}

ProfileStart profileAtStart(const Options& options, const char* environmentValue) {
    if (chosenProfile(options)) {
        return {};
    }
    if (environmentValue != nullptr) {
        return {false, profileFromName(environmentValue).value_or(KeyProfile::Classic)};
    }
    return {true, std::nullopt};
}

bool applyProfile(KeyProfile profile, Options& options, Messenger& messenger,
                  std::span<const std::filesystem::path> shippedConfig) {
    const std::string configDirectory = options.directory(DirectoryKind::Config);
    KeymapStore store(configDirectory, messenger);
    std::string keymapName(kDefaultKeymapName);
    if (profile == KeyProfile::Common) {
        keymapName = std::string(kCommonKeymapName);
        if (!store.fileExists(kCommonKeymapName)) {
            const std::optional<std::string> text = shippedCommonKeymap(configDirectory, shippedConfig);
            if (!text) {
                messenger.messageBox(kCommonKeymapMissing);
                return false;
            }
            if (!store.save(importKeymapText(*text), kCommonKeymapName)) {
                return false; // the store said why
            }
        }
    }
    EditorOptions& editor = options.editor();
    editor.profile = std::string(profileName(profile));
    editor.keymap = keymapName;
    const int common = profile == KeyProfile::Common ? 1 : 0;
    editor.menuKey = common;
    editor.saveKeepsUndo = common;
    editor.undoWords = common;
    options.mouse().mouseMark1 = profile == KeyProfile::Common ? kCommonDragMark : kClassicDragMark;
    options.mouse().shiftClickExtends = common;
    // Written at once, so that a crash before the exit keeps the choice. The editor options go
    // through the options' own save, which then knows what the file holds: a habit the user sets
    // back later differs from it and is written too. The mouse options are never written at exit:
    // the profile writes the ones it changes itself.
    SettingsFile& settings = options.settingsFile();
    const bool written =
        options.save() && settings.putInteger("Mouse Options", "MouseMark1", options.mouse().mouseMark1) &&
        settings.putInteger("Mouse Options", "ShiftClickExtends", options.mouse().shiftClickExtends);
    if (!written) {
        messenger.messageBox("The settings file could not be written.");
    }
    return true;
}

} // namespace vexa
