// What the Search and Replace editor functions do with the search state, and what they report;
// the command processor's handlers call these with the active pane.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "frame/StatusMessages.h"
#include "search/SearchState.h"

namespace vexa {

class Document;
class Messenger;

inline constexpr const char* kSearchCompleted = "Search completed.";
inline constexpr const char* kSearchEndNotFound =
    "Reached the end of document and the search string '%s' was not found.";
inline constexpr const char* kSearchStartNotFound =
    "Reached the start of document and the search string '%s' was not found.";
inline constexpr const char* kSearchingFor = "Searching for string '%s' pattern";
inline constexpr const char* kReplacementCompleted = "Replacement completed with %d occurrences changed.";
inline constexpr const char* kReadOnlyRefusal =
    "The document can not be changed as it is marked as 'Read Only'";

// The three functions of a switchable option.
enum class OptionChange : uint8_t { Set, Reset, Toggle };

class SearchActions {
public:
    SearchActions(SearchState& state, Messenger& messenger) : m_state(state), m_messenger(messenger) {}

    // SearchNext and SearchPrevious: set the direction, find next with scrolling, report.
    // True when a match was found.
    bool searchNext(SearchPane& pane);
    bool searchPrevious(SearchPane& pane);

    // ReplaceNext and ReplacePrevious: refused on a read-only document; set the direction,
    // turn replace all off (which stays so), replace with scrolling, report. The number
    // replaced.
    int replaceNext(SearchPane& pane);
    int replacePrevious(SearchPane& pane);

    // The option switches with their status messages.
    void changeCaseCheck(OptionChange change);
    void changeWholeWord(OptionChange change);
    void changeDirection(OptionChange change);
    void changeRegularExpression(OptionChange change);

    // SearchForwardCount and SearchReverseCount.
    void notYetImplemented();

    // SearchWordCurrent and ReplaceWordCurrent: the find text (found value 0) becomes the marked
    // text when a mark other than a line mark lies within one line, otherwise the word at the
    // cursor, when there is one. True when the find text was set.
    bool takeFindTextFromDocument(const Document& document);

    // The read-only guard of the replace functions and dialog: true (and the refusal shown)
    // when the document may not be changed.
    bool refuseReadOnly(const Document& document);

    // The not-found message of the current direction.
    void reportNotFound();

private:
    bool find(SearchPane& pane, bool forward);
    // Nothing when the read-only guard refused or the document cannot hold the replacement.
    std::optional<int> replace(SearchPane& pane, bool forward);

    SearchState& m_state;
    Messenger& m_messenger;
};

} // namespace vexa
