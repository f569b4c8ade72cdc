// The model of the dialog in which keymaps are chosen, made, edited, deleted, imported and exported.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/Keymap.h"

namespace vexa {

class BindingEditor;
class Frame;
class KeymapStore;
class Options;
class PrefixKeyList;

inline constexpr std::string_view kBadKeymapNameMessage =
    "The name entered must be the base portion of a valid file name.";
inline constexpr std::string_view kUseDefaultsQuestion =
    "Vexa has a default keymap that has many of the basic key strokes \nalready defined. Do you wish to use "
    "these defaults as a template \nfor the new keymap?";
inline constexpr const char* kReplaceKeymapFormat =
    "The keymap '%s' already exists. Do you want to replace\nthe old keymap?";
inline constexpr std::string_view kCannotEditDefaultMessage = "Cannot edit the default key mapping!";
inline constexpr std::string_view kCannotDeleteDefaultMessage = "Cannot delete the default key mapping!";
inline constexpr const char* kSelectFileFormat = "Select the name of the %s file to be %s";
inline constexpr std::string_view kImportTitle = "Keymap Import File";
inline constexpr std::string_view kImportCompleteMessage =
    "The importing of the keyboard mapping file is complete";

// What the dialog needs of the application around it.
class KeymapManagerHost {
public:
    virtual ~KeymapManagerHost() = default;

    // Shows the binding editor; returns when the user closed it.
    virtual void runBindingEditor(BindingEditor& editor) = 0;

    // Makes the keymap the active one: its flags are published and the menu key texts rewritten.
    virtual void activateKeymap(std::unique_ptr<Keymap> keymap) = 0;
};

class KeymapManager {
public:
    KeymapManager(Options& options, Frame& frame, KeymapStore& store, const PrefixKeyList& prefixes,
                  KeymapManagerHost& host);

    // "<Default Keymap>" first, then the keymap files of the configuration directory.
    const std::vector<std::string>& keymapNames() const { return m_names; }
    // What "Current Keymap:" shows: the setting "Keymap".
    std::string currentKeymap() const;

    std::optional<std::size_t> selection() const { return m_selection; }
    void select(std::optional<std::size_t> index);

    const std::string& newName() const { return m_newName; }
    void setNewName(std::string name) { m_newName = std::move(name); }

    // New and Import need a name in the "New Keymap" field.
    bool newEnabled() const { return !m_newName.empty(); }
    bool importEnabled() const { return !m_newName.empty(); }

    void newKeymap();
    void editKeymap();
    void deleteKeymap();
    void importKeymap();
    void exportKeymap();

    // OK: the selected keymap becomes the current one, and the dialog closes.
    void confirm();
    // Closing the dialog in any way (OK, Cancel): the keymap the setting names is activated
    // again, so edits saved to the current keymap's file take effect.
    void close();

private:
    void refill();
    bool sameKeymap(std::string_view a, std::string_view b) const;
    void addAndSelect(const std::string& listName);
    std::optional<std::string> selectedName() const;
    void setCurrentKeymap(const std::string& name);
    void runEditor(BindingEditor& editor);

    Options& m_options;
    Frame& m_frame;
    KeymapStore& m_store;
    const PrefixKeyList& m_prefixes;
    KeymapManagerHost& m_host;
    std::vector<std::string> m_names;
    std::optional<std::size_t> m_selection;
    std::string m_newName;
};

} // namespace vexa
