// The find and replacement texts, the search options and the search and replace operations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RegexMatcher.h"
#include "search/SearchBudget.h"

namespace vexa {

class Document;
class Messenger;
class SettingsFile;

// What a search needs of the pane that shows the document: whether it still exists, its
// document, and its view. The edit pane implements it.
class SearchPane {
public:
    virtual ~SearchPane() = default;
    [[nodiscard]] virtual bool isAlive() const = 0;
    [[nodiscard]] virtual Document* document() = 0;

    [[nodiscard]] virtual int topLine() const = 0;
    [[nodiscard]] virtual int firstColumn() const = 0;
    [[nodiscard]] virtual int visibleLines() const = 0;
    [[nodiscard]] virtual int visibleColumns() const = 0;
    virtual void setView(int topLine, int firstColumn) = 0;

    // Repaints the changed lines; with scroll the view first follows the cursor.
    virtual void refresh(bool scroll) = 0;
};

// The five search options, each stored as 0 or 1.
struct SearchOptions {
    int32_t forward = 1;
    int32_t caseCheck = 0;
    int32_t wholeWord = 0;
    int32_t replaceAll = 0;
    int32_t regularExpression = 0;

    friend bool operator==(const SearchOptions&, const SearchOptions&) = default;
};

// Where the current match lies: its line, its byte offset and length in the line, and the
// display columns it spans.
struct SearchMatch {
    int line = 0;
    int offset = 0;
    int length = 0;
    int startColumn = 0;
    int endColumn = 0;
};

inline constexpr std::string_view kSearchingSection = "Searching";

// The find and replacement texts are held as UTF-8, as the dialogs, the settings and the histories
// carry them; a search converts them to the encoding of the document it searches (a find text
// that a Windows-1252 document cannot hold finds nothing there). Offsets and lengths of matches
// are bytes of the document.
class SearchState {
public:
    // The texts as typed keep at most this many characters.
    static constexpr std::size_t kMaxText = 80;

    // What a dialog copies when it opens, so that Cancel can put it back.
    struct Snapshot {
        std::string findText;
        std::string findPattern;
        std::string replaceText;
        std::vector<std::string> replacePieces;
        SearchOptions options;
        bool found = false;
    };

    SearchState();

    // Reads and writes the "Searching" section; the flags are written as "1" or "0". A text that
    // is not UTF-8 was written as Windows-1252 and is read as such.
    void load(const SettingsFile& settings);
    [[nodiscard]] bool save(SettingsFile& settings) const;

    // Stores the text as typed and derives the find pattern: "\t" becomes a tab, "\\" one
    // backslash, every other backslash sequence stays for the regular-expression engine. A
    // text that differs from the current one sets the found state to `foundValue`.
    void setFindText(std::string_view text, bool foundValue);
    [[nodiscard]] const std::string& findText() const { return m_findText; }
    [[nodiscard]] const std::string& findPattern() const { return m_findPattern; }

    // Stores the text as typed and derives the replacement format: "\t" becomes a tab, "\\"
    // one backslash, and a backslash before any other character becomes a placeholder for
    // the found text followed by that character.
    void setReplaceText(std::string_view text);
    [[nodiscard]] const std::string& replaceText() const { return m_replaceText; }
    [[nodiscard]] bool hasPlaceholders() const { return m_replacePieces.size() > 1; }
    // The replacement format with each placeholder shown as "%s".
    [[nodiscard]] std::string replaceFormat() const;
    // The text a replacement inserts for a found text (cut to 80 characters); every
    // placeholder gets it and a "%" is an ordinary character.
    [[nodiscard]] std::string replacementFor(std::string_view foundText) const;

    [[nodiscard]] const SearchOptions& options() const { return m_options; }
    void setForward(bool on) { m_options.forward = on ? 1 : 0; }
    void setCaseCheck(bool on) { m_options.caseCheck = on ? 1 : 0; }
    void setWholeWord(bool on) { m_options.wholeWord = on ? 1 : 0; }
    void setReplaceAll(bool on) { m_options.replaceAll = on ? 1 : 0; }
    void setRegularExpression(bool on) { m_options.regularExpression = on ? 1 : 0; }
    [[nodiscard]] bool forward() const { return m_options.forward != 0; }

    [[nodiscard]] bool found() const { return m_found; }
    void setFound(bool found) { m_found = found; }
    [[nodiscard]] const SearchMatch& lastMatch() const { return m_last; }
    [[nodiscard]] bool continuesOnNextLine() const { return m_nextLine; }

    [[nodiscard]] Snapshot snapshot() const;
    void restore(const Snapshot& snapshot);

    // Every operation runs between an attach of the active pane and a detach.
    void attach(SearchPane* pane) { m_pane = pane; }
    void detach() { m_pane = nullptr; }

    // What lets the user end a long find or replace with Escape. Each find and each replace
    // (a replace all as a whole) is also bounded in work; an operation ended either way finds
    // nothing more.
    void setInterruption(SearchInterruption interruption) { m_interruption = interruption; }
    // Other long runs of functions (macro playback) watch Escape the same way.
    const SearchInterruption& interruption() const { return m_interruption; }
    // The bound of each operation (SearchBudget::kDefaultLimit unless changed).
    void setWorkLimit(uint64_t limit) { m_workLimit = limit; }
    // Whether the last operation was ended by Escape or by its bound rather than finishing.
    [[nodiscard]] bool lastOperationStopped() const { return m_lastStopped; }

