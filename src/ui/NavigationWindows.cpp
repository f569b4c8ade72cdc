// The navigation and tool dialogs' views: each field goes to its model, the model decides.
#include "ui/NavigationWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "toolchain/ToolDialogs.h"
#include "navigation/NavigationDialogs.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

QComboBox* historyBox(const std::vector<std::string>& entries, const std::string& text, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    for (const std::string& entry : entries) {
        box->addItem(fromExternalText(entry));
    }
    box->setEditText(fromExternalText(text));
    return box;
}

} // namespace

NumberDialogWindow::NumberDialogWindow(navigation::NumberDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_text(new QLineEdit(this)),
      m_goto(new QPushButton(QStringLiteral("&Goto"), this)) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* label = new QLabel(fromWindows1252(model.label()), this);
    label->setBuddy(m_text);
    m_text->setText(fromWindows1252(model.text()));
    m_goto->setDefault(true);
    m_goto->setEnabled(model.gotoEnabled());
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setEnabled(false);
    connect(m_text, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model.setText(toWindows1252(text));
        m_goto->setEnabled(m_model.gotoEnabled());
    });
    connect(m_goto, &QPushButton::clicked, this, [this] {
        if (m_model.pressGoto()) {
            accept();
        }
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_goto);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
}

ChoiceListWindow::ChoiceListWindow(navigation::ChoiceListModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_list(new QListWidget(this)) {
    setWindowTitle(fromWindows1252(model.title()));
    for (const std::string& entry : model.entries()) {
        auto* item = new QListWidgetItem(fromWindows1252(entry), m_list);
        item->setStatusTip(fromWindows1252(model.hint()));
    }
    m_list->setCurrentRow(0);
    const auto choose = [this] {
        const int row = m_list->currentRow();
        if (row >= 0 && m_model.choose(static_cast<std::size_t>(row))) {
            accept();
        }
    };
    connect(m_list, &QListWidget::itemActivated, this, choose);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

ToolOptionsWindow::ToolOptionsWindow(toolchain::ToolOptionsModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_list(new QListWidget(this)), m_type(new QComboBox(this)),
      m_program(new QLineEdit(this)), m_menuText(new QLineEdit(this)), m_arguments(new QLineEdit(this)),
      m_directory(new QLineEdit(this)), m_normal(new QRadioButton(QStringLiteral("Run &normal"), this)),
      m_hidden(new QRadioButton(QStringLiteral("Run hidd&en"), this)),
      m_minimized(new QRadioButton(QStringLiteral("Run m&inimized"), this)),
      m_maximized(new QRadioButton(QStringLiteral("Run ma&ximized"), this)),
      m_captureOutput(new QCheckBox(QStringLiteral("Capture Standard &Output"), this)),
      m_captureErrors(new QCheckBox(QStringLiteral("Capture Standard &Error"), this)),
      m_askArguments(new QCheckBox(QStringLiteral("As&k for arguments"), this)),
      m_saveDocument(new QCheckBox(QStringLiteral("Sa&ve document before running"), this)) {
    setWindowTitle(fromWindows1252(model.title()));
    m_type->addItems({QStringLiteral("DOS"), QStringLiteral("Windows"), QStringLiteral("Command Line")});
    m_menuText->setMaxLength(static_cast<int>(toolchain::kToolMenuTextWidth) - 1);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tool &type:"), m_type);
    form->addRow(QStringLiteral("&Program name:"), m_program);
    form->addRow(QStringLiteral("&Menu text:"), m_menuText);
    form->addRow(QStringLiteral("&Arguments:"), m_arguments);
    form->addRow(QStringLiteral("&Work directory:"), m_directory);
    auto* modes = new QHBoxLayout;
    for (QRadioButton* mode : {m_normal, m_hidden, m_minimized, m_maximized}) {
        modes->addWidget(mode);
    }
    auto* boxes = new QVBoxLayout;
    for (QCheckBox* box : {m_captureOutput, m_captureErrors, m_askArguments, m_saveDocument}) {
        boxes->addWidget(box);
    }
    auto* add = new QPushButton(QStringLiteral("&Add"), this);
    auto* remove = new QPushButton(QStringLiteral("&Delete"), this);
    auto* find = new QPushButton(QStringLiteral("&Find..."), this);
    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    listButtons->addWidget(find);
    listButtons->addStretch();
    auto* list = new QHBoxLayout;
    list->addWidget(m_list);
    list->addLayout(listButtons);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            m_model.select(static_cast<std::size_t>(row));
            showFields();
        }
    });
    connect(add, &QPushButton::clicked, this, [this] {
        takeFields();
        if (m_model.add()) {
            refreshList();
        } else if (m_model.focus() == toolchain::ToolOptionsModel::Field::Directory) {
            m_directory->setFocus();
        }
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_model.remove()) {
            refreshList();
        }
    });
    connect(find, &QPushButton::clicked, this, [this] {
        takeFields();
        if (m_model.find()) {
            showFields();
        }
    });
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&Update"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(list);
    layout->addLayout(form);
    layout->addLayout(modes);
    layout->addLayout(boxes);
    layout->addWidget(buttons);
    refreshList();
    showFields();
}

