// The compiler and project option dialogs: widgets bound to their models.
#include "ui/BuildOptionsWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "toolchain/BuildOptionsDialogs.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

struct DisplayChoice {
    const char* text;
    int value;
};
constexpr DisplayChoice kDisplayChoices[] = {
    {"Minimized", 7},
    {"Maximized", 3},
    {"Normal", 1},
    {"Hidden", 0},
};

} // namespace

RunOptionsControls::RunOptionsControls(toolchain::RunOptionsModel& model, QDialog& dialog)
    : QObject(&dialog), command(new QLineEdit(&dialog)),
      captureErrors(new QCheckBox(QStringLiteral("Capture standard &error"), &dialog)),
      useVexaFile(new QRadioButton(QStringLiteral("Use &Vexa file"), &dialog)),
      useOtherFile(new QRadioButton(QStringLiteral("Use &other file"), &dialog)),
      runFile(new QLineEdit(&dialog)),
      debug(new QCheckBox(QStringLiteral("&Debug (keep the batch window and pause)"), &dialog)),
      display(new QComboBox(&dialog)), m_model(model) {
    command->setMaxLength(255);
    runFile->setMaxLength(255);
    for (const DisplayChoice& choice : kDisplayChoices) {
        display->addItem(QString::fromLatin1(choice.text), choice.value);
    }
    connect(command, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.setCommandField(toUtf8Text(text));
        captureErrors->setChecked(m_model.captureErrors());
    });
    connect(captureErrors, &QCheckBox::clicked, this, [this](bool on) {
        m_model.setCaptureErrors(on);
        refresh();
    });
    connect(useVexaFile, &QRadioButton::clicked, this, [this] {
        m_model.setMode(toolchain::RunMode::Vexa);
        refresh();
    });
    connect(useOtherFile, &QRadioButton::clicked, this, [this] {
        m_model.setMode(toolchain::RunMode::Other);
        refresh();
    });
    connect(runFile, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.setRunFile(toUtf8Text(text)); });
    connect(debug, &QCheckBox::clicked, this, [this](bool on) { m_model.setDebug(on); });
    connect(display, &QComboBox::activated, this,
            [this](int index) { m_model.setDisplay(display->itemData(index).toInt()); });
    refresh();
}

void RunOptionsControls::refresh() {
    command->setText(fromExternalText(m_model.commandField()));
    captureErrors->setChecked(m_model.captureErrors());
    useVexaFile->setChecked(m_model.mode() == toolchain::RunMode::Vexa);
    useOtherFile->setChecked(m_model.mode() == toolchain::RunMode::Other);
    runFile->setText(fromExternalText(m_model.runFileShown()));
    runFile->setEnabled(m_model.runFileEnabled());
    debug->setChecked(m_model.debug());
    const int index = display->findData(m_model.display());
    display->setCurrentIndex(index < 0 ? 0 : index);
}

namespace {

void layOutRunOptions(RunOptionsControls& controls, QFormLayout& form) {
    form.addRow(controls.captureErrors);
    auto* mode = new QHBoxLayout;
    mode->addWidget(controls.useVexaFile);
    mode->addWidget(controls.useOtherFile);
    form.addRow(QStringLiteral("Run file:"), mode);
    form.addRow(QString(), controls.runFile);
    form.addRow(controls.debug);
    form.addRow(QStringLiteral("&Show the run:"), controls.display);
}

} // namespace

CompilerOptionsWindow::CompilerOptionsWindow(toolchain::CompilerOptionsDialog& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_controls(new RunOptionsControls(model, *this)),
      m_entries(new QListWidget(this)), m_add(new QPushButton(QStringLiteral("&Add"), this)),
      m_delete(new QPushButton(QStringLiteral("De&lete"), this)) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Command line:"), m_controls->command);
    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(m_add);
    listButtons->addWidget(m_delete);
    listButtons->addStretch();
    auto* list = new QHBoxLayout;
    list->addWidget(m_entries);
    list->addLayout(listButtons);
    form->addRow(QStringLiteral("Commands:"), list);
    layOutRunOptions(*m_controls, *form);

    connect(m_add, &QPushButton::clicked, this, [this] {
        if (m_model.add()) {
            refreshEntries();
        }
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        m_model.remove();
        refreshEntries();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (m_model.accept()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    refreshEntries();
}

void CompilerOptionsWindow::refreshEntries() {
    m_entries->clear();
    for (const std::string& entry : m_model.entries()) {
        m_entries->addItem(fromExternalText(entry));
    }
    m_delete->setEnabled(m_entries->count() > 0);
}

ProjectOptionsWindow::ProjectOptionsWindow(toolchain::ProjectOptionsDialog& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_controls(new RunOptionsControls(model, *this)) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Make command:"), m_controls->command);
    layOutRunOptions(*m_controls, *form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (m_model.accept()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

} // namespace vexa::ui
