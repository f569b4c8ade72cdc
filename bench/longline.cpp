// Long-line benchmark (offscreen): a 10 MB file of one line with tabs and UTF-8, opened through the
// main window until its pane has painted; End on that line (the first time, and the slices that
// colour the line up to there after it), a keystroke at its end with its
// repaint, a full repaint of the pane there, Replace All of its 1,000,000 matches forwards and
// back again backwards, and the save.
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands/CommandProcessor.h"
#include "commands/FunctionTable.h"
#include "commands/SearchPaneAdapter.h"
#include "core/Document.h"
#include "search/SearchState.h"
#include "app/ShippedFiles.h"
#include "settings/Directories.h"
#include "settings/HomeSetup.h"
#include "settings/Options.h"
#include "support/GeneratedText.h"
#include "support/PaneTiming.h"
#include "ui/EditPaneWidget.h"
#include "ui/MainWindow.h"

namespace {

using vexa::bench::FirstPaintWatch;
using vexa::bench::median;
using vexa::bench::msSince;

constexpr int kSamples = 41;
constexpr int kPieces = 1'000'000;
// Ten bytes: a tab, a two-byte UTF-8 character and the text Replace All looks for ("k=v").
constexpr std::string_view kPiece = "x\tq\xC3\xBCk=v; ";

std::string writeLongLine(const std::filesystem::path& path) {
    std::string line;
    line.reserve(kPiece.size() * kPieces + 1);
    for (int i = 0; i < kPieces; ++i) {
        line += kPiece;
    }
    line += '\n';
    std::ofstream(path, std::ios::binary) << line;
    return path.string();
}

// A key press and release sent to the pane, with the events (and the repaint) they cause.
double keyMs(QWidget* pane, Qt::Key key, const QString& text = {}) {
    const auto start = std::chrono::steady_clock::now();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(pane, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(pane, &release);
    QApplication::processEvents();
    pane->repaint();
    return msSince(start);
}

} // namespace

int main(int argc, char* argv[]) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "vexa-bench-longline";
    std::filesystem::create_directories(work / "home");
    setenv("VEXA_HOME", (work / "home").c_str(), 1);
    const std::string file = writeLongLine(work / "long.txt");

    QApplication app(argc, argv);
    vexa::Directories directories(vexa::Directories::resolveHome());
    (void)vexa::prepareHome(directories, vexa::app::shippedFileDirectories());
    vexa::Options options(directories);
    options.load();
    vexa::ui::MainWindow window(options);
    window.setResponder([](std::string_view, std::string_view) { return vexa::Answer::No; });
    window.setGeometry(0, 0, 1920, 1080);
    window.show();
    QApplication::processEvents();

    FirstPaintWatch watch;
    app.installEventFilter(&watch);
    const auto openStart = std::chrono::steady_clock::now();
    (void)window.openDocumentAt(file, 0);
    while (!watch.painted()) {
        QApplication::processEvents();
    }
    const double openS = msSince(openStart) / 1000.0;
    app.removeEventFilter(&watch);
    window.documentArea()->activeSubWindow()->showMaximized();
    vexa::ui::EditPaneWidget* pane = window.activePane();
    pane->setFocus();
    QApplication::processEvents();
    vexa::Document& document = pane->document();
    if (document.lineCount() != 1 || document.line(0).length() != static_cast<int>(kPiece.size()) * kPieces) {
        std::fprintf(stderr, "the long line did not load whole\n");
        return 1;
    }

