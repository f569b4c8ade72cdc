// The Editor Options dialog.
#include "ui/EditorOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>

#include "settings/Format.h"
#include "settings/Options.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

struct EditorSwitch {
    const char* key;
    const char* label;
    int EditorOptions::*field;
};

constexpr std::array kEditorSwitches{
    EditorSwitch{"InsertMode", "&Insert mode", &EditorOptions::insertMode},
    EditorSwitch{"UseTabs", "Fill with &tabs", &EditorOptions::useTabs},
    EditorSwitch{"SmartIndent", "Smart in&dent", &EditorOptions::smartIndent},
    EditorSwitch{"SmartBrace", "Smart &brace", &EditorOptions::smartBrace},
    EditorSwitch{"FileRead", "Read files as &Unix text", &EditorOptions::fileRead},
    EditorSwitch{"FileWrite", "&Write new files as Unix text", &EditorOptions::fileWrite},
    EditorSwitch{"NewUtf8", "New files are UTF-&8", &EditorOptions::newUtf8},
    EditorSwitch{"FileTrim", "Do not write an empty last line", &EditorOptions::fileTrim},
    EditorSwitch{"AutoBackup", "Automatic &backup", &EditorOptions::autoBackup},
    EditorSwitch{"CheckOnReload", "Ask before &reloading", &EditorOptions::checkOnReload},
    EditorSwitch{"MultipleCopies", "Open a file &several times", &EditorOptions::multipleCopies},
    EditorSwitch{"RestoreFiles", "Reopen the last &files", &EditorOptions::restoreFiles},
    EditorSwitch{"RestoreSize", "Restore the window si&ze", &EditorOptions::restoreSize},
    EditorSwitch{"RestoreDirectory", "Restore the last director&y", &EditorOptions::restoreDirectory},
    EditorSwitch{"MakeSound", "&Sounds", &EditorOptions::makeSound},
    EditorSwitch{"HasMargin", "Left &margin", &EditorOptions::hasMargin},
    EditorSwitch{"Clock24Hour", "24-hour &clock", &EditorOptions::clock24Hour},
    EditorSwitch{"InsertAfterCursor", "New lines &after the cursor", &EditorOptions::insertAfterCursor},
    EditorSwitch{"SaveKeepsUndo", "A save keeps the undo history", &EditorOptions::saveKeepsUndo},
    EditorSwitch{"UndoWords", "Undo a typed word at once", &EditorOptions::undoWords},
    EditorSwitch{"MenuKey", "F10 opens the menu bar", &EditorOptions::menuKey},
};

struct EditorNumber {
    const char* key;
    const char* label;
    int EditorOptions::*field;
    int minimum;
    int maximum;
};

constexpr std::array kEditorNumbers{
    EditorNumber{"TabSize", "Tab si&ze:", &EditorOptions::tabSize, kMinTabSize, kMaxTabSize},
    EditorNumber{"BackupInterval", "Backup &interval (minutes):", &EditorOptions::backupInterval, 1, 999},
    EditorNumber{"WrapColumn", "Wrap &column:", &EditorOptions::wrapColumn, 1, 9999},
};

struct KeyboardSwitch {
    const char* key;
    const char* label;
    int KeyboardOptions::*field;
};

constexpr std::array kKeyboardSwitches{
    KeyboardSwitch{"BriefCursor", "Cursor &below a pasted column", &KeyboardOptions::briefCursor},
    KeyboardSwitch{"AllowAlt", "Type characters with &Alt", &KeyboardOptions::allowAlt},
    KeyboardSwitch{"AllowControl", "Type characters with C&trl", &KeyboardOptions::allowControl},
};

} // namespace

