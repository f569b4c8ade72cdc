// The Find or Replace dialog model offered to the frame.
#include "commands/SearchDialogBridge.h"

#include "commands/CommandProcessor.h"
#include "commands/EditPane.h"
#include "commands/SearchPaneAdapter.h"
#include "core/Document.h"
#include "search/ReplaceDialogModel.h"
#include "search/SearchDialogModel.h"

namespace vexa {

SearchDialogBridge::SearchDialogBridge(CommandProcessor& processor, SearchState& state, SearchDialogKind kind,
                                       const std::string& configDirectory)
    : m_processor(processor), m_messenger(processor) {
    if (kind == SearchDialogKind::Replace) {
        auto model = std::make_unique<ReplaceDialogModel>(state, m_messenger, configDirectory);
        m_replace = model.get();
        m_model = std::move(model);
    } else {
        m_model = std::make_unique<SearchDialogModel>(state, m_messenger, configDirectory);
    }
}

SearchDialogBridge::~SearchDialogBridge() = default;

SearchDialogKind SearchDialogBridge::kind() const {
    return m_replace != nullptr ? SearchDialogKind::Replace : SearchDialogKind::Find;
}

SearchDialogControls SearchDialogBridge::controls() const {
    SearchDialogControls controls;
    controls.findText = m_model->findText();
    controls.wholeWord = m_model->wholeWord();
    controls.caseSensitive = m_model->caseSensitive();
    controls.regularExpression = m_model->regularExpression();
    controls.searchDown = m_model->searchDown();
    if (m_replace != nullptr) {
        controls.replaceText = m_replace->replaceText();
        controls.replaceAll = m_replace->replaceAll();
    }
    return controls;
}

void SearchDialogBridge::setControls(const SearchDialogControls& controls) {
    m_model->setFindText(controls.findText);
    m_model->setWholeWord(controls.wholeWord);
    m_model->setCaseSensitive(controls.caseSensitive);
    m_model->setRegularExpression(controls.regularExpression);
    m_model->setSearchDown(controls.searchDown);
    if (m_replace != nullptr) {
        m_replace->setReplaceText(controls.replaceText);
        m_replace->setReplaceAll(controls.replaceAll);
    }
}

std::vector<std::string> SearchDialogBridge::findHistory() const {
    return m_model->findHistory().entries();
}

std::vector<std::string> SearchDialogBridge::replaceHistory() const {
    return m_replace != nullptr ? m_replace->replaceHistory().entries() : std::vector<std::string>{};
}

bool SearchDialogBridge::findNextEnabled() const {
    return m_model->findNextEnabled();
}

void SearchDialogBridge::closeUndoGroup() {
    if (Document* document = m_processor.document()) {
        document->nextGroup();
    }
}

bool SearchDialogBridge::findNext() {
    // A pane that is gone (or an output window that is active) leaves nothing to search.
    EditPane* active = m_processor.pane();
    SearchPaneAdapter pane(active);
    const bool found = m_model->findNext(active != nullptr ? &pane : nullptr);
    closeUndoGroup();
    return found;
}

int SearchDialogBridge::replace() {
    if (m_replace == nullptr) {
        return 0;
    }
    EditPane* active = m_processor.pane();
    SearchPaneAdapter pane(active);
    const int count = m_replace->replace(active != nullptr ? &pane : nullptr);
    closeUndoGroup();
    return count;
}

void SearchDialogBridge::cancel() {
    m_model->cancel();
}

bool SearchDialogBridge::close() {
    return m_model->close();
}

} // namespace vexa
