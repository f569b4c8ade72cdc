// Runs arbitrary bytes as a batch file through the command interpreter's line reader (with a host
// that only records) and joins them as "/C" words: nothing may crash, overrun or hang.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "toolchain/BatchInterpreter.h"

namespace {

class CountingHost final : public vexa::toolchain::BatchHost {
public:
    int runCommand(const std::string& command) override { return static_cast<int>(command.size() % 3); }
    void pause() override {}
    void echo(const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream lines(bytes);
    CountingHost host;
    (void)vexa::toolchain::runBatch(lines, host);
    std::vector<std::string> words;
    std::istringstream split(bytes);
    for (std::string word; split >> word;) {
        words.push_back(word);
    }
    (void)vexa::toolchain::batchFileOf(vexa::toolchain::joinCommandWords(words));
    return 0;
}