EditorOptionsDialog::EditorOptionsDialog(Options& options, ProfileSwitch switchProfile, QWidget* parent)
    : QDialog(parent), m_options(options), m_switchProfile(std::move(switchProfile)),
      m_profile(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Editor Options"));
    auto* editorBox = new QGroupBox(QStringLiteral("Editor"), this);
    auto* grid = new QGridLayout(editorBox);
    int row = 0;
    for (const EditorSwitch& entry : kEditorSwitches) {
        auto* box = new QCheckBox(QString::fromLatin1(entry.label), editorBox);
        box->setObjectName(QString::fromLatin1(entry.key));
        box->setChecked(options.editor().*entry.field != 0);
        m_shownEditorSwitches.push_back(box->isChecked());
        grid->addWidget(box, row / 2, row % 2);
        m_switches.push_back(box);
        ++row;
    }
    auto* numbers = new QFormLayout;
    for (const EditorNumber& entry : kEditorNumbers) {
        auto* spin = new QSpinBox(this);
        spin->setObjectName(QString::fromLatin1(entry.key));
        spin->setRange(entry.minimum, entry.maximum);
        spin->setValue(options.editor().*entry.field);
        numbers->addRow(QString::fromLatin1(entry.label), spin);
        m_numbers.push_back(spin);
    }
    auto* keyboardBox = new QGroupBox(QStringLiteral("Keyboard"), this);
    auto* keyboardLayout = new QVBoxLayout(keyboardBox);
    for (const KeyboardSwitch& entry : kKeyboardSwitches) {
        auto* box = new QCheckBox(QString::fromLatin1(entry.label), keyboardBox);
        box->setObjectName(QString::fromLatin1(entry.key));
        box->setChecked(options.keyboard().*entry.field != 0);
        keyboardLayout->addWidget(box);
        m_switches.push_back(box);
    }
    // Switching the profile changes the keymap and the habits that go with it; the user's own
    // keymaps stay as they are.
    m_profile->setObjectName(QStringLiteral("Profile"));
    for (const KeyProfile profile : {KeyProfile::Classic, KeyProfile::Common}) {
        m_profile->addItem(QString::fromLatin1(profileName(profile)), static_cast<int>(profile));
    }
    m_profile->setCurrentIndex(static_cast<int>(chosenProfile(options).value_or(KeyProfile::Classic)));
    auto* profileRow = new QFormLayout;
    profileRow->addRow(QStringLiteral("Key &profile:"), m_profile);
    keyboardLayout->addLayout(profileRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &EditorOptionsDialog::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editorBox);
    layout->addLayout(numbers);
    layout->addWidget(keyboardBox);
    layout->addWidget(buttons);
}

QCheckBox* EditorOptionsDialog::switchFor(const char* key) const {
    return findChild<QCheckBox*>(QString::fromLatin1(key));
}

QSpinBox* EditorOptionsDialog::numberFor(const char* key) const {
    return findChild<QSpinBox*>(QString::fromLatin1(key));
}

std::optional<KeyProfile> EditorOptionsDialog::profileChange() const {
    const auto chosen = static_cast<KeyProfile>(m_profile->currentData().toInt());
    if (chosenProfile(m_options) == chosen) {
        return std::nullopt;
    }
    return chosen;
}

void EditorOptionsDialog::confirm() {
    if (!apply()) {
        // The options stay in force for this session; only their record on disk is missing.
        QMessageBox::warning(
            this, QStringLiteral("Vexa Error"),
            fromWindows1252(formatText(kSettingsWriteFailedFormat, m_options.settingsFile().path().c_str())));
    }
    accept();
}

bool EditorOptionsDialog::apply() {
    // The profile sets the habits that go with it; a switch the user changed here then has the
    // last word, and one left as it was keeps the profile's value.
    if (const std::optional<KeyProfile> profile = profileChange(); profile && m_switchProfile) {
        (void)m_switchProfile(*profile);
    }
    for (std::size_t i = 0; i < kEditorSwitches.size(); ++i) {
        const EditorSwitch& entry = kEditorSwitches[i];
        const bool checked = switchFor(entry.key)->isChecked();
        if (checked != m_shownEditorSwitches[i]) {
            m_options.editor().*entry.field = checked ? 1 : 0;
        }
    }
    for (const EditorNumber& entry : kEditorNumbers) {
        m_options.editor().*entry.field = numberFor(entry.key)->value();
    }
    for (const KeyboardSwitch& entry : kKeyboardSwitches) {
        m_options.keyboard().*entry.field = switchFor(entry.key)->isChecked() ? 1 : 0;
    }
    return m_options.save();
}

} // namespace vexa::ui
