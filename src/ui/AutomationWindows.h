// The Qt views of the automation dialogs: the macro repeat count, the Macros menu list, the
// script command line and the script's user input.
#pragma once

#include <QDialog>

#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace vexa {
class ExecuteScriptModel;
class MacroOptionsModel;
class MacroRepeatModel;
class UserInputModel;
} // namespace vexa

namespace vexa::ui {

class MacroRepeatWindow final : public QDialog {
    Q_OBJECT

public:
    MacroRepeatWindow(MacroRepeatModel& model, QWidget* parent = nullptr);
    QSpinBox* count() const { return m_count; }

private:
    MacroRepeatModel& m_model;
    QSpinBox* m_count;
};

class MacroOptionsWindow final : public QDialog {
    Q_OBJECT

public:
    MacroOptionsWindow(MacroOptionsModel& model, QWidget* parent = nullptr);
    QListWidget* entries() const { return m_entries; }

private:
    void refreshEntries();

    MacroOptionsModel& m_model;
    QListWidget* m_entries;
    QLineEdit* m_name;
    QLineEdit* m_file;
};

class ExecuteScriptWindow final : public QDialog {
    Q_OBJECT

public:
    ExecuteScriptWindow(ExecuteScriptModel& model, QWidget* parent = nullptr);
    QComboBox* script() const { return m_script; }

private:
    ExecuteScriptModel& m_model;
    QComboBox* m_script;
};

class UserInputWindow final : public QDialog {
    Q_OBJECT

public:
    UserInputWindow(UserInputModel& model, QWidget* parent = nullptr);
    const std::vector<QLineEdit*>& fields() const { return m_fields; }

private:
    UserInputModel& m_model;
    std::vector<QLineEdit*> m_fields;
};

} // namespace vexa::ui
