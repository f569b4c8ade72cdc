// The output window widget and the compiler and project option dialogs, driven with keys and clicks
// over their models.
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "commands/KeymapState.h"
#include "frame/StatusLine.h"
#include "support/InertProcessorHooks.h"
#include "platform/Sound.h"
#include <memory>

#include "toolchain/BuildOptionsDialogs.h"
#include "toolchain/OutputWindows.h"
#include "commands/CommandProcessor.h"
#include "commands/DocumentWindows.h"
#include "frame/HeadlessFrame.h"
#include "platform/Clipboard.h"
#include "settings/Options.h"
#include "support/FakeClock.h"
#include "support/TempHome.h"
#include "ui/BuildOptionsWindows.h"
#include "ui/DialogViews.h"
#include "keyboard/KeyRoad.h"
#include "ui/OutputWindowWidget.h"
#include "ui/QtKeyState.h"
#include "TypeText.h"

using vexa::toolchain::OutputKind;

namespace {

// Records the places the output window asked to open.
class RecordingWindows final : public vexa::DocumentWindows {
public:
    vexa::EditPane* newDocument() override { return nullptr; }
    vexa::EditPane* openDocument(const std::string&) override { return nullptr; }
    vexa::EditPane* openDocumentAt(const std::string& path, int line) override {
        opened.push_back(path + ":" + std::to_string(line));
        return nullptr;
    }
    bool closeActive() override { return false; }
    std::vector<vexa::EditPane*> panes() override { return {}; }
    std::string recentFile(int) override { return {}; }
    void exitApplication() override {}
    std::vector<std::string> opened;
};

class NoHost final : public vexa::toolchain::OutputWindowHost {
public:
    void showOutputWindow(vexa::toolchain::OutputWindow&) override {}
    void outputLinesChanged(vexa::toolchain::OutputWindow&) override {}
    void outputSelectionChanged(vexa::toolchain::OutputWindow&) override {}
};

class NoPrefixKeymap final : public vexa::KeymapState {
public:
    bool isPrefixArmed() const override { return false; }
    void resetPrefix() override {}
    bool keyPressRemovesMark() const override { return false; }
    bool cutCopyRemovesMark() const override { return false; }
};

// A processor over a headless frame and a temporary home.
struct World {
    World()
        : directories(home.path().string()), options(directories),
          processor(vexa::ProcessorServices{frame, options, clock, clipboard}), outputs(processor, host) {
        processor.link(vexa::ProcessorLinks{statusLine, keymap, windows, idleRecorder, noTemplates, {}});
        processor.activateOutputWindow();
    }
    vexa::test::TempHome home;
    vexa::Directories directories;
    vexa::HeadlessFrame frame;
    vexa::Options options;
    vexa::test::FakeClock clock;
    vexa::platform::MemoryClipboard clipboard;
    vexa::test::IdleRecorder idleRecorder;
    vexa::test::NoTemplates noTemplates;
    vexa::CommandProcessor processor;
    vexa::platform::SilentSoundPlayer sound;
    vexa::StatusLine statusLine{clock, sound, [](int) { return false; }};
    NoPrefixKeymap keymap;
    RecordingWindows windows;
    NoHost host;
    vexa::toolchain::OutputWindows outputs;
    vexa::ui::KeyRoad keys{processor, options};
    vexa::ui::QtKeyState keyState;
    vexa::ui::KeyPorts keyPorts{keys, keyState};
};

} // namespace

class BuildViewsTest : public QObject {
    Q_OBJECT

private slots:
    void listShowsTheLinesAndKeysSelectThem() {
        World world;
        vexa::toolchain::OutputWindow& window = world.outputs.compiler();
        window.setRun("/src/", "/src/main.c");
        window.loadText("first\nmain.c:12:5: error: bad\n");
        vexa::ui::OutputWindowWidget widget(world.outputs, OutputKind::Compiler, world.keyPorts);
        widget.refreshLines();
        widget.show();
        QCOMPARE(widget.list()->model()->rowCount(), 4);
        QCOMPARE(widget.list()->model()->index(1, 0).data().toString(),
                 QStringLiteral("main.c:12:5: error: bad"));
        QCOMPARE(widget.list()->model()->index(3, 0).data().toString(),
                 QStringLiteral("Compilation completed with errors."));
        QVERIFY(widget.list()->model()->index(1, 0).data(Qt::ForegroundRole).isValid());
        QVERIFY(!widget.list()->model()->index(0, 0).data(Qt::ForegroundRole).isValid());

        widget.list()->setFocus();
        widget.list()->setCurrentIndex(widget.list()->model()->index(0, 0));
        QCOMPARE(world.frame.lastStatus(), std::string("first"));
        QTest::keyClick(widget.list(), Qt::Key_Down);
        QCOMPARE(window.selection(), std::optional<std::size_t>(1));
        // Selecting an error line of the compiled file takes its document to the line.
        QCOMPARE(world.windows.opened.back(), std::string("/src/main.c:12"));
        world.windows.opened.clear();
        QTest::keyClick(widget.list(), Qt::Key_Return);
        QCOMPARE(world.windows.opened, std::vector<std::string>{"/src/main.c:12"});
    }

