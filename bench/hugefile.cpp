// Huge-file benchmark: writes a C file of about 1 GB (VEXA_BENCH_HUGEFILE_MB sets another size in
// MiB) under the temporary directory from a corpus of C headers, loads it block by block as a
// document's load does, and prints the time until the first block's lines are there, the full
// load beside `wc -l` on the same cached file and beside reading the file into new memory and
// nothing else, the memory the load took against the file's size, a literal search from the top
// to the last line and the save; the files are removed at the end.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "core/Document.h"
#include "core/DocumentFile.h"
#include "core/FileLoad.h"
#include "search/SearchState.h"
#include "support/BenchSearchPane.h"
#include "support/GeneratedText.h"
#include "support/ProcessMemory.h"
#include "support/QuietMessenger.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using vexa::bench::secondsSince;

constexpr std::string_view kLastLine = "/* the end of the file: zq_last_line_marker */\n";

// The comment markers of C, as the syntax layer gives them for a ".c" file.
class CRules final : public vexa::LanguageRules {
public:
    vexa::CommentMarkers commentMarkers() const override { return {"/*", "*/"}; }
};

std::size_t targetBytes() {
    const char* size = std::getenv("VEXA_BENCH_HUGEFILE_MB");
    const long mib = size != nullptr ? std::strtol(size, nullptr, 10) : 1024;
    return static_cast<std::size_t>(mib > 0 ? mib : 1024) * 1024 * 1024;
}

// A corpus of C text of about 53 MB: the system's C headers in name order (real code, about 45
// bytes a line), or the generated text where there are too few.
std::string corpus() {
    constexpr std::size_t kCorpusBytes = 53'000'000;
    std::vector<std::filesystem::path> headers;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator("/usr/include", error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file(error) && it->path().extension() == ".h") {
            headers.push_back(it->path());
        }
    }
    std::sort(headers.begin(), headers.end());
    std::string text;
    for (const auto& header : headers) {
        std::ifstream in(header, std::ios::binary);
        text.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!text.empty() && text.back() != '\n') {
            text += '\n';
        }
        if (text.size() >= kCorpusBytes) {
            return text;
        }
    }
    return vexa::bench::generateCText();
}

// The corpus repeated up to the size, then a last line found nowhere else.
void writeHugeFile(const std::string& path, std::size_t bytes) {
    const std::string piece = corpus();
    std::ofstream out(path, std::ios::binary);
    for (std::size_t written = 0; written < bytes; written += piece.size()) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    }
    out.write(kLastLine.data(), static_cast<std::streamsize>(kLastLine.size()));
}

// The processor seconds (user and system) a process or its waited-for children have used.
double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The processor seconds the calling thread has used.
double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// `wc -l FILE` from an argument vector, its output thrown away; seconds, negative on failure.
// `cpu` receives the processor seconds it used.
double wcSeconds(const std::string& path, double& cpu) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string program = "wc";
    std::string option = "-l";
    std::string file = path;
    char* argv[] = {program.data(), option.data(), file.data(), nullptr};
    const double childrenBefore = cpuSeconds(RUSAGE_CHILDREN);
    const auto start = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "wc", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    const double seconds = secondsSince(start);
    cpu = cpuSeconds(RUSAGE_CHILDREN) - childrenBefore;
    return seconds;
}

// The time to read the file into new memory a block at a time and do nothing else: what copying
// the bytes from the page cache into pages the process has not touched costs on this machine, the
// floor under any load that keeps the bytes. Seconds, negative on failure.
double readIntoNewMemorySeconds(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return -1;
    }
    std::vector<std::unique_ptr<char[]>> blocks;
    const auto start = Clock::now();
    bool ok = true;
    for (;;) {
        blocks.push_back(std::make_unique_for_overwrite<char[]>(vexa::FileLoad::kBlockSize));
        const ssize_t got = ::read(descriptor, blocks.back().get(), vexa::FileLoad::kBlockSize);
        if (got <= 0) {
            ok = got == 0;
            break;
        }
    }
    const double seconds = secondsSince(start);
    ::close(descriptor);
    return ok ? seconds : -1;
}

} // namespace

