// The marking functions and undo/redo: kinds of marking, the marked text, Shift marking, undo, redo.
#pragma once

#include <cstdint>

#include "commands/FunctionTable.h"
#include "core/MarkState.h"
#include "core/MarkedArea.h"

namespace vexa {

class CommandProcessor;
class Document;

class MarkCommands {
public:
    explicit MarkCommands(CommandProcessor& processor) : m_processor(processor) {}

    static bool claims(FunctionId id);
    int32_t run(FunctionId id);

private:
    enum class SetMode : uint8_t { Set, SetEx, Reset, Toggle };
    int32_t markKind(MarkType type, SetMode mode);
    int32_t markWord(FunctionId id);
    int32_t copyMarked(bool thenDelete);
    int32_t pasteAndMark();
    MarkedArea area();
    int32_t writeMarkedToFile();
    int32_t undoOrRedo(bool undo);

    Document& document();

    CommandProcessor& m_processor;
};

} // namespace vexa