    // Finds the next match from the cursor in the search direction, marks it, puts the cursor
    // on it and shows it. False (and nothing changed) when there is none.
    [[nodiscard]] bool findNext(bool scroll);

    // Replaces the current match, or the next one; with replace all on, every match up to the
    // end (or start) of the document, then returns the cursor. Gives the number replaced. A
    // replacement text the document's encoding cannot hold replaces nothing: the refusal goes to
    // the messenger, when given, and replaceRefused() tells it apart from finding nothing.
    [[nodiscard]] int replace(bool scroll, Messenger* messenger = nullptr);
    [[nodiscard]] bool replaceRefused() const { return m_replaceRefused; }

    // The first match in a line at or after a byte offset, as searching one line does, in a
    // line of the given encoding.
    [[nodiscard]] std::optional<SearchMatch> searchLine(std::string_view text, int from,
                                                        std::string_view delimiters,
                                                        TextEncoding encoding = TextEncoding::Windows1252);

private:
    // Gives every search in its lifetime one budget; nested operations share the outer one.
    class BudgetScope {
    public:
        explicit BudgetScope(SearchState& state);
        ~BudgetScope();
        BudgetScope(const BudgetScope&) = delete;
        BudgetScope& operator=(const BudgetScope&) = delete;

    private:
        SearchState& m_state;
        std::optional<SearchBudget> m_budget;
    };

    [[nodiscard]] Document* liveDocument();
    // The find pattern in an encoding, converted once per find text and encoding; nothing when
    // the encoding cannot hold it.
    [[nodiscard]] const std::optional<std::string>& patternIn(TextEncoding encoding);
    [[nodiscard]] std::optional<SearchMatch> searchIn(std::string_view text, int from,
                                                      std::string_view delimiters);
    // Replaces every match of a line from the first one on in the search direction, rebuilding
    // the line once; the number of replacements.
    int replaceAllInLine(Document& document, const SearchMatch& first, const std::vector<std::string>& pieces);
    // A match's bytes in a line.
    struct LineSpan {
        int offset;
        int length;
    };
    // Puts the replacement of each match (in line order, none overlapping) in place of it, as
    // one change of the line; the number of replacements, 0 when the line could not take them.
    int rebuildLine(Document& document, int line, std::string_view original,
                    const std::vector<LineSpan>& matches, const std::vector<std::string>& pieces) const;
    [[nodiscard]] bool isAnchoredPattern() const;
    // Whether a backward match on the start line may reach past the limit or must end before it.
    enum class MatchEnd { Anywhere, BeforeLimit };
    [[nodiscard]] std::optional<SearchMatch> lastMatchBefore(std::string_view text, int before,
                                                             std::string_view delimiters, MatchEnd end);
    [[nodiscard]] std::optional<SearchMatch> scan(Document& document, int startLine, int startColumn,
                                                  bool startLineMoved, int skipLine, MatchEnd end);
    // The next match from the cursor by the rules of find next, without showing it.
    [[nodiscard]] std::optional<SearchMatch> locate(Document& document);
    // The next match of a replace all: never inside a replacement already made.
    [[nodiscard]] std::optional<SearchMatch> nextAfterReplacement(Document& document, const SearchMatch& done,
                                                                  int inserted);
    void showMatch(SearchPane& pane, const SearchMatch& match);
    [[nodiscard]] bool markStillHolds(Document& document) const;

    SearchPane* m_pane = nullptr;
    // The encoding of the document the current operation searches.
    TextEncoding m_encoding = TextEncoding::Windows1252;
    struct ConvertedPattern {
        bool made = false;
        TextEncoding encoding = TextEncoding::Windows1252;
        std::optional<std::string> pattern;
    };
    ConvertedPattern m_converted;
    bool m_replaceRefused = false;
    RegexMatcher m_matcher;
    SearchInterruption m_interruption;
    uint64_t m_workLimit = SearchBudget::kDefaultLimit;
    SearchBudget* m_budget = nullptr;
    bool m_lastStopped = false;

    std::string m_findText;
    std::string m_findPattern;
    std::string m_replaceText;
    // The replacement format as the literal pieces between placeholders.
    std::vector<std::string> m_replacePieces{std::string()};
    SearchOptions m_options;

    // Where the search goes on when the cursor still stands where the last find or replace put
    // it: on a long line that can differ from where the cursor stands.
    struct Resume {
        const Document* document = nullptr;
        int line = -1;
        int cursorOffset = -1;
        int searchOffset = 0;
        // Set by a single replacement: the next one follows the rules of replace all (never
        // into the inserted text, an anchored pattern once per line).
        bool afterReplacement = false;
    };

    SearchMatch m_last;
    Resume m_resume;
    bool m_found = false;
    bool m_nextLine = false;
};

} // namespace vexa
