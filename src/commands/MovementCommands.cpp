// The movement and scroll functions.
#include "commands/MovementCommands.h"

#include <algorithm>
#include <array>
#include <climits>

#include "commands/CommandProcessor.h"
#include "commands/EditPane.h"
#include "commands/WordRules.h"
#include "core/Document.h"

namespace vexa {

namespace {

constexpr std::array<FunctionId, 41> kIds = {
    functionIdOf("MoveLineEnd"),          functionIdOf("MoveLineLeft"),
    functionIdOf("MoveLineLeftEx"),       functionIdOf("MoveLineRight"),
    functionIdOf("MoveLineRightEx"),      functionIdOf("MoveLineHome"),
    functionIdOf("MoveLineCenter"),       functionIdOf("MoveLineUp"),
    functionIdOf("MoveLineUpAndFirst"),   functionIdOf("MoveLineUpAndLast"),
    functionIdOf("MoveLineDown"),         functionIdOf("MoveLineDownAndFirst"),
    functionIdOf("MoveLineDownAndLast"),  functionIdOf("MoveLineLeftEdge"),
    functionIdOf("MoveLineRightEdge"),    functionIdOf("MoveWordEnd"),
    functionIdOf("MoveWordStart"),        functionIdOf("MoveWordCenter"),
    functionIdOf("MoveWordNext"),         functionIdOf("MoveWordPrevious"),
    functionIdOf("MovePageUp"),           functionIdOf("MovePageDown"),
    functionIdOf("MovePageLeft"),         functionIdOf("MovePageRight"),
    functionIdOf("MovePageEnd"),          functionIdOf("MovePageStart"),
    functionIdOf("MovePageCenter"),       functionIdOf("MoveWordNextEx"),
    functionIdOf("MoveWordPreviousEx"),   functionIdOf("MoveDocumentEnd"),
    functionIdOf("MoveDocumentEndEx"),    functionIdOf("MoveDocumentStart"),
    functionIdOf("MoveDocumentStartEx"),  functionIdOf("MoveDocumentCenter"),
    functionIdOf("ScrollLineUp"),         functionIdOf("ScrollLineDown"),
    functionIdOf("ScrollLineLeft"),       functionIdOf("ScrollLineRight"),
    functionIdOf("ScrollLinePageEnd"),    functionIdOf("ScrollLinePageStart"),
    functionIdOf("ScrollLinePageCenter"),
};

int firstNonBlank(std::string_view text) {
    int i = 0;
    while (i < static_cast<int>(text.size()) && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    return i;
}

} // namespace

bool MovementCommands::claims(FunctionId id) {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

Document& MovementCommands::document() {
    return *m_processor.document();
}

EditPane& MovementCommands::pane() {
    return *m_processor.pane();
}

void MovementCommands::goToExistingLine(int line) {
    const int last = std::max(document().lineCount() - 1, 0);
    document().moveToLine(std::clamp(line, 0, last));
}

int32_t MovementCommands::run(FunctionId id) {
    if (m_processor.pane() == nullptr) {
        return 0;
    }
    Document& doc = document();
    switch (id) {
    case functionIdOf("MoveLineLeft"):
        return moveLeft(false);
    case functionIdOf("MoveLineLeftEx"):
        return moveLeft(true);
    case functionIdOf("MoveLineRight"):
        return moveRight(false);
    case functionIdOf("MoveLineRightEx"):
        return moveRight(true);
    case functionIdOf("MoveLineHome"):
        doc.setCursorOffset(0);
        return 1;
    case functionIdOf("MoveLineEnd"):
        doc.setCursorOffset(doc.currentLine().length());
        return 1;
    case functionIdOf("MoveLineCenter"):
        doc.setCursorOffset(doc.currentLine().length() / 2);
        return 1;
    case functionIdOf("MoveLineLeftEdge"):
        doc.setCursorColumn(pane().firstColumn());
        return 1;
    case functionIdOf("MoveLineRightEdge"):
        doc.setCursorColumn(pane().lastVisibleColumn());
        return 1;
    case functionIdOf("MoveLineUp"):
        return moveLine(Direction::Backward, Landing::Keep);
    case functionIdOf("MoveLineUpAndFirst"):
        return moveLine(Direction::Backward, Landing::FirstNonBlank);
    case functionIdOf("MoveLineUpAndLast"):
        return moveLine(Direction::Backward, Landing::End);
    case functionIdOf("MoveLineDown"):
        return moveLine(Direction::Forward, Landing::Keep);
    case functionIdOf("MoveLineDownAndFirst"):
        return moveLine(Direction::Forward, Landing::FirstNonBlank);
    case functionIdOf("MoveLineDownAndLast"):
        return moveLine(Direction::Forward, Landing::End);
    case functionIdOf("MoveWordNext"):
        return moveWord(Direction::Forward, false);
    case functionIdOf("MoveWordNextEx"):
        return moveWord(Direction::Forward, true);
    case functionIdOf("MoveWordPrevious"):
        return moveWord(Direction::Backward, false);
    case functionIdOf("MoveWordPreviousEx"):
        return moveWord(Direction::Backward, true);
    case functionIdOf("MoveWordStart"):
    case functionIdOf("MoveWordEnd"):
    case functionIdOf("MoveWordCenter"):
        return moveInWord(id);
    case functionIdOf("MovePageUp"):
        return movePage(Direction::Backward);
    case functionIdOf("MovePageDown"):
        return movePage(Direction::Forward);
    case functionIdOf("MovePageLeft"):
        return movePageSideways(Direction::Backward);
    case functionIdOf("MovePageRight"):
        return movePageSideways(Direction::Forward);
    case functionIdOf("MovePageStart"):
        goToExistingLine(pane().topLine());
        return 1;
    case functionIdOf("MovePageEnd"):
        goToExistingLine(pane().lastVisibleLine());
        return 1;
    case functionIdOf("MovePageCenter"):
        goToExistingLine(pane().topLine() + pane().visibleLines() / 2);
        return 1;
    case functionIdOf("MoveDocumentStart"):
        doc.moveToLine(0);
        doc.setCursorOffset(0);
        return 1;
    case functionIdOf("MoveDocumentEnd"):
        // A file still loading is waited for (Escape stops the wait at the lines read so far).
        (void)m_processor.waitForLines(INT_MAX);
        goToExistingLine(doc.lineCount() - 1);
        doc.setCursorOffset(doc.currentLine().length());
        return 1;
    case functionIdOf("MoveDocumentCenter"):
        goToExistingLine(doc.lineCount() / 2);
        return 1;
    case functionIdOf("MoveDocumentStartEx"):
        return moveDocumentEx(false);
    case functionIdOf("MoveDocumentEndEx"):
        return moveDocumentEx(true);
    case functionIdOf("ScrollLineUp"):
    case functionIdOf("ScrollLineDown"):
    case functionIdOf("ScrollLineLeft"):
    case functionIdOf("ScrollLineRight"):
        return scrollLine(id);
    case functionIdOf("ScrollLinePageStart"):
    case functionIdOf("ScrollLinePageEnd"):
    case functionIdOf("ScrollLinePageCenter"):
        return scrollCursorLineTo(id);
    default:
        return 0;
    }
}

int32_t MovementCommands::moveLeft(bool continueOnPreviousLine) {
    Document& doc = document();
    if (doc.cursorOffset() > 0) {
        doc.setCursorOffset(doc.previousCharacterOffset(doc.cursorOffset()));
        return 1;
    }
    if (continueOnPreviousLine && doc.previousLine()) {
        doc.setCursorOffset(doc.currentLine().length());
    }
    return 1;
}

int32_t MovementCommands::moveRight(bool continueOnNextLine) {
    Document& doc = document();
    if (continueOnNextLine && doc.cursorOffset() >= doc.currentLine().length()) {
        // At the end of the document nothing moves, and a script's loop over it must end.
        if (!doc.nextLine()) {
            return 0;
        }
        doc.setCursorOffset(0);
        return 1;
    }
    // The cursor does not walk out of the right edge of the view.
    if (doc.cursorColumn() >= pane().firstColumn() + pane().visibleColumns()) {
        return 1;
    }
    doc.setCursorOffset(doc.nextCharacterOffset(doc.cursorOffset()));
    return 1;
}

int32_t MovementCommands::moveLine(Direction direction, Landing landing) {
    Document& doc = document();
    const bool moved = direction == Direction::Forward ? doc.nextLine() : doc.previousLine();
    if (!moved) {
        return 0;
    }
    if (landing == Landing::End) {
        doc.setCursorOffset(doc.currentLine().length());
    } else if (landing == Landing::FirstNonBlank) {
        const std::string_view text = doc.currentLine().text();
        const int first = firstNonBlank(text);
        if (first < static_cast<int>(text.size())) {
            doc.setCursorOffset(first);
        }
    }
    return 1;
}

int32_t MovementCommands::moveWord(Direction direction, bool acrossLines) {
    Document& doc = document();
    const WordRules rules(doc);
    const std::optional<int> target =
        direction == Direction::Forward ? rules.nextWord() : rules.previousWord();
    if (target) {
        doc.setCursorOffset(*target);
        return 1;
    }
    if (!acrossLines) {
        return 0;
    }
    if (direction == Direction::Forward) {
        if (!doc.nextLine()) {
            return 0;
        }
        doc.setCursorOffset(0);
    } else {
        if (!doc.previousLine()) {
            return 0;
        }
        doc.setCursorOffset(doc.currentLine().length());
    }
    return 1;
}

int32_t MovementCommands::moveInWord(FunctionId id) {
    Document& doc = document();
    const std::optional<WordBounds> word = WordRules(doc).wordUnderCursor();
    if (!word) {
        m_processor.showStatus(kNotOverWord, platform::SoundKind::Information);
        return 0;
    }
    if (id == functionIdOf("MoveWordStart")) {
        doc.setCursorOffset(word->start);
    } else if (id == functionIdOf("MoveWordEnd")) {
        doc.setCursorOffset(word->end);
    } else {
        doc.setCursorOffset(word->start + (word->end - word->start) / 2);
    }
    return 1;
}

int32_t MovementCommands::movePage(Direction direction) {
    Document& doc = document();
    EditPane& view = pane();
    const int top = view.topLine();
    const int newTop = direction == Direction::Forward ? std::min(top + view.pageLines(), view.maxTopLine())
                                                       : std::max(top - view.pageLines(), 0);
    if ((direction == Direction::Forward && newTop > top) ||
        (direction == Direction::Backward && newTop < top)) {
        const int distance = doc.cursorLine() - top;
        view.markScrolledByFunction();
        view.scrollTo(newTop, view.firstColumn());
        goToExistingLine(newTop + distance);
        return 1;
    }
    goToExistingLine(direction == Direction::Forward ? doc.lineCount() - 1 : 0);
    return 1;
}

int32_t MovementCommands::movePageSideways(Direction direction) {
    Document& doc = document();
    EditPane& view = pane();
    const int first = view.firstColumn();
    const int newFirst = direction == Direction::Forward ? first + view.pageColumns()
                                                         : std::max(first - view.pageColumns(), 0);
    if (newFirst == first) {
        return 1;
    }
    const int column = doc.cursorColumn();
    view.markScrolledByFunction();
    view.scrollTo(view.topLine(), newFirst);
    doc.setCursorColumn(column + newFirst - first);
    return 1;
}

int32_t MovementCommands::moveDocumentEx(bool toEnd) {
    Document& doc = document();
    EditPane& view = pane();
    CommandProcessor::RepeatMemory& memory = toEnd ? m_processor.endRepeat() : m_processor.startRepeat();
    const int64_t now = m_processor.commandCount();
    const auto lineEdge = [&]() { doc.setCursorOffset(toEnd ? doc.currentLine().length() : 0); };
    if (memory.lastCount != now - 1) {
        memory.repeats = 0;
        lineEdge();
    } else {
        ++memory.repeats;
        if (memory.repeats == 1) {
            goToExistingLine(toEnd ? view.lastVisibleLine() : view.topLine());
            lineEdge();
        } else if (memory.repeats == 2) {
            if (toEnd) {
                (void)m_processor.waitForLines(INT_MAX);
            }
            goToExistingLine(toEnd ? doc.lineCount() - 1 : 0);
            lineEdge();
        }
    }
    memory.lastCount = now;
    return 1;
}

int32_t MovementCommands::scrollLine(FunctionId id) {
    Document& doc = document();
    EditPane& view = pane();
    int lines = 0;
    int columns = 0;
    switch (id) {
    case functionIdOf("ScrollLineUp"):
        lines = -1;
        break;
    case functionIdOf("ScrollLineDown"):
        lines = 1;
        break;
    case functionIdOf("ScrollLineLeft"):
        columns = -1;
        break;
    default:
        columns = 1;
        break;
    }
    const bool canScroll = view.topLine() + lines >= 0 && view.firstColumn() + columns >= 0 &&
                           (lines <= 0 || view.topLine() < view.maxTopLine());
    if (canScroll) {
        view.markScrolledByFunction();
        view.scrollBy(lines, columns);
    }
    if (lines < 0) {
        doc.previousLine();
    } else if (lines > 0) {
        doc.nextLine();
    } else {
        doc.setCursorOffset(columns < 0 ? doc.previousCharacterOffset(doc.cursorOffset())
                                        : doc.nextCharacterOffset(doc.cursorOffset()));
    }
    return 1;
}

int32_t MovementCommands::scrollCursorLineTo(FunctionId id) {
    Document& doc = document();
    EditPane& view = pane();
    const int line = doc.cursorLine();
    int top = line;
    if (id == functionIdOf("ScrollLinePageEnd")) {
        top = line - view.visibleLines() + 1;
    } else if (id == functionIdOf("ScrollLinePageCenter")) {
        top = line - view.visibleLines() / 2;
    }
    view.markScrolledByFunction();
    view.scrollTo(std::max(top, 0), view.firstColumn());
    return 1;
}

} // namespace vexa
