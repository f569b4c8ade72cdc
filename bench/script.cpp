// Times the script interpreter over a loop of 1,000,000 passes, and python3 over the same loop.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/Clock.h"
#include "script/ScriptInterpreter.h"

namespace {

using vexa::script::ScriptInterpreter;

constexpr int kRepeats = 3;

// An addition and a comparison per pass.
constexpr const char* kScript = "int main() {\n"
                                "    int i;\n"
                                "    int s = 0;\n"
                                "    for (i = 0; i < 1000000; i++)\n"
                                "        s = s + i;\n"
                                "}\n";

// The same loop in python3, inside a function (as a script writer would), timing itself so
// that the interpreter's start-up is not counted.
constexpr const char* kPython = "python3 -c '\n"
                                "import time\n"
                                "def loop():\n"
                                "    s = 0\n"
                                "    i = 0\n"
                                "    while i < 1000000:\n"
                                "        s = s + i\n"
                                "        i += 1\n"
                                "    return s\n"
                                "t = time.perf_counter()\n"
                                "loop()\n"
                                "print(time.perf_counter() - t)\n"
                                "' 2>/dev/null";

double scriptLoopSeconds(bool& correct) {
    vexa::script::StringScriptHost host;
    vexa::platform::SystemClock clock;
    ScriptInterpreter interpreter(host, clock);
    const auto start = std::chrono::steady_clock::now();
    const int32_t code = interpreter.runText(kScript, "/bench/loop.zm", {"loop.zm"});
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const auto& tree = interpreter.tree();
    // The sum of 0..999999 wraps around at 32 bits.
    const auto expected = static_cast<int32_t>(static_cast<uint32_t>(499999500000ULL));
    correct = code == 0 && tree[tree.findVariable("s")].value == expected;
    return elapsed.count();
}

double pythonLoopSeconds() {
    std::FILE* pipe = popen(kPython, "r");
    if (pipe == nullptr) {
        return -1;
    }
    std::array<char, 128> line{};
    double seconds = -1;
    if (std::fgets(line.data(), static_cast<int>(line.size()), pipe) != nullptr) {
        seconds = std::strtod(line.data(), nullptr);
    }
    return pclose(pipe) == 0 ? seconds : -1;
}

} // namespace

int main() {
    double best = 1e9;
    bool correct = true;
    for (int i = 0; i < kRepeats; ++i) {
        bool ok = false;
        best = std::min(best, scriptLoopSeconds(ok));
        correct = correct && ok;
    }
    if (!correct) {
        std::fprintf(stderr, "the script loop gave a wrong result\n");
        return 1;
    }
    std::printf("loop_1m_s: %.4f\n", best);
    double python = 1e9;
    for (int i = 0; i < kRepeats; ++i) {
        const double seconds = pythonLoopSeconds();
        if (seconds < 0) {
            python = -1;
            break;
        }
        python = std::min(python, seconds);
    }
    if (python < 0) {
        std::printf("python_loop_1m_s: unavailable\n");
    } else {
        std::printf("python_loop_1m_s: %.4f\n", python);
    }
    return 0;
}
