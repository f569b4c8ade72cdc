// The Find dialog's model.
#include "search/SearchDialogModel.h"

#include "core/Messenger.h"
#include "settings/Format.h"
#include "text/TextEncoding.h"

namespace vexa {

std::string_view historyEntryOf(std::string_view utf8) {
    if (utf8.size() <= HistoryFile::kMaxEntryLength) {
        return utf8;
    }
    const int end = static_cast<int>(HistoryFile::kMaxEntryLength);
    return utf8.substr(0, static_cast<std::size_t>(text::characterStart(utf8, end, TextEncoding::Utf8)));
}

SearchDialogModel::SearchDialogModel(SearchState& state, Messenger& messenger, std::string configDirectory)
    : m_state(state), m_messenger(messenger), m_actions(state, messenger),
      m_configDirectory(std::move(configDirectory)), m_copy(state.snapshot()) {
    m_findHistory.load(m_configDirectory + std::string(kFindHistoryFile));
    // The texts are UTF-8; an entry that is not was written as Windows-1252.
    m_findHistory.convertEntries(text::externalToUtf8);
    const SearchOptions& options = state.options();
    m_findText = state.findText();
    m_wholeWord = options.wholeWord != 0;
    m_caseSensitive = options.caseCheck != 0;
    m_regularExpression = options.regularExpression != 0;
    m_searchDown = options.forward != 0;
}

void SearchDialogModel::chooseFindHistory(std::size_t index) {
    if (index < m_findHistory.entries().size()) {
        m_findText = m_findHistory.entries()[index];
    }
}

void SearchDialogModel::applyControls(bool foundValue) {
    m_state.setWholeWord(m_wholeWord);
    m_state.setCaseCheck(m_caseSensitive);
    m_state.setRegularExpression(m_regularExpression);
    m_state.setForward(m_searchDown);
    m_state.setFindText(m_findText, foundValue);
    // The text box takes its text into the history whenever the text is used.
    m_findHistory.enter(historyEntryOf(m_findText));
}

bool SearchDialogModel::findNext(SearchPane* pane) {
    if (!findNextEnabled()) {
        return false;
    }
    m_used = true;
    m_focusOnFindText = false;
    applyControls(true);
    m_messenger.status(formatText(kSearchingFor, m_state.findText().c_str()), platform::SoundKind::None);
    bool found = false;
    if (pane != nullptr) {
        m_state.attach(pane);
        found = m_state.findNext(true);
        m_state.detach();
    }
    if (found) {
        m_messenger.status(kSearchCompleted, platform::SoundKind::None);
    } else {
        m_focusOnFindText = true;
        m_actions.reportNotFound();
    }
    return found;
}

void SearchDialogModel::cancel() {
    if (!m_used) {
        m_state.restore(m_copy);
    }
}

bool SearchDialogModel::close() {
    return m_findHistory.save(m_configDirectory + std::string(kFindHistoryFile));
}

} // namespace vexa
