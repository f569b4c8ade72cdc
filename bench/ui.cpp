// Desktop benchmark (offscreen) on the generated 1,000,000-line document, or on a file named on
// the command line: opening it through the main window until its whole text is in and its pane
// has painted, beside the core's load of the same file in the same run, and the memory peak of
// that open; the time until the first screen shows (a large file's window shows before its load
// is complete); the full repaint of a maximised 1920x1080 edit pane, also over a screen of UTF-8
// text (Latin, Greek, CJK and box drawing); the time from a key event to the end of its repaint;
// the repaint of an output window holding a 20 MB line.
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
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

#include "commands/EditPane.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "core/Messenger.h"
#include "settings/Directories.h"
#include "app/ShippedFiles.h"
#include "settings/HomeSetup.h"
#include "settings/Options.h"
#include "support/GeneratedText.h"
#include "support/PaneTiming.h"
#include "support/ProcessMemory.h"
#include "support/QuietMessenger.h"
#include "toolchain/OutputWindows.h"
#include "ui/EditPaneWidget.h"
#include "ui/MainWindow.h"
#include "ui/OutputWindowWidget.h"

namespace {

using vexa::bench::FirstPaintWatch;
using vexa::bench::median;
using vexa::bench::msSince;

constexpr int kOpenRuns = 5;
constexpr int kRepaints = 200;
constexpr int kKeystrokes = 200;

using vexa::bench::QuietMessenger;

// The core's load of a file with the default file options: the yardstick of the window's open.
double coreLoadMs(const std::string& path) {
    QuietMessenger messenger;
    vexa::DocumentFile file({}, messenger);
    vexa::Document document;
    document.setMessenger(&messenger);
    document.setFileName(path);
    const auto start = std::chrono::steady_clock::now();
    if (!file.load(document)) {
        std::fprintf(stderr, "cannot load %s\n", path.c_str());
        std::exit(1);
    }
    return msSince(start);
}

// Opens the file through the main window, at a line in its middle, and handles events until its
// pane has painted and the whole file is in (a large file's window shows before its load is
// complete); the milliseconds that took. Not inlined, so that a profile shows it apart.
[[gnu::noinline]] double openUntilPainted(vexa::ui::MainWindow& window, const std::string& file,
                                          const FirstPaintWatch& watch) {
    const auto start = std::chrono::steady_clock::now();
    vexa::EditPane* pane = window.openDocumentAt(file, 500'000);
    while (!watch.painted() || (pane != nullptr && pane->document().isLoadIncomplete())) {
        QApplication::processEvents();
    }
    return msSince(start);
}

// Opens the file at its first line and handles events until its pane has painted: the
// milliseconds until the first screen shows; then lets the load end.
double firstScreenMs(QApplication& app, vexa::ui::MainWindow& window, const std::string& file) {
    (void)window.workspace().closeActive();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    FirstPaintWatch watch;
    app.installEventFilter(&watch);
    const auto start = std::chrono::steady_clock::now();
    vexa::EditPane* pane = window.openDocumentAt(file, 0);
    while (!watch.painted()) {
        QApplication::processEvents();
    }
    const double shown = msSince(start);
    app.removeEventFilter(&watch);
    while (pane != nullptr && pane->document().isLoadIncomplete()) {
        QApplication::processEvents();
    }
    return shown;
}

// A UTF-8 file of screens full of mixed text: every line reaches past 300 cells.
std::string writeUtf8File(const std::filesystem::path& path) {
    static constexpr const char* kPieces[] = {
        "Gr\xC3\xBC\xC3\x9F"
        "e caf\xC3\xA9 na\xC3\xAFve ",
        "\xCE\xB1\xCE\xB2\xCE\xB3\xCE\xB4 \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 ",
        "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97 \xE6\xBC\xA2\xE5\xAD\x97\xE6\x97\xA5\xE6\x9C\xAC ",
        "\xE2\x94\x8C\xE2\x94\x80\xE2\x94\x80\xE2\x94\xAC\xE2\x94\x80\xE2\x94\x90 ",
        "int x = 42; /* note */ ",
        "\xE2\x94\x82 \xE2\x94\x94\xE2\x94\x80\xE2\x94\x98 ",
    };
    std::ofstream out(path, std::ios::binary);
    for (int row = 0; row < 200; ++row) {
        std::string line;
        for (std::size_t piece = static_cast<std::size_t>(row); line.size() < 600; ++piece) {
            line.append(kPieces[piece % std::size(kPieces)]);
        }
        out << line << '\n';
    }
    return path.string();
}

} // namespace

int main(int argc, char* argv[]) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "vexa-bench-ui";
    std::filesystem::create_directories(work / "home");
    setenv("VEXA_HOME", (work / "home").c_str(), 1);
    // A file named on the command line is opened instead of the generated text.
    const std::string file =
        argc > 1 ? std::string(argv[1]) : vexa::bench::ensureGeneratedFile((work / "generated.c").string());

    const double fileMib = static_cast<double>(std::filesystem::file_size(file)) / (1024.0 * 1024.0);

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

