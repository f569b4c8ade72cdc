// Drawing a document's text in its encoding: the edit pane puts each UTF-8 character at its own
// cells (two for a wide one) and shows a byte that is no part of a valid sequence as the
// replacement character; printing and the output windows read the bytes the same way.
#include <QImage>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <optional>

#include "toolchain/OutputWindow.h"
#include "core/Document.h"
#include "ui/DocumentPrinter.h"
#include "ui/EditPaneWidget.h"
#include "ui/OutputWindowWidget.h"
#include "ui/Windows1252.h"

#include "MainWindowFixture.h"

using vexa::TextEncoding;
using vexa::ui::EditPaneWidget;

namespace {

// The lines of the test file. Row 0: a wide character (文), then X; row 1: two blanks, then X;
// row 2: a stray byte between a and b; row 3: the same with a real replacement character.
constexpr const char* kRows[] = {"\xE6\x96\x87"
                                 "X",
                                 "  X",
                                 "a\xFF"
                                 "b",
                                 "a\xEF\xBF\xBD"
                                 "b"};

} // namespace

class Utf8PaintTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    EditPaneWidget* m_pane = nullptr;

    // The viewport as drawn now.
    QImage shot() {
        m_pane->viewport()->repaint();
        return m_pane->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The pixels of cells [column, column + count) of a row.
    QRect cells(int row, int column, int count) const {
        const QPoint centre = m_pane->cellCentre(m_pane->pane().topLine() + row, column);
        const int left = qRound(centre.x() - m_pane->cellWidth() / 2);
        const int width = qRound(count * m_pane->cellWidth());
        return {left, centre.y() - m_pane->cellHeight() / 2, width, m_pane->cellHeight()};
    }

    // The horizontal middle of the pixels in a rectangle that differ from the background;
    // nothing when it holds none.
    static std::optional<double> inkCentre(const QImage& image, const QRect& area, QRgb background) {
        double sum = 0;
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixel(x, y) != background) {
                    sum += x;
                    ++count;
                }
            }
        }
        return count == 0 ? std::nullopt : std::optional<double>(sum / count);
    }

    static bool samePixels(const QImage& image, const QRect& a, const QRect& b) {
        return image.copy(a) == image.copy(b);
    }

