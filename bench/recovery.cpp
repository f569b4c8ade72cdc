// Timing of the recovery journal: typing with the journal on against off, the longest time one
// keystroke spends in the journal on the editor's thread, and replaying a journal of 100,000
// typed characters.
// On a shared machine the wall clock also counts the time other processes had the core: the
// typing is timed by the wall clock, by the typing thread's own processor time and by the
// processor time of every thread (the journal writer's work included, up to the journal being on
// the disk), and a keystroke's time in the journal is its wall time unless the scheduler took the
// core away during it (then its processor time: the journal did not cause the wait).
// Each figure is the median of rounds that alternate on and off, after a round to warm up.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <time.h>
#include <vector>

#include "commands/CommandProcessor.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "recovery/DocumentJournal.h"
#include "recovery/JournalReplay.h"
#include "recovery/JournalWriter.h"
#include "session/DocumentRecovery.h"
#include "support/GeneratedText.h"
#include "support/HeadlessEditor.h"
#include "support/QuietMessenger.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double clockSeconds(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double threadSeconds() {
    return clockSeconds(CLOCK_THREAD_CPUTIME_ID);
}

double processSeconds() {
    return clockSeconds(CLOCK_PROCESS_CPUTIME_ID);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

long involuntarySwitches() {
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_nivcsw;
}

constexpr int kCharacters = 100'000;

// Times every call the document makes into the journal.
class TimedObserver final : public vexa::EditObserver {
public:
    explicit TimedObserver(vexa::EditObserver& inner) : m_inner(inner) {}
    void beforeRecord() override {
        time([&] { m_inner.beforeRecord(); });
    }
    void recorded(const vexa::EditRecordView& record, int group) override {
        time([&] { m_inner.recorded(record, group); });
    }
    void undone() override {
        time([&] { m_inner.undone(); });
    }
    void redone() override {
        time([&] { m_inner.redone(); });
    }
    void undoFlushed() override {
        time([&] { m_inner.undoFlushed(); });
    }
    void encodingSwitched() override {
        time([&] { m_inner.encodingSwitched(); });
    }
    void lineEndsChanged() override {
        time([&] { m_inner.lineEndsChanged(); });
    }
    void textReplaced() override {
        time([&] { m_inner.textReplaced(); });
    }
    // The time spent in the journal by one keystroke, in milliseconds: by the wall clock, and
    // without the time the scheduler gave the core to others.
    std::pair<double, double> takeKeystroke() {
        const std::pair<double, double> spent{m_keystrokeWall, m_keystroke};
        m_keystrokeWall = 0;
        m_keystroke = 0;
        return spent;
    }

private:
    template <typename Call>
    void time(Call&& call) {
        const long switches = involuntarySwitches();
        const double cpuStart = threadSeconds();
        const auto start = Clock::now();
        call();
        const double wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const double cpu = (threadSeconds() - cpuStart) * 1e3;
        m_keystrokeWall += wall;
        m_keystroke += involuntarySwitches() == switches ? wall : cpu;
    }
    vexa::EditObserver& m_inner;
    double m_keystrokeWall = 0;
    double m_keystroke = 0;
};

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;
    double allThreadsSeconds = 0; // every thread's processor time, until the journal is synced
    double maxBlockMs = 0;
    double maxBlockWallMs = 0;
};

// Types the characters into a copy of the file, one editor function per character, as the
// keyboard does.
// With `timed`, every call into the journal is timed (which costs time of its own: the typing
// time is taken from runs without it).
Run typeInto(const std::string& home, const std::string& file, bool journal, bool timedCalls) {
    vexa::bench::HeadlessEditor parts(home);
    vexa::Editor editor(vexa::EditorPorts{parts.frame, parts.view, parts.options, parts.clock,
                                          parts.clipboard, parts.sound, parts.keys, parts.outputs,
                                          parts.launcher, "", [](int) { return false; }, journal});
    vexa::EditPane* pane = editor.workspace().openDocument(file);
    vexa::Document& document = pane->document();
    document.goToLine(document.lineCount() / 2);
    std::unique_ptr<TimedObserver> timed;
    if (timedCalls && document.editObserver() != nullptr) {
        timed = std::make_unique<TimedObserver>(*document.editObserver());
        document.setEditObserver(timed.get());
    }
    Run run;
    const char* letters = "abcdefghijklmnopqrstuvwxyz ";
    const auto start = Clock::now();
    const double cpuStart = threadSeconds();
    const double processStart = processSeconds();
    for (int i = 0; i < kCharacters; ++i) {
        const char ch = letters[i % 27];
        editor.processor().typeText(std::string_view(&ch, 1));
        if (i % 60 == 59) {
            editor.processor().execute(vexa::functionIdOf("Enter"));
        }
        if (timed) {
            const auto [wall, own] = timed->takeKeystroke();
            run.maxBlockWallMs = std::max(run.maxBlockWallMs, wall);
            run.maxBlockMs = std::max(run.maxBlockMs, own);
        }
    }
    run.cpuSeconds = threadSeconds() - cpuStart;
    run.seconds = vexa::bench::secondsSince(start);
    // The writer thread's part: the journal on the disk (nothing to do with the journal off).
    editor.recovery().sync();
    run.allThreadsSeconds = processSeconds() - processStart;
    if (timed) {
        document.setEditObserver(nullptr);
    }
    // The editor goes without closing: the journal stays for the replay.
    return run;
}

