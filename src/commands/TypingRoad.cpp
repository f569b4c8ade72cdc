// Typing and its aids: typed characters, tabs, smart indent, smart brace, the Enter family and wrap.
#include "commands/TypingRoad.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "commands/CommandProcessor.h"
#include "commands/KeymapState.h"
#include "commands/TemplateHook.h"
#include "core/Document.h"
#include "core/MarkedArea.h"
#include "settings/Options.h"

namespace vexa {

namespace {

constexpr std::array<FunctionId, 12> kIds = {
    functionIdOf("Enter"),     functionIdOf("EnterOpen"),   functionIdOf("EnterNext"),
    functionIdOf("EnterLine"), functionIdOf("Tab"),         functionIdOf("TabBack"),
    functionIdOf("TabChar"),   functionIdOf("TabBackChar"), functionIdOf("TabHard"),
    functionIdOf("TabSoft"),   functionIdOf("LineWrap"),    functionIdOf("LineWrapMarkedArea"),
};

// Typing stops where the cursor could no longer step over the typed character.
constexpr std::string_view kLineFull = "The line can not grow any longer.";

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

bool isBlankLine(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char ch) { return isBlank(ch) || ch == '\n'; });
}

int leadingBlanks(std::string_view text) {
    int count = 0;
    while (count < static_cast<int>(text.size()) && isBlank(text[count])) {
        ++count;
    }
    return count;
}

struct BracePosition {
    int line = 0;
    int offset = 0;
};

// The "}" that closes a "{" standing before an offset, searched forward with nesting counted.
std::optional<BracePosition> findClosingBrace(const Document& document, int line, int offset) {
    int depth = 1;
    for (int index = line; index < document.lineCount(); ++index) {
        const std::string_view text = document.lineText(index);
        for (int i = index == line ? offset : 0; i < static_cast<int>(text.size()); ++i) {
            if (text[i] == '{') {
                ++depth;
            } else if (text[i] == '}' && --depth == 0) {
                return BracePosition{index, i};
            }
        }
    }
    return std::nullopt;
}

// The "{" that a "}" standing at an offset closes, searched backward with nesting counted.
std::optional<BracePosition> findOpeningBrace(const Document& document, int line, int offset) {
    int depth = 1;
    for (int index = line; index >= 0; --index) {
        const std::string_view text = document.lineText(index);
        for (int i = index == line ? offset : static_cast<int>(text.size()); i-- > 0;) {
            if (text[i] == '}') {
                ++depth;
            } else if (text[i] == '{' && --depth == 0) {
                return BracePosition{index, i};
            }
        }
    }
    return std::nullopt;
}

} // namespace

