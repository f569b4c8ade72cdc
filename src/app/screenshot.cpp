// Grabs the editor's window into PNG files without a display, for the documentation: each scene
// opens files in a fresh temporary home and saves what the window shows.
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands/FunctionTable.h"
#include "core/Document.h"
#include "settings/Directories.h"
#include "ShippedFiles.h"
#include "settings/HomeSetup.h"
#include "settings/Options.h"
#include "ui/EditPaneWidget.h"
#include "ui/MainWindow.h"

namespace {

void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

bool save(vexa::ui::MainWindow& window, const QString& path) {
    settle();
    const bool saved = window.grab().save(path);
    std::printf("%s: %s\n", qPrintable(path), saved ? "written" : "FAILED");
    return saved;
}

} // namespace

// Usage: vexa-screenshot OUTPUT_DIRECTORY FILE1 FILE2 FILE3
int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY FILE1 FILE2 FILE3\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("VEXA_HOME", home.path().toLocal8Bit());
    vexa::Directories directories(vexa::Directories::resolveHome());
    (void)vexa::prepareHome(directories, vexa::app::shippedFileDirectories());
    vexa::Options options(directories);
    options.load();
    const QString output = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(output);

    vexa::ui::MainWindow window(options);
    window.setResponder([](std::string_view, std::string_view) { return vexa::Answer::No; });
    window.resize(1100, 720);
    window.show();

    // One document maximised, with a marked block and the cursor inside it.
    window.openDocumentAt(argv[2], 30);
    window.documentArea()->activeSubWindow()->showMaximized();
    vexa::ui::EditPaneWidget* pane = window.activePane();
    pane->setFocus();
    window.runCommand(vexa::functionIdOf("MoveLineEnd"));
    vexa::Document& document = pane->document();
    document.beginMark(vexa::MarkType::Stream);
    document.markRange({4, 26}, {20, 29});
    pane->pane().scrollTo(16, 0);
    pane->repaintAll();
    bool ok = save(window, output + QStringLiteral("/editor.png"));

    // Three documents side by side.
    document.clearMark();
    window.documentArea()->activeSubWindow()->showNormal();
    window.openDocumentAt(argv[3], 1);
    window.openDocumentAt(argv[4], 1);
    window.runCommand(vexa::functionIdOf("WindowTileVertical"));
    ok = save(window, output + QStringLiteral("/windows.png")) && ok;
    return ok ? 0 : 1;
}
