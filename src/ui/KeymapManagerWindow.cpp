// The keymap manager window.
#include "ui/KeymapManagerWindow.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/BindingEditorWindow.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

QString text(std::string_view value) {
    return fromWindows1252(value);
}

} // namespace

KeymapManagerWindow::KeymapManagerWindow(Options& options, Frame& frame, KeymapStore& store,
                                         const PrefixKeyList& prefixes, Activator activator,
                                         DialogRunner runner, QWidget* parent)
    : QDialog(parent), m_activator(std::move(activator)), m_runner(std::move(runner)),
      m_model(options, frame, store, prefixes, *this), m_current(new QLabel(this)),
      m_keymaps(new QListWidget(this)), m_newName(new QLineEdit(this)),
      m_new(new QPushButton(QStringLiteral("&New"), this)),
      m_edit(new QPushButton(QStringLiteral("&Edit"), this)),
      m_delete(new QPushButton(QStringLiteral("&Delete"), this)),
      m_import(new QPushButton(QStringLiteral("&Import"), this)),
      m_export(new QPushButton(QStringLiteral("E&xport"), this)) {
    setWindowTitle(QStringLiteral("Keymap Manager"));
    connect(m_keymaps, &QListWidget::currentRowChanged, this, [this](int row) {
        m_model.select(row >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(row)) : std::nullopt);
    });
    connect(m_newName, &QLineEdit::textChanged, this, [this](const QString& value) {
        m_model.setNewName(toWindows1252(value));
        m_new->setEnabled(m_model.newEnabled());
        m_import->setEnabled(m_model.importEnabled());
    });
    const auto forward = [this](void (KeymapManager::*action)()) {
        return [this, action] {
            (m_model.*action)();
            showList();
        };
    };
    connect(m_new, &QPushButton::clicked, this, forward(&KeymapManager::newKeymap));
    connect(m_edit, &QPushButton::clicked, this, forward(&KeymapManager::editKeymap));
    connect(m_delete, &QPushButton::clicked, this, forward(&KeymapManager::deleteKeymap));
    connect(m_import, &QPushButton::clicked, this, forward(&KeymapManager::importKeymap));
    connect(m_export, &QPushButton::clicked, this, forward(&KeymapManager::exportKeymap));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &KeymapManagerWindow::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &KeymapManagerWindow::reject);

    auto* side = new QVBoxLayout;
    auto* newLabel = new QLabel(QStringLiteral("Ne&w Keymap:"), this);
    newLabel->setBuddy(m_newName);
    side->addWidget(newLabel);
    side->addWidget(m_newName);
    for (QPushButton* button : {m_new, m_edit, m_delete, m_import, m_export}) {
        side->addWidget(button);
    }
    side->addStretch();
    auto* listColumn = new QVBoxLayout;
    auto* listLabel = new QLabel(QStringLiteral("Definded &Keymaps"), this);
    listLabel->setBuddy(m_keymaps);
    listColumn->addWidget(listLabel);
    listColumn->addWidget(m_keymaps);
    auto* columns = new QHBoxLayout;
    columns->addLayout(listColumn);
    columns->addLayout(side);
    auto* current = new QHBoxLayout;
    current->addWidget(new QLabel(QStringLiteral("Current Keymap:"), this));
    current->addWidget(m_current, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(current);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    showList();
}

void KeymapManagerWindow::confirm() {
    m_model.confirm();
    QDialog::accept();
}

void KeymapManagerWindow::reject() {
    // Cancel, Escape and the window's close button all close the dialog.
    m_model.close();
    QDialog::reject();
}

void KeymapManagerWindow::runBindingEditor(BindingEditor& editor) {
    BindingEditorWindow window(editor, this);
    (void)(m_runner ? m_runner(window) : window.exec());
}

void KeymapManagerWindow::activateKeymap(std::unique_ptr<Keymap> keymap) {
    if (m_activator) {
        m_activator(std::move(keymap));
    }
}

void KeymapManagerWindow::showList() {
    {
        const QSignalBlocker blocker(m_keymaps);
        m_keymaps->clear();
        for (const std::string& name : m_model.keymapNames()) {
            m_keymaps->addItem(text(name));
        }
        const auto selected = m_model.selection();
        m_keymaps->setCurrentRow(selected.has_value() ? static_cast<int>(*selected) : -1);
    }
    {
        const QSignalBlocker blocker(m_newName);
        m_newName->setText(text(m_model.newName()));
    }
    m_current->setText(text(m_model.currentKeymap()));
    m_new->setEnabled(m_model.newEnabled());
    m_import->setEnabled(m_model.importEnabled());
}

} // namespace vexa::ui
