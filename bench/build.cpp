// Timing of the compiler output window: 32,760 lines of real gcc output (errors, warnings, notes,
// source excerpts, make's lines) loaded into the window and classified line by line; and a 400 MB
// output file of gcc-style lines loaded from disk: its time and the peak memory it adds.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>

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

// The process's peak resident memory so far, in KiB.
long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Writes about `bytes` of 100-byte gcc-style lines to a file, a piece at a time.
void writeHugeOutput(const fs::path& path, std::size_t bytes) {
    std::string line = "/tmp/project/src/module.c:123:45: warning: unused variable 'value' [-Wunused-variable]";
    line.resize(99, ' ');
    line += '\n';
    std::string piece;
    for (int i = 0; i < 10000; ++i) {
        piece += line;
    }
    std::ofstream out(path, std::ios::binary);
    for (std::size_t written = 0; written < bytes; written += piece.size()) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    }
}

void measureHugeOutput() {
    const fs::path dir = fs::temp_directory_path() / "vexa-bench-huge-output";
    fs::create_directories(dir);
    const fs::path file = dir / "huge.err";
    writeHugeOutput(file, std::size_t{400} << 20);
    const long before = peakResidentKiB();
    const auto start = std::chrono::steady_clock::now();
    {
        vexa::toolchain::OutputWindow window(vexa::toolchain::OutputKind::Compiler);
        window.setRun("/tmp/project/src/", "/tmp/project/src/module.c");
        window.addHeader();
        (void)window.loadFile(file.string());
    }
    const double seconds = vexa::bench::secondsSince(start);
    const long growth = peakResidentKiB() - before;
    fs::remove_all(dir);
    std::printf("huge_output_growth_mib: %.1f\n", static_cast<double>(growth) / 1024.0);
    std::printf("huge_output_s: %.2f\n", seconds);
}

} // namespace

int main() {
    // First, while the peak memory is still the program's own: a later peak would hide its growth.
    measureHugeOutput();
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
