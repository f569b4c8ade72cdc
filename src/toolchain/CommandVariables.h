// The $-variables of configured command lines: their values and the expansion of a command string.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/CommandWords.h"

namespace vexa {
class CommandProcessor;
}

namespace vexa::toolchain {

// The values a command line can name, gathered before expanding it.
struct VariableContext {
    // The active document; nothing expands without one.
    bool hasDocument = false;
    // Whether the document is shown in a window ($Column is empty without one).
    bool hasWindow = false;
    std::string documentPath;
    int line = 1;   // counted from 1
    int column = 1; // display column, counted from 1
    // The marked text when the mark lies within one line, otherwise the word at the cursor.
    std::string word;
    std::string projectPath;      // empty: no project open
    std::string currentDirectory; // without a trailing '/'
    std::string installDirectory; // the Vexa home, ending in '/'
};

// The value of the variable at the start of text (which starts with '$') and how many characters
// its name took. A name that is not a variable gives "$" and one character.
struct ExpandedVariable {
    std::string value;
    std::size_t consumed = 1;
};

// Values are cut to this many characters.
inline constexpr std::size_t kMaxVariableValue = 255;
// The buffer size callers expand command lines into.
inline constexpr std::size_t kCommandBufferSize = 256;

ExpandedVariable expandVariable(std::string_view text, const VariableContext& context);

// Expands every variable of command into result. A piece (the text before a '$', a value, the
// text after the last '$') is kept only while the running length of all pieces, kept or not,
// stays below size; so everything after the first piece that does not fit is dropped. True when
// the command held a '$'.
bool expandCommand(std::string_view command, std::size_t size, const VariableContext& context,
                   std::string& result);

// The same expansion as pieces, so that each value can stay inside its word: the typed text and
// the values, kept under the same rule.
std::vector<CommandPiece> expandCommandPieces(std::string_view command, std::size_t size,
                                              const VariableContext& context);

// The variables of the processor's active document, the open project and the home. An empty
// project path stands for the project open now (the settings' current project).
VariableContext variableContextOf(CommandProcessor& processor, std::string_view projectPath = {});

} // namespace vexa::toolchain
