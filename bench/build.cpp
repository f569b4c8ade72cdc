// Timing of the compiler output window: 32,760 lines of real gcc output (errors, warnings, notes,
// source excerpts, make's lines) loaded into the window and classified line by line.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "toolchain/OutputWindow.h"
#include "support/GeneratedText.h"

namespace {

namespace fs = std::filesystem;

// A C file with a spread of errors and warnings for gcc to report.
std::string faultySource() {
    std::string text = "#include <stdio.h>\n";
    for (int i = 0; i < 400; ++i) {
        const std::string n = std::to_string(i);
        text += "static int helper" + n + "(int a) {\n";
        text += "    int unused" + n + ";\n";
        text += "    if (a = 3) return missing" + n + ";\n";
        text += "    printf(\"%d\\n\", \"text\");\n";
        text += "    return a\n}\n";
    }
    return text;
}

// gcc's output for the faulty source, with make's lines around it, repeated to fill the window.
// Falls back to lines of the same shapes when gcc cannot be run.
std::string realCompilerOutput(std::size_t lines) {
    const fs::path dir = fs::temp_directory_path() / "vexa-bench-build";
    fs::create_directories(dir);
    std::ofstream(dir / "faulty.c") << faultySource();
    const std::string command =
        "cd '" + dir.string() + "' && gcc -Wall -c faulty.c -o /dev/null > gcc.out 2>&1";
    std::string output;
    if (std::system(command.c_str()) != -1) {
        std::ifstream in(dir / "gcc.out", std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        output = bytes.str();
    }
    fs::remove_all(dir);
    if (output.find("error") == std::string::npos) {
        output = "faulty.c: In function 'helper1':\n"
                 "faulty.c:4:11: warning: suggest parentheses around assignment used as truth value\n"
                 "    4 |     if (a = 3) return missing1;\n"
                 "      |         ~~^~~\n"
                 "faulty.c:4:23: error: 'missing1' undeclared (first use in this function)\n"
                 "faulty.c:3:9: warning: unused variable 'unused1' [-Wunused-variable]\n";
    }
    std::string all = "make[1]: Entering directory '/tmp/project/src'\n";
    std::size_t count = 1;
    while (count < lines) {
        std::istringstream in(output);
        for (std::string line; count < lines && std::getline(in, line); ++count) {
            all += line;
            all += '\n';
        }
    }
    return all;
}

} // namespace

int main() {
    const std::string output = realCompilerOutput(vexa::toolchain::OutputWindow::kMaxLines);
    double best = 1e9;
    std::size_t errors = 0;
    for (int run = 0; run < 5; ++run) {
        vexa::toolchain::OutputWindow window(vexa::toolchain::OutputKind::Compiler);
        const auto start = std::chrono::steady_clock::now();
        window.setRun("/tmp/project/src/", "/tmp/project/src/faulty.c");
        window.addHeader();
        window.loadText(output);
        best = std::min(best, vexa::bench::secondsSince(start));
        errors = 0;
        for (const auto& line : window.lines()) {
            errors += line.parsed.kind == vexa::toolchain::ErrorKind::None ? 0 : 1;
        }
    }
    std::printf("output_lines: %zu\n", static_cast<std::size_t>(vexa::toolchain::OutputWindow::kMaxLines));
    std::printf("classified_error_lines: %zu\n", errors);
    std::printf("load_output_ms: %.1f\n", best * 1000.0);
    return 0;
}
