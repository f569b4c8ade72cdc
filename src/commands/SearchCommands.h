// The Search and Replace editor functions: finding again, replacing, the search switches and the
// Find and Replace dialogs.
#pragma once

#include <cstdint>

#include "commands/FunctionTable.h"
#include "commands/ProcessorMessenger.h"
#include "frame/SearchDialogSession.h"

namespace vexa {

class CommandProcessor;
class SearchState;

// Every function works on the processor's one search state and its active pane; without an
// active pane a function does nothing and still counts as handled.
class SearchCommands {
public:
    SearchCommands(CommandProcessor& processor, SearchState& state)
        : m_processor(processor), m_state(state), m_messenger(processor) {}

    static bool claims(FunctionId id);
    int32_t run(FunctionId id);

private:
    // Closes the open dialog first, so that the new one reads the histories the old one wrote.
    void openDialog(SearchDialogKind kind);
    int32_t runSwitch(FunctionId id);

    CommandProcessor& m_processor;
    SearchState& m_state;
    ProcessorMessenger m_messenger;
};

} // namespace vexa
