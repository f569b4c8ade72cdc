// Fuzzes command-line splitting and joining: any bytes split, and joined words split back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    auto words = vexa::platform::splitCommandLine(line);
    auto joined = vexa::platform::joinCommandLine(words);
    if (joined && vexa::platform::splitCommandLine(*joined) != words) {
        std::abort();
    }
    // Every word taken as an argument must survive a join, whatever it holds.
    std::vector<std::string> asArguments{"prog"};
    asArguments.insert(asArguments.end(), words.begin(), words.end());
    asArguments.emplace_back(line);
    auto all = vexa::platform::joinCommandLine(asArguments);
    if (!all || vexa::platform::splitCommandLine(*all) != asArguments) {
        std::abort();
    }
    return 0;
}
