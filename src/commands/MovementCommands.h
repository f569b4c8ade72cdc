// The movement and scroll functions: characters, lines, words, pages, the document, the view.
#pragma once

#include <cstdint>

#include "commands/FunctionTable.h"

namespace vexa {

class CommandProcessor;
class Document;
class EditPane;

class MovementCommands {
public:
    explicit MovementCommands(CommandProcessor& processor) : m_processor(processor) {}

    static bool claims(FunctionId id);
    int32_t run(FunctionId id);

private:
    enum class Direction : uint8_t { Backward, Forward };
    enum class Landing : uint8_t { Keep, FirstNonBlank, End };

    int32_t moveLine(Direction direction, Landing landing);
    int32_t moveRight(bool continueOnNextLine);
    int32_t moveLeft(bool continueOnPreviousLine);
    int32_t moveWord(Direction direction, bool acrossLines);
    int32_t moveInWord(FunctionId id);
    int32_t movePage(Direction direction);
    int32_t movePageSideways(Direction direction);
    int32_t moveDocumentEx(bool toEnd);
    int32_t scrollLine(FunctionId id);
    int32_t scrollCursorLineTo(FunctionId id);
    // Goes to a line that exists (clamped), keeping the display column.
    void goToExistingLine(int line);

    Document& document();
    EditPane& pane();

    CommandProcessor& m_processor;
};

} // namespace vexa
