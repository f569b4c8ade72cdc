// Search and replace in the document of the attached pane.
#include "search/SearchState.h"

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

#include "core/Document.h"
#include "core/DocumentText.h"
#include "regex/CaseFolding.h"
#include "settings/SettingsFile.h"
#include "text/TextEncoding.h"

namespace vexa {

namespace {

// The settings keep each text with its terminator: 80 characters of at most four bytes each.
constexpr std::size_t kSettingsTextSize = 4 * SearchState::kMaxText + 1;

constexpr std::array<uint8_t, 256> kFolded = [] {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[static_cast<std::size_t>(c)] = static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    return table;
}();

uint8_t folded(char c) {
    return kFolded[static_cast<uint8_t>(c)];
}

// The first occurrence of a text at or after an offset, compared exactly or independently of case.
std::size_t findOccurrence(std::string_view text, std::string_view pattern, std::size_t from,
                           bool caseCheck) {
    if (caseCheck) {
        return text.find(pattern, from);
    }
    if (pattern.size() > text.size()) {
        return std::string_view::npos;
    }
    const uint8_t first = folded(pattern[0]);
    const std::size_t last = text.size() - pattern.size();
    for (std::size_t at = from; at <= last; ++at) {
        if (folded(text[at]) != first) {
            continue;
        }
        std::size_t i = 1;
        while (i < pattern.size() && folded(text[at + i]) == folded(pattern[i])) {
            ++i;
        }
        if (i == pattern.size()) {
            return at;
        }
    }
    return std::string_view::npos;
}

// The first occurrence in UTF-8 text, starting and ending where characters do; independently of
// case the Latin letters fold too.
std::size_t findUtf8Occurrence(std::string_view text, std::string_view pattern, std::size_t from,
                               bool caseCheck) {
    if (!caseCheck) {
        return findFoldedUtf8(text, pattern, from);
    }
    for (std::size_t at = text.find(pattern, from); at != std::string_view::npos;
         at = text.find(pattern, at + 1)) {
        if (isUtf8Boundary(text, at) && isUtf8Boundary(text, at + pattern.size())) {
            return at;
        }
    }
    return std::string_view::npos;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether the character at an offset ends a whole word: a blank, the end of the line or one of
// the delimiter characters (bytes read as Windows-1252, compared with a UTF-8 line's characters).
bool endsWord(std::string_view text, std::size_t at, std::string_view delimiters, TextEncoding encoding) {
    if (at >= text.size() || isBlank(text[at])) {
        return true;
    }
    if (encoding == TextEncoding::Utf8 && static_cast<uint8_t>(text[at]) >= 0x80) {
        const text::Decoded decoded = text::decodeUtf8(text, at);
        const std::optional<unsigned char> byte =
            decoded.valid ? text::unicodeToWindows1252(decoded.character) : std::nullopt;
        return byte && delimiters.find(static_cast<char>(*byte)) != std::string_view::npos;
    }
    return delimiters.find(text[at]) != std::string_view::npos;
}

// The first `count` characters of a text.
std::string_view firstCharacters(std::string_view text, std::size_t count, TextEncoding encoding) {
    if (encoding != TextEncoding::Utf8) {
        return text.substr(0, std::min(text.size(), count));
    }
    std::size_t at = 0;
    for (std::size_t n = 0; n < count && at < text.size(); ++n) {
        at += static_cast<std::size_t>(text::decodeUtf8(text, at).length);
    }
    return text.substr(0, at);
}

std::string fillPlaceholders(const std::vector<std::string>& pieces, std::string_view foundText) {
    std::string text = pieces.front();
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        text += foundText;
        text += pieces[i];
    }
    return text;
}

std::string deriveFindPattern(std::string_view typed) {
    std::string pattern;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] == '\\' && i + 1 < typed.size()) {
            const char next = typed[i + 1];
            if (next == 't') {
                pattern += '\t';
            } else if (next == '\\') {
                pattern += '\\';
            } else {
                // Left whole so that a regular expression's escapes reach the engine.
                pattern += '\\';
                pattern += next;
            }
            ++i;
        } else {
            pattern += typed[i];
        }
    }
    return pattern;
}

} // namespace

SearchState::SearchState() : m_matcher(RegexMatcher::kIgnoreCase) {}

