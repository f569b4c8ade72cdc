// Text changes on the cursor line and its characters.
#include "commands/LineCommands.h"

#include <algorithm>
#include <array>
#include <string>

#include "commands/CommandProcessor.h"
#include "commands/MacroRecorderHook.h"
#include "core/Document.h"
#include "core/DocumentText.h"
#include "core/MarkedArea.h"
#include "platform/Clipboard.h"
#include "text/TextEncoding.h"

namespace vexa {

namespace {

constexpr std::array<FunctionId, 22> kIds = {
    functionIdOf("Backspace"),
    functionIdOf("BackspaceEx"),
    functionIdOf("CharDelete"),
    functionIdOf("CharSwapNext"),
    functionIdOf("CharSwapPrevious"),
    functionIdOf("CharCopyFromLineAbove"),
    functionIdOf("CharCopyFromLineBelow"),
    functionIdOf("CharQuote"),
    functionIdOf("InsertSpace"),
    functionIdOf("LineDelete"),
    functionIdOf("LineDeleteEnd"),
    functionIdOf("LineDeleteStart"),
    functionIdOf("LineDeleteEndEx"),
    functionIdOf("LineCopy"),
    functionIdOf("LineCut"),
    functionIdOf("LineCutEnd"),
    functionIdOf("LineCutStart"),
    functionIdOf("LineCutEndEx"),
    functionIdOf("LineCaseLower"),
    functionIdOf("LineCaseUpper"),
    functionIdOf("LineCaseTranspose"),
    functionIdOf("LineTextReverse"),
};

constexpr std::string_view kLiteralPrompt = "Enter the literal character required";

} // namespace

bool LineCommands::claims(FunctionId id) {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

Document& LineCommands::document() {
    return *m_processor.document();
}

int32_t LineCommands::run(FunctionId id) {
    if (id == functionIdOf("CharQuote")) {
        const MacroRecorderHook* recorder = m_processor.recorder();
        if (recorder == nullptr || !recorder->isPlayingBack()) {
            m_processor.setLiteralNext(true);
            m_processor.showStatus(kLiteralPrompt, platform::SoundKind::Information);
        }
        return 1;
    }
    if (m_processor.document() == nullptr) {
        return 0;
    }
    Document& doc = document();
    switch (id) {
    case functionIdOf("Backspace"):
        return backspace(false);
    case functionIdOf("BackspaceEx"):
        return backspace(true);
    case functionIdOf("CharDelete"):
        doc.deleteCharacters(1);
        return 1;
    case functionIdOf("CharSwapNext"):
        return swapNext();
    case functionIdOf("CharSwapPrevious"):
        return swapPrevious();
    case functionIdOf("CharCopyFromLineAbove"):
        return copyFromLine(-1);
    case functionIdOf("CharCopyFromLineBelow"):
        return copyFromLine(1);
    case functionIdOf("InsertSpace"):
        // The space opens at the cursor whatever the typing mode.
        doc.insertCharacter(' ');
        doc.setCursorOffset(doc.cursorOffset() - 1);
        return 1;
    case functionIdOf("LineDelete"):
        return deleteLine();
    case functionIdOf("LineDeleteEnd"):
        doc.deleteToLineEnd();
        return 1;
    case functionIdOf("LineDeleteStart"):
        doc.deleteToLineStart();
        return 1;
    case functionIdOf("LineDeleteEndEx"):
        if (doc.cursorOffset() >= doc.currentLine().length()) {
            doc.deleteCharacters(1);
        } else {
            doc.deleteToLineEnd();
        }
        return 1;
    case functionIdOf("LineCopy"):
        return copyLine();
    case functionIdOf("LineCut"):
        // A line that did not reach the clipboard is not deleted.
        return copyLine() != 0 ? deleteLine() : 0;
    case functionIdOf("LineCutEnd"):
        return cutPart(true);
    case functionIdOf("LineCutEndEx"):
        if (doc.cursorOffset() >= doc.currentLine().length()) {
            doc.deleteCharacters(1);
            return 1;
        }
        return cutPart(true);
    case functionIdOf("LineCutStart"):
        return cutPart(false);
    case functionIdOf("LineCaseLower"):
        doc.changeCase(0, doc.currentLine().length(), CaseChange::Lower);
        return 1;
    case functionIdOf("LineCaseUpper"):
        doc.changeCase(0, doc.currentLine().length(), CaseChange::Upper);
        return 1;
    case functionIdOf("LineCaseTranspose"):
        doc.changeCase(0, doc.currentLine().length(), CaseChange::Swap);
        return 1;
    case functionIdOf("LineTextReverse"):
        return reverseLine();
    default:
        return 0;
    }
}

int32_t LineCommands::backspace(bool joinAtStart) {
    Document& doc = document();
    const int offset = doc.cursorOffset();
    if (offset == 0) {
        if (joinAtStart && doc.cursorLine() > 0) {
            doc.previousLine();
            doc.setCursorOffset(doc.currentLine().length());
            doc.joinLine();
        }
        return 1;
    }
    doc.setCursorOffset(doc.previousCharacterOffset(offset));
    // In the blank space after the end of the line there is nothing to delete.
    if (offset <= doc.currentLine().length()) {
        doc.deleteCharacters(1);
    }
    return 1;
}

int32_t LineCommands::swapNext() {
    Document& doc = document();
    const int offset = doc.cursorOffset();
    const int next = doc.nextCharacterOffset(offset);
    // Without a character after the one at the cursor there is nothing to swap with.
    if (next >= doc.currentLine().length()) {
        return 1;
    }
    const std::string taken(doc.currentLine().text().substr(offset, next - offset));
    doc.deleteCharacters(1);
    doc.setCursorOffset(doc.nextCharacterOffset(offset));
    doc.insertCharacter(taken);
    doc.setCursorOffset(offset);
    return 1;
}

int32_t LineCommands::swapPrevious() {
    Document& doc = document();
    const int offset = doc.cursorOffset();
    if (offset == 0 || offset >= doc.currentLine().length()) {
        return 1;
    }
    const std::string taken(doc.currentLine().text().substr(offset, doc.characterLength(offset)));
    doc.deleteCharacters(1);
    doc.setCursorOffset(doc.previousCharacterOffset(offset));
    doc.insertCharacter(taken);
    return 1;
}

int32_t LineCommands::copyFromLine(int delta) {
    Document& doc = document();
    const int source = doc.cursorLine() + delta;
    if (source < 0 || source >= doc.lineCount()) {
        return 1;
    }
    const DocLine& line = doc.line(source);
    const int offset = line.offsetOfColumn(doc.cursorColumn(), doc.layout());
    if (offset >= line.length()) {
        doc.typeCharacter(' ');
        return 1;
    }
    const int end = text::nextCharacter(line.text(), offset, doc.encoding());
    doc.typeCharacter(std::string(line.text().substr(offset, end - offset)));
    return 1;
}

int32_t LineCommands::deleteLine() {
    Document& doc = document();
    const int line = doc.cursorLine();
    const int column = doc.cursorColumn();
    // The line one past the end does not exist yet: the document reports the failed deletion.
    if (!doc.deleteLine(line)) {
        return 0;
    }
    doc.moveToLine(std::min(line, std::max(doc.lineCount() - 1, 0)));
    doc.setCursorColumn(column);
    return 1;
}

bool LineCommands::putOnClipboard(std::string_view text, int32_t markType) {
    return m_processor.clipboard().put(documentTextAsUtf8(document(), text), markType);
}

int32_t LineCommands::copyLine() {
    return MarkedArea(document(), m_processor.clipboard()).copyLineToClipboard() ? 1 : 0;
}

int32_t LineCommands::cutPart(bool toEnd) {
    Document& doc = document();
    const std::string_view text = doc.currentLine().text();
    const int offset = std::min(doc.cursorOffset(), static_cast<int>(text.size()));
    const std::string_view part = toEnd ? text.substr(offset) : text.substr(0, offset);
    if (!putOnClipboard(part, static_cast<int32_t>(MarkType::Stream))) {
        return 0;
    }
    if (toEnd) {
        doc.deleteToLineEnd();
    } else {
        doc.deleteToLineStart();
    }
    return 1;
}

int32_t LineCommands::reverseLine() {
    // The line changes, so a read-only document refuses it like every other change.
    if (m_processor.refuseIfReadOnly()) {
        return 0;
    }
    Document& doc = document();
    const int offset = doc.cursorOffset();
    // Characters are reversed, not bytes: a UTF-8 sequence keeps its order.
    const std::string reversed = text::reverseCharacters(doc.currentLine().text(), doc.encoding());
    for (int i = 0; i < static_cast<int>(reversed.size()); ++i) {
        if (doc.currentLine().at(i) != reversed[i]) {
            doc.overwriteAt(i, reversed[i]);
        }
    }
    doc.setCursorOffset(offset);
    return 1;
}

} // namespace vexa
