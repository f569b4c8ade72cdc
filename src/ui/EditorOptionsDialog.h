// The Editor Options dialog: the switches and numbers of "Editor Options" and "Keyboard Options"
// as check boxes and number boxes; OK puts them into the options and writes the settings file.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "keyboard/KeyProfile.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace vexa {
class Options;
}

namespace vexa::ui {

class EditorOptionsDialog final : public QDialog {
    Q_OBJECT

public:
    // Makes a key profile current (its keymap takes effect at once); false when it could not.
    using ProfileSwitch = std::function<bool(KeyProfile)>;

    // switchProfile runs on OK when another profile was chosen, before the switches are taken, so
    // that a habit the user changed in the same dialog wins over the profile's value for it.
    EditorOptionsDialog(Options& options, ProfileSwitch switchProfile = {}, QWidget* parent = nullptr);

    // The check box or number box of a settings key ("InsertMode", "TabSize", ...); null when the
    // dialog has none.
    QCheckBox* switchFor(const char* key) const;
    QSpinBox* numberFor(const char* key) const;

    // The key profile chosen in the dialog when it differs from the current one; the caller makes
    // it current (its keymap takes effect at once).
    std::optional<KeyProfile> profileChange() const;

    // OK: the chosen profile, then the switches the user changed and the other controls into the
    // options, then the settings file; false when it could not be written.
    bool apply();
    // The OK button: applies and closes; a settings file that could not be written is reported.
    void confirm();

private:
    Options& m_options;
    ProfileSwitch m_switchProfile;
    std::vector<QCheckBox*> m_switches;
    std::vector<bool> m_shownEditorSwitches; // as the dialog opened, in table order
    std::vector<QSpinBox*> m_numbers;
    QComboBox* m_profile;
};

} // namespace vexa::ui