SearchState::BudgetScope::BudgetScope(SearchState& state) : m_state(state) {
    if (m_state.m_budget == nullptr) {
        // Reading every line once costs a unit a byte: a file larger than the limit would
        // otherwise end every search before its last lines, reported as not found. The limit
        // grows with the file the document was read from, so the bound stays a few passes over it.
        uint64_t limit = m_state.m_workLimit;
        Document* document = m_state.m_pane != nullptr ? m_state.m_pane->document() : nullptr;
        if (document != nullptr) {
            limit = std::max(limit, 4 * document->fileSize());
        }
        m_budget.emplace(m_state.m_interruption, limit);
        m_state.m_budget = &*m_budget;
        m_state.m_matcher.setWorkLimit(m_state.m_budget);
    }
}

SearchState::BudgetScope::~BudgetScope() {
    if (m_budget) {
        m_state.m_lastStopped = m_budget->stopped();
        m_state.m_budget = nullptr;
        m_state.m_matcher.setWorkLimit(nullptr);
    }
}

void SearchState::load(const SettingsFile& settings) {
    const SettingsText text = settings.read();
    auto flag = [&](std::string_view key, int fallback) {
        return text.getInteger(kSearchingSection, key, fallback) != 0 ? 1 : 0;
    };
    setFindText(text::externalToUtf8(text.getString(kSearchingSection, "FindText", "", kSettingsTextSize)),
                false);
    setReplaceText(
        text::externalToUtf8(text.getString(kSearchingSection, "ReplaceText", "", kSettingsTextSize)));
    m_options.forward = flag("Forward", 1);
    m_options.caseCheck = flag("CaseCheck", 0);
    m_options.wholeWord = flag("WholeWord", 0);
    m_options.replaceAll = flag("ReplaceAll", 0);
    m_options.regularExpression = flag("RegExpress", 0);
    m_found = false;
}

bool SearchState::save(SettingsFile& settings) const {
    return settings.update([this](SettingsText& text) {
        auto flag = [&](std::string_view key, int32_t value) {
            return text.putString(kSearchingSection, key, value != 0 ? "1" : "0");
        };
        return text.putString(kSearchingSection, "FindText", m_findText) &&
               text.putString(kSearchingSection, "ReplaceText", m_replaceText) &&
               flag("Forward", m_options.forward) && flag("CaseCheck", m_options.caseCheck) &&
               flag("WholeWord", m_options.wholeWord) && flag("ReplaceAll", m_options.replaceAll) &&
               flag("RegExpress", m_options.regularExpression);
    });
}

void SearchState::setFindText(std::string_view text, bool foundValue) {
    text = firstCharacters(text, kMaxText, TextEncoding::Utf8);
    if (text != m_findText) {
        m_found = foundValue;
    }
    m_findText = std::string(text);
    m_findPattern = deriveFindPattern(m_findText);
    m_converted = {};
}

void SearchState::setReplaceText(std::string_view text) {
    m_replaceText = std::string(firstCharacters(text, kMaxText, TextEncoding::Utf8));
    m_replacePieces.assign(1, std::string());
    for (std::size_t i = 0; i < m_replaceText.size(); ++i) {
        const char c = m_replaceText[i];
        if (c != '\\' || i + 1 >= m_replaceText.size()) {
            m_replacePieces.back() += c;
            continue;
        }
        const char next = m_replaceText[++i];
        if (next == 't') {
            m_replacePieces.back() += '\t';
        } else if (next == '\\') {
            m_replacePieces.back() += '\\';
        } else {
            // A placeholder for the found text, then the character itself.
            m_replacePieces.emplace_back(1, next);
        }
    }
}

std::string SearchState::replaceFormat() const {
    std::string format = m_replacePieces.front();
    for (std::size_t i = 1; i < m_replacePieces.size(); ++i) {
        format += "%s";
        format += m_replacePieces[i];
    }
    return format;
}

std::string SearchState::replacementFor(std::string_view foundText) const {
    return fillPlaceholders(m_replacePieces, firstCharacters(foundText, kMaxText, TextEncoding::Utf8));
}

SearchState::Snapshot SearchState::snapshot() const {
    return Snapshot{m_findText, m_findPattern, m_replaceText, m_replacePieces, m_options, m_found};
}

