// The Extension Options dialog: the extension profiles of the configuration directory with New,
// Clone, Edit and Delete, each forwarded to the extension options model.
#pragma once

#include <QDialog>
#include <functional>

#include "syntax/ExtensionOptionsDialog.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vexa::ui {

class ExtensionOptionsWindow final : public QDialog {
    Q_OBJECT

public:
    // Runs a dialog modally and returns its result; tests drive the dialog in it instead.
    using DialogRunner = std::function<int(QDialog& dialog)>;

    ExtensionOptionsWindow(syntax::SyntaxSettings& settings, Frame& frame, DialogRunner runner,
                           QWidget* parent = nullptr);

    const syntax::ExtensionOptionsDialog& model() const { return m_model; }
    QListWidget* entries() const { return m_entries; }
    QLineEdit* extensionField() const { return m_extension; }
    QLabel* description() const { return m_description; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* cloneButton() const { return m_clone; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* deleteButton() const { return m_delete; }

private:
    bool presentEditor(syntax::EditExtensionDialog& editor);
    void showEntries();

    DialogRunner m_runner;
    syntax::ExtensionOptionsDialog m_model;
    QListWidget* m_entries;
    QLineEdit* m_extension;
    QLabel* m_description;
    QPushButton* m_new;
    QPushButton* m_clone;
    QPushButton* m_edit;
    QPushButton* m_delete;
};

} // namespace vexa::ui