    void theModelsSelectionShowsInTheList() {
        World world;
        world.outputs.compiler().loadText("a\nb\nc\n");
        vexa::ui::OutputWindowWidget widget(world.outputs, OutputKind::Compiler, world.keyPorts);
        world.outputs.select(OutputKind::Compiler, 2);
        widget.refreshSelection();
        QCOMPARE(widget.list()->currentIndex().row(), 2);
        world.outputs.compiler().clear();
        widget.refreshLines();
        QCOMPARE(widget.list()->model()->rowCount(), 0);
    }

    void compilerOptionsAddAndAccept() {
        World world;
        vexa::toolchain::CompilerSettings settings;
        vexa::toolchain::CompilerOptionsDialog model(settings, world.options.settingsFile(), world.frame, "");
        auto view = vexa::ui::makeDialogView(model, nullptr);
        auto* dialog = dynamic_cast<vexa::ui::CompilerOptionsWindow*>(view.get());
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Compiler Options"));
        auto& controls = dialog->controls();
        QVERIFY(!controls.runFile->isEnabled());
        QCOMPARE(controls.runFile->text(), QStringLiteral("VexaCC.BAT"));
        QTest::keyClicks(controls.command, QStringLiteral("sh -c SAMPLE.C"));
        controls.captureErrors->click();
        QCOMPARE(controls.command->text(), QStringLiteral("vStdErr sh -c SAMPLE.C"));
        controls.captureErrors->click();
        dialog->addButton()->click();
        QCOMPARE(dialog->entries()->count(), 1);
        QCOMPARE(dialog->entries()->item(0)->text(), QStringLiteral("sh -c SAMPLE.C"));
        controls.useOtherFile->click();
        QVERIFY(controls.runFile->isEnabled());
        QVERIFY(model.accept());
        QCOMPARE(settings.command, std::string("sh -c %s"));
        QCOMPARE(settings.run.mode, vexa::toolchain::RunMode::Other);
    }

    // A command is file-system text: what is typed is kept as UTF-8.
    void compilerCommandsKeepTypedTextAsUtf8() {
        World world;
        vexa::toolchain::CompilerSettings settings;
        vexa::toolchain::CompilerOptionsDialog model(settings, world.options.settingsFile(), world.frame, "");
        auto view = vexa::ui::makeDialogView(model, nullptr);
        auto* dialog = dynamic_cast<vexa::ui::CompilerOptionsWindow*>(view.get());
        QVERIFY(dialog != nullptr);
        vexa::test::typeText(dialog->controls().command, QStringLiteral("cc -I/opt/caf\u00e9 SAMPLE.C"));
        dialog->addButton()->click();
        QCOMPARE(dialog->entries()->item(0)->text(), QStringLiteral("cc -I/opt/caf\u00e9 SAMPLE.C"));
        QVERIFY(model.accept());
        QCOMPARE(settings.command, std::string("cc -I/opt/caf\xc3\xa9 %s"));
    }

    void projectOptionsView() {
        World world;
        vexa::toolchain::ProjectSettings settings;
        vexa::toolchain::ProjectOptionsDialog model(settings, world.options.settingsFile(), world.frame, "");
        auto view = vexa::ui::makeDialogView(model, nullptr);
        auto* dialog = dynamic_cast<vexa::ui::ProjectOptionsWindow*>(view.get());
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->controls().command->text(), QStringLiteral("make -f SAMPLE.MAK"));
    }
};

QTEST_MAIN(BuildViewsTest)
#include "BuildViewsTest.moc"
