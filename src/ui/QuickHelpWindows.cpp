// The help dialogs' views: every button hands over to the model, which decides.
#include "ui/QuickHelpWindows.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "aids/QuickHelpDialogs.h"
#include "ui/Windows1252.h"

namespace vexa::ui {

HelpTextWindow::HelpTextWindow(aids::HelpTextDialog& model, QWidget* parent) : QDialog(parent) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(true);
    if (model.format() == aids::HelpTextDialog::Format::Markdown) {
        browser->setMarkdown(fromWindows1252(model.text()));
    } else {
        browser->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        browser->setPlainText(fromWindows1252(model.text()));
    }
    if (!model.section().empty()) {
        // Starts at the heading of the section.
        const QString heading = fromWindows1252(model.section());
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().headingLevel() > 0 && block.text() == heading) {
                QTextCursor cursor(block);
                browser->setTextCursor(cursor);
                browser->ensureCursorVisible();
                break;
            }
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    resize(760, 620);
}

QuickHelpWindow::QuickHelpWindow(aids::QuickHelpDialog& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(fromWindows1252(model.title()));
    auto* layout = new QVBoxLayout(this);
    if (model.searchMode()) {
        m_keyword = new QComboBox(this);
        m_keyword->setEditable(true);
        for (const std::string& entry : model.history()) {
            m_keyword->addItem(fromWindows1252(entry));
        }
        m_keyword->setEditText(fromWindows1252(model.keyword()));
        layout->addWidget(new QLabel(tr("&Keyword:"), this));
        layout->addWidget(m_keyword);
    }
    auto* label = new QLabel(fromWindows1252(aids::QuickHelpDialog::kListLabel), this);
    m_hits = new QListWidget(this);
    label->setBuddy(m_hits);
    layout->addWidget(label);
    layout->addWidget(m_hits);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QuickHelpWindow::pressOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_hits, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            m_model.select(static_cast<std::size_t>(row));
        }
    });
    connect(m_hits, &QListWidget::itemDoubleClicked, this, [this] { pressOk(); });
    refreshHits();
}

void QuickHelpWindow::refreshHits() {
    m_hits->clear();
    for (const aids::HelpHit& hit : m_model.hits()) {
        m_hits->addItem(fromWindows1252(hit.title));
    }
    if (auto selected = m_model.selected()) {
        m_hits->setCurrentRow(static_cast<int>(*selected));
    }
}

void QuickHelpWindow::pressOk() {
    if (m_keyword != nullptr) {
        m_model.setKeyword(toWindows1252(m_keyword->currentText()));
    }
    if (m_model.accept()) {
        accept();
        return;
    }
    refreshHits();
}

QuickSetupWindow::QuickSetupWindow(aids::QuickSetupDialog& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(fromWindows1252(model.title()));
    m_files = new QListWidget(this);
    m_installed = new QListWidget(this);
    auto* add = new QPushButton(tr("&Add >>"), this);
    auto* remove = new QPushButton(tr("<< &Remove"), this);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(add);
    middle->addWidget(remove);
    middle->addStretch();
    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(tr("Help files:"), this));
    left->addWidget(m_files);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(tr("Installed help files:"), this));
    right->addWidget(m_installed);
    lists->addLayout(left);
    lists->addLayout(middle);
    lists->addLayout(right);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    connect(m_files, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        int row = m_files->row(item);
        if (row >= 0 && static_cast<std::size_t>(row) < m_model.files().size() &&
            m_model.files()[static_cast<std::size_t>(row)].directory) {
            if (m_model.enterDirectory(m_model.files()[static_cast<std::size_t>(row)].name)) {
                refresh();
            }
        }
    });
    connect(add, &QPushButton::clicked, this, [this] {
        int row = m_files->currentRow();
        if (row >= 0 && static_cast<std::size_t>(row) < m_model.files().size() &&
            !m_model.files()[static_cast<std::size_t>(row)].directory) {
            (void)m_model.add(m_model.files()[static_cast<std::size_t>(row)].name);
            refresh();
        }
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        int row = m_installed->currentRow();
        if (row >= 0 && static_cast<std::size_t>(row) < m_model.installed().size()) {
            (void)m_model.remove(m_model.installed()[static_cast<std::size_t>(row)]);
            refresh();
        }
    });
    refresh();
    resize(640, 420);
}

void QuickSetupWindow::refresh() {
    m_files->clear();
    for (const aids::QuickSetupDialog::Entry& entry : m_model.files()) {
        m_files->addItem(fromWindows1252(entry.directory ? "[" + entry.name + "]" : entry.name));
    }
    m_installed->clear();
    for (const std::string& name : m_model.installed()) {
        m_installed->addItem(fromWindows1252(name));
    }
}

} // namespace vexa::ui