    // End from the start of the line, each time after Home. The first End draws the end of the
    // line uncoloured after one paint's walk; slices between events then colour the line up to
    // there, leaving the colour points that later paints resume from.
    std::vector<double> ends;
    (void)keyMs(pane, Qt::Key_Home);
    ends.push_back(keyMs(pane, Qt::Key_End));
    const double firstEndMs = ends.front();
    const auto slicesStart = std::chrono::steady_clock::now();
    for (int round = 0; round < 100'000 && pane->colouringBehind(); ++round) {
        QApplication::processEvents();
    }
    const double colouredMs = msSince(slicesStart);
    if (pane->colouringBehind()) {
        std::fprintf(stderr, "the colouring did not reach the end of the line\n");
        return 1;
    }
    for (int i = 1; i < kSamples; ++i) {
        (void)keyMs(pane, Qt::Key_Home);
        ends.push_back(keyMs(pane, Qt::Key_End));
    }
    // Typing and erasing at the end, each with its repaint; as many erased as typed.
    std::vector<double> keystrokes;
    for (int i = 0; i < 2 * (kSamples / 2); ++i) {
        const bool erase = i % 2 == 1;
        keystrokes.push_back(keyMs(pane, erase ? Qt::Key_Backspace : Qt::Key_X, erase ? QString() : "x"));
    }
    std::vector<double> repaints;
    for (int i = 0; i < kSamples; ++i) {
        const auto start = std::chrono::steady_clock::now();
        pane->viewport()->repaint();
        repaints.push_back(msSince(start));
    }
    // The whole pane, with its frame and scroll bars in the window style: the repaint every key
    // above ends with.
    std::vector<double> paneRepaints;
    for (int i = 0; i < kSamples; ++i) {
        const auto start = std::chrono::steady_clock::now();
        pane->repaint();
        paneRepaints.push_back(msSince(start));
    }

    // Replace All of every piece's text, forwards from the start of the line, then back again
    // backwards from its end; the seconds each takes, negative when it missed a match.
    vexa::SearchState& search = window.processor().searchState();
    search.setRegularExpression(false);
    search.setReplaceAll(true);
    vexa::SearchPaneAdapter adapter(&pane->pane());
    auto replaceAll = [&](Qt::Key startKey, bool forward, const char* find, const char* replacement) {
        (void)keyMs(pane, startKey);
        search.setFindText(find, false);
        search.setReplaceText(replacement);
        search.setForward(forward);
        search.attach(&adapter);
        const auto start = std::chrono::steady_clock::now();
        const int replaced = search.replace(false);
        const double seconds = msSince(start) / 1000.0;
        search.detach();
        if (replaced != kPieces) {
            std::fprintf(stderr, "replace all replaced %d\n", replaced);
            return -1.0;
        }
        return seconds;
    };
    const double replaceS = replaceAll(Qt::Key_Home, true, "k=v", "K=V2");
    const double backwardS = replaceAll(Qt::Key_End, false, "K=V2", "k=v");
    if (replaceS < 0 || backwardS < 0) {
        return 1;
    }

    const auto saveStart = std::chrono::steady_clock::now();
    (void)window.processor().execute(vexa::functionIdOf("FileSave"));
    const double saveS = msSince(saveStart) / 1000.0;
    if (std::filesystem::file_size(file) != static_cast<std::uintmax_t>(kPiece.size() * kPieces + 1)) {
        std::fprintf(stderr, "the saved file has %ju bytes\n",
                     static_cast<std::uintmax_t>(std::filesystem::file_size(file)));
        return 1;
    }

    std::printf("line_bytes: %d\n", static_cast<int>(kPiece.size()) * kPieces);
    std::printf("open_s: %.3f\n", openS);
    std::printf("end_key_ms: %.3f\n", median(ends));
    std::printf("end_key_first_ms: %.3f\n", firstEndMs);
    std::printf("end_key_first_coloured_ms: %.3f\n", colouredMs);
    std::printf("keystroke_at_end_ms: %.3f\n", median(keystrokes));
    std::printf("repaint_ms: %.3f\n", median(repaints));
    std::printf("pane_repaint_ms: %.3f\n", median(paneRepaints));
    std::printf("replace_all_1m_s: %.3f\n", replaceS);
    std::printf("replace_all_backward_1m_s: %.3f\n", backwardS);
    std::printf("save_s: %.3f\n", saveS);
    return 0;
}
