// Typing and its aids: typed characters, tabs, smart indent, smart brace, the Enter family and wrap.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "commands/FunctionTable.h"
#include "core/Document.h"

namespace vexa {

class CommandProcessor;

class TypingRoad {
public:
    explicit TypingRoad(CommandProcessor& processor) : m_processor(processor) {}

    static bool claims(FunctionId id);
    int32_t run(FunctionId id);

    // The typed-character road after the count; the caller has passed the guards.
    void typeAfterGuards(Document& document, std::string_view character);

    // Tab stops of a display column for the current "TabSize".
    int nextTabStop(int column) const;
    int previousTabStop(int column) const;

    void smartIndent();
    // The document's new line; an opened line puts the cursor at its start.
    void startNewLine(NewLineMode mode);
    // The automatic wrap after a character typed at a display column.
    void autoWrap(int column, std::string_view character);
    // Deletes the marked text when typing replaces it (the keymap's flag, a mark, and for the
    // Enter family insert mode); true when it did.
    enum class MarkRemoval { InEitherMode, InInsertMode };
    bool removeMarkForTyping(Document& document, MarkRemoval when);

private:
    enum class TabFill : uint8_t { BySetting, Tabs, Spaces };
    int32_t tabChar(TabFill fill);
    int32_t tabBackChar();
    int32_t enter();
    int32_t enterOpen();
    int32_t enterNext();
    int32_t enterLine();
    // Lays out a block after an opening brace; false when the cursor is not just after one.
    bool smartBrace();
    // Opens a new empty line above the cursor line and puts the cursor on it.
    void openLineAbove();
    int32_t lineWrap();
    int32_t lineWrapMarkedArea();
    // Wraps the cursor line once as LineWrap does; true when it split.
    bool wrapCursorLine();
    bool cursorAtOrBeyondEnd() const;
    // A "}" typed right before the "}" smart brace put there steps over it; true when it did.
    bool stepOverAutoBrace(Document& document);
    // A "}" just typed on a line of blanks takes the indentation of the line of its "{".
    void indentClosingBrace(Document& document);

    // The "}" smart brace typed last, found again by its distance from the document's end (the
    // lines typed into the block above it do not move it) and by its line's text.
    struct AutoBrace {
        const Document* document = nullptr;
        int linesFromEnd = 0;
        int offset = 0;
        std::string lineText;
    };
    std::optional<AutoBrace> m_autoBrace;
    CommandProcessor& m_processor;
};

} // namespace vexa
