// A file of one 1 MB line in the real window: End reaches the end of the line and scrolls the view
// there, typing lands at the end, the save writes the file back with only the typed bytes added,
// and Home scrolls back.
#include <QImage>
#include <QScrollBar>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/Document.h"
#include "ui/EditPaneWidget.h"

#include "MainWindowFixture.h"

using vexa::ui::EditPaneWidget;

namespace {

// Minified script text: one line of about 1 MB with no line end inside it.
std::string minifiedLine() {
    std::string text;
    for (int i = 0; text.size() < 1'000'000; ++i) {
        text += "function f" + std::to_string(i) + "(a,b){return a+b*" + std::to_string(i % 97) + "};";
    }
    return text;
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Whether the viewport shows anything but the background colour in its text area.
bool showsText(EditPaneWidget* pane) {
    pane->viewport()->repaint();
    const QImage image = pane->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = image.pixel(image.width() - 2, image.height() - 2);
    for (int y = 0; y < pane->cellHeight(); ++y) {
        for (int x = pane->marginWidth(); x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class LongLineTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startWindow()); }
    void cleanup() { stopWindow(); }

    void endTypeSaveAndScrollOnAOneMegabyteLine() {
        const std::filesystem::path file = m_home->path() / "bundle.min.js";
        const std::string line = minifiedLine();
        std::ofstream(file, std::ios::binary) << line << '\n';
        QVERIFY(m_window->openDocumentAt(file.string(), 0) != nullptr);
        EditPaneWidget* pane = m_window->activePane();
        QVERIFY(pane != nullptr);
        pane->setFocus();
        QCOMPARE(pane->document().lineCount(), 1);
        QCOMPARE(pane->document().line(0).length(), static_cast<int>(line.size()));
        QCOMPARE(pane->horizontalScrollBar()->value(), 0);

        QTest::keyClick(pane, Qt::Key_End);
        QCOMPARE(pane->document().cursorOffset(), static_cast<int>(line.size()));
        // The view follows the cursor to the end of the line, and the scroll range reaches it.
        const int first = pane->pane().firstColumn();
        QVERIFY(first > static_cast<int>(line.size()) - pane->pane().visibleColumns());
        QVERIFY(pane->horizontalScrollBar()->maximum() >= first);
        QCOMPARE(pane->horizontalScrollBar()->value(), first);
        QVERIFY(showsText(pane));

        QTest::keyClicks(pane, "xyz");
        QCOMPARE(pane->document().cursorOffset(), static_cast<int>(line.size()) + 3);
        QTest::keyClick(pane, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(fileBytes(file), line + "xyz\n");

        QTest::keyClick(pane, Qt::Key_Home);
        QCOMPARE(pane->pane().firstColumn(), 0);
        QCOMPARE(pane->horizontalScrollBar()->value(), 0);
        // Dragging the scroll bar shows the middle of the line.
        pane->horizontalScrollBar()->setValue(500'000);
        QCOMPARE(pane->pane().firstColumn(), 500'000);
        QVERIFY(showsText(pane));
    }
};

QTEST_MAIN(LongLineTest)
#include "LongLineTest.moc"
