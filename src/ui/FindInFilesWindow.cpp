// The Find in Files dialog's view. Every text here is UTF-8 on the model's side: the find text as
// Find keeps it, the folder and patterns as file-system text.
#include "ui/FindInFilesWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "findfiles/FindInFilesDialog.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

QCheckBox* option(const char* label, bool on, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromUtf8(label), parent);
    box->setChecked(on);
    return box;
}

} // namespace

FindInFilesWindow::FindInFilesWindow(findfiles::FindInFilesDialog& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_findText(new QComboBox(this)), m_folder(new QLineEdit(this)),
      m_patterns(new QLineEdit(this)), m_problem(new QLabel(this)) {
    setWindowTitle(fromUtf8Text(model.title()));
    setObjectName(QStringLiteral("FindInFilesWindow"));
    const findfiles::FolderSearchRequest& request = model.request();
    m_findText->setEditable(true);
    m_findText->setObjectName(QStringLiteral("findText"));
    for (const std::string& entry : model.findHistory().entries()) {
        m_findText->addItem(fromUtf8Text(entry));
    }
    m_findText->setEditText(fromUtf8Text(request.findText));
    m_findText->lineEdit()->selectAll();
    m_folder->setObjectName(QStringLiteral("folder"));
    m_folder->setText(fromUtf8Text(request.folder));
    m_patterns->setObjectName(QStringLiteral("filePatterns"));
    m_patterns->setText(fromUtf8Text(model.filePatterns()));
    m_regex = option("Regular E&xpression", request.options.regularExpression, this);
    m_case = option("Match Ca&se Sensitive", request.options.caseCheck, this);
    m_word = option("Match &Whole Word Only", request.options.wholeWord, this);
    m_subfolders = option("Search Sub&folders", request.subfolders, this);
    m_skipHidden = option("Skip &Hidden Folders and .git", request.skipHiddenFolders, this);
    m_ignoreFiles = option("Respect .git&ignore Files", request.useIgnoreFiles, this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Fi&nd what:"), m_findText);
    form->addRow(QStringLiteral("F&older:"), m_folder);
    form->addRow(QStringLiteral("File &patterns:"), m_patterns);
    auto* find = new QPushButton(QStringLiteral("&Find"), this);
    find->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    connect(find, &QPushButton::clicked, this, &FindInFilesWindow::pressFind);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(find);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    for (QCheckBox* box : {m_regex, m_case, m_word, m_subfolders, m_skipHidden, m_ignoreFiles}) {
        layout->addWidget(box);
    }
    layout->addWidget(m_problem);
    layout->addLayout(buttons);
    m_findText->setFocus();
}

void FindInFilesWindow::pressFind() {
    findfiles::FolderSearchRequest& request = m_model.request();
    request.findText = toUtf8Text(m_findText->currentText());
    request.folder = toUtf8Text(m_folder->text());
    m_model.setFilePatterns(toUtf8Text(m_patterns->text()));
    request.options.regularExpression = m_regex->isChecked();
    request.options.caseCheck = m_case->isChecked();
    request.options.wholeWord = m_word->isChecked();
    request.subfolders = m_subfolders->isChecked();
    request.skipHiddenFolders = m_skipHidden->isChecked();
    request.useIgnoreFiles = m_ignoreFiles->isChecked();
    if (m_model.pressFind()) {
        accept();
        return;
    }
    m_problem->setText(fromUtf8Text(m_model.problem()));
}

} // namespace vexa::ui
