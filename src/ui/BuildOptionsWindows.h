// The Qt views of the "Compiler Options" and "Project Options" dialog models.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vexa::toolchain {
class CompilerOptionsDialog;
class ProjectOptionsDialog;
class RunOptionsModel;
} // namespace vexa::toolchain

namespace vexa::ui {

// The controls both dialogs share: the command, the capture box, the run file and how the run is
// shown. Every change goes to the model at once; the model decides what the fields then show.
class RunOptionsControls final : public QObject {
    Q_OBJECT

public:
    RunOptionsControls(toolchain::RunOptionsModel& model, QDialog& dialog);

    QLineEdit* command;
    QCheckBox* captureErrors;
    QRadioButton* useVexaFile;
    QRadioButton* useOtherFile;
    QLineEdit* runFile;
    QCheckBox* debug;
    QComboBox* display;

    // Shows the model's values.
    void refresh();

private:
    toolchain::RunOptionsModel& m_model;
};

class CompilerOptionsWindow final : public QDialog {
    Q_OBJECT

public:
    CompilerOptionsWindow(toolchain::CompilerOptionsDialog& model, QWidget* parent = nullptr);

    RunOptionsControls& controls() { return *m_controls; }
    QListWidget* entries() const { return m_entries; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* deleteButton() const { return m_delete; }

private:
    void refreshEntries();

    toolchain::CompilerOptionsDialog& m_model;
    RunOptionsControls* m_controls;
    QListWidget* m_entries;
    QPushButton* m_add;
    QPushButton* m_delete;
};

class ProjectOptionsWindow final : public QDialog {
    Q_OBJECT

public:
    ProjectOptionsWindow(toolchain::ProjectOptionsDialog& model, QWidget* parent = nullptr);

    RunOptionsControls& controls() { return *m_controls; }

private:
    toolchain::ProjectOptionsDialog& m_model;
    RunOptionsControls* m_controls;
};

} // namespace vexa::ui
