// The keymap binding window: prefix, key-code and function lists, modifier boxes and keymap flags
// bound to the binding editor model; key presses in the key-code list are captured.
#pragma once

#include <QDialog>
#include <array>

#include "keyboard/BindingEditor.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

namespace vexa::ui {

class BindingEditorWindow final : public QDialog {
    Q_OBJECT

public:
    BindingEditorWindow(BindingEditor& model, QWidget* parent = nullptr);

    QComboBox* prefixes() const { return m_prefixes; }
    QListWidget* keys() const { return m_keys; }
    QListWidget* functions() const { return m_functions; }
    QCheckBox* alt() const { return m_alt; }
    QCheckBox* shift() const { return m_shift; }
    QCheckBox* control() const { return m_control; }
    QPushButton* updateButton() const { return m_update; }
    QPushButton* removeButton() const { return m_remove; }
    // Close: the window goes; whoever runs it saves a changed keymap.
    void closeEditor();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSelection();

    BindingEditor& m_model;
    QComboBox* m_prefixes;
    QListWidget* m_keys;
    QListWidget* m_functions;
    QCheckBox* m_alt;
    QCheckBox* m_shift;
    QCheckBox* m_control;
    QPushButton* m_update;
    QPushButton* m_remove;
};

} // namespace vexa::ui