bool TypingRoad::claims(FunctionId id) {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

int32_t TypingRoad::run(FunctionId id) {
    if (m_processor.document() == nullptr) {
        return 0;
    }
    switch (id) {
    case functionIdOf("Enter"):
        return enter();
    case functionIdOf("EnterOpen"):
        return enterOpen();
    case functionIdOf("EnterNext"):
        return enterNext();
    case functionIdOf("EnterLine"):
        return enterLine();
    case functionIdOf("Tab"):
        if (!m_processor.editSettings().insertMode) {
            return tabChar(TabFill::BySetting);
        }
        if (m_processor.run(functionIdOf("MarkShiftRight")) == 0) {
            return tabChar(TabFill::BySetting);
        }
        return 1;
    case functionIdOf("TabBack"):
        if (!m_processor.editSettings().insertMode) {
            return tabBackChar();
        }
        if (m_processor.run(functionIdOf("MarkShiftLeft")) == 0) {
            return tabBackChar();
        }
        return 1;
    case functionIdOf("TabChar"):
        return tabChar(TabFill::BySetting);
    case functionIdOf("TabHard"):
        return tabChar(TabFill::Tabs);
    case functionIdOf("TabSoft"):
        return tabChar(TabFill::Spaces);
    case functionIdOf("TabBackChar"):
        return tabBackChar();
    case functionIdOf("LineWrap"):
        return lineWrap();
    case functionIdOf("LineWrapMarkedArea"):
        return lineWrapMarkedArea();
    default:
        return 0;
    }
}

int TypingRoad::nextTabStop(int column) const {
    const int tabSize = m_processor.editSettings().tabSize;
    return tabSize * (column / tabSize + 1);
}

int TypingRoad::previousTabStop(int column) const {
    const int tabSize = m_processor.editSettings().tabSize;
    return tabSize * std::max(0, column / tabSize - 1);
}

bool TypingRoad::removeMarkForTyping(Document& document, MarkRemoval when) {
    const bool modeAllows = when == MarkRemoval::InEitherMode || m_processor.editSettings().insertMode;
    if (!modeAllows || !m_processor.keyPressRemovesMark() || !document.hasMark()) {
        return false;
    }
    MarkedArea(document, m_processor.clipboard()).deleteMarkedArea();
    document.clearMark();
    return true;
}

void TypingRoad::typeAfterGuards(Document& document, std::string_view character) {
    const bool literal = m_processor.literalNext();
    // A typed character replaces the mark in overwrite mode as well (only the Enter family leaves
    // it alone there): it takes the place of the marked text rather than writing over the text
    // after it.
    const bool replacedMark = removeMarkForTyping(document, MarkRemoval::InEitherMode);
    const EditorOptions& editor = m_processor.options().editor();
    const char ch = character.size() == 1 ? character[0] : '\0';
    const bool aids = m_processor.typingAids();
    if (!literal && aids && ch == ' ' && editor.smartTemplate == 1 && editor.insertMode == 1 &&
        m_processor.templates() != nullptr && m_processor.templates()->expandBeforeSpace(document)) {
        m_processor.setLiteralNext(false);
        return;
    }
    const bool closesBlock = !literal && aids && ch == '}' && editor.smartBrace == 1;
    if (closesBlock && !replacedMark && stepOverAutoBrace(document)) {
        m_processor.setLiteralNext(false);
        return;
    }
    const bool typed = replacedMark ? document.insertCharacter(character) : document.typeCharacter(character);
    if (!typed) {
        m_processor.showStatus(kLineFull, platform::SoundKind::Exclamation);
        m_processor.setLiteralNext(false);
        return;
    }
    if (closesBlock) {
        indentClosingBrace(document);
    }
    if (aids && editor.lineWrap == 1) {
        autoWrap(document.cursorColumn(), character);
    }
    m_processor.setLiteralNext(false);
}

int32_t TypingRoad::tabChar(TabFill fill) {
    Document& document = *m_processor.document();
    EditSettings settings = m_processor.editSettings();
    if (fill != TabFill::BySetting) {
        settings.useTabs = fill == TabFill::Tabs;
    }
    const int column = document.cursorColumn();
    const int target = nextTabStop(column);
    if (!settings.insertMode) {
        document.setCursorColumn(target);
        return 1;
    }
    // The forced fill lasts for this one call: gaps filled on the way follow it too.
    document.setSettings(settings);
    const bool typed =
        settings.useTabs ? document.insertCharacter('\t') : document.insertCharacter(' ', target - column);
    document.setSettings(m_processor.editSettings());
    if (!typed) {
        m_processor.showStatus(kLineFull, platform::SoundKind::Exclamation);
        return 0;
    }
    return 1;
}

int32_t TypingRoad::tabBackChar() {
    Document& document = *m_processor.document();
    document.setCursorColumn(previousTabStop(document.cursorColumn()));
    return 1;
}

void TypingRoad::startNewLine(NewLineMode mode) {
    Document& document = *m_processor.document();
    const int line = document.cursorLine();
    const bool opens = mode == NewLineMode::Forced || m_processor.editSettings().insertMode;
    document.newLine(mode);
    // The line move carries the old display column over; a line that was just opened starts at
    // its beginning (smart indent then moves it to the indentation), never out in blank space.
    if (opens && document.cursorLine() != line) {
        document.setCursorOffset(0);
    }
}

void TypingRoad::smartIndent() {
    Document* document = m_processor.document();
    if (document == nullptr || !m_processor.typingAids() || m_processor.options().editor().smartIndent == 0) {
        return;
    }
    int found = document->cursorLine() - 1;
    while (found >= 0 && isBlankLine(document->lineText(found))) {
        --found;
    }
    if (found < 0) {
        return;
    }
    const std::string indent(document->lineText(found).substr(0, leadingBlanks(document->lineText(found))));
    const int indentColumn =
        document->line(found).columnOfOffset(static_cast<int>(indent.size()), document->layout());
    if (m_processor.editSettings().insertMode && !document->currentLine().empty()) {
        const int blanks = leadingBlanks(document->currentLine().text());
        document->setCursorOffset(0);
        if (blanks > 0) {
            document->deleteBytes(blanks);
        }
        document->insertText(indent);
    }
    document->setCursorColumn(indentColumn);
}

bool TypingRoad::cursorAtOrBeyondEnd() const {
    const Document& document = *m_processor.document();
    return document.cursorOffset() >= document.currentLine().length();
}

void TypingRoad::openLineAbove() {
    Document& document = *m_processor.document();
    document.setCursorOffset(0);
    document.insertEmptyLine();
}

bool TypingRoad::stepOverAutoBrace(Document& document) {
    if (!m_autoBrace || m_autoBrace->document != &document) {
        return false;
    }
    const int line = document.lineCount() - m_autoBrace->linesFromEnd;
    if (line != document.cursorLine() || document.cursorOffset() != m_autoBrace->offset ||
        document.lineText(line) != m_autoBrace->lineText) {
        return false;
    }
    document.setCursorOffset(m_autoBrace->offset + 1);
    m_autoBrace.reset();
    return true;
}

void TypingRoad::indentClosingBrace(Document& document) {
    const std::string_view text = document.currentLine().text();
    const int braceOffset = document.cursorOffset() - 1;
    if (braceOffset < 0 || braceOffset >= static_cast<int>(text.size()) || text[braceOffset] != '}' ||
        leadingBlanks(text) != braceOffset || braceOffset + 1 != static_cast<int>(text.size())) {
        return;
    }
    const auto opening = findOpeningBrace(document, document.cursorLine(), braceOffset);
    if (!opening) {
        return;
    }
    const std::string_view openLine = document.lineText(opening->line);
    const std::string indent(openLine.substr(0, leadingBlanks(openLine)));
    if (text.substr(0, braceOffset) == indent) {
        return;
    }
    document.setCursorOffset(0);
    document.deleteBytes(braceOffset);
    document.insertText(indent);
    document.setCursorOffset(static_cast<int>(indent.size()) + 1);
}

bool TypingRoad::smartBrace() {
    Document& document = *m_processor.document();
    if (m_processor.templateTyping() || !m_processor.typingAids() ||
        m_processor.options().editor().smartBrace != 1) {
        return false;
    }
    const DocLine& line = document.currentLine();
    const int index = std::min(document.cursorOffset(), line.length());
    // Only a brace left of the cursor opens a block: at column 0 the brace stands after it.
    if (index == 0 || line.at(index - 1) != '{') {
        return false;
    }
    const int braceOffset = index - 1;
    const int braceLine = document.cursorLine();
    const int braceColumn = document.columnOfOffset(braceLine, braceOffset);
    // The block's lines are opened and its braces inserted in overwrite mode too: laying out a
    // block never writes over the text that follows it.
    const auto typeClosingBrace = [&]() {
        document.insertCharacter('}');
        m_autoBrace = AutoBrace{&document, document.lineCount() - document.cursorLine(),
                                document.cursorOffset() - 1, std::string(document.currentLine().text())};
        openLineAbove();
        smartIndent();
    };

    if (m_processor.options().editor().smartBraceMode == 1) {
        if (leadingBlanks(line.text()) == braceOffset) {
            document.setCursorOffset(braceOffset);
            document.deleteCharacters(1);
            smartIndent();
            m_processor.run(functionIdOf("Tab"));
            document.insertCharacter('{');
            startNewLine(NewLineMode::Forced);
            smartIndent();
            if (!cursorAtOrBeyondEnd()) {
                return true;
            }
            typeClosingBrace();
            return true;
        }
        startNewLine(NewLineMode::Forced);
        smartIndent();
        m_processor.run(functionIdOf("Tab"));
        if (!cursorAtOrBeyondEnd()) {
            return true;
        }
        typeClosingBrace();
        m_processor.run(functionIdOf("Tab"));
        return true;
    }

    const auto closing = findClosingBrace(document, braceLine, index);
    const bool closed =
        closing &&
        (closing->line == braceLine ||
         document.columnOfOffset(closing->line, closing->offset) == braceColumn);
    startNewLine(NewLineMode::Forced);
    smartIndent();
    if (!closed) {
        typeClosingBrace();
    }
    m_processor.run(functionIdOf("Tab"));
    return true;
}

int32_t TypingRoad::enter() {
    Document& document = *m_processor.document();
    removeMarkForTyping(document, MarkRemoval::InInsertMode);
    if (smartBrace()) {
        return 1;
    }
    startNewLine(NewLineMode::ByInsertMode);
    smartIndent();
    return 1;
}

int32_t TypingRoad::enterOpen() {
    Document& document = *m_processor.document();
    startNewLine(NewLineMode::ByInsertMode);
    smartIndent();
    document.previousLine();
    document.setCursorOffset(document.currentLine().length());
    return 1;
}

int32_t TypingRoad::enterNext() {
    Document& document = *m_processor.document();
    if (document.cursorWithin()) {
        document.setCursorOffset(document.currentLine().length());
    }
    startNewLine(NewLineMode::Forced);
    smartIndent();
    return 1;
}

int32_t TypingRoad::enterLine() {
    Document& document = *m_processor.document();
    removeMarkForTyping(document, MarkRemoval::InInsertMode);
    startNewLine(NewLineMode::ByInsertMode);
    return 1;
}

void TypingRoad::autoWrap(int column, std::string_view character) {
    Document& document = *m_processor.document();
    const int wrapColumn = m_processor.options().editor().wrapColumn;
    if (wrapColumn > column) {
        return;
    }
    const bool within = document.cursorWithin();
    const DocLine& line = document.currentLine();
    const int s = std::min(document.cursorOffset() - 1, line.length());
    if (s < 0) {
        return;
    }
    int breakAt = s;
    if (!(isBlank(line.at(s)) && s - 1 <= wrapColumn)) {
        bool metBlank = false;
        for (int i = isBlank(line.at(s)) ? s - 1 : s; i >= 1; --i) {
            if (isBlank(line.at(i))) {
                breakAt = i + 1;
                metBlank = true;
                if (i <= wrapColumn) {
                    break;
                }
            }
        }
        if (!metBlank) {
            breakAt = s;
        }
    }
    const int distance = column - document.columnOfOffset(document.cursorLine(), breakAt);
    document.setCursorOffset(breakAt);
    // The wrap splits the line in overwrite mode too; a plain move to the next line would send
    // the typed text into it (and make a wrapped area take in the line after it).
    startNewLine(NewLineMode::Forced);
    smartIndent();
    if (within) {
        if (!(character == " " && distance == 1)) {
            document.setCursorColumn(document.cursorColumn() + distance);
        }
    } else {
        document.setCursorOffset(document.currentLine().length());
    }
}

bool TypingRoad::wrapCursorLine() {
    Document& document = *m_processor.document();
    const int before = document.lineCount();
    document.setCursorOffset(document.currentLine().length());
    autoWrap(document.cursorColumn(), " ");
    return document.lineCount() > before;
}

int32_t TypingRoad::lineWrap() {
    Document& document = *m_processor.document();
    const int line = document.cursorLine();
    const int column = document.cursorColumn();
    wrapCursorLine();
    document.moveToLine(line);
    document.setCursorColumn(column);
    return 1;
}

int32_t TypingRoad::lineWrapMarkedArea() {
    Document& document = *m_processor.document();
    if (!document.hasMark()) {
        return 0;
    }
    const MarkState mark = document.mark();
    const int line = document.cursorLine();
    const int column = document.cursorColumn();
    int count = mark.lastLine() - mark.firstLine() + 1;
    if (column != 0 && mark.isStream()) {
        --count;
    }
    // The mark goes first: the cursor walks over the area and must not drag it along.
    document.clearMark();
    document.moveToLine(mark.firstLine());
    for (int i = 0; i < count; ++i) {
        // A split leaves the cursor on the tail, to which the next original line is joined.
        wrapCursorLine();
        if (i + 1 == count) {
            break;
        }
        const DocLine& current = document.currentLine();
        if (!current.empty() && current.at(current.length() - 1) != ' ') {
            document.setCursorOffset(current.length());
            document.insertCharacter(' ');
        }
        document.setCursorOffset(document.currentLine().length());
        document.joinLine();
    }
    wrapCursorLine();
    document.moveToLine(line);
    document.setCursorColumn(column);
    return 1;
}

} // namespace vexa
