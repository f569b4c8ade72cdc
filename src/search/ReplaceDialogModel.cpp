// The Replace dialog's model.
#include "search/ReplaceDialogModel.h"

#include "core/Document.h"
#include "core/Messenger.h"
#include "settings/Format.h"
#include "text/TextEncoding.h"

namespace vexa {

ReplaceDialogModel::ReplaceDialogModel(SearchState& state, Messenger& messenger, std::string configDirectory)
    : SearchDialogModel(state, messenger, std::move(configDirectory)) {
    m_replaceHistory.load(m_configDirectory + std::string(kReplaceHistoryFile));
    m_replaceHistory.convertEntries(text::externalToUtf8);
    m_replaceText = state.replaceText();
    m_replaceAll = state.options().replaceAll != 0;
}

void ReplaceDialogModel::chooseReplaceHistory(std::size_t index) {
    if (index < m_replaceHistory.entries().size()) {
        m_replaceText = m_replaceHistory.entries()[index];
    }
}

int ReplaceDialogModel::replace(SearchPane* pane) {
    Document* document = pane != nullptr && pane->isAlive() ? pane->document() : nullptr;
    if (document != nullptr && m_actions.refuseReadOnly(*document)) {
        return 0;
    }
    m_used = true;
    applyControls(false);
    m_state.setReplaceAll(m_replaceAll);
    m_state.setReplaceText(m_replaceText);
    m_replaceHistory.enter(historyEntryOf(m_replaceText));
    int count = 0;
    if (pane != nullptr) {
        m_state.attach(pane);
        count = m_state.replace(true, &m_messenger);
        m_state.detach();
        if (m_state.replaceRefused()) {
            return 0; // the refusal is the message
        }
    }
    if (count > 0) {
        m_messenger.status(formatText(kReplacementCompleted, count), platform::SoundKind::None);
    } else {
        m_actions.reportNotFound();
    }
    return count;
}

bool ReplaceDialogModel::close() {
    const bool findSaved = SearchDialogModel::close();
    const bool replaceSaved = m_replaceHistory.save(m_configDirectory + std::string(kReplaceHistoryFile));
    return findSaved && replaceSaved;
}

} // namespace vexa
