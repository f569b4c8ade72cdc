// Two real editor processes: a second start hands its files and line to the running editor and
// ends, and the running editor opens the file there (seen in the startup files it leaves at exit).
#include <QDir>
#include <QProcess>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <set>
#include <sys/stat.h>

#include "platform/posix/PosixInstanceLink.h"
#include "settings/Directories.h"
#include "settings/SettingsFile.h"
#include "support/TempHome.h"

class HandOffTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<vexa::test::TempHome> m_home;
    QString m_runtime;
    std::vector<std::unique_ptr<QProcess>> m_processes;

    QProcess& start(const QStringList& arguments, const std::string& home = {}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("VEXA_HOME"),
                           QString::fromStdString(home.empty() ? m_home->path().string() : home));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
        // A scripted start: the first start's question about the keys is answered in advance.
        environment.insert(QStringLiteral("VEXA_PROFILE"), QStringLiteral("classic"));
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(QString::fromStdString(m_home->path().string()));
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QStringLiteral(VEXA_PROGRAM), arguments);
        m_processes.push_back(std::move(process));
        return *m_processes.back();
    }

    // Waits until a running editor of this display and home holds the marker.
    bool waitForEditor(const std::string& home = {}) {
        const std::string resolved = home.empty() ? vexa::Directories::resolveHome() : home + "/";
        const std::string session = vexa::platform::PosixInstanceLink::sessionName(
            qEnvironmentVariable("DISPLAY").toStdString(),
            qEnvironmentVariable("WAYLAND_DISPLAY").toStdString(), resolved);
        vexa::platform::PosixInstanceLink link(m_runtime.toStdString() + "/vexa/" + session);
        for (int i = 0; i < 200; ++i) {
            if (link.isMarkerPresent()) {
                return true;
            }
            QTest::qWait(50);
        }
        return false;
    }

    // Starts an editor, then a second start with the arguments beside it, which must hand its
    // files over and end; then ends the editor, which records the files it had open.
    void startSecondBesideAnEditor(const QStringList& arguments) {
        QProcess& first = start({});
        QVERIFY(first.waitForStarted(10000));
        QVERIFY2(waitForEditor(), "the first editor never became the running one");

        QProcess& second = start(arguments);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // The running editor polls its link; give it time to open the files, then end it.
        QTest::qWait(1500);
        first.terminate();
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitCode(), 0);
    }

    std::string startupFile(int slot) const {
        vexa::SettingsFile settings(vexa::Directories(vexa::Directories::resolveHome()).settingsFilePath());
        return settings.getString("History", "StartupFile:" + std::to_string(slot), "", 300);
    }

private slots:
    void init() {
        m_home = std::make_unique<vexa::test::TempHome>();
        m_runtime = QString::fromStdString((m_home->path() / "runtime").string());
        QVERIFY(QDir().mkpath(m_runtime));
        QVERIFY(::chmod(m_runtime.toLocal8Bit().constData(), 0700) == 0);
    }

    void cleanup() {
        for (auto& process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
        m_processes.clear();
        m_home.reset();
    }

    void secondStartOpensTheFileInTheFirst() {
        const std::string path = m_home->file("a.c");
        std::string text;
        for (int i = 1; i <= 40; ++i) {
            text += "line " + std::to_string(i) + "\r\n";
        }
        vexa::test::writeFileBytes(path, text);
        startSecondBesideAnEditor({QStringLiteral("-l25"), QStringLiteral("a.c")});
        if (QTest::currentTestFailed()) {
            return;
        }
        QCOMPARE(startupFile(0), path + " 25");
    }

    // "vexa a.c 'b c.c' -l12" beside a running editor started a second editor on the same home.
    void secondStartWithSeveralFilesHandsThemAllOver() {
        for (const char* name : {"a.c", "b c.c"}) {
            vexa::test::writeFileBytes(m_home->file(name), std::string(30, '\n'));
        }
        startSecondBesideAnEditor({QStringLiteral("a.c"), QStringLiteral("b c.c"), QStringLiteral("-l12")});
        if (QTest::currentTestFailed()) {
            return;
        }
        const std::set<std::string> remembered{startupFile(0), startupFile(1)};
        QCOMPARE(remembered,
                 (std::set<std::string>{m_home->file("a.c") + " 12", m_home->file("b c.c") + " 12"}));
    }

    void aStartWithAnotherHomeBecomesAnEditorOfItsOwn() {
        QProcess& first = start({});
        QVERIFY(first.waitForStarted(10000));
        QVERIFY2(waitForEditor(), "the first editor never became the running one");

        const std::string otherHome = m_home->file("other-home");
        QProcess& second = start({QStringLiteral("a.c")}, otherHome);
        QVERIFY(second.waitForStarted(10000));
        QVERIFY2(waitForEditor(otherHome), "the second start handed its file over instead of starting");
        QCOMPARE(second.state(), QProcess::Running);
        for (QProcess* editor : {&second, &first}) {
            editor->terminate();
            QVERIFY(editor->waitForFinished(20000));
            QCOMPARE(editor->exitCode(), 0);
        }
    }

    void settingsFileWrittenAtExit() {
        QProcess& editor = start({});
        QVERIFY(editor.waitForStarted(10000));
        QVERIFY(waitForEditor());
        editor.terminate();
        QVERIFY(editor.waitForFinished(20000));
        QCOMPARE(editor.exitCode(), 0);
        QVERIFY(
            std::filesystem::exists(vexa::Directories(vexa::Directories::resolveHome()).settingsFilePath()));
    }
};

QTEST_MAIN(HandOffTest)
#include "HandOffTest.moc"