void SearchState::restore(const Snapshot& snapshot) {
    m_findText = snapshot.findText;
    m_findPattern = snapshot.findPattern;
    m_replaceText = snapshot.replaceText;
    m_replacePieces = snapshot.replacePieces;
    m_options = snapshot.options;
    m_found = snapshot.found;
    m_converted = {};
}

Document* SearchState::liveDocument() {
    if (m_pane == nullptr || !m_pane->isAlive()) {
        return nullptr;
    }
    return m_pane->document();
}

bool SearchState::isAnchoredPattern() const {
    return !m_findPattern.empty() && (m_findPattern.front() == '^' || m_findPattern.back() == '$');
}

const std::optional<std::string>& SearchState::patternIn(TextEncoding encoding) {
    if (!m_converted.made || m_converted.encoding != encoding) {
        m_converted.made = true;
        m_converted.encoding = encoding;
        m_converted.pattern = text::fromUtf8(m_findPattern, encoding);
    }
    return m_converted.pattern;
}

std::optional<SearchMatch> SearchState::searchLine(std::string_view text, int from,
                                                   std::string_view delimiters, TextEncoding encoding) {
    m_encoding = encoding;
    return searchIn(text, from, delimiters);
}

std::optional<SearchMatch> SearchState::searchIn(std::string_view text, int from,
                                                 std::string_view delimiters) {
    if (from < 0 || static_cast<std::size_t>(from) > text.size()) {
        return std::nullopt; // nothing lies beyond the end of a line
    }
    // An empty find text finds nothing in either mode: as a regular expression it would match
    // before every character.
    if (m_findPattern.empty()) {
        return std::nullopt;
    }
    // A find text the document's encoding cannot hold occurs nowhere in it.
    const std::optional<std::string>& converted = patternIn(m_encoding);
    if (!converted) {
        return std::nullopt;
    }
    const std::string& pattern = *converted;
    if (m_options.regularExpression != 0) {
        // The whole-word option does not apply to regular expressions.
        m_matcher.setCaseMode(m_options.caseCheck != 0 ? RegexMatcher::kCaseSensitive
                                                       : RegexMatcher::kIgnoreCase);
        m_matcher.setEncoding(m_encoding);
        if (!m_matcher.match(text, pattern, static_cast<std::size_t>(from))) {
            return std::nullopt;
        }
        SearchMatch match;
        // The whole match, however long (the matcher's matched text is capped for scripts).
        match.offset = m_matcher.positions().start[0];
        match.length = m_matcher.positions().length();
        return match;
    }
    const bool caseCheck = m_options.caseCheck != 0;
    const std::size_t at = m_encoding == TextEncoding::Utf8
                               ? findUtf8Occurrence(text, pattern, static_cast<std::size_t>(from), caseCheck)
                               : findOccurrence(text, pattern, static_cast<std::size_t>(from), caseCheck);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    if (m_options.wholeWord != 0) {
        // Only the first occurrence is judged: when it is part of a longer word the line counts
        // as having no match. The byte before a match is the last of a whole character, and
        // only ASCII blanks count, so it is judged as a byte.
        const bool endOk = endsWord(text, at + pattern.size(), delimiters, m_encoding);
        const bool startOk = at == 0 || isBlank(text[at - 1]);
        if (!endOk || !startOk) {
            return std::nullopt;
        }
    }
    SearchMatch match;
    match.offset = static_cast<int>(at);
    match.length = static_cast<int>(pattern.size());
    return match;
}

std::optional<SearchMatch> SearchState::lastMatchBefore(std::string_view text, int before,
                                                        std::string_view delimiters, MatchEnd end) {
    // An anchored pattern can match only once in a line, from its start.
    if (m_options.regularExpression != 0 && isAnchoredPattern()) {
        auto match = searchIn(text, 0, delimiters);
        if (!match || match->offset >= before ||
            (end == MatchEnd::BeforeLimit && match->offset + match->length > before)) {
            return std::nullopt;
        }
        return match;
    }
    std::optional<SearchMatch> last;
    int from = 0;
    while (static_cast<std::size_t>(from) <= text.size() && (m_budget == nullptr || !m_budget->stopped())) {
        auto match = searchIn(text, from, delimiters);
        if (!match || match->offset >= before) {
            break;
        }
        if (end == MatchEnd::Anywhere || match->offset + match->length <= before) {
            last = match;
        }
        from = match->offset + 1;
    }
    return last;
}

