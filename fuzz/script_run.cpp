// Runs arbitrary bytes as a script; the termination hook ends runaway loops after a fixed
// number of passes, and the current directory (which chdir may change) is put back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "script/ScriptInterpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vexa::script;
    static const std::string home = vexa::platform::currentDirectory().value_or("/");
    StringScriptHost host;
    host.setPassLimit(2000);
    vexa::platform::SystemClock clock;
    ScriptInterpreter interpreter(host, clock);
    const int32_t code = interpreter.runText(std::string(reinterpret_cast<const char*>(data), size),
                                             "/fuzz/r.zm", {"r.zm", "12", "two words"});
    if (code != -1 && code != 0 && code != 1) {
        __builtin_trap();
    }
    (void)vexa::platform::setCurrentDirectory(home);
    return 0;
}
