// The family of compile, make and output-window functions.
#pragma once

#include <cstdint>
#include <string>

#include "toolchain/BuildRun.h"
#include "toolchain/CompilerSettings.h"
#include "commands/CommandFamily.h"

namespace vexa::toolchain {

class OutputWindows;

class BuildCommands final : public CommandFamily {
public:
    // Reads the compiler and project settings from the processor's options. The output windows
    // belong to the workspace; companionDirectory is where vCommand and vStdErr are (the
    // directory of the editor's program). With waitForRuns every run is waited for (no window).
    BuildCommands(CommandProcessor& processor, OutputWindows& outputs, platform::ProcessLauncher& launcher,
                  std::string companionDirectory, bool waitForRuns = false);

    bool claims(FunctionId id) const override;
    int32_t run(FunctionId id) override;
    bool hasForegroundWork() override;
    // Stops the newest running compile, make or tool.
    bool stopForegroundWork() override;
    // The compiled document's batch and error files go with its window.
    void documentClosed(const std::string& path) override { m_compiler.documentClosed(path); }

    // Another run that "RunStop" and Escape stop (the captured tool run); it outlives this.
    void addStoppableRun(BuildRun& run) { m_stoppable.push_back(&run); }

    Compiler& compiler() { return m_compiler; }
    Project& project() { return m_project; }
    CompilerSettings& compilerSettings() { return m_compilerSettings; }
    ProjectSettings& projectSettings() { return m_projectSettings; }

private:
    int32_t compilerSetup();
    int32_t projectSetup();
    // "RunStop": stops the work the user waits for in every family; says so when nothing runs.
    int32_t stopRun();

    CommandProcessor& m_processor;
    OutputWindows& m_outputs;
    std::string m_companionDirectory;
    CompilerSettings m_compilerSettings;
    ProjectSettings m_projectSettings;
    Compiler m_compiler;
    Project m_project;
    std::vector<BuildRun*> m_stoppable;
};

} // namespace vexa::toolchain
