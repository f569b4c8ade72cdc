// The tools menu's functions: running installed tools, the tool list's dialog, an ad-hoc command
// line and an interactive shell.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/BuildRun.h"
#include "toolchain/ToolRecord.h"
#include "commands/CommandFamily.h"

namespace vexa::toolchain {

inline constexpr std::string_view kToolModule = "QLWEXE01";
inline constexpr uint32_t kToolPollMs = 350;
inline constexpr std::string_view kCommandInterpreter = "COMMAND.COM";
inline constexpr std::string_view kNoTerminal =
    "No terminal program was found: set the TERMINAL variable or install x-terminal-emulator.";

// A run whose standard output goes to the Standard Output window.
class CapturedRun final : public BuildRun {
public:
    explicit CapturedRun(BuildServices services);
    // Refuses while busy; shows the tool's title and starts it. False when it did not start.
    bool runTool(const ToolRecord& tool);

private:
    void showResults(bool fromRun) override;
};

// The function that runs the tool at a 0-based list position (ToolsExecute1 for 0).
FunctionId toolFunctionId(std::size_t index);

// The terminal for an interactive shell: $TERMINAL, else x-terminal-emulator when it is on the
// path; nothing when neither is there.
std::optional<std::string> terminalProgram();

class ToolCommands final : public CommandFamily {
public:
    // Loads the tools list from the configuration directory. With waitForRuns a captured run is
    // waited for (no window).
    ToolCommands(CommandProcessor& processor, OutputWindows& outputs, platform::ProcessLauncher& launcher,
                 std::string companionDirectory, bool waitForRuns = false);

    bool claims(FunctionId id) const override;
    int32_t run(FunctionId id) override;

    const std::vector<ToolRecord>& tools() const { return m_tools; }
    // The menu texts of the tools, in menu order (ToolsExecute1 first).
    std::vector<std::string> menuTexts() const;
    // Runs tool n (1-based), or a given record the same way. The function's result.
    int32_t execute(int number);
    int32_t runRecord(const ToolRecord& tool);
    CapturedRun& capturedRun() { return m_captured; }
    std::string toolsFilePath() const;

private:
    int32_t optionsDialog();
    int32_t commandLine();
    int32_t shell();
    void reload();

    CommandProcessor& m_processor;
    platform::ProcessLauncher& m_launcher;
    SpawnerSetup m_setup;
    std::vector<ToolRecord> m_tools;
    CapturedRun m_captured;
    // Starts a run without capture in a slot of its own; it is not followed. False when it did not
    // start (said on the status line).
    bool startDetached(const ToolRecord& tool);

    // The runs without capture, one slot each; a slot whose run ended is let go at the next start.
    std::vector<std::unique_ptr<Spawner>> m_detached;
};

} // namespace vexa::toolchain
