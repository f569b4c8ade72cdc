// The Search and Replace editor functions over the search state.
#include "search/SearchActions.h"

#include <algorithm>

#include "core/Document.h"
#include "core/DocumentText.h"
#include "core/Messenger.h"
#include "settings/Format.h"

namespace vexa {

namespace {

using platform::SoundKind;

bool applyChange(OptionChange change, bool current) {
    switch (change) {
    case OptionChange::Set:
        return true;
    case OptionChange::Reset:
        return false;
    case OptionChange::Toggle:
        break;
    }
    return !current;
}

const char* onOff(bool on) {
    return on ? "On" : "Off";
}

} // namespace

void SearchActions::reportNotFound() {
    const char* format = m_state.forward() ? kSearchEndNotFound : kSearchStartNotFound;
    m_messenger.status(formatText(format, m_state.findText().c_str()), SoundKind::Information);
}

bool SearchActions::find(SearchPane& pane, bool forward) {
    m_state.setForward(forward);
    m_state.attach(&pane);
    const bool found = m_state.findNext(true);
    m_state.detach();
    return found;
}

bool SearchActions::searchNext(SearchPane& pane) {
    const bool found = find(pane, true);
    if (found) {
        m_messenger.status(kSearchCompleted, SoundKind::None);
    } else {
        reportNotFound();
    }
    return found;
}

bool SearchActions::searchPrevious(SearchPane& pane) {
    const bool found = find(pane, false);
    if (!found) {
        reportNotFound();
    }
    return found;
}

bool SearchActions::refuseReadOnly(const Document& document) {
    if (!document.isReadOnly()) {
        return false;
    }
    m_messenger.status(kReadOnlyRefusal, SoundKind::Information);
    return true;
}

std::optional<int> SearchActions::replace(SearchPane& pane, bool forward) {
    Document* document = pane.isAlive() ? pane.document() : nullptr;
    if (document != nullptr && refuseReadOnly(*document)) {
        return std::nullopt;
    }
    m_state.setForward(forward);
    m_state.setReplaceAll(false);
    m_state.attach(&pane);
    const int count = m_state.replace(true, &m_messenger);
    m_state.detach();
    if (m_state.replaceRefused()) {
        return std::nullopt; // the refusal is the message
    }
    return count;
}

int SearchActions::replaceNext(SearchPane& pane) {
    const std::optional<int> count = replace(pane, true);
    if (!count) {
        return 0;
    }
    if (*count > 0) {
        m_messenger.status(kSearchCompleted, SoundKind::None);
    } else {
        reportNotFound();
    }
    return *count;
}

int SearchActions::replacePrevious(SearchPane& pane) {
    const std::optional<int> count = replace(pane, false);
    if (!count) {
        return 0;
    }
    if (*count == 0) {
        reportNotFound();
    }
    return *count;
}

void SearchActions::changeCaseCheck(OptionChange change) {
    const bool on = applyChange(change, m_state.options().caseCheck != 0);
    m_state.setCaseCheck(on);
    m_messenger.status(formatText("The search case sensitivity is '%s'", onOff(on)), SoundKind::None);
}

void SearchActions::changeWholeWord(OptionChange change) {
    const bool on = applyChange(change, m_state.options().wholeWord != 0);
    m_state.setWholeWord(on);
    m_messenger.status(on ? "Search for 'whole' word match only"
                          : "Search for 'whole' or 'partial' word match",
                       SoundKind::None);
}

void SearchActions::changeDirection(OptionChange change) {
    const bool down = applyChange(change, m_state.forward());
    m_state.setForward(down);
    m_messenger.status(formatText("The search direction is '%s'", down ? "Down" : "Up"), SoundKind::None);
}

void SearchActions::changeRegularExpression(OptionChange change) {
    const bool on = applyChange(change, m_state.options().regularExpression != 0);
    m_state.setRegularExpression(on);
    m_messenger.status(formatText("The search regular expression is '%s'", onOff(on)), SoundKind::None);
}

void SearchActions::notYetImplemented() {
    m_messenger.status(kNotYetImplemented, SoundKind::Information);
}

namespace {

// Letters, digits, '_' and the bytes of non-ASCII characters make a name in every language.
bool isIdentifierByte(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return byte >= 0x80 || byte == '_' || (byte >= '0' && byte <= '9') ||
           ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z');
}

// The name at the cursor, or the one the cursor stands just after (`main|(void)`), within the
// document's word there; the document's word when the cursor is on no name. A document without
// word-break characters would otherwise offer `main(void)` for `main`.
std::pair<int, int> identifierAt(const Document& document) {
    const std::string_view line = document.currentLine().text();
    const int length = static_cast<int>(line.size());
    int offset = document.cursorOffset();
    const auto isNameAt = [&](int at) {
        return at >= 0 && at < length && isIdentifierByte(line[static_cast<std::size_t>(at)]);
    };
    // On punctuation right after a name, the name is meant; on a blank or past the line's end
    // there is no word at the cursor.
    if (!isNameAt(offset) && isNameAt(offset - 1) && offset < length &&
        !document.isBlank(line[static_cast<std::size_t>(offset)])) {
        --offset;
    }
    if (!isNameAt(offset)) {
        return document.wordAt(offset);
    }
    // A name is also a word where the document breaks words at its punctuation.
    const auto [wordStart, wordEnd] = document.wordAt(offset);
    int start = offset;
    while (start > wordStart && isNameAt(start - 1)) {
        --start;
    }
    int end = offset;
    while (end < wordEnd && isNameAt(end)) {
        ++end;
    }
    return {start, end};
}

} // namespace

bool SearchActions::takeFindTextFromDocument(const Document& document) {
    const MarkState& mark = document.mark();
    if (mark.exists() && mark.type != MarkType::Line && mark.firstLine() == mark.lastLine()) {
        const DocLine& line = document.line(mark.firstLine());
        const LineLayout layout = document.layout();
        const int from = std::min(line.offsetOfColumn(mark.start().column, layout), line.length());
        const int to = std::min(line.offsetOfColumn(mark.end().column, layout), line.length());
        if (to > from) {
            m_state.setFindText(
                documentTextAsUtf8(document, line.text().substr(static_cast<std::size_t>(from),
                                                                static_cast<std::size_t>(to - from))),
                false);
            return true;
        }
    }
    const auto [start, end] = identifierAt(document);
    if (end <= start) {
        return false;
    }
    // The find text keeps the word's first characters.
    const std::string_view word = document.currentLine().text().substr(static_cast<std::size_t>(start),
                                                                       static_cast<std::size_t>(end - start));
    m_state.setFindText(documentTextAsUtf8(document, word), false);
    return true;
}

} // namespace vexa
