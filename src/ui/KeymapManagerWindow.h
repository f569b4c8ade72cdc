// The keymap manager window: the keymap list with New, Edit, Delete, Import and Export forwarded
// to the keymap manager model; it runs the binding window for the model.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "keyboard/KeymapManager.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vexa::ui {

class KeymapManagerWindow final : public QDialog, private KeymapManagerHost {
    Q_OBJECT

public:
    // Runs a dialog modally and returns its result; tests drive the dialog in it instead.
    using DialogRunner = std::function<int(QDialog& dialog)>;
    using Activator = std::function<void(std::unique_ptr<Keymap> keymap)>;

    KeymapManagerWindow(Options& options, Frame& frame, KeymapStore& store, const PrefixKeyList& prefixes,
                        Activator activator, DialogRunner runner, QWidget* parent = nullptr);

    const KeymapManager& model() const { return m_model; }
    QListWidget* keymaps() const { return m_keymaps; }
    QLineEdit* newName() const { return m_newName; }
    QLabel* currentKeymap() const { return m_current; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* importButton() const { return m_import; }
    QPushButton* exportButton() const { return m_export; }
    // OK: the selected keymap becomes the current one.
    void confirm();
    // Cancel: the current keymap is activated again.
    void reject() override;

private:
    void runBindingEditor(BindingEditor& editor) override;
    void activateKeymap(std::unique_ptr<Keymap> keymap) override;
    void showList();

    Activator m_activator;
    DialogRunner m_runner;
    KeymapManager m_model;
    QLabel* m_current;
    QListWidget* m_keymaps;
    QLineEdit* m_newName;
    QPushButton* m_new;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_import;
    QPushButton* m_export;
};

} // namespace vexa::ui
