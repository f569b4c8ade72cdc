// The window-level editor functions: arranging and switching document windows, printing, the
// frame's option dialogs and the About box.
#pragma once

#include "commands/CommandFamily.h"

namespace vexa {

class CommandProcessor;
class Workspace;

class WindowCommands final : public CommandFamily {
public:
    WindowCommands(CommandProcessor& processor, Workspace& workspace)
        : m_processor(processor), m_workspace(workspace) {}

    bool claims(FunctionId id) const override;
    int32_t run(FunctionId id) override;

private:
    int32_t print(FunctionId id);

    CommandProcessor& m_processor;
    Workspace& m_workspace;
};

} // namespace vexa