    // The machine is shared: the core's load and the window's open take turns, and each figure is
    // the median of its runs. The first open also pays for the pane's font and glyphs.
    std::vector<double> coreLoads;
    std::vector<double> opens;
    long openPeakKib = 0;
    for (int run = 0; run < kOpenRuns; ++run) {
        coreLoads.push_back(coreLoadMs(file));
        if (run > 0) {
            (void)window.workspace().closeActive();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
        FirstPaintWatch watch;
        app.installEventFilter(&watch);
        vexa::bench::resetPeak();
        const long before = vexa::bench::statusKib("VmRSS");
        opens.push_back(openUntilPainted(window, file, watch));
        openPeakKib = std::max(openPeakKib, vexa::bench::statusKib("VmHWM") - before);
        app.removeEventFilter(&watch);
    }
    const double coreLoad = median(coreLoads);
    const double load = median(opens);
    std::vector<double> firstScreens;
    for (int run = 0; run < kOpenRuns; ++run) {
        firstScreens.push_back(firstScreenMs(app, window, file));
    }
    window.documentArea()->activeSubWindow()->showMaximized();
    vexa::ui::EditPaneWidget* pane = window.activePane();
    pane->setFocus();
    QApplication::processEvents();
    // Grow the frame until the pane's text area is the full 1920x1080 screen area.
    const QSize missing = QSize(1920, 1080) - pane->viewport()->size();
    window.resize(window.size() + missing);
    QApplication::processEvents();

    std::vector<double> repaints;
    for (int i = 0; i < kRepaints; ++i) {
        const auto start = std::chrono::steady_clock::now();
        pane->viewport()->repaint();
        repaints.push_back(msSince(start));
    }

    std::vector<double> keystrokes;
    for (int i = 0; i < kKeystrokes; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const bool erase = i % 2 == 1;
        QKeyEvent press(QEvent::KeyPress, erase ? Qt::Key_Backspace : Qt::Key_X, Qt::NoModifier,
                        erase ? QString() : QStringLiteral("x"));
        QApplication::sendEvent(pane, &press);
        QKeyEvent release(QEvent::KeyRelease, erase ? Qt::Key_Backspace : Qt::Key_X, Qt::NoModifier);
        QApplication::sendEvent(pane, &release);
        QApplication::processEvents();
        keystrokes.push_back(msSince(start));
    }

    // The same full repaint over a screen of UTF-8 text.
    (void)window.openDocumentAt(writeUtf8File(work / "utf8.txt"), 0);
    window.documentArea()->activeSubWindow()->showMaximized();
    vexa::ui::EditPaneWidget* utf8Pane = window.activePane();
    utf8Pane->document().setEncoding(vexa::TextEncoding::Utf8);
    QApplication::processEvents();
    std::vector<double> utf8Repaints;
    for (int i = 0; i < kRepaints; ++i) {
        const auto start = std::chrono::steady_clock::now();
        utf8Pane->viewport()->repaint();
        utf8Repaints.push_back(msSince(start));
    }

    // The same bytes one a character, for comparison.
    utf8Pane->document().setEncoding(vexa::TextEncoding::Windows1252);
    QApplication::processEvents();
    std::vector<double> byteRepaints;
    for (int i = 0; i < kRepaints; ++i) {
        const auto start = std::chrono::steady_clock::now();
        utf8Pane->viewport()->repaint();
        byteRepaints.push_back(msSince(start));
    }

    // The full repaint of an output window whose run wrote one 20 MB line.
    vexa::toolchain::OutputWindows& outputs = window.editor().outputs();
    outputs.compiler().clear();
    outputs.compiler().loadText(std::string(std::size_t{20} << 20, 'x') + "\n");
    vexa::ui::OutputWindowWidget outputWidget(outputs, vexa::toolchain::OutputKind::Compiler,
                                              {window.keys(), window.keyState()});
    outputWidget.refreshLines();
    outputWidget.resize(1920, 1080);
    outputWidget.show();
    QApplication::processEvents();
    std::vector<double> outputRepaints;
    for (int i = 0; i < kRepaints; ++i) {
        const auto start = std::chrono::steady_clock::now();
        outputWidget.list()->viewport()->repaint();
        outputRepaints.push_back(msSince(start));
    }

    std::printf("pane_size: %dx%d cells %dx%d\n", pane->viewport()->width(), pane->viewport()->height(),
                pane->pane().visibleColumns(), pane->pane().visibleLines());
    std::printf("file_mib: %.1f\n", fileMib);
    std::printf("core_load_ms: %.1f\n", coreLoad);
    std::printf("load_ms: %.1f\n", load);
    std::printf("load_ratio: %.2f\n", load / coreLoad);
    std::printf("first_load_ms: %.1f\n", opens.front());
    std::printf("first_screen_ms: %.1f\n", median(firstScreens));
    std::printf("open_peak_mib: %.1f\n", vexa::bench::mib(openPeakKib));
    std::printf("open_peak_ratio: %.2f\n", vexa::bench::mib(openPeakKib) / fileMib);
    std::printf("repaint_ms: %.3f\n", median(repaints));
    std::printf("keystroke_ms: %.3f\n", median(keystrokes));
    std::printf("utf8_pane_size: %dx%d cells %dx%d\n", utf8Pane->viewport()->width(),
                utf8Pane->viewport()->height(), utf8Pane->pane().visibleColumns(),
                utf8Pane->pane().visibleLines());
    std::printf("repaint_screen_utf8_us: %.1f\n", median(utf8Repaints) * 1000.0);
    std::printf("repaint_screen_utf8_as_1252_us: %.1f\n", median(byteRepaints) * 1000.0);
    std::printf("output_long_line_repaint_ms: %.3f\n", median(outputRepaints));
    // The typed keys are thrown away, so that no journal of them is left for the next run to be
    // offered at its open.
    (void)window.workspace().closeAll();
    return 0;
}
