// A family of editor functions handled together (movement, marks, files, windows, compiling, ...).
#pragma once

#include <cstdint>
#include <string>

#include "commands/FunctionTable.h"

namespace vexa {

// The processor asks each family in turn whether it claims a function; exactly one family claims
// each built function. Families of the floors above the commands (windows, compiling, macros, ...)
// are given to the processor when the editor is put together.
class CommandFamily {
public:
    virtual ~CommandFamily() = default;
    virtual bool claims(FunctionId id) const = 0;
    // Runs a claimed function against the processor's active window: the function's result.
    virtual int32_t run(FunctionId id) = 0;
    // Whether work the user waits for runs (a compile, a make): Escape then stops it.
    virtual bool hasForegroundWork() { return false; }
    // Stops that work (the newest of several); false when none ran.
    virtual bool stopForegroundWork() { return false; }
    // A document window closes; its document's name (empty for an unnamed one).
    virtual void documentClosed(const std::string& /*path*/) {}
};

} // namespace vexa
