// The model of the "Extension Options" dialog: the profile files of the configuration directory
// with New, Clone, Edit and Delete.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/EditExtensionDialog.h"
#include "syntax/ExtensionProfile.h"

namespace vexa {
class Frame;
}

namespace vexa::syntax {

class SyntaxSettings;

inline constexpr const char* kReplaceExtensionFormat =
    "The extension '%s' already exists. Do you want to replace\nthe old extension?";
inline constexpr const char* kUnableToUpdateFormat =
    "Unable to update the '%s' file. This file is probably read only!";
inline constexpr const char* kDeleteProfileFormat =
    "Are you sure you want to delete the '%s' extension profile?";

class ExtensionOptionsDialog {
public:
    // Shows an edit dialog modally; true when it was closed with a confirmed OK. The Qt layer
    // shows the model in a window, tests fill its fields.
    using EditorPresenter = std::function<bool(EditExtensionDialog&)>;

    // Loads every profile file of the settings' configuration directory.
    ExtensionOptionsDialog(SyntaxSettings& settings, Frame& frame, EditorPresenter presenter);
    ~ExtensionOptionsDialog();

    // The list of extensions, in order, and its selection.
    std::vector<std::string_view> entries() const;
    std::optional<std::size_t> selected() const { return m_selected; }
    void select(std::size_t entry);
    // The description shown: the selected entry's, refreshed after Edit, cleared by Delete.
    std::string_view description() const { return m_description; }

    // The extension field: at most three characters.
    void setExtensionField(std::string_view text) { m_extensionField = std::string(text.substr(0, 3)); }
    std::string_view extensionField() const { return m_extensionField; }
    bool extensionFieldFocused() const { return m_extensionFocus; }

    void newProfile();
    void cloneProfile();
    void editProfile();
    void deleteProfile();

    // Whether any profile changed, so that the open documents select their profiles again.
    bool isChanged() const { return m_changed; }

private:
    struct Entry {
        std::string path;
        std::unique_ptr<ExtensionProfile> profile;
    };

    // The extension typed, upper-cased; nothing (and the focus on the field) when unusable.
    std::optional<std::string> typedExtension();
    // Asks about replacing an extension that is already listed; false when the answer is No.
    bool confirmReplace(const std::string& extension);
    std::optional<std::size_t> find(std::string_view extension) const;
    // Adds or replaces the entry of an extension and selects it.
    void put(Entry entry);
    void reportUnableToUpdate(const std::string& path);
    std::string pathFor(std::string_view extension) const;

    SyntaxSettings& m_settings;
    Frame& m_frame;
    EditorPresenter m_presenter;
    std::vector<Entry> m_entries;
    std::optional<std::size_t> m_selected;
    std::string m_extensionField;
    std::string m_description;
    bool m_extensionFocus = false;
    bool m_changed = false;
};

} // namespace vexa::syntax