std::optional<SearchMatch> SearchState::scan(Document& document, int startLine, int startColumn,
                                             bool startLineMoved, int skipLine, MatchEnd end) {
    const std::string_view delimiters = document.languageRules().delimiterCharacters();
    const int lineCount = document.lineCount();
    m_encoding = document.encoding();
    if (forward()) {
        for (int line = std::max(startLine, 0); line < lineCount; ++line) {
            if (line == skipLine) {
                continue;
            }
            const std::string_view text = document.lineText(line);
            if (m_budget != nullptr && !m_budget->spend(1 + text.size())) {
                return std::nullopt;
            }
            auto match = searchIn(text, line == startLine ? startColumn : 0, delimiters);
            if (match) {
                match->line = line;
                return match;
            }
        }
        return std::nullopt;
    }
    // Backwards, each line gives its last match; on the start line the last one before the
    // cursor, so that repeated searches keep moving towards the start.
    if (startLine >= lineCount) {
        startLine = lineCount - 1;
        startLineMoved = true;
    }
    for (int line = startLine; line >= 0; --line) {
        const bool limited = line == startLine && !startLineMoved;
        const int before = limited ? startColumn : INT_MAX;
        const std::string_view text = document.lineText(line);
        if (m_budget != nullptr && !m_budget->spend(1 + text.size())) {
            return std::nullopt;
        }
        auto match = lastMatchBefore(text, before, delimiters, limited ? end : MatchEnd::Anywhere);
        if (match) {
            match->line = line;
            return match;
        }
    }
    return std::nullopt;
}

std::optional<SearchMatch> SearchState::locate(Document& document) {
    const int direction = forward() ? 1 : -1;
    int startLine = document.cursorLine();
    int startColumn = document.cursorOffset();
    // Where the cursor could not stand exactly at a match or a replacement (past the distance
    // it may stand beyond a line's end), the search goes on from where it was meant to stand.
    bool afterReplacement = false;
    if (m_resume.document == &document && m_resume.line == startLine &&
        m_resume.cursorOffset == startColumn) {
        startColumn = m_resume.searchOffset;
        afterReplacement = m_resume.afterReplacement;
    }
    bool moved = false;
    if (m_found) {
        if (forward() && m_last.line == startLine && m_last.offset == startColumn) {
            ++startColumn; // so that the same match is not found again
        }
        if (m_nextLine) {
            startLine += direction;
            startColumn = 0;
            moved = true;
        }
    }
    int skipLine = -1;
    MatchEnd end = MatchEnd::Anywhere;
    if (m_options.regularExpression != 0 && isAnchoredPattern()) {
        // After a replacement on this line, as after a find, an anchored pattern goes on on the
        // next line in the search direction.
        if (startColumn != 0 || afterReplacement) {
            startLine += direction;
            startColumn = 0;
            moved = true;
        }
        if (forward() && m_found) {
            skipLine = m_last.line;
        }
    } else if (afterReplacement && !forward()) {
        // Backwards the cursor stands at the start of the inserted text: a match must end there.
        end = MatchEnd::BeforeLimit;
    }
    if (startLine < 0) {
        return std::nullopt;
    }
    auto match = scan(document, startLine, startColumn, moved, skipLine, end);
    if (match) {
        // From the document's column checkpoints: finding along a long line never walks it
        // from its start for each match.
        match->startColumn = document.columnOfOffset(match->line, match->offset);
        match->endColumn = document.columnOfOffset(match->line, match->offset + match->length);
    }
    return match;
}

bool SearchState::findNext(bool scroll) {
    const BudgetScope budget(*this);
    Document* document = liveDocument();
    if (document == nullptr) {
        return false;
    }
    auto match = locate(*document);
    if (!match) {
        return false;
    }
    m_last = *match;
    m_found = true;

    showMatch(*m_pane, *match);
    document->clearMark();
    document->goToLine(match->line);
    document->setCursorOffset(match->offset);
    m_resume = {document, match->line, document->cursorOffset(), match->offset};
    // An empty match is marked one column wide so that it can be seen.
    const int endColumn = std::max(match->endColumn, match->startColumn + 1);
    document->markRange({match->startColumn, match->line}, {endColumn, match->line});
    m_nextLine = match->offset >= document->currentLine().length();
    // A match beyond where the cursor may stand is shown by the view set above, not by the cursor.
    m_pane->refresh(scroll && document->cursorOffset() == match->offset);
    return true;
}

