// A file of one 1 MB line in the real window: End reaches the end of the line and scrolls the view
// there, typing lands at the end, the save writes the file back with only the typed bytes added,
// and Home scrolls back. The middle of a 1 MB line of C-like text is shown uncoloured at first,
// then in its colours once the slices of its colouring between events reach it.
#include <QImage>
#include <QScrollBar>
#include <QtTest>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/Document.h"
#include "syntax/ColourTable.h"
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

// One 1 MB line of a repeated C-like piece: each piece holds a string and a comment at fixed
// places, so every column's token is known.
constexpr std::string_view kCPiece = "x = \"a quoted string\"; /* a comment here */ y++; ";

std::string cLikeLine() {
    std::string text;
    while (text.size() < 1'000'000) {
        text += kCPiece;
    }
    return text;
}

// The slot colour nearest to the strongest ink of cells [column, column + count) of the first row.
vexa::syntax::ColourSlot inkSlot(EditPaneWidget* pane, const QImage& image, int column, int count) {
    const QRgb background = image.pixel(image.width() - 2, image.height() - 2);
    const int left = pane->marginWidth() + qRound((column - pane->pane().firstColumn()) * pane->cellWidth());
    const int right = left + qRound(count * pane->cellWidth());
    const auto distance = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    };
    QRgb ink = background;
    for (int y = 0; y < pane->cellHeight(); ++y) {
        for (int x = std::max(left, 0); x < std::min(right, image.width()); ++x) {
            if (distance(image.pixel(x, y), background) > distance(ink, background)) {
                ink = image.pixel(x, y);
            }
        }
    }
    const vexa::syntax::ColourTable colours;
    vexa::syntax::ColourSlot nearest = vexa::syntax::ColourSlot::Background;
    int best = INT_MAX;
    for (const auto slot : {vexa::syntax::ColourSlot::Default, vexa::syntax::ColourSlot::Comment,
                            vexa::syntax::ColourSlot::String, vexa::syntax::ColourSlot::Symbol}) {
        const vexa::syntax::Rgb rgb = colours.colour(slot);
        const int d = distance(ink, qRgb(rgb.red, rgb.green, rgb.blue));
        if (d < best) {
            best = d;
            nearest = slot;
        }
    }
    return nearest;
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

    // Scrolled to the middle of the line, strings and comments first show in the default colour
    // while the colouring walks there in slices between events, then in their colours.
    void theMiddleOfALongLineIsColoured() {
        using vexa::syntax::ColourSlot;
        const std::filesystem::path file = m_home->path() / "long.c";
        const std::string line = cLikeLine();
        std::ofstream(file, std::ios::binary) << line << '\n';
        QVERIFY(m_window->openDocumentAt(file.string(), 0) != nullptr);
        EditPaneWidget* pane = m_window->activePane();
        QVERIFY(pane != nullptr);
        // Two places in the middle, the second reached from the first; the first lies further
        // from the line's start than one paint walks.
        for (const int first : {500'000, 750'013}) {
            pane->horizontalScrollBar()->setValue(first);
            QCOMPARE(pane->pane().firstColumn(), first);
            // The first whole piece in view, and the places of its string, comment and name.
            const auto size = static_cast<int>(kCPiece.size());
            const int piece = (first + size - 1) / size * size;
            const auto at = [&](std::string_view text) { return piece + static_cast<int>(kCPiece.find(text)); };
            // Grabbing paints the viewport once.
            const auto grab = [&] {
                return pane->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            };
            if (first == 500'000) {
                const QImage plain = grab();
                QVERIFY(pane->colouringBehind());
                QCOMPARE(inkSlot(pane, plain, at("quoted"), 6), ColourSlot::Default);
                QCOMPARE(inkSlot(pane, plain, at("comment"), 7), ColourSlot::Default);
            }
            for (int round = 0; round < 1000 && pane->colouringBehind(); ++round) {
                QCoreApplication::processEvents();
            }
            QVERIFY(!pane->colouringBehind());
            const QImage image = grab();
            QCOMPARE(inkSlot(pane, image, at("quoted"), 6), ColourSlot::String);
            QCOMPARE(inkSlot(pane, image, at("comment"), 7), ColourSlot::Comment);
            QCOMPARE(inkSlot(pane, image, at("y++"), 1), ColourSlot::Default);
        }
    }
};

QTEST_MAIN(LongLineTest)
#include "LongLineTest.moc"