void ToolOptionsWindow::showFields() {
    const toolchain::ToolRecord& tool = m_model.fields();
    m_type->setCurrentIndex(static_cast<int>(tool.type));
    m_program->setText(fromExternalText(tool.program));
    m_menuText->setText(fromWindows1252(tool.menuText));
    m_arguments->setText(fromExternalText(tool.arguments));
    m_directory->setText(fromExternalText(tool.workingDirectory));
    m_normal->setChecked(tool.showMode == platform::ShowMode::Normal);
    m_hidden->setChecked(tool.showMode == platform::ShowMode::Hidden);
    m_minimized->setChecked(tool.showMode == platform::ShowMode::MinimizedNoActivate);
    m_maximized->setChecked(tool.showMode == platform::ShowMode::Maximized);
    m_captureOutput->setChecked(tool.captureOutput);
    m_captureErrors->setChecked(tool.captureErrors);
    m_askArguments->setChecked(tool.askArguments);
    m_saveDocument->setChecked(tool.saveDocument);
}

void ToolOptionsWindow::takeFields() {
    toolchain::ToolRecord& tool = m_model.fields();
    tool.type = static_cast<toolchain::ToolType>(std::max(m_type->currentIndex(), 0));
    tool.program = toUtf8Text(m_program->text());
    tool.menuText = toWindows1252(m_menuText->text());
    tool.arguments = toUtf8Text(m_arguments->text());
    tool.workingDirectory = toUtf8Text(m_directory->text());
    tool.showMode = m_normal->isChecked()      ? platform::ShowMode::Normal
                    : m_minimized->isChecked() ? platform::ShowMode::MinimizedNoActivate
                    : m_maximized->isChecked() ? platform::ShowMode::Maximized
                                               : platform::ShowMode::Hidden;
    tool.captureOutput = m_captureOutput->isChecked();
    tool.captureErrors = m_captureErrors->isChecked();
    tool.askArguments = m_askArguments->isChecked();
    tool.saveDocument = m_saveDocument->isChecked();
}

void ToolOptionsWindow::refreshList() {
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    for (const std::string& text : m_model.displayTexts()) {
        m_list->addItem(fromWindows1252(text));
    }
    if (m_model.selected()) {
        m_list->setCurrentRow(static_cast<int>(*m_model.selected()));
    }
}

ProgramArgumentsWindow::ProgramArgumentsWindow(toolchain::ProgramArgumentsModel& model, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* directory = new QLineEdit(fromExternalText(model.tool().workingDirectory), this);
    auto* arguments = new QLineEdit(fromExternalText(model.tool().arguments), this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Program:"), new QLabel(fromExternalText(model.program()), this));
    form->addRow(QStringLiteral("&Directory:"), directory);
    form->addRow(QStringLiteral("&Arguments:"), arguments);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this, &model, directory, arguments] {
        model.tool().workingDirectory = toUtf8Text(directory->text());
        model.tool().arguments = toUtf8Text(arguments->text());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

DosCommandLineWindow::DosCommandLineWindow(toolchain::DosCommandLineModel& model, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* directory = historyBox(model.directoryHistory(), model.directory, this);
    auto* arguments = historyBox(model.argumentHistory(), model.arguments, this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Directory:"), directory);
    form->addRow(QStringLiteral("&Command line:"), arguments);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this, &model, directory, arguments] {
        model.directory = toUtf8Text(directory->currentText());
        model.arguments = toUtf8Text(arguments->currentText());
        (void)model.accept(); // a history that could not be written does not stop the run
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

} // namespace vexa::ui
