// Compiling the active document and making the project: batch file, spawner, polling, results.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "toolchain/CompilerSettings.h"
#include "toolchain/OutputWindow.h"
#include "toolchain/Spawner.h"
#include "frame/Frame.h"

namespace vexa {
class CommandProcessor;
}

namespace vexa::toolchain {

class OutputWindows;

inline constexpr std::string_view kCompileModule = "QLWCMP01";
inline constexpr uint32_t kBuildPollMs = 400;
inline constexpr std::string_view kRunStopping = "Stopping the run...";
inline constexpr std::string_view kRunStopped = "The run was stopped: it and every program it started have ended.";

// What compiling and making work with; all outlive them.
struct BuildServices {
    CommandProcessor& processor;
    platform::ProcessLauncher& launcher;
    SpawnerSetup spawnerSetup;
    OutputWindows& outputs;
};

// One owner of a spawner with its busy mark and polling timer.
class BuildRun {
public:
    BuildRun(BuildServices services, OutputKind kind, uint32_t pollMs = kBuildPollMs);
    ~BuildRun();
    BuildRun(const BuildRun&) = delete;
    BuildRun& operator=(const BuildRun&) = delete;

    // From a successful start until its results are shown.
    bool isBusy() const { return m_busy; }
    Spawner& spawner() { return m_spawner; }
    // Ends the running program with everything it started; its output so far is shown when the
    // end is seen. False when nothing runs.
    bool stop();
    // When the last run started, to tell the newest of several.
    std::chrono::steady_clock::time_point startedAt() const { return m_startedAt; }

protected:
    // Starts the batch or run file; polls it and calls showResults(true) when it ended.
    bool start(const ToolRecord& record, const std::string& statusText,
               const std::vector<std::string>& trailing = {});
    virtual void showResults(bool fromRun) = 0;
    // The full name of a file in this owner's run folder (the batch and error files).
    std::string runFile(std::string_view name);
    // Loads the error file (its name in the run folder) into the window after its header; the
    // run's directory is where the program ran. False when it could not be opened.
    bool loadResults(const std::string& directory, const std::string& defaultFile,
                     const std::string& errorFile, bool fromRun);
    void report(std::string_view text, platform::SoundKind sound = platform::SoundKind::None);

    BuildServices m_services;
    OutputKind m_kind;

private:
    void poll();

    Spawner m_spawner;
    uint32_t m_pollMs;
    std::optional<Frame::TimerId> m_timer;
    bool m_busy = false;
    bool m_stopped = false;
    std::chrono::steady_clock::time_point m_startedAt;
};

class Compiler final : public BuildRun {
public:
    Compiler(BuildServices services, CompilerSettings& settings);

    // CompilerCompile: saves, writes the batch file, starts it. The function's result.
    int32_t compile();
    // The document window of a compile closed: its error and batch files go.
    void documentClosed(const std::string& path);

private:
    void showResults(bool fromRun) override;

    CompilerSettings& m_settings;
    std::string m_source;    // the full name of the compiled file
    std::string m_directory; // its directory, where the compiler runs
    std::string m_errorFile; // the error file's name in the run folder
};

class Project final : public BuildRun {
public:
    Project(BuildServices services, ProjectSettings& settings);

    // Makes the open project; without one, the nearest makefile at or above the active document's
    // folder with `make -k`, else a CMake build folder there with `cmake --build`.
    int32_t make();
    int32_t open();
    int32_t close();
    int32_t current();

private:
    void showResults(bool fromRun) override;
    int32_t makeWithoutProject();
    // Puts the header in the project window and starts the run.
    bool startMake(const ToolRecord& record, const std::string& statusText,
                   const std::vector<std::string>& trailing);

    ProjectSettings& m_settings;
    std::string m_defaultFile; // the project file, empty for a make without one
    std::string m_directory;
    std::string m_errorFile;
};

} // namespace vexa::toolchain
