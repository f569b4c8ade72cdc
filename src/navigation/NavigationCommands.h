// The family of navigation functions: function scanning, brace matching, bookmarks, going to a
// line, opening the file named on the cursor line and the lists of documents.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/CommandFamily.h"
#include "regex/RegexMatcher.h"

namespace vexa {
class CommandProcessor;
class Document;
class SearchBudget;
namespace platform {
class KeyState;
}
namespace toolchain {
class OutputWindows;
}
} // namespace vexa

namespace vexa::navigation {

inline constexpr std::string_view kScanningNext = "Scanning for next function (hit ESC to cancel the search)";
inline constexpr std::string_view kScanningPrevious =
    "Scanning for previous function (hit ESC to cancel the search)";
inline constexpr std::string_view kScanningAll = "Scanning for all functions (hit ESC to cancel the search)";
inline constexpr std::string_view kScanCancelled = "The function scanning was cancelled by the user!";
inline constexpr std::string_view kNoFunctions = "No functions where located!";
inline constexpr std::string_view kBraceFound = "The matching brace character was found";
inline constexpr std::string_view kBraceNotFound = "The matching brace character could not be found!";
inline constexpr std::string_view kForwardFromEnd =
    "Can't search for a forward brace with an end brace character selected!";
inline constexpr std::string_view kReverseFromStart =
    "Can't search for a reverse brace with a start brace character selected!";
inline constexpr std::string_view kNotABrace =
    "The current character is not one of the valid brace character!";
inline constexpr const char* kBookmarkDropped = "Bookmark '%d' dropped";
inline constexpr const char* kAtBookmark = "At bookmark '%d'";
inline constexpr std::string_view kNoBookmark = "No bookmark set at this location.";
inline constexpr const char* kBookmarkCleared = "Bookmark '%d' cleared";
inline constexpr std::string_view kBookmarksFull =
    "All ten bookmarks are in use: clear one before setting another.";
inline constexpr std::string_view kNoBookmarks = "No bookmarks are set in this document.";
inline constexpr std::string_view kBookmarkRange = "Vexa only supports bookmarks '0' through '9'.";
inline constexpr std::string_view kNoFileInLine =
    "The line selected does not contain a valid file name or line number.";
inline constexpr const char* kCannotLocate = "Cannot locate the file '%s' specified in the line.";
inline constexpr std::string_view kNoAssociates = "No associated files where found!";

// The built-in function patterns, tried in order when the "Functions" setting is empty.
inline constexpr std::string_view kFunctionPatterns[] = {
    "^[_a-z0-9]+[ &*\t]+[_a-z0-9 \t]*[_a-z0-9]+[ \t]*[(]+.*[^; ]+$",
    "^[_a-z0-9]+[ &*\t]+[_a-z0-9 \t]*[_a-z0-9&+=*<>]+[:_a-z0-9&+=*<>~]+[ \t]*[(]+.*[^; ]+$",
    "^[_a-z0-9&+=*<>]+[:_a-z0-9&+=*<>~]+[ \t]*[(]+.*[^; ]+$",
};
// How many lines are scanned between two polls of the Escape key.
inline constexpr int kEscapePollLines = 20;
// The first command identifier of the association popup's items (at most nine).
inline constexpr int kFirstAssociateId = 2666;
inline constexpr std::size_t kMaxAssociates = 9;

// The outcome of a brace search: 1 found, 2 not found, 3 wrong direction, 4 not a brace.
enum class BraceResult : int32_t { Found = 1, NotFound = 2, WrongDirection = 3, NotABrace = 4 };
enum class BraceDirection : uint8_t { Either, Forward, Reverse };

struct BraceMatch {
    BraceResult result = BraceResult::NotABrace;
    int line = 0;
    int index = 0;
};

// Finds the partner of the brace at a line and byte index; every character counts. The search
// looks at no more than budget bytes past the brace (then: NotFound).
BraceMatch matchBrace(const Document& document, int line, int index, BraceDirection direction,
                      std::size_t budget = SIZE_MAX);

// A brace beside the cursor and its partner, for showing the pair while the cursor moves.
struct BracePair {
    int line = 0;
    int offset = 0;
    int partnerLine = 0;
    int partnerOffset = 0;
    friend bool operator==(const BracePair&, const BracePair&) = default;
};

// The bytes a shown pair's partner is searched through: the pair is shown on every cursor move,
// so the search stays short whatever the length of the lines or the document.
inline constexpr std::size_t kBracePairBudget = 64 * 1024;

// The pair of the "(", ")", "[", "]", "{" or "}" at the cursor offset, else of the one just left
// of it; nothing when there is none or its partner is not within the budget.
std::optional<BracePair> bracePairAt(const Document& document, int line, int offset,
                                     std::size_t budget = kBracePairBudget);

// The files of a directory whose names are "<base>.*", without the document's own name (compared
// ignoring case), sorted, at most nine.
std::vector<std::string> associatedFiles(const std::string& directory, std::string_view base,
                                         std::string_view ownName);

// The line one scan entry shows: " %5.5d: %s" with tabs turned into blanks.
std::string functionEntry(int line, std::string_view matched);

class NavigationCommands final : public CommandFamily {
public:
    NavigationCommands(CommandProcessor& processor, toolchain::OutputWindows& outputs, platform::KeyState& keys);

    bool claims(FunctionId id) const override;
    int32_t run(FunctionId id) override;

    // The lines of the last next and previous function found; -1 for none.
    int lastNext() const { return m_lastNext; }
    int lastPrevious() const { return m_lastPrevious; }

private:
    enum class LineMatch : uint8_t { No, Yes, Cancelled };
    int32_t findNext(int direction);
    int32_t findAll();
    LineMatch scanLine(const Document& document, int line, SearchBudget& budget);
    int32_t braceMatch(BraceDirection direction);
    int32_t dropBookmark(int slot);
    int32_t gotoBookmark(int slot, bool fromDialog);
    int32_t bookmarkDialog();
    // Sets a bookmark on the cursor line in the first free slot, or clears those on that line.
    int32_t toggleBookmark();
    // Goes to the nearest bookmarked line after (+1) or before (-1) the cursor line, wrapping round.
    int32_t nextBookmark(int direction);
    // The line a bookmark stands for: one past the end of the document means its end.
    static int bookmarkLine(const Document& document, int marked);
    int32_t lineDialog();
    int32_t openInLine();
    int32_t listAssociates();
    int32_t listDocuments();
    void centreCursorLine();

    CommandProcessor& m_processor;
    toolchain::OutputWindows& m_outputs;
    platform::KeyState& m_keys;
    RegexMatcher m_matcher;
    int m_lastNext = -1;
    int m_lastPrevious = -1;
};

} // namespace vexa::navigation
