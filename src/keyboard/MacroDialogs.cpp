// The dialogs of the keyboard macros.
#include "keyboard/MacroDialogs.h"

#include "frame/Frame.h"
#include "settings/Format.h"

namespace vexa {

MacroMenuEdit MacroOptionsModel::add(const MacroMenuEntry& entry) {
    if (entry.name.empty() || entry.path.empty() || entry.name.size() >= kMacroMenuNameWidth ||
        entry.path.size() >= kMacroMenuPathWidth) {
        return MacroMenuEdit::Invalid;
    }
    for (MacroMenuEntry& existing : m_entries) {
        if (existing.name == entry.name) {
            if (m_frame.ask(kMacroMenuReplaceQuestion, title()) != Answer::Yes) {
                return MacroMenuEdit::ReplaceDeclined;
            }
            existing = entry;
            return MacroMenuEdit::Replaced;
        }
    }
    if (m_entries.size() >= kMacroMenuMaxEntries) {
        m_frame.messageBox(kMacroMenuFullMessage, title());
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

std::optional<std::string> MacroOptionsModel::chooseFile() {
    m_frame.status(formatText("Select the name of the %s file to be %s", "macro", "used."),
                   platform::SoundKind::None);
    FileDialogRequest request;
    request.title = "Load Macro";
    request.filters = {{"Macro Files (*.mac)", "*.mac"}, {"All Files (*.*)", "*.*"}};
    std::vector<std::string> chosen = m_frame.chooseFilesToOpen(request);
    if (chosen.empty()) {
        return std::nullopt;
    }
    return std::move(chosen.front());
}

} // namespace vexa
