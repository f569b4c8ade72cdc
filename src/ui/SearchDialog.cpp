// The modeless Find and Replace dialogs over their session.
#include "ui/SearchDialog.h"

#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string>
#include <string_view>

#include "aids/QuickHelpDialogs.h"
#include "ui/DialogFocus.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

QComboBox* historyBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(320);
    return box;
}

} // namespace

SearchDialog::SearchDialog(std::unique_ptr<SearchDialogSession> session, QWidget* parent)
    : QDialog(parent), m_session(std::move(session)), m_findText(historyBox(this)),
      m_wholeWord(new QCheckBox(QStringLiteral("Match &Whole Word Only"), this)),
      m_caseSensitive(new QCheckBox(QStringLiteral("Match Ca&se Sensitive"), this)),
      m_regex(new QCheckBox(QStringLiteral("Regular E&xpression"), this)),
      m_up(new QRadioButton(QStringLiteral("Search &Up"), this)),
      m_down(new QRadioButton(QStringLiteral("Search &Down"), this)),
      m_findNext(new QPushButton(QStringLiteral("&Find Next"), this)) {
    const bool replacing = m_session->kind() == SearchDialogKind::Replace;
    setWindowTitle(replacing ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);

    auto* controls = new QVBoxLayout;
    auto* findRow = new QHBoxLayout;
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd What:"), this);
    findLabel->setBuddy(m_findText);
    findRow->addWidget(findLabel);
    findRow->addWidget(m_findText, 1);
    controls->addLayout(findRow);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    if (replacing) {
        m_replaceText = historyBox(this);
        m_replaceAll = new QCheckBox(QStringLiteral("Replace &All"), this);
        auto* replaceRow = new QHBoxLayout;
        auto* replaceLabel = new QLabel(QStringLiteral("Re&place With:"), this);
        replaceLabel->setBuddy(m_replaceText);
        replaceRow->addWidget(replaceLabel);
        replaceRow->addWidget(m_replaceText, 1);
        controls->addLayout(replaceRow);
        controls->addWidget(m_replaceAll);
        auto* replaceButton = new QPushButton(QStringLiteral("&Replace"), this);
        replaceButton->setObjectName(QStringLiteral("replace"));
        buttons->addWidget(replaceButton);
        connect(replaceButton, &QPushButton::clicked, this, [this] { (void)replace(); });
    }
    controls->addWidget(m_wholeWord);
    controls->addWidget(m_caseSensitive);
    controls->addWidget(m_regex);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);
    controls->addWidget(direction);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    buttons->addWidget(cancel);
    auto* help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("help"));
    buttons->addWidget(help);
    connect(help, &QPushButton::clicked, this, &SearchDialog::helpRequested);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(controls, 1);
    layout->addLayout(buttons);
    m_findNext->setDefault(true);

    fillHistories();
    const SearchDialogControls values = m_session->controls();
    m_findText->setEditText(fromUtf8Text(values.findText));
    if (m_replaceText != nullptr) {
        m_replaceText->setEditText(fromUtf8Text(values.replaceText));
        m_replaceAll->setChecked(values.replaceAll);
    }
    m_wholeWord->setChecked(values.wholeWord);
    m_caseSensitive->setChecked(values.caseSensitive);
    m_regex->setChecked(values.regularExpression);
    (values.searchDown ? m_down : m_up)->setChecked(true);
    m_findNext->setEnabled(m_session->findNextEnabled());

    // The text the dialog opens with (the word at the cursor) is selected: typing replaces it.
    m_findText->setFocus();
    m_findText->lineEdit()->selectAll();
    settleDialogFocus(*this);

    connect(m_findNext, &QPushButton::clicked, this, [this] { (void)findNext(); });
    connect(cancel, &QPushButton::clicked, this, &SearchDialog::reject);
    connect(m_findText, &QComboBox::editTextChanged, this,
            [this](const QString& value) { m_findNext->setEnabled(!value.isEmpty()); });
}

SearchDialog::~SearchDialog() {
    (void)m_session->close();
}

void SearchDialog::fillHistories() {
    const QString find = m_findText->currentText();
    m_findText->clear();
    for (const std::string& entry : m_session->findHistory()) {
        m_findText->addItem(fromUtf8Text(entry));
    }
    m_findText->setEditText(find);
    if (m_replaceText != nullptr) {
        const QString with = m_replaceText->currentText();
        m_replaceText->clear();
        for (const std::string& entry : m_session->replaceHistory()) {
            m_replaceText->addItem(fromUtf8Text(entry));
        }
        m_replaceText->setEditText(with);
    }
}

// The find and replacement texts and their histories are UTF-8, whatever the documents' encodings:
// a search converts them to the document it searches.
void SearchDialog::applyControls() {
    SearchDialogControls values;
    values.findText = toUtf8Text(m_findText->currentText());
    values.wholeWord = m_wholeWord->isChecked();
    values.caseSensitive = m_caseSensitive->isChecked();
    values.regularExpression = m_regex->isChecked();
    values.searchDown = m_down->isChecked();
    if (m_replaceText != nullptr) {
        values.replaceText = toUtf8Text(m_replaceText->currentText());
        values.replaceAll = m_replaceAll->isChecked();
    }
    m_session->setControls(values);
}

bool SearchDialog::findNext() {
    applyControls();
    if (!m_session->findNextEnabled()) {
        return false;
    }
    const bool found = m_session->findNext();
    fillHistories();
    if (!found) {
        m_findText->setFocus();
        m_findText->lineEdit()->selectAll();
    }
    emit searched();
    return found;
}

int SearchDialog::replace() {
    applyControls();
    const int replaced = m_session->replace();
    fillHistories();
    emit searched();
    return replaced;
}

void SearchDialog::reject() {
    m_session->cancel();
    QDialog::reject();
}

} // namespace vexa::ui