// The first edit of a large untitled text (a paste into a new document, say): the journal starts
// from a copy of the text, taken a slice at a time. The time that edit spends in the journal, by
// the wall clock and without the time the scheduler gave the core to others.
std::pair<double, double> firstEditOfLargeUntitled(const std::string& directory) {
    const std::string text = vexa::bench::generateCText(400'000);
    vexa::Document document;
    document.makeNew();
    document.clearForLoad(text.size());
    for (const std::string_view line : vexa::bench::splitGeneratedLines(text)) {
        document.appendLoadedLine(line);
    }
    document.finishLoad();
    vexa::recovery::JournalWriter writer;
    vexa::recovery::DocumentJournal journal(document, writer, directory + "/untitled.vj", 0);
    TimedObserver timed(journal);
    document.setEditObserver(&timed);
    document.insertCharacter('x');
    document.setEditObserver(&journal);
    return timed.takeKeystroke();
}

} // namespace

int main() {
    // The editor always runs other threads beside its own (the window system's, the journal
    // writer), which makes the allocator take its locks: a thread started once keeps the runs
    // without the journal from a single-threaded fast path the editor never has.
    std::thread other([] {});
    other.join();
    const fs::path root = fs::temp_directory_path() / ("vexa-bench-recovery-" + std::to_string(::getpid()));
    fs::create_directories(root);
    const std::string file = (root / "typed.c").string();
    {
        std::ofstream out(file, std::ios::binary);
        out << vexa::bench::generateCText(20'000);
    }
    // The rounds alternate, so that a busy moment of the machine falls on both sides; the first
    // pair warms the caches and the allocator and is not counted.
    constexpr int kRounds = 7;
    std::vector<double> onWall, offWall, onCpu, offCpu, onAll, offAll, wallRatios, cpuRatios;
    for (int round = 0; round <= kRounds; ++round) {
        fs::remove_all(root / "home-off");
        const Run offRun = typeInto((root / "home-off").string(), file, false, false);
        fs::remove_all(root / "home-on");
        const Run onRun = typeInto((root / "home-on").string(), file, true, false);
        if (round == 0) {
            continue;
        }
        offWall.push_back(offRun.seconds);
        onWall.push_back(onRun.seconds);
        offCpu.push_back(offRun.cpuSeconds);
        onCpu.push_back(onRun.cpuSeconds);
        offAll.push_back(offRun.allThreadsSeconds);
        onAll.push_back(onRun.allThreadsSeconds);
        wallRatios.push_back(onRun.seconds / offRun.seconds);
        cpuRatios.push_back(onRun.cpuSeconds / offRun.cpuSeconds);
    }
    Run blocks;
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(root / "home-on");
        const Run timed = typeInto((root / "home-on").string(), file, true, true);
        blocks.maxBlockMs = std::max(blocks.maxBlockMs, timed.maxBlockMs);
        blocks.maxBlockWallMs = std::max(blocks.maxBlockWallMs, timed.maxBlockWallMs);
    }
    std::printf("journal_typing_on_s: %.3f\n", median(onWall));
    std::printf("journal_typing_off_s: %.3f\n", median(offWall));
    // The median of the ratios of the pairs: a pair's two runs met about the same machine.
    std::printf("journal_typing_ratio: %.3f\n", median(wallRatios));
    std::printf("journal_typing_ratio_range: %.3f-%.3f\n",
                *std::min_element(wallRatios.begin(), wallRatios.end()),
                *std::max_element(wallRatios.begin(), wallRatios.end()));
    std::printf("journal_typing_cpu_ratio: %.3f\n", median(cpuRatios));
    std::printf("journal_all_threads_cpu_ratio: %.3f\n", median(onAll) / median(offAll));
    std::printf("journal_max_block_ms: %.3f\n", blocks.maxBlockMs);
    std::printf("journal_max_block_wall_ms: %.3f\n", blocks.maxBlockWallMs);
    const auto [firstWall, first] = firstEditOfLargeUntitled(root.string());
    std::printf("journal_first_edit_untitled_400k_lines_ms: %.3f\n", first);
    std::printf("journal_first_edit_untitled_400k_lines_wall_ms: %.3f\n", firstWall);

    // The journal the last typing left, replayed onto the file.
    std::string journalPath;
    for (const auto& entry : fs::directory_iterator(root / "home-on" / "vrecover")) {
        if (entry.path().extension() == ".vj") {
            journalPath = entry.path().string();
        }
    }
    std::ifstream in(journalPath, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    vexa::bench::QuietMessenger messenger;
    vexa::Document document;
    document.setFileName(file);
    vexa::FileOptions options;
    options.readUnix = true;
    options.writeUnix = true;
    (void)vexa::DocumentFile(options, messenger).load(document);
    const auto start = Clock::now();
    const vexa::recovery::JournalContent content = vexa::recovery::readJournal(bytes);
    const vexa::recovery::ReplayResult result = vexa::recovery::replayJournal(document, content);
    std::printf("journal_replay_100k_s: %.3f\n", vexa::bench::secondsSince(start));
    std::printf("journal_replay_entries: %d\n", result.applied);
    std::printf("journal_bytes: %zu\n", bytes.size());
    fs::remove_all(root);
    return 0;
}
