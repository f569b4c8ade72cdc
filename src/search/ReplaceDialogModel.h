// The Replace dialog's model: the Find dialog's controls plus the replacement text with its
// history, the replace-all switch and the Replace button.
#pragma once

#include <string>
#include <string_view>

#include "search/SearchDialogModel.h"

namespace vexa {

class ReplaceDialogModel final : public SearchDialogModel {
public:
    static constexpr std::string_view kTitle = "Replace";
    static constexpr std::string_view kReplaceWithLabel = "Re&place With:";
    static constexpr std::string_view kReplaceAllLabel = "Replace &All";
    static constexpr std::string_view kReplaceLabel = "&Replace";

    // As the Find dialog, and reads the replacement history too.
    ReplaceDialogModel(SearchState& state, Messenger& messenger, std::string configDirectory);

    [[nodiscard]] const std::string& replaceText() const { return m_replaceText; }
    void setReplaceText(std::string text) { m_replaceText = std::move(text); }
    [[nodiscard]] bool replaceAll() const { return m_replaceAll; }
    void setReplaceAll(bool on) { m_replaceAll = on; }

    [[nodiscard]] const HistoryFile& replaceHistory() const { return m_replaceHistory; }
    void chooseReplaceHistory(std::size_t index);

    // "&Replace": refused on a read-only document; applies the controls and replaces with
    // scrolling. The number replaced.
    int replace(SearchPane* pane);

    [[nodiscard]] bool close() override;

private:
    HistoryFile m_replaceHistory;
    std::string m_replaceText;
    bool m_replaceAll = false;
};

} // namespace vexa
