// The Qt views of the navigation and tool dialogs: "Goto Line" / "Goto Bookmark", the choice
// lists (association list, document list), "Tool Options", "Program Arguments" and
// "DOS Command Line".
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vexa::navigation {
class ChoiceListModel;
class NumberDialogModel;
} // namespace vexa::navigation

namespace vexa::toolchain {
class DosCommandLineModel;
class ProgramArgumentsModel;
class ToolOptionsModel;
} // namespace vexa::toolchain

namespace vexa::ui {

class NumberDialogWindow final : public QDialog {
    Q_OBJECT
public:
    NumberDialogWindow(navigation::NumberDialogModel& model, QWidget* parent = nullptr);

private:
    navigation::NumberDialogModel& m_model;
    QLineEdit* m_text;
    QPushButton* m_goto;
};

class ChoiceListWindow final : public QDialog {
    Q_OBJECT
public:
    ChoiceListWindow(navigation::ChoiceListModel& model, QWidget* parent = nullptr);

private:
    navigation::ChoiceListModel& m_model;
    QListWidget* m_list;
};

class ToolOptionsWindow final : public QDialog {
    Q_OBJECT
public:
    ToolOptionsWindow(toolchain::ToolOptionsModel& model, QWidget* parent = nullptr);

private:
    void showFields();
    void takeFields();
    void refreshList();

    toolchain::ToolOptionsModel& m_model;
    QListWidget* m_list;
    QComboBox* m_type;
    QLineEdit* m_program;
    QLineEdit* m_menuText;
    QLineEdit* m_arguments;
    QLineEdit* m_directory;
    QRadioButton* m_normal;
    QRadioButton* m_hidden;
    QRadioButton* m_minimized;
    QRadioButton* m_maximized;
    QCheckBox* m_captureOutput;
    QCheckBox* m_captureErrors;
    QCheckBox* m_askArguments;
    QCheckBox* m_saveDocument;
};

class ProgramArgumentsWindow final : public QDialog {
    Q_OBJECT
public:
    ProgramArgumentsWindow(toolchain::ProgramArgumentsModel& model, QWidget* parent = nullptr);
};

class DosCommandLineWindow final : public QDialog {
    Q_OBJECT
public:
    DosCommandLineWindow(toolchain::DosCommandLineModel& model, QWidget* parent = nullptr);
};

} // namespace vexa::ui
