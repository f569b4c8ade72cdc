// A file of several load blocks in the real window: the pane shows its first lines at once with
// "Loading N %", the line count and the scroll range grow from the event loop, typing is refused
// until the load is complete, Ctrl+PgDn waits for it (Escape stops the wait and the load), and
// closing the window or the editor mid-load ends it.
#include <QScrollBar>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/Document.h"
#include "core/FileLoad.h"
#include "frame/StatusMessages.h"
#include "settings/Format.h"
#include "ui/EditPaneWidget.h"

#include "MainWindowFixture.h"

using vexa::StatusPane;
using vexa::ui::EditPaneWidget;

namespace {

constexpr std::size_t kBlocks = 24;

// Numbered lines over `kBlocks` load blocks; the count of lines written.
int writeLines(const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary);
    std::size_t size = 0;
    int lines = 0;
    while (size < kBlocks * vexa::FileLoad::kBlockSize) {
        const std::string line = vexa::formatText("line %07d of a large file\n", lines++);
        out << line;
        size += line.size();
    }
    return lines;
}

} // namespace

class LargeFileWindowTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(startWindow());
        // A small fixture: beyond the first blocks the file loads in slices.
        m_window->workspace().loads().setWholeLoadLimit(0);
        m_file = m_home->path() / "big.log";
        m_lines = writeLines(m_file);
    }
    void cleanup() { stopWindow(); }

    void theFirstScreenComesAtOnceAndTheRestArrivesFromTheEventLoop() {
        QVERIFY(m_window->openDocumentAt(m_file.string(), 0) != nullptr);
        EditPaneWidget* pane = m_window->activePane();
        QVERIFY(pane != nullptr);
        pane->setFocus();
        vexa::Document& document = pane->document();
        QVERIFY(document.isLoadIncomplete());
        QVERIFY(document.lineCount() > pane->pane().visibleLines());
        QVERIFY(document.lineCount() < m_lines);
        QVERIFY(m_window->statusText(StatusPane::Message).startsWith("Loading "));
        // Typing is refused, with the reason.
        QTest::keyClicks(pane, "x");
        QCOMPARE(document.lineText(0), std::string_view("line 0000000 of a large file"));
        QCOMPARE(m_window->statusText(StatusPane::Message).toStdString(),
                 vexa::formatText(vexa::kIncompleteMessage, "big.log"));

        const int firstMaximum = pane->verticalScrollBar()->maximum();
        std::vector<int> counts{document.lineCount()};
        QElapsedTimer timer;
        timer.start();
        while (document.isLoadIncomplete() && timer.elapsed() < 20000) {
            QCoreApplication::processEvents();
            if (document.lineCount() != counts.back()) {
                counts.push_back(document.lineCount());
            }
        }
        QVERIFY(!document.isLoadIncomplete());
        // The rest came from the event loop; in how many slices depends on the machine's pace (a
        // slice reads for its time), which the session tests pin with their own clock.
        QVERIFY(counts.size() >= 2);
        QCOMPARE(document.lineCount(), m_lines);
        // The scroll range grew with the lines.
        QVERIFY(pane->verticalScrollBar()->maximum() > firstMaximum);
        QVERIFY(!document.isReadOnly());
        QTest::keyClicks(pane, "x");
        QCOMPARE(document.lineText(0), std::string_view("xline 0000000 of a large file"));
    }

    void ctrlPgDnWaitsForTheLoadAndEscapeStopsTheWait() {
        for (const bool escape : {false, true}) {
            QVERIFY(m_window->openDocumentAt(m_file.string(), 0) != nullptr);
            EditPaneWidget* pane = m_window->activePane();
            pane->setFocus();
            vexa::Document& document = pane->document();
            QVERIFY(document.isLoadIncomplete());
            if (escape) {
                // Pressed while the wait runs: the wait handles the pending events itself.
                QCoreApplication::postEvent(pane,
                                            new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            }
            QTest::keyClick(pane, Qt::Key_PageDown, Qt::ControlModifier);
            QCOMPARE(document.isLoadIncomplete(), escape);
            QCOMPARE(document.cursorLine(), document.lineCount() - 1);
            if (escape) {
                const int loaded = document.lineCount();
                QVERIFY(loaded < m_lines);
                QCOMPARE(m_window->statusText(StatusPane::Message).toStdString(),
                         vexa::formatText(vexa::file_messages::kLoadStopped, "big.log"));
                QTest::qWait(50);
                QCOMPARE(document.lineCount(), loaded);
                QVERIFY(document.isReadOnly());
            } else {
                QCOMPARE(document.lineCount(), m_lines);
            }
            QVERIFY(m_window->workspace().closeActive());
            QCoreApplication::processEvents();
        }
    }

    void escapeStopsALoadAndClosingMidLoadEndsIt() {
        QVERIFY(m_window->openDocumentAt(m_file.string(), 0) != nullptr);
        EditPaneWidget* pane = m_window->activePane();
        pane->setFocus();
        vexa::Document& document = pane->document();
        QTest::keyClick(pane, Qt::Key_Escape);
        QVERIFY(document.isLoadIncomplete());
        const int loaded = document.lineCount();
        QTest::qWait(50);
        QCOMPARE(document.lineCount(), loaded);
        QVERIFY(m_window->workspace().closeActive());
        QTest::qWait(20);
        // Closing the window, then the editor, while loads run.
        QVERIFY(m_window->openDocumentAt(m_file.string(), 0) != nullptr);
        QVERIFY(m_window->workspace().closeActive());
        QTest::qWait(20);
        QVERIFY(m_window->openDocumentAt(m_file.string(), 0) != nullptr);
        QVERIFY(m_window->activePane()->document().isLoadIncomplete());
        stopWindow();
        QTest::qWait(20);
    }

private:
    std::filesystem::path m_file;
    int m_lines = 0;
};

QTEST_MAIN(LargeFileWindowTest)
#include "LargeFileWindowTest.moc"
