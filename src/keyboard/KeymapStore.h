// The keymaps of the configuration directory: creating by name, loading and saving with their
// messages, listing, removing, export and import, and activating the configured keymap.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Messenger.h"
#include "keyboard/Keymap.h"

namespace vexa {

class Options;

inline constexpr const char* kKeymapTooNewFormat =
    "The '%s' keymap file is of an unknown format or has been corrupted. Using default keymap instead.";
inline constexpr std::string_view kKeymapFallbackMessage =
    "Error loading the keymap specified so using default keymap!";
inline constexpr const char* kKeymapExportedFormat =
    "The 'vConfig\\%s.zxp' keymap export file has been successfully created";
inline constexpr std::string_view kKeymapExportFailed = "Unexpected error exporting keyboard map";
inline constexpr std::string_view kKeymapImportFailed = "Unexpected error importing keyboard map";

enum class ImportResult : uint8_t { Imported, Unreadable, SaveFailed };

class KeymapStore {
public:
    // configDirectory ends with '/'.
    KeymapStore(std::string configDirectory, Messenger& messenger)
        : m_directory(std::move(configDirectory)), m_messenger(messenger) {}

    const std::string& directory() const { return m_directory; }
    Messenger& messenger() { return m_messenger; }

    // "<Default Keymap>" gives the built-in keymap; any other name is loaded from its file, and a
    // failed load gives a keymap whose valid flag is clear.
    std::unique_ptr<Keymap> create(std::string_view name);

    // Loads the keymap file of a name, reporting a failure to the user with the keymap name.
    bool load(Keymap& keymap, std::string_view name);

    // Writes the keymap file of a name; a failure is reported and gives false.
    [[nodiscard]] bool save(const Keymap& keymap, std::string_view name);

    // The list names of the keymap files in the directory, sorted.
    std::vector<std::string> listNames() const;

    // The file of a keymap name. A listed name stands for the file it was listed from, so a
    // hand-placed "a.b.BND" listed as "A.b" is that file; a name no file lists under gives the
    // file a new keymap of that name is saved to (the name cut at its first full stop). Nothing
    // for the default keymap and for names that cannot be file names.
    std::optional<std::string> filePath(std::string_view name) const;
    // Whether the file of a name exists.
    bool fileExists(std::string_view name) const;

    // Removes the keymap file of a name; false when there is none or it could not be removed.
    [[nodiscard]] bool remove(std::string_view name);

    // Writes the export text of a keymap, made by name, to "<name>.ZXP" in the directory and
    // reports the outcome. False also when the keymap could not be made.
    bool exportKeymap(std::string_view name);

    // Reads an export text file into a new keymap and saves it under the name. A file that cannot
    // be read ends the import silently; a failed save is reported.
    ImportResult importKeymap(const std::string& path, std::string_view name);

private:
    std::string m_directory;
    Messenger& m_messenger;
};

// The keymap named by the setting "Keymap". When it does not load, the default keymap takes its
// place, the setting is set back to "<Default Keymap>" and the user is told.
std::unique_ptr<Keymap> createConfiguredKeymap(KeymapStore& store, Options& options);

} // namespace vexa
