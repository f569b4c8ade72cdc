// The Find and Replace dialogs as a user meets them: texts typed into them reach the document, the
// search state and the histories in the documents' code page.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
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

    // Regression: the dialogs converted through the local 8-bit encoding (UTF-8), so "café" never
    // matched a document and replacements wrote UTF-8 bytes into it and into the history.
    void textsCrossInTheDocumentsCodePage() {
        m_window->action(functionIdOf("FileNew"))->trigger();
        EditPaneWidget* pane = m_window->activePane();
        QVERIFY(pane != nullptr);
        pane->setFocus();
        QTest::keyClicks(pane, QStringLiteral("un caf"));
        QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_Eacute, QStringLiteral("é"), Qt::NoModifier);
        QTest::keyClicks(pane, QStringLiteral(" noir"));
        QCOMPARE(std::string(pane->document().lineText(0)), std::string("un caf\xe9 noir"));
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
        QCOMPARE(std::string(pane->document().lineText(0)), std::string("un th\xe9 noir"));
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
        QCOMPARE(file.entries().front(), std::string("caf\xe9"));
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
