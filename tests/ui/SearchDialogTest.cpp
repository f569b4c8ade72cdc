// The Find and Replace dialogs as a user meets them: texts typed into them reach the document, the
// search state and the histories in the documents' code page.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <string>

#include "commands/FunctionTable.h"
#include "core/Document.h"
#include "settings/HistoryFile.h"
#include "ui/EditPaneWidget.h"
#include "ui/MainWindow.h"

#include "MainWindowFixture.h"

using vexa::functionIdOf;
using vexa::ui::EditPaneWidget;

class SearchDialogTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startWindow()); }
    void cleanup() { stopWindow(); }

    // The dialog's texts are characters: they reach a document in its own encoding (a regression
    // converted them through the local 8-bit encoding whatever the document was), and the
    // history keeps them as UTF-8.
    void textsCrossInTheDocumentsEncoding_data() {
        QTest::addColumn<bool>("windows1252");
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QByteArray>("replaced");
        QTest::newRow("utf-8") << false << QByteArray("un caf\xC3\xA9 noir")
                               << QByteArray("un th\xC3\xA9 noir");
        QTest::newRow("windows-1252")
            << true << QByteArray("un caf\xE9 noir") << QByteArray("un th\xE9 noir");
    }
    void textsCrossInTheDocumentsEncoding() {
        QFETCH(bool, windows1252);
        QFETCH(QByteArray, typed);
        QFETCH(QByteArray, replaced);
        m_window->action(functionIdOf("FileNew"))->trigger();
        EditPaneWidget* pane = m_window->activePane();
        QVERIFY(pane != nullptr);
        QCOMPARE(pane->document().encoding(), vexa::TextEncoding::Utf8);
        if (windows1252) {
            m_window->runCommand(functionIdOf("FileEncodingToggle"));
            QCOMPARE(pane->document().encoding(), vexa::TextEncoding::Windows1252);
        }
        pane->setFocus();
        QTest::keyClicks(pane, QStringLiteral("un caf"));
        QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_Eacute, QStringLiteral("é"), Qt::NoModifier);
        QTest::keyClicks(pane, QStringLiteral(" noir"));
        QCOMPARE(std::string(pane->document().lineText(0)), typed.toStdString());
        QTest::keyClick(pane, Qt::Key_Home);

        m_window->runCommand(functionIdOf("ReplaceDialog"));
        QDialog* dialog = m_window->searchDialog();
        QVERIFY(dialog != nullptr);
        const auto boxes = dialog->findChildren<QComboBox*>();
        QCOMPARE(boxes.size(), qsizetype(2));
        boxes[0]->setEditText(QStringLiteral("café"));
        boxes[1]->setEditText(QStringLiteral("thé"));
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
            if (box->text() == QStringLiteral("Replace &All")) {
                box->setChecked(true);
            }
        }
        auto* replace = dialog->findChild<QPushButton*>(QStringLiteral("replace"));
        QVERIFY(replace != nullptr);
        QTest::mouseClick(replace, Qt::LeftButton);
        QCOMPARE(std::string(pane->document().lineText(0)), replaced.toStdString());
        QCOMPARE(boxes[0]->itemText(0), QStringLiteral("café"));

        // The history file is written when the dialog goes, with the window.
        const std::string history =
            (std::filesystem::path(m_options->directory(vexa::DirectoryKind::Config)) /
             std::string(vexa::kFindHistoryFile))
                .string();
        m_window.reset();
        vexa::HistoryFile file;
        QVERIFY(file.load(history));
        QVERIFY(!file.entries().empty());
        QCOMPARE(file.entries().front(), std::string("caf\xC3\xA9"));
    }

    // The dialog opens on the word at the cursor, selected, so that what the user types replaces it.
    void typingReplacesTheWordTheDialogOpensWith() {
        m_window->action(functionIdOf("FileNew"))->trigger();
        EditPaneWidget* pane = m_window->activePane();
        QVERIFY(pane != nullptr);
        pane->setFocus();
        QTest::keyClicks(pane, QStringLiteral("alpha beta"));
        QTest::keyClick(pane, Qt::Key_Home);
        m_window->runCommand(functionIdOf("SearchWordCurrent"));
        QDialog* dialog = m_window->searchDialog();
        QVERIFY(dialog != nullptr);
        auto* box = dialog->findChildren<QComboBox*>().front();
        QCOMPARE(box->currentText(), QStringLiteral("alpha"));
        QTest::keyClicks(box->lineEdit(), QStringLiteral("beta"));
        QCOMPARE(box->currentText(), QStringLiteral("beta"));
    }

    void helpOpensTheGuideAtSearching() {
        m_window->action(functionIdOf("FileNew"))->trigger();
        m_window->runCommand(functionIdOf("ReplaceDialog"));
        QDialog* dialog = m_window->searchDialog();
        QVERIFY(dialog != nullptr);
        auto* help = dialog->findChild<QPushButton*>(QStringLiteral("help"));
        QVERIFY(help != nullptr);
        QString title;
        QString heading;
        QTimer::singleShot(0, [&] {
            QWidget* guide = QApplication::activeModalWidget();
            if (guide != nullptr) {
                title = guide->windowTitle();
                if (auto* browser = guide->findChild<QTextBrowser*>()) {
                    heading = browser->textCursor().block().text();
                }
                guide->close();
            }
        });
        QTest::mouseClick(help, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Vexa User Guide"));
        QCOMPARE(heading, QStringLiteral("Search and replace"));
    }
};

QTEST_MAIN(SearchDialogTest)
#include "SearchDialogTest.moc"
