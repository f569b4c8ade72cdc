// The window's share of searching.
#include "ui/SearchController.h"

#include "commands/ReplaceDialogModel.h"
#include "commands/SearchActions.h"
#include "commands/SearchPaneAdapter.h"
#include "settings/SettingsFile.h"
#include "ui/EditPaneWidget.h"
#include "ui/FindDialog.h"

namespace vexa::ui {

SearchController::SearchController(Messenger& messenger, SettingsFile& settings, std::string configDirectory,
                                   std::function<EditPaneWidget*()> activePane, QWidget* dialogParent)
    : m_messenger(messenger), m_settings(settings), m_configDirectory(std::move(configDirectory)),
      m_activePane(std::move(activePane)), m_dialogParent(dialogParent) {
    m_state.load(settings);
}

SearchController::~SearchController() {
    if (m_dialog != nullptr) {
        // The dialog's model refers to the state; it must go first.
        QObject::disconnect(m_dialog, nullptr, nullptr, nullptr);
        delete m_dialog;
    }
}

QDialog* SearchController::findDialog() const {
    return m_dialog;
}

SearchPane* SearchController::pane() {
    EditPaneWidget* widget = m_activePane();
    if (widget == nullptr) {
        m_pane.reset();
        return nullptr;
    }
    m_pane = std::make_unique<SearchPaneAdapter>(&widget->pane());
    return m_pane.get();
}

void SearchController::takeFindText() {
    if (EditPaneWidget* widget = m_activePane()) {
        (void)SearchActions(m_state, m_messenger).takeFindTextFromDocument(widget->document());
    }
    if (m_dialog != nullptr) {
        QObject::disconnect(m_dialog, nullptr, nullptr, nullptr);
        delete m_dialog;
        m_dialog = nullptr;
    }
}

void SearchController::show(FindDialog* dialog) {
    m_dialog = dialog;
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(m_dialog, &QObject::destroyed, [this] { m_dialog = nullptr; });
    m_dialog->show();
}

void SearchController::searchWordCurrent() {
    takeFindText();
    show(new FindDialog(
        std::make_unique<SearchDialogModel>(m_state, m_messenger, m_configDirectory),
        [this] { return paneForDialog(); }, m_dialogParent));
}

void SearchController::replaceWordCurrent() {
    takeFindText();
    show(new FindDialog(
        std::make_unique<ReplaceDialogModel>(m_state, m_messenger, m_configDirectory),
        [this] { return paneForDialog(); }, m_dialogParent));
}

SearchPane* SearchController::paneForDialog() {
    SearchPane* found = pane();
    if (EditPaneWidget* widget = m_activePane()) {
        widget->syncCaret();
    }
    return found;
}

void SearchController::searchAgain(bool forward) {
    SearchPane* target = pane();
    if (target == nullptr) {
        return;
    }
    SearchActions actions(m_state, m_messenger);
    (void)(forward ? actions.searchNext(*target) : actions.searchPrevious(*target));
    if (EditPaneWidget* widget = m_activePane()) {
        widget->syncCaret();
    }
}

bool SearchController::save() {
    return m_state.save(m_settings);
}

} // namespace vexa::ui
