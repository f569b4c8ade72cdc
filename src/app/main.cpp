// The editor's entry: hands the command line to a running editor, or prepares the home, loads
// the options, builds the main window, opens the documents and runs the event loop.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ShippedFiles.h"
#include "Version.h"
#include "frame/HeadlessFrame.h"
#include "keyboard/KeyProfile.h"
#include "platform/Environment.h"
#include "platform/posix/PosixInstanceLink.h"
#include "session/StartupCommandLine.h"
#include "session/StartupHandOff.h"
#include "session/StartupHistory.h"
#include "settings/Directories.h"
#include "settings/Format.h"
#include "settings/HomeSetup.h"
#include "settings/Options.h"
#include "shell/OpenCommand.h"
#include "shell/ShellRegistration.h"
#include "ui/MainWindow.h"

namespace {

constexpr int kLinkPollMs = 200;
std::new_handler g_previousNewHandler = nullptr;
// Set by a termination request; the event loop then closes the window the ordinary way, so the
// documents are asked about and the settings are written.
volatile std::sig_atomic_t g_terminate = 0;

extern "C" void requestTermination(int) {
    g_terminate = 1;
}

// The out-of-memory handler: tells the user once, then lets the earlier handler decide.
void outOfMemory() {
    std::set_new_handler(g_previousNewHandler);
    QMessageBox::critical(nullptr, QStringLiteral("No Memory"),
                          QStringLiteral("The system has run out of memory, please exit the system!"));
    if (g_previousNewHandler != nullptr) {
        g_previousNewHandler();
    } else {
        throw std::bad_alloc();
    }
}

void unexpectedError(int line) {
    QApplication::beep();
    QMessageBox::critical(
        nullptr, QStringLiteral("Vexa Error"),
        QString::fromStdString(vexa::formatText(vexa::kUnexpectedError.data(), vexa::kStartupModule.data(),
                                                std::to_string(line).c_str())));
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
    }
    return text;
}

// Registers the editor as the handler of C and C++ sources that no other program handles: in the
// key store and in the desktop's own files. The first failure is shown with an error beep.
void registerWithShell(vexa::ui::MainWindow& window, vexa::platform::KeyStore* store) {
    const std::string program = vexa::platform::programPath().value_or("vexa");
    std::vector<std::string> failures;
    if (store != nullptr) {
        if (auto failed = vexa::shell::registerFileTypes(*store, program)) {
            failures.push_back(vexa::shell::registrationFailureMessage(*failed));
        }
    }
    // Without a real display (the offscreen platform of tests and batch runs) there is no desktop
    // whose file types could be taken.
    const QString platform = QGuiApplication::platformName();
    if (failures.empty() && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
        failures = vexa::shell::registerWithDesktop(vexa::shell::xdgPlaces(), program);
    }
    if (!failures.empty()) {
        QApplication::beep();
        window.messageBox(failures.front());
    }
}

constexpr const char* kUsage =
    "Usage: vexa [-lLINE] [FILE...]\n"
    "Opens each FILE (a name may hold the wildcards * and ?) in the Vexa editor. When an editor\n"
    "with the same home already runs on this display, a single FILE is handed to it instead.\n"
    "\n"
    "  -lLINE      put the cursor on line LINE of the files opened\n"
    "  --help      show this text and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Environment: VEXA_HOME (the home for settings and seeded files), VEXA_SHARE (the shipped\n"
    "files). See vexa(1) and the guide opened by Help > Contents.\n";

// --help and --version are answered before anything needs a display; nothing when the program
// runs as the editor.
std::optional<int> answerInformationOption(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("%s\n", vexa::versionText());
            return 0;
        }
    }
    return std::nullopt;
}

