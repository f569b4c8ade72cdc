// The receiver of editor functions sent as command messages to the main window.
#pragma once

#include <cstdint>

namespace vexa {

// Implemented by the owner of the command processor. A function sent here runs to completion before
// sendCommand returns, as a command message does.
class FunctionDispatcher {
public:
    virtual ~FunctionDispatcher() = default;

    // `id` is the command message's first parameter, `source` its second.
    virtual void sendCommand(uint16_t id, uint32_t source) = 0;
};

} // namespace vexa
