// Timing of the recovery journal: typing with the journal on against off, the longest time one
// keystroke spends in the journal on the editor's thread, and replaying a journal of 100,000
// typed characters.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "commands/CommandProcessor.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "recovery/JournalReplay.h"
#include "session/DocumentRecovery.h"
#include "support/GeneratedText.h"
#include "support/HeadlessEditor.h"
#include "support/QuietMessenger.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kCharacters = 100'000;

// Times every call the document makes into the journal.
class TimedObserver final : public vexa::EditObserver {
public:
    explicit TimedObserver(vexa::EditObserver& inner) : m_inner(inner) {}
    void beforeRecord() override {
        time([&] { m_inner.beforeRecord(); });
    }
    void recorded(const vexa::EditRecordValue& value, int group) override {
        time([&] { m_inner.recorded(value, group); });
    }
    void undone() override {
        time([&] { m_inner.undone(); });
    }
    void redone() override {
        time([&] { m_inner.redone(); });
    }
    void textReplaced() override {
        time([&] { m_inner.textReplaced(); });
    }
    // The longest time spent in the journal by one keystroke, in milliseconds.
    double takeKeystroke() {
        const double spent = m_keystroke;
        m_keystroke = 0;
        return spent;
    }

private:
    template <typename Call>
    void time(Call&& call) {
        const auto start = Clock::now();
        call();
        m_keystroke += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    vexa::EditObserver& m_inner;
    double m_keystroke = 0;
};

struct Run {
    double seconds = 0;
    double maxBlockMs = 0;
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
    for (int i = 0; i < kCharacters; ++i) {
        const char ch = letters[i % 27];
        editor.processor().typeText(std::string_view(&ch, 1));
        if (i % 60 == 59) {
            editor.processor().execute(vexa::functionIdOf("Enter"));
        }
        if (timed) {
            run.maxBlockMs = std::max(run.maxBlockMs, timed->takeKeystroke());
        }
    }
    run.seconds = vexa::bench::secondsSince(start);
    if (timed) {
        document.setEditObserver(nullptr);
    }
    // The editor goes without closing: the journal stays for the replay.
    return run;
}

} // namespace

int main() {
    const fs::path root = fs::temp_directory_path() / ("vexa-bench-recovery-" + std::to_string(::getpid()));
    fs::create_directories(root);
    const std::string file = (root / "typed.c").string();
    {
        std::ofstream out(file, std::ios::binary);
        out << vexa::bench::generateCText(20'000);
    }
    double on = 1e9;
    double off = 1e9;
    double maxBlock = 0;
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(root / "home-off");
        off = std::min(off, typeInto((root / "home-off").string(), file, false, false).seconds);
        fs::remove_all(root / "home-on");
        on = std::min(on, typeInto((root / "home-on").string(), file, true, false).seconds);
    }
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(root / "home-on");
        maxBlock = std::max(maxBlock, typeInto((root / "home-on").string(), file, true, true).maxBlockMs);
    }
    std::printf("journal_typing_on_s: %.3f\n", on);
    std::printf("journal_typing_off_s: %.3f\n", off);
    std::printf("journal_typing_ratio: %.3f\n", on / off);
    std::printf("journal_max_block_ms: %.3f\n", maxBlock);

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
