// The resident size of the benchmark process, read from /proc (Linux).
#include "support/ProcessMemory.h"

#include <fstream>
#include <string>

namespace vexa::bench {

long statusKib(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::stol(line.substr(prefix.size()));
        }
    }
    return -1;
}

void resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

} // namespace vexa::bench
