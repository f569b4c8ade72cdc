// The processes port: start a command line without waiting, then poll it with no wait.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vexa::platform {

// The outcome of a start; the numbers are the spawner's result codes.
enum class SpawnResult : int32_t {
    Started = 0,
    Failed = 1,            // any other failure (no permission, not a program, no resources)
    Busy = 2,              // the process started before is still running
    FileNotFound = 3,      // the program does not exist
    PathNotFound = 4,      // a directory on the program's path does not exist
    DirectoryNotFound = 5, // the working directory does not exist
};

// The show state asked for the new program's window, as tool records store it. A process
// without a window (every process on POSIX) keeps it only as a wish.
enum class ShowMode : uint16_t {
    Hidden = 0,
    Normal = 1,
    Minimized = 2,
    Maximized = 3,
    NormalNoActivate = 4,
    Show = 5,
    Minimize = 6,
    MinimizedNoActivate = 7,
    ShowNoActivate = 8,
    Restore = 9,
    Default = 10,
};

struct ProcessRequest {
    std::string commandLine; // program and arguments, split by splitCommandLine
    // The program and its arguments word by word; when given, the command line is not read.
    std::vector<std::string> arguments;
    // Where standard output and standard error go together (created or emptied); empty: both stay
    // the editor's. Standard input is always empty (/dev/null).
    std::string outputFile;
    std::string workingDirectory; // empty: the editor's current directory
    ShowMode showMode = ShowMode::Normal;
    std::string title; // the window title of the new console, where there is one
    // The PATH the child gets, also used to find a program named without a directory; empty
    // keeps the editor's own.
    std::string searchPath;
};

// One slot for a child process: at most one runs at a time.
class ChildProcess {
public:
    virtual ~ChildProcess() = default;

    // Starts the request without waiting for it; Busy while the previous one still runs.
    [[nodiscard]] virtual SpawnResult start(const ProcessRequest& request) = 0;

    // Polls with no wait: true while the started process runs. The first poll that finds it
    // ended collects it, so the slot is free for the next start.
    [[nodiscard]] virtual bool isRunning() = 0;

    // Ends the running process and every process it started in its group: asks them to end,
    // and forces the end at a poll that still finds them running a moment later. False when none runs.
    virtual bool stop() = 0;

    // How the last process ended: its exit code, or 128 plus the signal that ended it.
    // Nothing while it runs, before any start, or when the end could not be observed.
    [[nodiscard]] virtual std::optional<int> exitCode() const = 0;
};

// Makes process slots; the application owns one and hands it to whoever starts programs.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    [[nodiscard]] virtual std::unique_ptr<ChildProcess> create() = 0;
};

} // namespace vexa::platform
