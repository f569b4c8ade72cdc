// The Find dialog's model: its controls, the find history, Find Next and Cancel.
#pragma once

#include <string>
#include <string_view>

#include "search/SearchActions.h"
#include "search/SearchState.h"
#include "settings/HistoryFile.h"

namespace vexa {

class Messenger;

// A text as a history file keeps it: at most the entry length in bytes, cut where a UTF-8
// character starts, so that a long text never comes back with half a character.
[[nodiscard]] std::string_view historyEntryOf(std::string_view utf8);

// The dialog is modeless: it stays open after Find Next and works on whatever pane is active
// when a button is pressed.
class SearchDialogModel {
public:
    static constexpr std::string_view kTitle = "Find";
    static constexpr std::string_view kWholeWordLabel = "Match &Whole Word Only";
    static constexpr std::string_view kCaseLabel = "Match Ca&se Sensitive";
    static constexpr std::string_view kRegexLabel = "Regular E&xpression";
    static constexpr std::string_view kUpLabel = "Search &Up";
    static constexpr std::string_view kDownLabel = "Search &Down";
    static constexpr std::string_view kFindNextLabel = "&Find Next";
    static constexpr std::string_view kCancelLabel = "&Cancel";
    static constexpr std::string_view kHelpLabel = "&Help";

    // Opening copies the search state for Cancel, fills the controls from it and reads the find
    // history from the configuration directory (a path ending in '/').
    SearchDialogModel(SearchState& state, Messenger& messenger, std::string configDirectory);
    virtual ~SearchDialogModel() = default;
    SearchDialogModel(const SearchDialogModel&) = delete;
    SearchDialogModel& operator=(const SearchDialogModel&) = delete;

    [[nodiscard]] const std::string& findText() const { return m_findText; }
    void setFindText(std::string text) { m_findText = std::move(text); }
    [[nodiscard]] bool wholeWord() const { return m_wholeWord; }
    void setWholeWord(bool on) { m_wholeWord = on; }
    [[nodiscard]] bool caseSensitive() const { return m_caseSensitive; }
    void setCaseSensitive(bool on) { m_caseSensitive = on; }
    [[nodiscard]] bool regularExpression() const { return m_regularExpression; }
    void setRegularExpression(bool on) { m_regularExpression = on; }
    [[nodiscard]] bool searchDown() const { return m_searchDown; }
    void setSearchDown(bool down) { m_searchDown = down; }

    [[nodiscard]] const HistoryFile& findHistory() const { return m_findHistory; }
    // Choosing a history entry puts it into the text box.
    void chooseFindHistory(std::size_t index);

    [[nodiscard]] bool findNextEnabled() const { return !m_findText.empty(); }

    // "&Find Next": applies the controls and searches from the cursor of the pane. True when
    // found; otherwise the focus goes back to the text box.
    bool findNext(SearchPane* pane);

    // "&Cancel": puts the copied state back unless a search ran since the dialog opened.
    void cancel();

    // Closing writes the histories; false when one could not be written.
    [[nodiscard]] virtual bool close();

    [[nodiscard]] bool used() const { return m_used; }
    [[nodiscard]] bool focusOnFindText() const { return m_focusOnFindText; }

protected:
    // Puts the controls into the state, the find text with the given found value.
    void applyControls(bool foundValue);

    SearchState& m_state;
    Messenger& m_messenger;
    SearchActions m_actions;
    std::string m_configDirectory;
    SearchState::Snapshot m_copy;
    HistoryFile m_findHistory;
    bool m_used = false;
    bool m_focusOnFindText = false;

private:
    std::string m_findText;
    bool m_wholeWord = false;
    bool m_caseSensitive = false;
    bool m_regularExpression = false;
    bool m_searchDown = true;
};

} // namespace vexa