// The first start asks once which keys to use, unless VEXA_PROFILE answers in advance (scripted
// and test starts set it, so they never meet the question); Classic is the default button.
void chooseKeyProfile(vexa::Options& options) {
    const vexa::ProfileStart start = vexa::profileAtStart(options, std::getenv(vexa::kProfileVariable));
    std::optional<vexa::KeyProfile> profile = start.answer;
    if (start.ask) {
        QMessageBox question(QMessageBox::Question, QString::fromLatin1(vexa::kProfileTitle),
                             QString::fromLatin1(vexa::kProfileQuestion));
        QPushButton* classic = question.addButton(QStringLiteral("C&lassic"), QMessageBox::AcceptRole);
        question.addButton(QStringLiteral("C&ommon"), QMessageBox::AcceptRole);
        question.setDefaultButton(classic);
        question.setEscapeButton(classic);
        question.exec();
        profile = question.clickedButton() == classic ? vexa::KeyProfile::Classic : vexa::KeyProfile::Common;
    }
    if (!profile) {
        return;
    }
    std::vector<std::filesystem::path> shippedConfig;
    for (const std::filesystem::path& directory : vexa::app::shippedFileDirectories()) {
        shippedConfig.push_back(directory / "vConfig");
    }
    vexa::HeadlessFrame messages;
    (void)vexa::applyProfile(*profile, options, messages, shippedConfig);
    for (const vexa::FrameEvent& event : messages.eventsOf(vexa::FrameEventKind::MessageBox)) {
        QMessageBox::warning(nullptr, QString::fromStdString(event.title), QString::fromStdString(event.text));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> answered = answerInformationOption(argc, argv)) {
        return *answered;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexa"));
    QApplication::setDesktopFileName(QStringLiteral("vexa"));
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);

    // The home decides, with the display, which running editor a start may hand its file to.
    vexa::Directories directories(vexa::Directories::resolveHome());
    std::unique_ptr<vexa::platform::PosixInstanceLink> link;
    if (auto directory = vexa::platform::PosixInstanceLink::defaultDirectory(directories.home())) {
        link = std::make_unique<vexa::platform::PosixInstanceLink>(*directory);
    }
    if (link && link->isMarkerPresent()) {
        if (auto handOffs = vexa::handOffFor(arguments)) {
            switch (vexa::sendHandOffs(*link, *handOffs)) {
            case vexa::HandOffResult::Posted:
                return 0;
            case vexa::HandOffResult::NameUnresolved:
            case vexa::HandOffResult::RecordFailed:
                unexpectedError(__LINE__);
                return 1;
            case vexa::HandOffResult::NotDelivered:
                break; // the marker's holder is gone: this start becomes the editor
            }
        }
    }
    g_previousNewHandler = std::set_new_handler(outOfMemory);
    std::signal(SIGTERM, requestTermination);
    if (link && !link->addMarker()) {
        link.reset(); // another editor holds the marker: this one runs without receiving hand-offs
    }

    const vexa::HomeStart start =
        vexa::prepareHome(directories, vexa::app::shippedFileDirectories(), vexa::profileShippedFiles());
    if (start == vexa::HomeStart::NoHome) {
        QMessageBox::critical(nullptr, QStringLiteral("Vexa Error"),
                              QString::fromLatin1(vexa::kNoHomeMessage));
        if (link) {
            link->deleteMarker();
        }
        std::set_new_handler(g_previousNewHandler);
        return 1;
    }
    if (start == vexa::HomeStart::FirstRunWithoutShare) {
        QMessageBox::warning(nullptr, QStringLiteral("Vexa"),
                             QString::fromStdString(vexa::noShareMessage(directories.home())));
    }
    if (start == vexa::HomeStart::DirectoriesMissing) {
        QMessageBox::warning(nullptr, QStringLiteral("Vexa Error"),
                             QStringLiteral("The Vexa home directory '%1' could not be prepared.")
                                 .arg(QString::fromStdString(directories.home())));
    }
    vexa::Options options(directories);
    options.load();
    chooseKeyProfile(options);

    int exitCode = 0;
    {
        vexa::ui::MainWindow window(options);
        const vexa::FramePlacement placement =
            window.history().readFramePlacement(options.editor().restoreSize != 0, 1);
        if (placement.hasRectangle()) {
            window.setGeometry(placement.x, placement.y, placement.cx - placement.x,
                               placement.cy - placement.y);
        }
        registerWithShell(window, link ? &link->record() : nullptr);
        window.openStartupFiles(arguments);
        int state = placement.state;
        if (state == 2 && !window.paneWidgets().empty()) {
            state = 3;
        }
        if (state == 3) {
            window.showMaximized();
        } else if (state == 2) {
            window.showMinimized();
        } else {
            window.show();
        }

        QTimer linkPoll;
        QObject::connect(&linkPoll, &QTimer::timeout, &window, [&] {
            if (g_terminate != 0) {
                g_terminate = 0;
                window.close();
            }
            if (link) {
                for (const auto& message : link->receive()) {
                    if (message.kind == vexa::platform::LinkMessageKind::FileOpen) {
                        window.acceptHandOff(vexa::receiveHandOff(*link));
                    } else if (message.kind == vexa::platform::LinkMessageKind::OpenFiles) {
                        // A list that is not the editor's own came from another program: dropped.
                        for (const vexa::HandOff& handOff :
                             vexa::readOpenFilesList(message.text).value_or(std::vector<vexa::HandOff>{})) {
                            window.acceptHandOff(handOff);
                        }
                    } else if (auto open = vexa::shell::parseOpenCommand(message.text); open.ok) {
                        window.acceptHandOff(vexa::HandOff{open.file, 0});
                    } else {
                        window.messageBox(joined(open.messages));
                    }
                }
            }
            window.runQueuedRequests();
        });
        linkPoll.start(kLinkPollMs);
        exitCode = QApplication::exec();
    }
    if (!options.save()) {
        QMessageBox::warning(nullptr, QStringLiteral("Vexa Error"),
                             QStringLiteral("The settings file '%1' could not be written.")
                                 .arg(QString::fromStdString(directories.settingsFilePath())));
    }
    if (link) {
        link->deleteMarker();
    }
    std::set_new_handler(g_previousNewHandler);
    return exitCode;
}
