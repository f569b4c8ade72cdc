// vexa-batch: runs a script or a keyboard macro against files without a window.
//
//   vexa-batch [options] FILE...
//
// The files are opened as documents with the settings of the Vexa home; the last one is the
// active document. The lines the run writes to the output windows go to standard output (a
// compile, make or captured tool is waited for), status messages to standard error.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ShippedFiles.h"
#include "Version.h"
#include "app/BatchFind.h"
#include "toolchain/HeadlessOutputHost.h"
#include "toolchain/OutputWindows.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "frame/HeadlessFrame.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/KeyState.h"
#include "platform/Sound.h"
#include "platform/posix/PosixProcess.h"
#include "session/Editor.h"
#include "session/HeadlessWorkspaceView.h"
#include "settings/Directories.h"
#include "settings/HomeSetup.h"
#include "settings/Options.h"

namespace {

constexpr int kFailure = 1;
constexpr int kBadArguments = 2;

constexpr const char* kUsage =
    "Usage: vexa-batch [options] FILE...\n"
    "Runs a Vexa macro script or keyboard macro against FILE... without a window.\n"
    "\n"
    "  -x \"SCRIPT ARGS\"  run the script (.zm) with its arguments on the active (last) file\n"
    "  -m MACRO         play the keyboard-macro file (.mac) on the active file\n"
    "  -n COUNT         play the macro COUNT times (default 1)\n"
    "  -w               save the modified documents afterwards\n"
    "  --find PATTERN   search a folder tree instead (vexa-batch --find --help)\n"
    "  --help           show this text\n"
    "  --version        show the version\n"
    "\n"
    "The script's output, and the output of the compiles, makes and captured tools it runs\n"
    "(each waited for), goes to standard output; status messages go to standard error.\n"
    "\n"
    "Exit status:\n"
    "  the script's return code (0 at its end, 1 after a return statement)\n"
    "     when the run completed with no warning and every FILE was read;\n"
    "  1  after a warning (a script warning, a refused edit, an error message), a compile or\n"
    "     make that ended with errors, when a FILE could not be read, after a fatal error\n"
    "     or when a save failed;\n"
    "  2  for bad arguments.\n"
    "A run that ends with status 1 before saving saves nothing, even with -w.\n";

struct BatchArguments {
    std::optional<std::string> script;
    std::optional<std::string> macro;
    long count = 1;
    bool write = false;
    std::vector<std::string> files;
};

int usageError(std::string_view why) {
    std::cerr << "vexa-batch: " << why << "\n" << kUsage;
    return kBadArguments;
}

// The arguments, or the exit code of a run that ends here.
std::optional<int> parse(int argc, char* argv[], BatchArguments& out) {
    bool countGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "vexa-batch " << vexa::versionText() << "\n";
            return 0;
        }
        std::string text;
        if (arg == "-x") {
            if (!value(text) || out.script) {
                return usageError("-x needs one script command line");
            }
            out.script = text;
        } else if (arg == "-m") {
            if (!value(text) || out.macro) {
                return usageError("-m needs one macro file");
            }
            out.macro = text;
        } else if (arg == "-n") {
            char* end = nullptr;
            if (!value(text) || text.empty()) {
                return usageError("-n needs a count");
            }
            out.count = std::strtol(text.c_str(), &end, 10);
            if (*end != '\0' || out.count < 1 || out.count > 1000000) {
                return usageError("the count of -n must be a number from 1 to 1000000");
            }
            countGiven = true;
        } else if (arg == "-w") {
            out.write = true;
        } else if (arg == "--") {
            for (++i; i < argc; ++i) {
                out.files.emplace_back(argv[i]);
            }
        } else if (!arg.empty() && arg.front() == '-') {
            return usageError("unknown option " + std::string(arg));
        } else {
            out.files.emplace_back(arg);
        }
    }
    if (out.script.has_value() == out.macro.has_value()) {
        return usageError("give either -x or -m");
    }
    if (countGiven && !out.macro) {
        return usageError("-n goes with -m");
    }
    if (out.files.empty()) {
        return usageError("no FILE given");
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    // The find mode has its own arguments and exit statuses.
    if (argc >= 2 && std::string_view(argv[1]) == "--find") {
        return vexa::app::runBatchFind(argc, argv);
    }
    BatchArguments arguments;
    if (const std::optional<int> done = parse(argc, argv, arguments)) {
        return *done;
    }

    vexa::Directories directories(vexa::Directories::resolveHome());
    const vexa::HomeStart start = vexa::prepareHome(directories, vexa::app::shippedFileDirectories());
    if (start == vexa::HomeStart::NoHome) {
        std::cerr << "vexa-batch: " << vexa::kNoHomeMessage << "\n";
        return kFailure;
    }
    if (start == vexa::HomeStart::FirstRunWithoutShare) {
        std::cerr << "vexa-batch: " << vexa::noShareMessage(directories.home()) << "\n";
    }
    vexa::Options options(directories);
    options.load();

    vexa::HeadlessFrame frame;
    // A message box or a status or beep with the warning or error sound, from the loading of the
    // files to the end of the run, makes the run a failure.
    int warnings = 0;
    frame.setObserver([&warnings](const vexa::FrameEvent& event) {
        using vexa::platform::SoundKind;
        if (event.kind == vexa::FrameEventKind::Status || event.kind == vexa::FrameEventKind::MessageBox) {
            if (!event.text.empty()) {
                std::cerr << event.text << "\n";
            }
        }
        if (event.kind == vexa::FrameEventKind::MessageBox || event.sound == SoundKind::Error ||
            event.sound == SoundKind::Exclamation) {
            ++warnings;
        }
    });
    vexa::HeadlessWorkspaceView view;
    vexa::platform::SystemClock clock;
    vexa::platform::MemoryClipboard clipboard;
    vexa::platform::SilentSoundPlayer sound;
    vexa::platform::MemoryKeyState keys;
    // What a window receives is printed as it arrives: the script's own lines and the output of
    // the compiles, makes and captured tools it runs, each waited for.
    vexa::toolchain::PrintingOutputHost outputHost(std::cout);
    vexa::platform::PosixProcessLauncher launcher;
    // The companions (vCommand, vStdErr) are beside this program.
    const std::string companions(vexa::platform::directoryPart(vexa::platform::programPath().value_or("")));
    vexa::Editor editor(vexa::EditorPorts{frame, view, options, clock, clipboard, sound, keys, outputHost,
                                          launcher, companions, [](int) { return false; }, false, true});

    for (const std::string& file : arguments.files) {
        std::error_code error;
        // A file that is there but cannot be opened becomes an empty document: not read.
        vexa::EditPane* pane =
            std::filesystem::is_regular_file(file, error) ? editor.workspace().openDocument(file) : nullptr;
        if (pane == nullptr || !pane->document().isLoaded()) {
            std::cerr << "vexa-batch: cannot open '" << file << "'\n";
            return kFailure;
        }
    }

    int exitCode = 0;
    bool completed = true;
    if (arguments.script) {
        const vexa::ScriptRunResult result = editor.scripts().runCommandLine(*arguments.script);
        completed = result.code >= 0 && !result.syntaxError && !result.warned;
        exitCode = result.code;
    } else {
        vexa::MacroCommands& macros = editor.macros();
        if (!macros.load(*arguments.macro)) {
            return kFailure;
        }
        for (long pass = 0; pass < arguments.count && completed; ++pass) {
            completed = macros.play();
        }
    }
    if (!completed || warnings > 0 || editor.processor().refusedEdits() > 0 || outputHost.errorsSeen()) {
        if (arguments.write) {
            std::cerr << "vexa-batch: nothing saved: the run ended with a warning or an error\n";
        }
        std::cout.flush();
        return kFailure;
    }

    if (arguments.write) {
        for (vexa::EditPane* pane : editor.workspace().panes()) {
            if (!pane->document().isModified()) {
                continue;
            }
            editor.workspace().activate(*pane);
            if (editor.processor().execute(vexa::functionIdOf("FileSave"), vexa::kKeyboardCommandSource) ==
                    0 ||
                pane->document().isModified()) {
                std::cerr << "vexa-batch: could not save '" << pane->document().fileName() << "'\n";
                exitCode = kFailure;
            }
        }
    }
    std::cout.flush();
    return exitCode;
}
