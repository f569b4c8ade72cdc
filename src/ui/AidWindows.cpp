// The writing aids' dialogs: widgets bound to their models.
#include "ui/AidWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "aids/AidDialogs.h"
#include "text/TextEncoding.h"
#include "ui/Windows1252.h"

namespace vexa::ui {

// The spelling dialog's words and the template entries cross as UTF-8 (stored template texts of
// older sets may be Windows-1252: they are read as external text); the commands convert them to
// and from a document's bytes where they meet one.
SpellingWindow::SpellingWindow(aids::SpellingDialog& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_words(new QListWidget(this)), m_changeTo(new QLineEdit(this)),
      m_change(new QPushButton(QStringLiteral("Cha&nge"), this)) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* word = new QLineEdit(fromUtf8Text(model.word()), this);
    word->setReadOnly(true);
    for (const std::string& suggestion : model.suggestions()) {
        m_words->addItem(fromUtf8Text(suggestion));
    }
    if (model.selected()) {
        m_words->setCurrentRow(static_cast<int>(*model.selected()));
        m_changeTo->setText(fromUtf8Text(model.changeTo()));
    }
    m_change->setEnabled(model.changeEnabled());
    auto* add = new QPushButton(QStringLiteral("&Add"), this);
    auto* ignore = new QPushButton(QStringLiteral("&Ignore"), this);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Word not in &dictionary:"), word);
    form->addRow(QStringLiteral("Change &word to:"), m_changeTo);
    form->addRow(QStringLiteral("Words:"), m_words);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_change, add, ignore, cancel}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_words, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) {
            return;
        }
        m_model.select(static_cast<std::size_t>(row));
        m_changeTo->setText(fromUtf8Text(m_model.changeTo()));
        m_change->setEnabled(m_model.changeEnabled());
    });
    connect(m_changeTo, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.typeChangeTo(toUtf8Text(text));
        m_change->setEnabled(m_model.changeEnabled());
    });
    connect(m_change, &QPushButton::clicked, this,
            [this] { finish(static_cast<int>(aids::SpellingDialog::Button::Change)); });
    connect(add, &QPushButton::clicked, this,
            [this] { finish(static_cast<int>(aids::SpellingDialog::Button::Add)); });
    connect(ignore, &QPushButton::clicked, this,
            [this] { finish(static_cast<int>(aids::SpellingDialog::Button::Ignore)); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SpellingWindow::finish(int button) {
    m_model.press(static_cast<aids::SpellingDialog::Button>(button));
    accept();
}

SpellingOptionsWindow::SpellingOptionsWindow(aids::SpellingOptionsDialog& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* dictionary = new QComboBox(this);
    for (const aids::DictionaryChoice& choice : model.dictionaries()) {
        dictionary->addItem(
            fromWindows1252(choice.description.empty() ? choice.fileName : choice.description));
    }
    dictionary->setCurrentIndex(model.chosen() ? static_cast<int>(*model.chosen()) : -1);
    connect(dictionary, &QComboBox::activated, this,
            [this](int index) { m_model.choose(static_cast<std::size_t>(index)); });
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Dictionary:"), dictionary);
    struct Flag {
        const char* text;
        bool aids::SpellOptions::*field;
    };
    const Flag flags[] = {
        {"Skip e-mail and &HTML addresses", &aids::SpellOptions::html},
        {"&English possessives ('s)", &aids::SpellOptions::english},
        {"Accept words with &numbers", &aids::SpellOptions::numbers},
        {"Check words in &capitals", &aids::SpellOptions::capitals},
        {"Accept single c&haracters", &aids::SpellOptions::character},
        {"&Underscore", &aids::SpellOptions::underscore},
    };
    for (const Flag& flag : flags) {
        auto* box = new QCheckBox(QString::fromLatin1(flag.text), this);
        box->setChecked(model.options().*flag.field);
        connect(box, &QCheckBox::clicked, this,
                [this, field = flag.field](bool on) { m_model.options().*field = on; });
        form->addRow(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

EditTemplateWindow::EditTemplateWindow(aids::EditTemplateDialog& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_entries(new QTableWidget(0, 3, this)),
      m_abbreviation(new QLineEdit(this)), m_expansion(new QPlainTextEdit(this)) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* description = new QLineEdit(fromExternalText(model.description), this);
    description->setMaxLength(static_cast<int>(aids::kMaxTemplateDescription));
    auto* useDefault = new QCheckBox(QStringLiteral("&Use the default templates"), this);
    useDefault->setChecked(model.useDefaultTemplates);
    auto* ignoreCase = new QCheckBox(QStringLiteral("I&gnore Case"), this);
    ignoreCase->setChecked(model.ignoreCase);
    m_entries->setHorizontalHeaderLabels(
        {QStringLiteral("Template"), QStringLiteral("Length"), QStringLiteral("Expansion")});
    m_entries->horizontalHeader()->setStretchLastSection(true);
    m_entries->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_entries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_abbreviation->setMaxLength(static_cast<int>(aids::kMaxAbbreviation));
    auto* add = new QPushButton(QStringLiteral("&Add"), this);
    auto* remove = new QPushButton(QStringLiteral("&Delete"), this);
    auto* update = new QPushButton(QStringLiteral("U&pdate"), this);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Description:"), description);
    form->addRow(useDefault);
    form->addRow(ignoreCase);
    form->addRow(m_entries);
    form->addRow(QStringLiteral("&Template:"), m_abbreviation);
    form->addRow(QStringLiteral("&Expansion:"), m_expansion);
    auto* row = new QHBoxLayout;
    row->addWidget(add);
    row->addWidget(remove);
    row->addWidget(update);
    form->addRow(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);

    const auto put = [this] {
        if (m_model.put(toUtf8Text(m_abbreviation->text()), toUtf8Text(m_expansion->toPlainText()))) {
            refreshEntries();
        }
    };
    connect(add, &QPushButton::clicked, this, put);
    connect(update, &QPushButton::clicked, this, put);
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_entries->currentRow() >= 0 &&
            m_model.remove(static_cast<std::size_t>(m_entries->currentRow()))) {
            refreshEntries();
        }
    });
    connect(m_entries, &QTableWidget::currentCellChanged, this, [this](int entryRow) {
        if (entryRow >= 0 && static_cast<std::size_t>(entryRow) < m_model.entries().size()) {
            const aids::TemplateEntry& entry = m_model.entries()[static_cast<std::size_t>(entryRow)];
            m_abbreviation->setText(fromExternalText(entry.abbreviation));
            m_expansion->setPlainText(fromExternalText(entry.expansion));
        }
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this, description, useDefault, ignoreCase] {
        m_model.description = toUtf8Text(description->text());
        m_model.useDefaultTemplates = useDefault->isChecked();
        m_model.ignoreCase = ignoreCase->isChecked();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refreshEntries();
}

void EditTemplateWindow::refreshEntries() {
    m_entries->setRowCount(static_cast<int>(m_model.entries().size()));
    int row = 0;
    for (const aids::TemplateEntry& entry : m_model.entries()) {
        const QString abbreviation = fromExternalText(entry.abbreviation);
        m_entries->setItem(row, 0, new QTableWidgetItem(abbreviation));
        m_entries->setItem(row, 1, new QTableWidgetItem(QString::number(abbreviation.toUcs4().size())));
        m_entries->setItem(row, 2, new QTableWidgetItem(fromExternalText(entry.expansion)));
        ++row;
    }
}

TemplateOptionsWindow::TemplateOptionsWindow(aids::TemplateOptionsDialog& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_sets(new QListWidget(this)) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* create = new QPushButton(QStringLiteral("&New"), this);
    auto* edit = new QPushButton(QStringLiteral("&Edit"), this);
    auto* remove = new QPushButton(QStringLiteral("&Delete"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* side = new QVBoxLayout;
    for (QPushButton* button : {create, edit, remove}) {
        side->addWidget(button);
    }
    side->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(m_sets);
    row->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);

    connect(create, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString name =
            QInputDialog::getText(this, QStringLiteral("New Template"), QStringLiteral("File &extension:"),
                                  QLineEdit::Normal, {}, &ok);
        if (ok) {
            (void)m_model.newSet(toWindows1252(name));
            refreshSets();
        }
    });
    connect(edit, &QPushButton::clicked, this, [this] {
        if (m_sets->currentRow() >= 0 && m_model.editSet(static_cast<std::size_t>(m_sets->currentRow()))) {
            refreshSets();
        }
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_sets->currentRow() >= 0 && m_model.deleteSet(static_cast<std::size_t>(m_sets->currentRow()))) {
            refreshSets();
        }
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refreshSets();
}

void TemplateOptionsWindow::refreshSets() {
    m_sets->clear();
    for (const std::string& line : m_model.lines()) {
        m_sets->addItem(fromExternalText(line));
    }
}

} // namespace vexa::ui
