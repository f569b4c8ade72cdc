// The word functions.
#include "commands/WordCommands.h"

#include <algorithm>
#include <array>
#include <string>

#include "commands/CommandProcessor.h"
#include "core/Document.h"
#include "core/DocumentText.h"
#include "platform/Clipboard.h"
#include "text/TextEncoding.h"

namespace vexa {

namespace {

constexpr std::array<FunctionId, 11> kIds = {
    functionIdOf("WordDelete"),
    functionIdOf("WordDeleteEnd"),
    functionIdOf("WordDeleteStart"),
    functionIdOf("WordDeleteNext"),
    functionIdOf("WordDeletePrevious"),
    functionIdOf("WordCaseLower"),
    functionIdOf("WordCaseUpper"),
    functionIdOf("WordCaseTranspose"),
    functionIdOf("WordTextReverse"),
    functionIdOf("WordCopy"),
    functionIdOf("WordCut"),
};

} // namespace

bool WordCommands::claims(FunctionId id) {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

Document& WordCommands::document() {
    return *m_processor.document();
}

std::optional<WordBounds> WordCommands::wordOrReport() {
    std::optional<WordBounds> word = WordRules(document()).wordUnderCursor();
    if (!word) {
        m_processor.showStatus(kNotOverWord, platform::SoundKind::Information);
    }
    return word;
}

void WordCommands::deleteRange(int from, int to) {
    if (to <= from) {
        return;
    }
    document().setCursorOffset(from);
    document().deleteBytes(to - from);
}

int32_t WordCommands::run(FunctionId id) {
    if (m_processor.document() == nullptr) {
        return 0;
    }
    if (id == functionIdOf("WordDeleteNext")) {
        return deleteToNeighbour(true);
    }
    if (id == functionIdOf("WordDeletePrevious")) {
        return deleteToNeighbour(false);
    }
    // Reversal changes the text, so a read-only document refuses it before anything else.
    if (id == functionIdOf("WordTextReverse") && m_processor.refuseIfReadOnly()) {
        return 0;
    }
    const std::optional<WordBounds> word = wordOrReport();
    if (!word) {
        return 0;
    }
    Document& doc = document();
    const int cursor = doc.cursorOffset();
    const int startColumn = doc.columnOfOffset(doc.cursorLine(), word->start);
    switch (id) {
    case functionIdOf("WordDelete"):
        deleteRange(word->start, word->end);
        return 1;
    case functionIdOf("WordDeleteStart"):
        deleteRange(word->start, cursor);
        return 1;
    case functionIdOf("WordDeleteEnd"):
        deleteRange(cursor, word->end);
        return 1;
    case functionIdOf("WordCaseLower"):
        doc.changeCase(startColumn, word->end - word->start, CaseChange::Lower);
        return 1;
    case functionIdOf("WordCaseUpper"):
        doc.changeCase(startColumn, word->end - word->start, CaseChange::Upper);
        return 1;
    case functionIdOf("WordCaseTranspose"):
        doc.changeCase(startColumn, word->end - word->start, CaseChange::Swap);
        return 1;
    case functionIdOf("WordTextReverse"):
        return reverseWord(*word);
    case functionIdOf("WordCopy"):
        return copyWord(*word);
    case functionIdOf("WordCut"):
        // A word that did not reach the clipboard is not deleted.
        if (copyWord(*word) == 0) {
            return 0;
        }
        deleteRange(word->start, word->end);
        return 1;
    default:
        return 0;
    }
}

int32_t WordCommands::deleteToNeighbour(bool forward) {
    Document& doc = document();
    const WordRules rules(doc);
    const int cursor = doc.cursorOffset();
    const std::optional<int> target = forward ? rules.nextWord() : rules.previousWord();
    if (!target) {
        return 1;
    }
    // Only bytes of the line are deleted: blank space beyond its end holds nothing.
    const int end = std::min(cursor, doc.currentLine().length());
    if (forward) {
        deleteRange(cursor, *target);
    } else {
        deleteRange(*target, end);
    }
    return 1;
}

int32_t WordCommands::copyWord(const WordBounds& word) {
    const std::string text = documentTextAsUtf8(
        document(), document().currentLine().text().substr(word.start, word.end - word.start));
    return m_processor.clipboard().put(text, static_cast<int32_t>(MarkType::Stream)) ? 1 : 0;
}

int32_t WordCommands::reverseWord(const WordBounds& word) {
    Document& doc = document();
    const int cursor = doc.cursorOffset();
    // At most kMaxReversed characters, never part of one: a UTF-8 sequence keeps its bytes'
    // order.
    const std::string_view text = doc.currentLine().text();
    int end = word.start;
    for (int count = 0; count < kMaxReversed && end < word.end; ++count) {
        end = text::nextCharacter(text, end, doc.encoding());
    }
    end = std::min(end, word.end);
    const std::string reversed = text::reverseCharacters(text.substr(word.start, end - word.start), doc.encoding());
    deleteRange(word.start, end);
    doc.insertText(reversed);
    doc.setCursorOffset(cursor);
    return 1;
}

} // namespace vexa
