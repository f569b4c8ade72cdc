// The brace beside the cursor and its partner are framed in the edit pane as the cursor moves by
// the mouse or the keys, and the frame goes when the cursor leaves the brace.
#include <QImage>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "core/Document.h"
#include "ui/EditPaneWidget.h"

#include "MainWindowFixture.h"

using vexa::ui::EditPaneWidget;

class BracePairTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private:
    EditPaneWidget* m_pane = nullptr;

    QImage shot() { return m_pane->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The pixels of one cell of the view.
    QImage cell(const QImage& image, int line, int column) const {
        const QPoint centre = m_pane->cellCentre(line, column);
        const int left = qRound(centre.x() - m_pane->cellWidth() / 2);
        return image.copy(left, centre.y() - m_pane->cellHeight() / 2, qRound(m_pane->cellWidth()),
                          m_pane->cellHeight());
    }

    void clickCell(int line, int column) {
        QTest::mouseClick(m_pane->viewport(), Qt::LeftButton, Qt::NoModifier,
                          m_pane->cellCentre(line, column));
        QTest::qWait(20);
    }

private slots:
    void init() {
        QVERIFY(startWindow());
        const std::filesystem::path file = m_home->path() / "pair.c";
        {
            std::ofstream out(file, std::ios::binary);
            out << "f(a, b);\n{\n  x;\n}\nend\n";
        }
        QVERIFY(m_window->openDocumentAt(file.string(), 5) != nullptr);
        m_pane = m_window->activePane();
        QVERIFY(m_pane != nullptr);
        m_pane->setFocus();
        QVERIFY(m_pane->pane().topLine() == 0);
    }

    void cleanup() {
        m_pane = nullptr;
        stopWindow();
    }

    // Seen with try-vexa: a click on "(" framed it and its ")"; a step right took both frames away.
    void theBraceAtTheCursorAndItsPartnerAreFramed() {
        const QImage plain = shot();
        clickCell(0, 1);
        QCOMPARE(m_pane->document().cursorOffset(), 1);
        QImage framed = shot();
        QVERIFY2(cell(framed, 0, 6) != cell(plain, 0, 6), "the partner ')' is not framed");
        QCOMPARE(cell(framed, 0, 3), cell(plain, 0, 3));
        QCOMPARE(cell(framed, 1, 0), cell(plain, 1, 0));

        // Just after the ")" the pair is still shown; one more step and it is gone.
        QTest::keyClick(m_pane, Qt::Key_End);
        QTest::keyClick(m_pane, Qt::Key_Left);
        QCOMPARE(m_pane->document().cursorOffset(), 7);
        framed = shot();
        QVERIFY(cell(framed, 0, 1) != cell(plain, 0, 1));
        QTest::keyClick(m_pane, Qt::Key_Right);
        const QImage after = shot();
        QCOMPARE(cell(after, 0, 1), cell(plain, 0, 1));
        QCOMPARE(cell(after, 0, 6), cell(plain, 0, 6));
    }

    void aPairAcrossLinesIsFramedOnBoth() {
        const QImage plain = shot();
        clickCell(3, 0);
        const QImage framed = shot();
        QVERIFY2(cell(framed, 1, 0) != cell(plain, 1, 0), "the partner '{' is not framed");
        QCOMPARE(cell(framed, 2, 2), cell(plain, 2, 2));
    }
};

QTEST_MAIN(BracePairTest)
#include "BracePairTest.moc"
