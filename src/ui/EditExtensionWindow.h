// The Edit Extension / New Extension dialog: the fields and keyword list of the extension editing
// model; OK validates through the model and closes only when it accepts.
#pragma once

#include <QDialog>
#include <array>

#include "syntax/EditExtensionDialog.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vexa::ui {

class EditExtensionWindow final : public QDialog {
    Q_OBJECT

public:
    EditExtensionWindow(syntax::EditExtensionDialog& model, QWidget* parent = nullptr);

    const syntax::EditExtensionDialog& model() const { return m_model; }
    // The line edit of a text field (Description to String, and Keyword); null for the others.
    QLineEdit* field(syntax::ExtensionField which) const;
    QCheckBox* ignoreCase() const { return m_ignoreCase; }
    QListWidget* keywords() const { return m_keywords; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* updateButton() const { return m_update; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* okButton() const { return m_ok; }
    // OK: the model validates; accepted only when it closed.
    void confirm();

private:
    void showKeywords();
    void showEnabled();

    syntax::EditExtensionDialog& m_model;
    // Indexed by ExtensionField, Description to Keyword (IgnoreCase has no line edit).
    std::array<QLineEdit*, 12> m_fields{};
    QCheckBox* m_ignoreCase;
    QListWidget* m_keywords;
    QPushButton* m_add;
    QPushButton* m_update;
    QPushButton* m_delete;
    QPushButton* m_ok;
};

} // namespace vexa::ui
