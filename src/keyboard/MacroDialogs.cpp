// The dialogs of the keyboard macros.
#include "keyboard/MacroDialogs.h"

namespace vexa {

MacroMenuEdit MacroOptionsModel::add(const MacroMenuEntry& entry) {
    if (entry.name.empty() || entry.path.empty() || entry.name.size() >= kMacroMenuNameWidth ||
        entry.path.size() >= kMacroMenuPathWidth) {
        return MacroMenuEdit::Invalid;
    }
    for (MacroMenuEntry& existing : m_entries) {
        if (existing.name == entry.name) {
            if (m_messenger.ask(kMacroMenuReplaceQuestion, title()) != Answer::Yes) {
                return MacroMenuEdit::ReplaceDeclined;
            }
            existing = entry;
            return MacroMenuEdit::Replaced;
        }
    }
    if (m_entries.size() >= kMacroMenuMaxEntries) {
        m_messenger.messageBox(kMacroMenuFullMessage, title());
        return MacroMenuEdit::Full;
    }
    m_entries.push_back(entry);
    return MacroMenuEdit::Added;
}

bool MacroOptionsModel::remove(size_t index) {
    if (index >= m_entries.size()) {
        return false;
    }
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

} // namespace vexa
