// The Extension Options dialog.
#include "ui/ExtensionOptionsWindow.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/EditExtensionWindow.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

QString text(std::string_view value) {
    return fromWindows1252(value);
}

} // namespace

ExtensionOptionsWindow::ExtensionOptionsWindow(syntax::SyntaxSettings& settings, Frame& frame,
                                               DialogRunner runner, QWidget* parent)
    : QDialog(parent), m_runner(std::move(runner)),
      m_model(settings, frame, [this](syntax::EditExtensionDialog& editor) { return presentEditor(editor); }),
      m_entries(new QListWidget(this)), m_extension(new QLineEdit(this)), m_description(new QLabel(this)),
      m_new(new QPushButton(QStringLiteral("&New"), this)),
      m_clone(new QPushButton(QStringLiteral("&Clone"), this)),
      m_edit(new QPushButton(QStringLiteral("&Edit"), this)),
      m_delete(new QPushButton(QStringLiteral("&Delete"), this)) {
    setWindowTitle(QStringLiteral("Extension Options"));
    m_extension->setMaxLength(3);
    connect(m_extension, &QLineEdit::textChanged, this,
            [this](const QString& value) { m_model.setExtensionField(toWindows1252(value)); });
    connect(m_entries, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            m_model.select(static_cast<std::size_t>(row));
            m_description->setText(text(m_model.description()));
        }
    });
    const auto after = [this](void (syntax::ExtensionOptionsDialog::*action)()) {
        return [this, action] {
            (m_model.*action)();
            showEntries();
            if (m_model.extensionFieldFocused()) {
                m_extension->setFocus();
            }
        };
    };
    connect(m_new, &QPushButton::clicked, this, after(&syntax::ExtensionOptionsDialog::newProfile));
    connect(m_clone, &QPushButton::clicked, this, after(&syntax::ExtensionOptionsDialog::cloneProfile));
    connect(m_edit, &QPushButton::clicked, this, after(&syntax::ExtensionOptionsDialog::editProfile));
    connect(m_delete, &QPushButton::clicked, this, after(&syntax::ExtensionOptionsDialog::deleteProfile));
    connect(m_entries, &QListWidget::itemDoubleClicked, m_edit, &QPushButton::click);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("E&xtension:"), this));
    side->addWidget(m_extension);
    side->addWidget(m_new);
    side->addWidget(m_clone);
    side->addWidget(m_edit);
    side->addWidget(m_delete);
    side->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addWidget(m_entries);
    columns->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(m_description);
    layout->addWidget(buttons);
    showEntries();
}

bool ExtensionOptionsWindow::presentEditor(syntax::EditExtensionDialog& editor) {
    EditExtensionWindow window(editor, this);
    const int result = m_runner ? m_runner(window) : window.exec();
    return result == QDialog::Accepted && editor.isClosed();
}

void ExtensionOptionsWindow::showEntries() {
    const QSignalBlocker blocker(m_entries);
    m_entries->clear();
    for (std::string_view entry : m_model.entries()) {
        m_entries->addItem(text(entry));
    }
    if (const auto selected = m_model.selected(); selected.has_value()) {
        m_entries->setCurrentRow(static_cast<int>(*selected));
    }
    m_description->setText(text(m_model.description()));
}

} // namespace vexa::ui
