// The Macros menu of the main window: the entries of the macro list follow the fixed items, with
// the key text of the active keymap, and follow every change of the list.
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "MainWindowFixture.h"
#include "keyboard/MacroFile.h"

namespace {

QMenu* macrosMenu(QMainWindow& window) {
    for (QAction* action : window.menuBar()->actions()) {
        if (action->text() == QStringLiteral("&Macros")) {
            return action->menu();
        }
    }
    return nullptr;
}

QStringList itemTexts(QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
        }
    }
    return texts;
}

} // namespace

class MacroMenuTest : public QObject, public MainWindowFixture {
    Q_OBJECT

private slots:
    void cleanup() { stopWindow(); }

    void entriesFollowTheFixedItemsWithTheirKeys() {
        QVERIFY(startWindow([this] {
            QVERIFY(vexa::writeMacroMenu(m_options->directory(vexa::DirectoryKind::Config),
                                         {{"Abc", "/m/abc.mac"}, {"Def", "/m/def.mac"}}));
        }));
        QMenu* menu = macrosMenu(*m_window);
        QVERIFY(menu != nullptr);
        const QStringList texts = itemTexts(*menu);
        QVERIFY(texts.size() >= 2);
        QCOMPARE(texts[texts.size() - 2], QStringLiteral("Abc\tAlt+Shift+F1"));
        QCOMPARE(texts.back(), QStringLiteral("Def\tAlt+Shift+F2"));

        QVERIFY(m_window->editor().macros().setMenu({{"Xyz", "/m/xyz.mac"}}));
        const QStringList after = itemTexts(*menu);
        QCOMPARE(after.size(), texts.size() - 1);
        QCOMPARE(after.back(), QStringLiteral("Xyz\tAlt+Shift+F1"));
    }
};

QTEST_MAIN(MacroMenuTest)
#include "MacroMenuTest.moc"
