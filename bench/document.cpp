// Timing of the document: load, save, editing in the middle of a large file, paste and undo.
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/Document.h"
#include "core/DocumentFile.h"
#include "core/MarkedArea.h"
#include "core/Messenger.h"
#include "support/GeneratedText.h"
#include "support/ProcessMemory.h"
#include "support/QuietMessenger.h"

namespace {

using vexa::bench::mib;
using vexa::bench::resetPeak;
using vexa::bench::statusKib;
using Clock = std::chrono::steady_clock;

using vexa::bench::QuietMessenger;

// The comment markers of C, as the syntax layer gives them for a ".c" file.
class CRules final : public vexa::LanguageRules {
public:
    vexa::CommentMarkers commentMarkers() const override { return {"/*", "*/"}; }
};

double microsecondsPer(Clock::time_point start, int count) {
    return vexa::bench::secondsSince(start) * 1e6 / count;
}

} // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1
                           ? argv[1]
                           : vexa::bench::ensureGeneratedFile(
                                 (std::filesystem::temp_directory_path() / "vexa-bench-document.c").string());
    const double fileMib = static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
    std::printf("file_mib: %.1f\n", fileMib);

    QuietMessenger messenger;
    vexa::FileOptions options;
    vexa::DocumentFile file(options, messenger);
    vexa::Document document;
    document.setMessenger(&messenger);
    document.setFileName(path);

    resetPeak();
    const long before = statusKib("VmRSS");
    auto start = Clock::now();
    if (!file.load(document)) {
        std::fprintf(stderr, "cannot load %s\n", path.c_str());
        return 1;
    }
    const double loadSeconds = vexa::bench::secondsSince(start);
    const long peak = statusKib("VmHWM");
    std::printf("load_s: %.3f\n", loadSeconds);
    std::printf("lines: %d\n", document.lineCount());
    std::printf("peak_mib: %.1f\n", mib(peak - before));
    std::printf("peak_ratio: %.2f\n", mib(peak - before) / fileMib);
    std::printf("process_peak_mib: %.1f\n", mib(peak));

    // The comment state of every line, computed when the document learns its language.
    start = Clock::now();
    document.setLanguageRules(std::make_shared<CRules>());
    std::printf("comment_scan_ms: %.1f\n", vexa::bench::secondsSince(start) * 1000.0);
    document.setLanguageRules(nullptr);
    {
        // A document that knows its language before the load scans each line as it reads it.
        vexa::Document commented;
        commented.setLanguageRules(std::make_shared<CRules>());
        commented.setFileName(path);
        start = Clock::now();
        (void)file.load(commented);
        std::printf("load_with_comments_s: %.3f\n", vexa::bench::secondsSince(start));
    }

    const std::string savePath = path + ".saved";
    document.setFileName(savePath);
    start = Clock::now();
    if (!file.save(document)) {
        std::fprintf(stderr, "cannot save %s\n", savePath.c_str());
        return 1;
    }
    std::printf("save_s: %.3f\n", vexa::bench::secondsSince(start));

    // A copy that is as safe as the save: the bytes reach the disk before it counts as done.
    const std::string copyPath = path + ".copy";
    start = Clock::now();
    std::filesystem::copy_file(path, copyPath, std::filesystem::copy_options::overwrite_existing);
    int descriptor = ::open(copyPath.c_str(), O_RDONLY);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
    std::printf("cp_s: %.3f\n", vexa::bench::secondsSince(start));
    std::filesystem::remove(copyPath);
    std::filesystem::remove(savePath);

    const int middle = document.lineCount() / 2;
    constexpr int kRepeats = 20000;
    document.goToPosition(middle, 10);
    document.nextGroup();
    start = Clock::now();
    for (int i = 0; i < kRepeats; ++i) {
        document.typeCharacter('x');
        document.nextGroup();
    }
    std::printf("insert_char_us: %.3f\n", microsecondsPer(start, kRepeats));

    start = Clock::now();
    for (int i = 0; i < kRepeats; ++i) {
        document.insertLine(vexa::DocLine("    value = value * 31 + 0x1234;"));
        document.nextGroup();
    }
    std::printf("insert_line_mid_us: %.3f\n", microsecondsPer(start, kRepeats));

    start = Clock::now();
    for (int i = 0; i < kRepeats; ++i) {
        document.deleteLine(middle);
        document.nextGroup();
    }
    std::printf("delete_line_mid_us: %.3f\n", microsecondsPer(start, kRepeats));

    std::string text;
    for (int i = 0; i < 10000; ++i) {
        text += "    for (i = 0; i < count; i++) total += table[" + std::to_string(i) + "];\r\n";
    }
    vexa::platform::MemoryClipboard clipboard;
    (void)clipboard.put(text, static_cast<int32_t>(vexa::MarkType::Line));
    vexa::MarkedArea area(document, clipboard);
    const int linesBefore = document.lineCount();
    start = Clock::now();
    area.paste();
    document.nextGroup();
    std::printf("paste_10k_lines_ms: %.3f\n", vexa::bench::secondsSince(start) * 1e3);

    start = Clock::now();
    document.undo();
    std::printf("undo_paste_10k_lines_ms: %.3f\n", vexa::bench::secondsSince(start) * 1e3);
    if (document.lineCount() != linesBefore) {
        std::fprintf(stderr, "undo left %d lines instead of %d\n", document.lineCount(), linesBefore);
        return 1;
    }
    return 0;
}
