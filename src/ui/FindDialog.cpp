// The Find dialog over its model.
#include "ui/FindDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "commands/ReplaceDialogModel.h"

namespace vexa::ui {
namespace {

QString label(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

FindDialog::FindDialog(std::unique_ptr<SearchDialogModel> model, std::function<SearchPane*()> paneForSearch,
                       QWidget* parent)
    : QDialog(parent), m_model(std::move(model)), m_paneForSearch(std::move(paneForSearch)),
      m_findText(new QComboBox(this)),
      m_wholeWord(new QCheckBox(label(SearchDialogModel::kWholeWordLabel), this)),
      m_caseSensitive(new QCheckBox(label(SearchDialogModel::kCaseLabel), this)),
      m_regex(new QCheckBox(label(SearchDialogModel::kRegexLabel), this)),
      m_up(new QRadioButton(label(SearchDialogModel::kUpLabel), this)),
      m_down(new QRadioButton(label(SearchDialogModel::kDownLabel), this)),
      m_findNext(new QPushButton(label(SearchDialogModel::kFindNextLabel), this)) {
    setWindowTitle(label(SearchDialogModel::kTitle));
    build();
}

FindDialog::FindDialog(std::unique_ptr<ReplaceDialogModel> model, std::function<SearchPane*()> paneForSearch,
                       QWidget* parent)
    : FindDialog(std::unique_ptr<SearchDialogModel>(), std::move(paneForSearch), parent) {
    m_replaceModel = model.get();
    m_model = std::move(model);
    setWindowTitle(label(ReplaceDialogModel::kTitle));
    build();
}

void FindDialog::build() {
    if (!m_model) {
        return; // the Replace dialog fills the controls once its model is in place
    }
    setModal(false);
    m_findText->setEditable(true);
    m_findText->setInsertPolicy(QComboBox::NoInsert);
    m_findText->setMinimumWidth(320);
    fillHistory();
    m_findText->setEditText(QString::fromLocal8Bit(m_model->findText()));
    m_wholeWord->setChecked(m_model->wholeWord());
    m_caseSensitive->setChecked(m_model->caseSensitive());
    m_regex->setChecked(m_model->regularExpression());
    (m_model->searchDown() ? m_down : m_up)->setChecked(true);

    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);
    auto* cancel = new QPushButton(label(SearchDialogModel::kCancelLabel), this);
    m_findNext->setDefault(true);

    auto* controls = new QVBoxLayout;
    auto* textRow = new QHBoxLayout;
    auto* textLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    textLabel->setBuddy(m_findText);
    textRow->addWidget(textLabel);
    textRow->addWidget(m_findText, 1);
    controls->addLayout(textRow);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    if (m_replaceModel != nullptr) {
        m_replaceText = new QComboBox(this);
        m_replaceText->setEditable(true);
        m_replaceText->setInsertPolicy(QComboBox::NoInsert);
        fillReplaceHistory();
        m_replaceText->setEditText(QString::fromLocal8Bit(m_replaceModel->replaceText()));
        m_replaceAll = new QCheckBox(label(ReplaceDialogModel::kReplaceAllLabel), this);
        m_replaceAll->setChecked(m_replaceModel->replaceAll());
        auto* replaceLabel = new QLabel(label(ReplaceDialogModel::kReplaceWithLabel), this);
        replaceLabel->setBuddy(m_replaceText);
        auto* replaceRow = new QHBoxLayout;
        replaceRow->addWidget(replaceLabel);
        replaceRow->addWidget(m_replaceText, 1);
        controls->addLayout(replaceRow);
        controls->addWidget(m_replaceAll);
        auto* replaceButton = new QPushButton(label(ReplaceDialogModel::kReplaceLabel), this);
        replaceButton->setObjectName(QStringLiteral("replace"));
        buttons->addWidget(replaceButton);
        connect(replaceButton, &QPushButton::clicked, this, [this] { (void)replace(); });
        connect(m_replaceText, &QComboBox::activated, this, [this](int index) {
            m_replaceModel->chooseReplaceHistory(static_cast<std::size_t>(index));
            m_replaceText->setEditText(QString::fromLocal8Bit(m_replaceModel->replaceText()));
        });
    }
    controls->addWidget(m_wholeWord);
    controls->addWidget(m_caseSensitive);
    controls->addWidget(m_regex);
    controls->addWidget(direction);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(controls, 1);
    layout->addLayout(buttons);

    connect(m_findNext, &QPushButton::clicked, this, [this] { (void)findNext(); });
    connect(cancel, &QPushButton::clicked, this, &FindDialog::reject);
    connect(m_findText, &QComboBox::editTextChanged, this,
            [this](const QString& text) { m_findNext->setEnabled(!text.isEmpty()); });
    connect(m_findText, &QComboBox::activated, this, [this](int index) {
        m_model->chooseFindHistory(static_cast<std::size_t>(index));
        m_findText->setEditText(QString::fromLocal8Bit(m_model->findText()));
    });
    m_findNext->setEnabled(m_model->findNextEnabled());
}

FindDialog::~FindDialog() {
    if (m_model) {
        (void)m_model->close();
    }
}

void FindDialog::fillReplaceHistory() {
    m_replaceText->clear();
    for (const std::string& entry : m_replaceModel->replaceHistory().entries()) {
        m_replaceText->addItem(QString::fromLocal8Bit(entry));
    }
}

int FindDialog::replace() {
    applyControls();
    const int replaced = m_replaceModel->replace(m_paneForSearch());
    const QString find = m_findText->currentText();
    const QString with = m_replaceText->currentText();
    fillHistory();
    fillReplaceHistory();
    m_findText->setEditText(find);
    m_replaceText->setEditText(with);
    return replaced;
}

void FindDialog::fillHistory() {
    m_findText->clear();
    for (const std::string& entry : m_model->findHistory().entries()) {
        m_findText->addItem(QString::fromLocal8Bit(entry));
    }
}

void FindDialog::applyControls() {
    m_model->setFindText(m_findText->currentText().toLocal8Bit().toStdString());
    m_model->setWholeWord(m_wholeWord->isChecked());
    m_model->setCaseSensitive(m_caseSensitive->isChecked());
    m_model->setRegularExpression(m_regex->isChecked());
    m_model->setSearchDown(m_down->isChecked());
    if (m_replaceModel != nullptr) {
        m_replaceModel->setReplaceText(m_replaceText->currentText().toLocal8Bit().toStdString());
        m_replaceModel->setReplaceAll(m_replaceAll->isChecked());
    }
}

bool FindDialog::findNext() {
    applyControls();
    if (!m_model->findNextEnabled()) {
        return false;
    }
    const bool found = m_model->findNext(m_paneForSearch());
    const QString text = m_findText->currentText();
    fillHistory();
    m_findText->setEditText(text);
    if (m_model->focusOnFindText()) {
        m_findText->setFocus();
        m_findText->lineEdit()->selectAll();
    }
    return found;
}

void FindDialog::reject() {
    m_model->cancel();
    QDialog::reject();
}

} // namespace vexa::ui