private slots:
    void init() {
        QVERIFY(startWindow());
        const std::filesystem::path file = m_home->path() / "wide.txt";
        {
            std::ofstream out(file, std::ios::binary);
            for (const char* row : kRows) {
                out << row << '\n';
            }
        }
        // The cursor goes to the empty last line, so that the caret stays off the rows compared.
        QVERIFY(m_window->openDocumentAt(file.string(), 5) != nullptr);
        m_pane = m_window->activePane();
        QVERIFY(m_pane != nullptr);
        m_pane->document().setEncoding(TextEncoding::Utf8);
        m_pane->repaintAll();
        QVERIFY(m_pane->pane().topLine() == 0);
    }

    void cleanup() {
        m_pane = nullptr;
        stopWindow();
    }

    void wideCharacterMovesTheFollowingTextByTwoCells() {
        const QImage image = shot();
        const QRgb background = image.pixel(image.width() - 2, cells(0, 0, 1).center().y());
        // The X after the wide character stands where the X after two blanks does.
        const auto afterWide = inkCentre(image, cells(0, 2, 1), background);
        const auto afterBlanks = inkCentre(image, cells(1, 2, 1), background);
        QVERIFY(afterWide && afterBlanks);
        QVERIFY2(std::abs(*afterWide - *afterBlanks) < 1.0,
                 qPrintable(QStringLiteral("%1 vs %2").arg(*afterWide).arg(*afterBlanks)));
        QVERIFY(!inkCentre(image, cells(0, 3, 4), background));
        // The wide character shows over its two cells: its glyph, or a box where no font has it.
        QVERIFY(inkCentre(image, cells(0, 0, 2), background));

        // One byte a cell, the same bytes are three characters (æ, an en dash and a double
        // dagger) and the X comes one cell later.
        m_pane->document().setEncoding(TextEncoding::Windows1252);
        const QImage bytes = shot();
        QVERIFY(!inkCentre(bytes, cells(0, 4, 4), background));
        const auto third = inkCentre(bytes, cells(0, 3, 1), background);
        QVERIFY(third);
        QVERIFY(std::abs(*third - (*afterBlanks + m_pane->cellWidth())) < 1.0);
    }

    void viewStartingInsideAWideCharacterKeepsTheMarginClear() {
        m_pane->pane().scrollTo(0, 1);
        QCOMPARE(m_pane->pane().firstColumn(), 1);
        const QImage image = shot();
        const QRgb background = image.pixel(image.width() - 2, cells(0, 1, 1).center().y());
        // Row 1 begins with blanks; row 0's wide character must not reach into the margin.
        const QRect margin0(0, cells(0, 1, 1).top(), m_pane->marginWidth(), m_pane->cellHeight());
        const QRect margin1(0, cells(1, 1, 1).top(), m_pane->marginWidth(), m_pane->cellHeight());
        QVERIFY(m_pane->marginWidth() > 0);
        QVERIFY(samePixels(image, margin0, margin1));
        const auto afterWide = inkCentre(image, cells(0, 2, 1), background);
        const auto afterBlanks = inkCentre(image, cells(1, 2, 1), background);
        QVERIFY(afterWide && afterBlanks);
        QVERIFY(std::abs(*afterWide - *afterBlanks) < 1.0);
    }

    void strayByteShowsAsTheReplacementCharacter() {
        const QImage image = shot();
        const QRgb background = image.pixel(image.width() - 2, cells(2, 0, 1).center().y());
        // Drawn exactly as a real replacement character, at one cell, with b after it.
        QVERIFY(samePixels(image, cells(2, 0, 3), cells(3, 0, 3)));
        QVERIFY(inkCentre(image, cells(2, 1, 1), background));
        QVERIFY(inkCentre(image, cells(2, 2, 1), background));
        // The byte stays in the document.
        QCOMPARE(m_pane->document().lineText(2), std::string_view("a\xFF"
                                                                  "b"));
    }

    void documentTextInEitherEncoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1252 high bytes") << QByteArray("\x80\xE9") << false << QStringLiteral("\u20AC\u00E9");
        QTest::newRow("utf8 latin cjk")
            << QByteArray("\xC3\xA9\xE4\xB8\xAD") << true << QStringLiteral("\u00E9\u4E2D");
        QTest::newRow("utf8 emoji") << QByteArray("\xF0\x9F\x98\x80") << true << QStringLiteral("\U0001F600");
        QTest::newRow("utf8 stray bytes")
            << QByteArray("\xFF\xC3x\x80") << true << QStringLiteral("\uFFFD\uFFFDx\uFFFD");
    }

    void documentTextInEitherEncoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QFETCH(QString, expected);
        QCOMPARE(vexa::ui::fromDocumentText(
                     std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                     utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252),
                 expected);
    }

    void printedLineFollowsCells_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("expected");
        // 中 [0,2), a tab to 4, é [4,5), x.
        const QByteArray mixed("\xE4\xB8\xAD\t\xC3\xA9x");
        QTest::newRow("whole utf8 line") << mixed << true << 0 << -1 << QStringLiteral("\u4E2D  \u00E9x");
        QTest::newRow("whole 1252 line")
            << mixed << false << 0 << -1 << QStringLiteral("\u00E4\u00B8\u00AD \u00C3\u00A9x");
        QTest::newRow("columns from inside the tab") << mixed << true << 3 << 5 << QStringLiteral(" \u00E9");
        QTest::newRow("wide character goes with its second cell")
            << mixed << true << 1 << 2 << QStringLiteral("\u4E2D");
        QTest::newRow("wide character cut at the end stays out") << mixed << true << 0 << 1 << QString();
        QTest::newRow("stray byte") << QByteArray("a\xFF") << true << 0 << -1 << QStringLiteral("a\uFFFD");
    }

    void printedLineFollowsCells() {
        QFETCH(QByteArray, line);
        QFETCH(bool, utf8);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, expected);
        const vexa::LineLayout layout{4, utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252};
        QCOMPARE(
            vexa::ui::printedLine(std::string_view(line.constData(), static_cast<std::size_t>(line.size())),
                                  layout, from, to),
            expected);
    }

    void outputLinesShowUtf8WhenTheyAreUtf8() {
        vexa::toolchain::OutputWindow window(vexa::toolchain::OutputKind::Standard);
        window.addLine("caf\xC3\xA9 \xE2\x94\x8C\xE2\x94\x80\xE2\x94\x90");
        window.addLine("caf\xE9");
        vexa::ui::OutputLinesModel model(window);
        QCOMPARE(model.data(model.index(0), Qt::DisplayRole).toString(),
                 QStringLiteral("caf\u00E9 \u250C\u2500\u2510"));
        QCOMPARE(model.data(model.index(1), Qt::DisplayRole).toString(), QStringLiteral("caf\u00E9"));
    }
};

QTEST_MAIN(Utf8PaintTest)
#include "Utf8PaintTest.moc"
