// Starts the program a tool record describes without waiting, and polls it until it has ended.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/CommandVariables.h"
#include "toolchain/RunFolder.h"
#include "toolchain/ToolRecord.h"
#include "platform/Process.h"

namespace vexa::toolchain {

inline constexpr std::string_view kSpawnBusy = "Spawn currently active, please wait.";
inline constexpr std::string_view kSpawnFailed =
    "Spawn OK. (Check for valid EXE name or missing PIF file if in error?)";
inline constexpr std::string_view kPipeFileName = "VexaPip.dat";
inline constexpr std::string_view kPifFileName = "VexaDOS.PIF";
inline constexpr std::string_view kStdErrPrefix = "vStdErr ";
inline constexpr std::string_view kStdErrProgram = "vStdErr";
inline constexpr std::string_view kCommandProgram = "vCommand";

// Where the spawner's files live and where the companion programs (vCommand, vStdErr) are.
struct SpawnerSetup {
    std::string homeDirectory;      // ends in '/': the PIF file lies there
    std::string companionDirectory; // the directory of the editor's program; empty: along PATH
    // A run without a window (vexa-batch): whoever starts a program waits for its end before going
    // on, as no timer ticks there to follow it.
    bool waitForRuns = false;
};

// The PATH the editor's children get: the companions' directory first, then the editor's PATH.
std::string childSearchPath(std::string_view companionDirectory);
// Whether a companion (or any program) is found along the children's PATH.
bool isOnChildPath(std::string_view program, std::string_view companionDirectory);

// The text of the PIF file: a shell script that starts the command interpreter with its arguments,
// the one in the companion directory when it is there, else the one along PATH.
std::string pifFileText(std::string_view companionDirectory);

class Spawner {
public:
    Spawner(platform::ProcessLauncher& launcher, SpawnerSetup setup);

    // Builds the argument vector, the title and the working directory; a capture deletes the pipe
    // file and sends both output streams into it. Writes the PIF file when the command goes
    // through it. The trailing words follow the command's own as whole arguments.
    void prepare(const ToolRecord& record, const VariableContext& context,
                 const std::vector<std::string>& trailing = {});
    // Starts the prepared command; Busy while the previous run still goes on.
    platform::SpawnResult run();
    platform::SpawnResult prepareAndRun(const ToolRecord& record, const VariableContext& context,
                                        const std::vector<std::string>& trailing = {});

    // True when no process of this spawner runs; the first call after its end collects it.
    bool isIdle();
    // Ends the running process with everything it started; false when none runs.
    bool stop();
    // Blocks until no process of this spawner runs.
    void waitUntilIdle();
    bool waitsForRuns() const { return m_setup.waitForRuns; }

    platform::SpawnResult result() const { return m_result; }
    // The argument vector, and the same written as one line to show.
    const std::vector<std::string>& arguments() const { return m_arguments; }
    const std::string& commandLine() const { return m_commandLine; }
    // Where both output streams go; empty when nothing is captured.
    const std::string& outputFile() const { return m_outputFile; }
    const std::string& title() const { return m_title; }
    const std::string& workingDirectory() const { return m_workingDirectory; }
    // The pipe file lies in the spawner's run folder, made at the first call.
    std::string pipeFilePath() { return m_runFolder.file(kPipeFileName); }
    // The private folder of this spawner's owner: its batch, error and pipe files.
    RunFolder& runFolder() { return m_runFolder; }
    std::string pifFilePath() const { return m_setup.homeDirectory + std::string(kPifFileName); }
    // How the last process ended (its exit code); nothing while it runs or when unknown.
    std::optional<int> exitCode() const { return m_process->exitCode(); }

private:
    bool writePifFile();

    std::unique_ptr<platform::ChildProcess> m_process;
    SpawnerSetup m_setup;
    RunFolder m_runFolder;
    std::string m_title = "VexaCommand";
    std::vector<std::string> m_arguments;
    std::string m_commandLine;
    std::string m_outputFile;
    std::string m_workingDirectory;
    platform::ShowMode m_showMode = platform::ShowMode::Normal;
    platform::SpawnResult m_result = platform::SpawnResult::Started;
    bool m_busy = false;
};

} // namespace vexa::toolchain