int main() {
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "vexa-bench-hugefile";
    std::filesystem::create_directories(work);
    const std::string path = (work / "huge.c").string();
    const std::string savePath = (work / "saved.c").string();
    writeHugeFile(path, targetBytes());
    const auto fileBytes = static_cast<double>(std::filesystem::file_size(path));
    std::printf("file_mib: %.1f\n", fileBytes / (1024.0 * 1024.0));
    int status = 0;
    {
        vexa::bench::QuietMessenger messenger;
        vexa::FileOptions options;
        vexa::DocumentFile file(options, messenger);
        vexa::Document document;
        document.setMessenger(&messenger);
        document.setLanguageRules(std::make_shared<CRules>());
        document.setFileName(path);

        // The file is in the page cache since it was written; wc reads the same cached bytes.
        double wcCpu = 0;
        const double wc = wcSeconds(path, wcCpu);
        const double readFloor = readIntoNewMemorySeconds(path);
        vexa::bench::resetPeak();
        const long before = vexa::bench::statusKib("VmRSS");
        const double cpuBefore = cpuSeconds(RUSAGE_SELF);
        const double threadBefore = threadCpuSeconds();
        const auto start = Clock::now();
        vexa::FileLoad load(document, options, messenger);
        if (!load.start() || !load.step()) {
            std::fprintf(stderr, "cannot load %s\n", path.c_str());
            return 1;
        }
        const double firstScreen = secondsSince(start);
        while (load.step()) {
        }
        const double full = secondsSince(start);
        const double fullCpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;
        const double loadThreadCpu = threadCpuSeconds() - threadBefore;
        const long peak = vexa::bench::statusKib("VmHWM");
        std::printf("lines: %d\n", document.lineCount());
        std::printf("bytes_per_line: %.1f\n", fileBytes / document.lineCount());
        std::printf("first_screen_s: %.3f\n", firstScreen);
        std::printf("full_load_s: %.3f\n", full);
        std::printf("wc_l_s: %.3f\n", wc);
        std::printf("load_over_wc: %.2f\n", wc > 0 ? full / wc : 0.0);
        std::printf("read_into_new_memory_s: %.3f\n", readFloor);
        std::printf("load_over_read: %.2f\n", readFloor > 0 ? full / readFloor : 0.0);
        // The same in processor time, which a busy machine disturbs less than the clock.
        std::printf("full_load_cpu_s: %.3f\n", fullCpu);
        // The share of the thread that cuts the lines (the window's thread); the rest is the reader
        // thread's, which runs beside it.
        std::printf("full_load_cutting_cpu_s: %.3f\n", loadThreadCpu);
        std::printf("wc_l_cpu_s: %.3f\n", wcCpu);
        std::printf("load_over_wc_cpu: %.2f\n", wcCpu > 0 ? fullCpu / wcCpu : 0.0);
        std::printf("memory_over_file: %.3f\n", static_cast<double>(peak - before) * 1024.0 / fileBytes);
        if (!load.complete() || document.isReadOnly()) {
            std::fprintf(stderr, "the load did not complete\n");
            status = 1;
        }

        vexa::SearchState state;
        vexa::bench::BenchSearchPane pane(document);
        state.setFindText("zq_last_line_marker", false);
        const auto searchStart = Clock::now();
        state.attach(&pane);
        const bool found = state.findNext(true);
        state.detach();
        std::printf("search_last_line_s: %.3f\n", secondsSince(searchStart));
        if (!found || document.cursorLine() + 1 != document.lineCount()) {
            std::fprintf(stderr, "the search stopped on line %d of %d\n", document.cursorLine() + 1,
                         document.lineCount());
            status = 1;
        }

        document.setFileName(savePath);
        const double saveCpuBefore = cpuSeconds(RUSAGE_SELF);
        const auto saveStart = Clock::now();
        if (!file.save(document)) {
            std::fprintf(stderr, "cannot save %s\n", savePath.c_str());
            status = 1;
        }
        std::printf("save_s: %.3f\n", secondsSince(saveStart));
        // The processor's share of the save; the rest is the disk taking the gigabyte (the save
        // syncs the file before it replaces the old one).
        std::printf("save_cpu_s: %.3f\n", cpuSeconds(RUSAGE_SELF) - saveCpuBefore);
        if (std::filesystem::file_size(savePath) != std::filesystem::file_size(path)) {
            std::fprintf(stderr, "the saved file differs in size\n");
            status = 1;
        }
    }
    std::printf("resident_after_close_mib: %.1f\n", vexa::bench::mib(vexa::bench::statusKib("VmRSS")));
    std::filesystem::remove_all(work);
    return status;
}
