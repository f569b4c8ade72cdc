// The Qt views of the automation dialogs. Each only shows its model's fields and forwards the
// buttons; the models decide.
#include "ui/AutomationWindows.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "keyboard/MacroDialogs.h"
#include "session/ScriptCommands.h"
#include "session/UserInputModel.h"
#include "ui/Windows1252.h"

namespace vexa::ui {

MacroRepeatWindow::MacroRepeatWindow(MacroRepeatModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_count(new QSpinBox(this)) {
    setWindowTitle(fromWindows1252(model.title()));
    m_count->setRange(MacroRepeatModel::kMinimum, MacroRepeatModel::kMaximum);
    m_count->setValue(model.count());
    auto* form = new QFormLayout;
    form->addRow(fromWindows1252(model.label()), m_count);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_model.setCount(m_count->value());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

MacroOptionsWindow::MacroOptionsWindow(MacroOptionsModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_entries(new QListWidget(this)), m_name(new QLineEdit(this)),
      m_file(new QLineEdit(this)) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    auto* add = new QPushButton(QStringLiteral("&Add"), this);
    auto* remove = new QPushButton(QStringLiteral("&Remove"), this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file);
    fileRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(fromWindows1252(model.nameLabel()), m_name);
    form->addRow(QStringLiteral("&File:"), fileRow);
    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    listButtons->addStretch();
    auto* list = new QHBoxLayout;
    list->addWidget(m_entries);
    list->addLayout(listButtons);

    connect(browse, &QPushButton::clicked, this, [this] {
        if (auto path = m_model.chooseFile()) {
            m_file->setText(fromWindows1252(*path));
        }
    });
    connect(add, &QPushButton::clicked, this, [this] {
        m_model.add({toWindows1252(m_name->text()), toWindows1252(m_file->text())});
        refreshEntries();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_entries->currentRow() >= 0 &&
            m_model.remove(static_cast<std::size_t>(m_entries->currentRow()))) {
            refreshEntries();
        }
    });
    connect(m_entries, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) < m_model.entries().size()) {
            m_name->setText(fromWindows1252(m_model.entries()[static_cast<std::size_t>(row)].name));
            m_file->setText(fromWindows1252(m_model.entries()[static_cast<std::size_t>(row)].path));
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(list);
    layout->addWidget(buttons);
    refreshEntries();
}

void MacroOptionsWindow::refreshEntries() {
    m_entries->clear();
    for (const MacroMenuEntry& entry : m_model.entries()) {
        m_entries->addItem(fromWindows1252(entry.name + "\t" + entry.path));
    }
}

ExecuteScriptWindow::ExecuteScriptWindow(ExecuteScriptModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_script(new QComboBox(this)) {
    setWindowTitle(fromWindows1252(model.title()));
    m_script->setEditable(true);
    for (const std::string& entry : model.history()) {
        m_script->addItem(fromWindows1252(entry));
    }
    m_script->setEditText(fromWindows1252(model.commandLine()));
    m_script->setMinimumContentsLength(40);
    auto* form = new QFormLayout;
    form->addRow(fromWindows1252(model.scriptLabel()), m_script);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* run = buttons->addButton(QStringLiteral("&Run"), QDialogButtonBox::AcceptRole);
    QPushButton* find = buttons->addButton(QStringLiteral("&Find"), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole)->setEnabled(false);
    run->setDefault(true);
    connect(find, &QPushButton::clicked, this, [this] {
        m_model.setCommandLine(toWindows1252(m_script->currentText()));
        if (m_model.find()) {
            m_script->setEditText(fromWindows1252(m_model.commandLine()));
        }
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_model.setCommandLine(toWindows1252(m_script->currentText()));
        if (m_model.runEnabled()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

UserInputWindow::UserInputWindow(UserInputModel& model, QWidget* parent) : QDialog(parent), m_model(model) {
    // A script's strings: its prompts are shown as the text they hold, and what is typed goes back
    // as UTF-8, typed into a document in the document's encoding.
    setWindowTitle(fromExternalText(model.title()));
    auto* form = new QFormLayout;
    for (std::size_t index = 0; index < model.prompts().size(); ++index) {
        auto* field = new QLineEdit(this);
        field->setObjectName(fromWindows1252(model.fieldName(index)));
        field->setMaxLength(static_cast<int>(UserInputModel::kMaxText));
        form->addRow(fromExternalText(model.prompts()[index]), field);
        m_fields.push_back(field);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        for (std::size_t index = 0; index < m_fields.size(); ++index) {
            m_model.setText(index, toUtf8Text(m_fields[index]->text()));
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

} // namespace vexa::ui
