// Compiling in the main window as a user does: the compiler's diagnostics fill Compiler Output,
// keys move through its lines, and Return on an error line takes the document to the line and
// column the compiler named, leaving the document as it was.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QtTest>
#include <fstream>

#include "MainWindowFixture.h"
#include "commands/CommandProcessor.h"
#include "core/Document.h"
#include "session/Editor.h"
#include "toolchain/BuildCommands.h"
#include "toolchain/OutputWindows.h"
#include "ui/EditPaneWidget.h"
#include "ui/OutputWindowWidget.h"

class CompileWindowTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    // The window looks for its companion programs beside the running program: this test. They
    // are built beside the editor's program; links put them here too.
    void initTestCase() {
        const QDir companions = QFileInfo(QStringLiteral(VEXA_PROGRAM)).absoluteDir();
        const QDir here(QCoreApplication::applicationDirPath());
        for (const QString& name : {QStringLiteral("vCommand"), QStringLiteral("vStdErr")}) {
            if (!QFileInfo::exists(here.filePath(name))) {
                QVERIFY(QFile::link(companions.filePath(name), here.filePath(name)));
            }
        }
    }
    void init() { QVERIFY(startWindow()); }
    void cleanup() { stopWindow(); }

    // Alt+F10 compiles; the batch and error files stay out of the source folder, in a run folder
    // that goes when the document closes.
    void returnOnAnErrorLineOpensItsLineAndColumn() {
        const QDir source(QString::fromStdString(m_home->file("src")));
        QVERIFY(source.mkpath(QStringLiteral(".")));
        const std::string path = m_home->file("src/main.c");
        std::ofstream(path) << "int main(void)\n{\n    int x = 1;\n    return x + missing;\n}\n";
        vexa::Editor& editor = m_window->editor();
        QVERIFY(editor.workspace().openDocument(path) != nullptr);
        QTRY_VERIFY(m_window->activePane() != nullptr && m_window->activePane()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::AltModifier);
        QVERIFY(editor.building().compiler().isBusy() || !editor.outputs().compiler().lines().empty());
        QTRY_VERIFY_WITH_TIMEOUT(!editor.building().compiler().isBusy(), 20000);
        const QStringList sourceFiles{QStringLiteral("main.c")};
        QCOMPARE(source.entryList(QDir::Files | QDir::Hidden), sourceFiles);
        const QString runFolder = QString::fromStdString(editor.building().compiler().spawner().runFolder().path());
        QVERIFY(QFileInfo::exists(runFolder + QStringLiteral("main.err")));
        QCOMPARE(editor.outputs().compiler().lines().back().text,
                 std::string("Compilation completed with errors."));

        // Compiler Output has the focus; the keys go where the user's keys go.
        const auto& lines = editor.outputs().compiler().lines();
        std::size_t errorRow = 0;
        while (errorRow < lines.size() && lines[errorRow].text.find(": error: ") == std::string::npos) {
            ++errorRow;
        }
        QVERIFY(errorRow < lines.size());
        for (std::size_t row = 0; row < errorRow; ++row) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(m_window->activePane() != nullptr && m_window->activePane()->hasFocus());

        const vexa::Document& document = m_window->activePane()->pane().document();
        QCOMPARE(QString::fromStdString(document.fileName()), QString::fromStdString(path));
        QCOMPARE(document.cursorLine() + 1, 4);
        QCOMPARE(document.cursorColumn() + 1, 16);
        QVERIFY(!document.isModified());
        QCOMPARE(document.lineCount(), 5);

        QCOMPARE(editor.processor().execute(vexa::functionIdOf("FileClose"), vexa::kKeyboardCommandSource), 1);
        QTRY_VERIFY(!QFileInfo::exists(runFolder));
        QCOMPARE(source.entryList(QDir::Files | QDir::Hidden), sourceFiles);
    }
};

QTEST_MAIN(CompileWindowTest)
#include "CompileWindowTest.moc"
