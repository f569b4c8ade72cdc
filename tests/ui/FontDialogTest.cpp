// The Font dialog opens on the editor's font, its style included, and OK on it changes nothing.
#include <QApplication>
#include <QFontDialog>
#include <QFontInfo>
#include <QtTest>

#include "MainWindowFixture.h"
#include "commands/FunctionTable.h"
#include "ui/EditPaneWidget.h"

using vexa::functionIdOf;

class FontDialogTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private slots:
    void cleanup() { stopWindow(); }

    void theDialogOpensOnTheEditorsFontAndOkKeepsIt_data() {
        QTest::addColumn<QString>("face"); // empty: the default monospaced font
        QTest::addColumn<int>("weight");
        QTest::addColumn<bool>("outputWindowActive");
        QTest::newRow("the default font") << QString() << 0 << false;
        QTest::newRow("regular") << "DejaVu Sans Mono" << 400 << false;
        QTest::newRow("bold") << "DejaVu Sans Mono" << 700 << false;
        QTest::newRow("regular, an output window active") << "DejaVu Sans Mono" << 400 << true;
    }

    void theDialogOpensOnTheEditorsFontAndOkKeepsIt() {
        QFETCH(QString, face);
        QFETCH(int, weight);
        QFETCH(bool, outputWindowActive);
        QVERIFY(startWindow([&] {
            m_options->font().face = face.toStdString();
            m_options->font().height = -15;
            m_options->font().weight = weight;
        }));
        m_window->runCommand(functionIdOf("FileNew"));
        vexa::ui::EditPaneWidget* pane = m_window->activePane();
        QVERIFY(pane != nullptr);
        const QFontInfo drawn(pane->font());
        if (outputWindowActive) {
            m_window->runCommand(functionIdOf("StandardOutputView"));
            QVERIFY(m_window->activePane() == nullptr);
        }
        const vexa::FontDetails before = m_options->font();

        QString family;
        QString style;
        bool italic = true;
        m_window->setDialogRunner([&](QDialog& dialog) {
            auto* fonts = qobject_cast<QFontDialog*>(&dialog);
            dialog.show();
            if (fonts == nullptr || !QTest::qWaitForWindowExposed(&dialog)) {
                return int(QDialog::Rejected);
            }
            family = fonts->currentFont().family();
            style = fonts->currentFont().styleName();
            italic = QFontInfo(fonts->currentFont()).italic();
            // OK with the key, as a user who looked and changed nothing.
            QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &dialog,
                            Qt::Key_Return);
            return dialog.result();
        });
        m_window->runCommand(functionIdOf("OptionsFont"));
        QCOMPARE(family, drawn.family());
        QCOMPARE(style, drawn.styleName());
        QVERIFY(!italic);
        const vexa::FontDetails& after = m_options->font();
        QCOMPARE(after.face, before.face);
        QCOMPARE(after.height, before.height);
        QCOMPARE(after.weight, before.weight);
        QCOMPARE(after.italic, 0);
        QVERIFY(!pane->font().italic());
        QCOMPARE(QFontInfo(pane->font()).pixelSize(), drawn.pixelSize());
    }
};

QTEST_MAIN(FontDialogTest)
#include "FontDialogTest.moc"