std::optional<SearchMatch> SearchState::nextAfterReplacement(Document& document, const SearchMatch& done,
                                                             int inserted) {
    const bool anchored = m_options.regularExpression != 0 && isAnchoredPattern();
    if (forward()) {
        // The next match starts after the inserted text, and after an empty match one byte
        // further on: what is left of the line to search shrinks with every replacement.
        if (anchored) {
            return scan(document, done.line + 1, 0, true, -1, MatchEnd::Anywhere);
        }
        const int from = done.offset + inserted + (done.length == 0 ? 1 : 0);
        return scan(document, done.line, from, false, -1, MatchEnd::Anywhere);
    }
    // Backwards the next match lies wholly before the replacement and starts before it.
    if (anchored) {
        if (done.line == 0) {
            return std::nullopt;
        }
        return scan(document, done.line - 1, 0, true, -1, MatchEnd::Anywhere);
    }
    return scan(document, done.line, done.offset, false, -1, MatchEnd::BeforeLimit);
}

int SearchState::replaceAllInLine(Document& document, const SearchMatch& first,
                                  const std::vector<std::string>& pieces) {
    const std::string_view delimiters = document.languageRules().delimiterCharacters();
    const std::string original(document.lineText(first.line));
    const std::size_t size = original.size();
    // The matches are found in the line as it was, so that each is looked for once.
    std::vector<LineSpan> matches;
    if (forward()) {
        // Each next match starts after the last one's text, and after an empty match one byte
        // further on, so the search moves on every pass.
        std::optional<SearchMatch> match = first;
        while (match && (m_budget == nullptr || !m_budget->stopped())) {
            matches.push_back({match->offset, match->length});
            const auto from =
                static_cast<std::size_t>(match->offset + match->length + (match->length == 0 ? 1 : 0));
            if (from > size) {
                break;
            }
            match = searchIn(original, static_cast<int>(from), delimiters);
        }
    } else {
        // Backwards each next match is the last one before the one replaced that ends before it,
        // as a search from the line's start would find it. The candidates (a search from each
        // match's start plus one, as such a search steps) are collected in one pass; the chain
        // of matches is then picked from them right to left, so every candidate is looked at
        // once, however many matches the line holds.
        std::vector<LineSpan> candidates;
        int from = 0;
        while (from < first.offset && (m_budget == nullptr || !m_budget->stopped())) {
            auto match = searchIn(original, from, delimiters);
            if (!match || match->offset >= first.offset) {
                break;
            }
            candidates.push_back({match->offset, match->length});
            from = match->offset + 1;
        }
        matches.push_back({first.offset, first.length});
        int limit = first.offset;
        for (auto candidate = candidates.rbegin(); candidate != candidates.rend(); ++candidate) {
            if (candidate->offset < limit && candidate->offset + candidate->length <= limit) {
                matches.push_back(*candidate);
                limit = candidate->offset;
            }
        }
        std::reverse(matches.begin(), matches.end());
    }
    return rebuildLine(document, first.line, original, matches, pieces);
}

int SearchState::rebuildLine(Document& document, int line, std::string_view original,
                             const std::vector<LineSpan>& matches,
                             const std::vector<std::string>& pieces) const {
    if (matches.empty()) {
        return 0;
    }
    const auto start = static_cast<std::size_t>(matches.front().offset);
    const auto end = static_cast<std::size_t>(matches.back().offset + matches.back().length);
    std::string rebuilt;
    std::size_t copied = start;
    for (const LineSpan& match : matches) {
        const auto offset = static_cast<std::size_t>(match.offset);
        const auto length = static_cast<std::size_t>(match.length);
        rebuilt.append(original.substr(copied, offset - copied));
        rebuilt +=
            fillPlaceholders(pieces, firstCharacters(original.substr(offset, length), kMaxText, m_encoding));
        copied = offset + length;
    }
    if (rebuilt.size() >
            static_cast<std::size_t>(INT_MAX - Document::kMaxPastEnd) - (original.size() - end + start) ||
        !document.replaceAt(line, static_cast<int>(start), static_cast<int>(end - start), rebuilt)) {
        return 0;
    }
    return static_cast<int>(matches.size());
}

