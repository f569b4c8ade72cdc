// Find in Files in the main window: the default key opens the dialog, Find fills the Search Results
// window, and Enter on a result opens its file at the match.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <string>

#include "commands/FunctionTable.h"
#include "core/Document.h"
#include "findfiles/FindInFilesCommands.h"
#include "session/Editor.h"
#include "ui/EditPaneWidget.h"
#include "ui/FindInFilesWindow.h"
#include "ui/MainWindow.h"
#include "ui/OutputWindowWidget.h"

#include "MainWindowFixture.h"

class FindInFilesViewTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(startWindow([this] {
            m_folder = (m_home->path() / "proj").string();
            std::filesystem::create_directories(m_home->path() / "proj/sub");
            vexa::test::writeFileBytes(m_folder + "/a.c", "int alpha;\nint beta;\n");
            vexa::test::writeFileBytes(m_folder + "/sub/b.c", "// beta\n  beta();\n");
        }));
    }
    void cleanup() { stopWindow(); }

    void theKeyOpensTheDialogAndAChosenResultOpensItsFile() {
        m_window->openDocumentAt(m_folder + "/a.c", 0);
        vexa::ui::EditPaneWidget* pane = m_window->activePane();
        QVERIFY(pane != nullptr);
        pane->setFocus();
        QString shownFolder;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<vexa::ui::FindInFilesWindow*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            shownFolder = dialog->findChild<QLineEdit*>(QStringLiteral("folder"))->text();
            auto* text = dialog->findChild<QComboBox*>(QStringLiteral("findText"));
            QTest::keyClicks(text->lineEdit(), QStringLiteral("beta"));
            QTest::keyClick(text->lineEdit(), Qt::Key_Return);
        });
        QTest::keyClick(pane, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(shownFolder, QString::fromStdString(m_folder));
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->editor().findInFiles().isRunning(), 10000);

        vexa::ui::OutputWindowWidget* results = nullptr;
        for (auto* widget : m_window->documentArea()->findChildren<vexa::ui::OutputWindowWidget*>()) {
            if (widget->kind() == vexa::toolchain::OutputKind::SearchResults) {
                results = widget;
            }
        }
        QVERIFY(results != nullptr);
        QListView* list = results->list();
        // The header, a.c's line, then sub/b.c's two lines, then the summary.
        QCOMPARE(list->model()->rowCount(), 5);
        QCOMPARE(list->model()->index(3, 0).data().toString(), QStringLiteral("sub/b.c:2:   beta();"));
        list->setFocus();
        list->setCurrentIndex(list->model()->index(3, 0));
        QTest::keyClick(list, Qt::Key_Return);
        vexa::ui::EditPaneWidget* opened = m_window->activePane();
        QVERIFY(opened != nullptr);
        QCOMPARE(opened->document().fileName(), m_folder + "/sub/b.c");
        QCOMPARE(opened->document().cursorLine(), 1);
        QCOMPARE(opened->document().cursorOffset(), 2);
    }

private:
    std::string m_folder;
};

QTEST_MAIN(FindInFilesViewTest)
#include "FindInFilesViewTest.moc"
