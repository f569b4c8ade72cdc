// Runs arbitrary bytes as a batch file through the command interpreter's line reader (with a host
// that only records), reads them as one command whose values hold every byte, and checks that a
// word written for the batch file reads back as itself: nothing may crash, overrun or hang.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "toolchain/BatchInterpreter.h"

namespace {

class CountingHost final : public vexa::toolchain::BatchHost {
public:
    int runCommand(const vexa::toolchain::ArgumentVector& command) override {
        return static_cast<int>(command.words.size() % 3);
    }
    void pause() override {}
    void echo(const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream lines(bytes);
    CountingHost host;
    (void)vexa::toolchain::runBatch(lines, host, {bytes.substr(0, size / 2), bytes.substr(size / 2)});

    // The first half is the typed text, the second a value: the value is one word or inside one.
    using vexa::toolchain::CommandPiece;
    const std::string typed = bytes.substr(0, size / 2);
    const std::string value = bytes.substr(size / 2);
    (void)vexa::toolchain::commandArguments({CommandPiece{typed, false}, CommandPiece{value, true}});
    (void)vexa::toolchain::commandArguments({CommandPiece{typed, false}, CommandPiece{value, true}}, false);

    // A value alone reads back through the batch file's quoting as exactly itself.
    if (!value.empty()) {
        const vexa::toolchain::ArgumentVector alone =
            vexa::toolchain::commandArguments({CommandPiece{value, true}});
        if (alone.words.size() != 1 || alone.words.front() != value) {
            __builtin_trap();
        }
        const std::string line = vexa::toolchain::commandLineOf(alone);
        const vexa::toolchain::BatchLine read = vexa::toolchain::readBatchLine(line);
        if (!vexa::toolchain::endsInsideQuote(line) &&
            (read.kind != vexa::toolchain::BatchLineKind::Command || read.arguments.words != alone.words)) {
            __builtin_trap();
        }
    }
    return 0;
}
