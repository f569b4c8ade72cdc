// Loads arbitrary bytes as a run's output into the compiler and project windows (classifying every
// line, following make's directory lines) and steps the parser over each line: nothing may crash,
// overrun or hang, whatever a compiler wrote.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "toolchain/ErrorLineParser.h"
#include "toolchain/OutputWindow.h"

// Byte 0 chooses the window and whether the user's patterns are set; the rest is the output.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint8_t mode = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    vexa::toolchain::UserErrorPatterns patterns;
    if ((mode & 2) != 0) {
        patterns = {"undefined reference|fatal", "at line [0-9]+"};
    }
    const auto kind = (mode & 1) != 0 ? vexa::toolchain::OutputKind::Project : vexa::toolchain::OutputKind::Compiler;
    vexa::toolchain::OutputWindow window(kind, patterns);
    window.setRun("/tmp/run/", "/tmp/run/main.c");
    window.loadText(bytes);
    for (std::size_t i = 0; i < window.lineCount(); ++i) {
        (void)window.directoryOf(i);
    }
    vexa::toolchain::ErrorLineParser parser(patterns);
    (void)parser.fileAndLine(bytes);
    (void)vexa::toolchain::readCompilerLine(bytes);
    return 0;
}