void SearchState::showMatch(SearchPane& pane, const SearchMatch& match) {
    const int top = std::max(0, match.line - pane.visibleLines() / 2);
    const int width = pane.visibleColumns();
    int first = pane.firstColumn();
    if (match.endColumn <= width) {
        first = 0;
    } else if (match.endColumn > first + width || match.startColumn < first) {
        // Also when the match lies left of the view, which would otherwise stay hidden.
        first = std::max(0, match.startColumn - width / 2);
    }
    pane.setView(top, first);
}

bool SearchState::markStillHolds(Document& document) const {
    if (m_last.line >= document.lineCount() ||
        m_last.offset + m_last.length > document.line(m_last.line).length()) {
        return false;
    }
    const MarkState& mark = document.mark();
    const int endColumn = std::max(m_last.endColumn, m_last.startColumn + 1);
    return mark.type == MarkType::Column && mark.exists() &&
           mark.start() == MarkPoint{m_last.startColumn, m_last.line} &&
           mark.end() == MarkPoint{endColumn, m_last.line};
}

int SearchState::replace(bool scroll, Messenger* messenger) {
    const BudgetScope budget(*this);
    m_replaceRefused = false;
    Document* document = liveDocument();
    if (document == nullptr) {
        return 0;
    }
    // The replacement in the document's encoding, before anything changes: one it cannot hold
    // is refused as a whole.
    std::vector<std::string> pieces;
    for (const std::string& piece : m_replacePieces) {
        std::optional<std::string> bytes = documentBytes(*document, piece, messenger);
        if (!bytes) {
            m_replaceRefused = true;
            return 0;
        }
        pieces.push_back(std::move(*bytes));
    }
    const bool all = m_options.replaceAll != 0;
    const int rememberedLine = document->cursorLine();
    const int rememberedOffset = document->cursorOffset();
    // A match found earlier is replaced only while it is still marked as found; otherwise the
    // text it pointed at may have changed. Replace all does not show the matches it replaces.
    std::optional<SearchMatch> match;
    if (m_found && markStillHolds(*document)) {
        match = m_last;
    } else {
        m_found = false;
        if (all) {
            match = locate(*document);
        } else if (findNext(false)) {
            match = m_last;
        }
    }
    m_found = false;
    if (!match) {
        m_pane->refresh(scroll);
        return 0;
    }
    document->clearMark();
    // Every edit is made at the match's own line and offset, never through the cursor.
    int count = 0;
    SearchMatch done;
    int inserted = 0;
    const bool anchored = m_options.regularExpression != 0 && isAnchoredPattern();
    while (match) {
        if (all && !anchored) {
            // Each line with matches is rebuilt once, as one change.
            count += replaceAllInLine(*document, *match, pieces);
            const int nextLine = match->line + (forward() ? 1 : -1);
            match = nextLine >= 0 ? scan(*document, nextLine, 0, true, -1, MatchEnd::Anywhere) : std::nullopt;
            continue;
        }
        done = *match;
        const std::string foundText(document->lineText(done.line).substr(
            static_cast<std::size_t>(done.offset), static_cast<std::size_t>(done.length)));
        document->deleteAt(done.line, done.offset, done.length);
        inserted = document->insertAt(
            done.line, done.offset,
            fillPlaceholders(pieces, firstCharacters(foundText, kMaxText, document->encoding())));
        ++count;
        if (!all) {
            break;
        }
        match = nextAfterReplacement(*document, done, inserted);
    }
    if (all) {
        document->goToLine(rememberedLine);
        document->setCursorOffset(rememberedOffset);
        m_resume = {};
    } else {
        // Forwards the cursor stands right after the new text; backwards at its start, so
        // that the next search, which looks before the cursor, never meets it.
        const int intended = forward() ? done.offset + inserted : done.offset;
        document->goToLine(done.line);
        document->setCursorOffset(intended);
        const int searchFrom = forward() && done.length == 0 ? intended + 1 : intended;
        m_resume = {document, done.line, document->cursorOffset(), searchFrom, true};
    }
    m_pane->refresh(scroll);
    return count;
}

} // namespace vexa
