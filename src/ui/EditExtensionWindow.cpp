// The Edit Extension / New Extension dialog.
#include "ui/EditExtensionWindow.h"
#include "ui/Windows1252.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vexa::ui {
namespace {

using syntax::ExtensionField;

QString text(std::string_view value) {
    return fromWindows1252(value);
}

std::size_t indexOf(ExtensionField field) {
    return static_cast<std::size_t>(field) - 1;
}

struct FieldLabel {
    ExtensionField field;
    const char* label;
};

constexpr std::array kTextFields{
    FieldLabel{ExtensionField::Description, "&Description:"},
    FieldLabel{ExtensionField::Delimiters, "De&limiters:"},
    FieldLabel{ExtensionField::CommentStart, "Comment &start:"},
    FieldLabel{ExtensionField::CommentEnd, "Comment &end:"},
    FieldLabel{ExtensionField::LineComment, "Li&ne comment:"},
    FieldLabel{ExtensionField::Literal, "Li&teral:"},
    FieldLabel{ExtensionField::KeywordPrefix, "Keyword &prefix:"},
    FieldLabel{ExtensionField::KeywordPostfix, "Keyword post&fix:"},
    FieldLabel{ExtensionField::Preprocessor, "P&reprocessor:"},
    FieldLabel{ExtensionField::String, "Strin&g:"},
};

} // namespace

EditExtensionWindow::EditExtensionWindow(syntax::EditExtensionDialog& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_ignoreCase(new QCheckBox(QStringLiteral("&Ignore case"), this)),
      m_keywords(new QListWidget(this)), m_add(new QPushButton(QStringLiteral("&Add"), this)),
      m_update(new QPushButton(QStringLiteral("&Update"), this)),
      m_delete(new QPushButton(QStringLiteral("De&lete"), this)), m_ok(nullptr) {
    setWindowTitle(text(m_model.title()) + QStringLiteral(" - ") + text(m_model.extension()));
    auto* form = new QFormLayout;
    for (const FieldLabel& entry : kTextFields) {
        auto* edit = new QLineEdit(text(m_model.text(entry.field)), this);
        m_fields[indexOf(entry.field)] = edit;
        form->addRow(QString::fromLatin1(entry.label), edit);
        const ExtensionField which = entry.field;
        connect(edit, &QLineEdit::textEdited, this, [this, which, edit](const QString& value) {
            m_model.setText(which, toWindows1252(value));
            // The model cuts the text to the field's width; show what it kept.
            const QString kept = text(m_model.text(which));
            if (kept != value) {
                const QSignalBlocker blocker(edit);
                edit->setText(kept);
            }
            showEnabled();
        });
    }
    m_ignoreCase->setChecked(m_model.ignoreCase());
    form->addRow(QString(), m_ignoreCase);
    connect(m_ignoreCase, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setIgnoreCase(on);
        showEnabled();
    });

    auto* keyword = new QLineEdit(this);
    m_fields[indexOf(ExtensionField::Keyword)] = keyword;
    connect(keyword, &QLineEdit::textEdited, this, [this](const QString& value) {
        m_model.setText(ExtensionField::Keyword, toWindows1252(value));
        showEnabled();
    });
    connect(m_keywords, &QListWidget::currentRowChanged, this, [this, keyword](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) != m_model.selectedKeyword()) {
            m_model.selectKeyword(static_cast<std::size_t>(row));
            keyword->setText(text(m_model.text(ExtensionField::Keyword)));
            showEnabled();
        }
    });
    connect(m_add, &QPushButton::clicked, this, [this] {
        m_model.addKeyword();
        showKeywords();
    });
    connect(m_update, &QPushButton::clicked, this, [this] {
        m_model.updateKeyword();
        showKeywords();
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        m_model.deleteKeyword();
        showKeywords();
    });
    auto* keywordButtons = new QHBoxLayout;
    keywordButtons->addWidget(m_add);
    keywordButtons->addWidget(m_update);
    keywordButtons->addWidget(m_delete);
    if (m_model.hasImport()) {
        auto* import = new QPushButton(QStringLiteral("I&mport..."), this);
        keywordButtons->addWidget(import);
        connect(import, &QPushButton::clicked, this, [this] {
            if (m_model.importKeywords()) {
                showKeywords();
            }
        });
    }
    auto* keywordBox = new QVBoxLayout;
    keywordBox->addWidget(keyword);
    keywordBox->addWidget(m_keywords);
    keywordBox->addLayout(keywordButtons);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(m_ok, &QPushButton::clicked, this, &EditExtensionWindow::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* columns = new QHBoxLayout;
    columns->addLayout(form);
    columns->addLayout(keywordBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    showKeywords();
}

QLineEdit* EditExtensionWindow::field(syntax::ExtensionField which) const {
    if (which == ExtensionField::None || which == ExtensionField::IgnoreCase) {
        return nullptr;
    }
    return m_fields[indexOf(which)];
}

void EditExtensionWindow::confirm() {
    if (m_model.confirm()) {
        accept();
        return;
    }
    // The model refused: put the focus where it says the fault is.
    if (QLineEdit* edit = field(m_model.focus()); edit != nullptr) {
        edit->setFocus();
        if (const auto selection = m_model.delimiterSelection(); selection.has_value()) {
            edit->setSelection(static_cast<int>(*selection), 1);
        }
    }
}

void EditExtensionWindow::showKeywords() {
    const QSignalBlocker blocker(m_keywords);
    m_keywords->clear();
    for (const std::string& entry : m_model.keywordEntries()) {
        m_keywords->addItem(text(entry));
    }
    if (const auto selected = m_model.selectedKeyword(); selected.has_value()) {
        m_keywords->setCurrentRow(static_cast<int>(*selected));
    }
    showEnabled();
}

void EditExtensionWindow::showEnabled() {
    m_add->setEnabled(m_model.addEnabled());
    m_update->setEnabled(m_model.updateEnabled());
    m_delete->setEnabled(m_model.deleteEnabled());
    if (m_ok != nullptr) {
        m_ok->setEnabled(m_model.okEnabled());
    }
}

} // namespace vexa::ui
