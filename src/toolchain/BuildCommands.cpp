// The compile, make and output-window functions: each hands over to its owner.
#include "toolchain/BuildCommands.h"

#include <algorithm>
#include <array>

#include "toolchain/BuildOptionsDialogs.h"
#include "toolchain/OutputWindows.h"
#include "commands/CommandProcessor.h"
#include "frame/Frame.h"
#include "settings/Options.h"

namespace vexa::toolchain {
namespace {

constexpr std::array kIds{
    functionIdOf("CompilerCompile"),    functionIdOf("CompilerSetup"),
    functionIdOf("CompilerOutputView"), functionIdOf("CompilerOutputCopy"),
    functionIdOf("CompilerOutputNext"), functionIdOf("CompilerOutputPrevious"),
    functionIdOf("ProjectMake"),        functionIdOf("ProjectOpen"),
    functionIdOf("ProjectClose"),       functionIdOf("ProjectSetup"),
    functionIdOf("ProjectCurrent"),     functionIdOf("ProjectOutputView"),
    functionIdOf("ProjectOutputCopy"),  functionIdOf("StandardOutputView"),
    functionIdOf("StandardOutputCopy"), functionIdOf("RunStop"),
};

constexpr std::string_view kNothingToStop = "Nothing is running.";

CompilerSettings loadedCompiler(CommandProcessor& processor) {
    CompilerSettings settings;
    settings.load(processor.options().settingsFile());
    return settings;
}

ProjectSettings loadedProject(CommandProcessor& processor) {
    ProjectSettings settings;
    settings.load(processor.options().settingsFile());
    return settings;
}

} // namespace

BuildCommands::BuildCommands(CommandProcessor& processor, OutputWindows& outputs,
                             platform::ProcessLauncher& launcher, std::string companionDirectory,
                             bool waitForRuns)
    : m_processor(processor), m_outputs(outputs), m_companionDirectory(std::move(companionDirectory)),
      m_compilerSettings(loadedCompiler(processor)), m_projectSettings(loadedProject(processor)),
      m_compiler(
          BuildServices{
              processor, launcher, {processor.options().homeDirectory(), m_companionDirectory, waitForRuns}, outputs},
          m_compilerSettings),
      m_project(
          BuildServices{
              processor, launcher, {processor.options().homeDirectory(), m_companionDirectory, waitForRuns}, outputs},
          m_projectSettings),
      m_stoppable{&m_compiler, &m_project} {}

bool BuildCommands::hasForegroundWork() {
    return std::any_of(m_stoppable.begin(), m_stoppable.end(), [](BuildRun* run) { return run->isBusy(); });
}

bool BuildCommands::stopForegroundWork() {
    BuildRun* newest = nullptr;
    for (BuildRun* run : m_stoppable) {
        if (run->isBusy() && (newest == nullptr || run->startedAt() > newest->startedAt())) {
            newest = run;
        }
    }
    return newest != nullptr && newest->stop();
}

int32_t BuildCommands::stopRun() {
    if (!m_processor.stopForegroundWork()) {
        m_processor.showStatus(kNothingToStop, platform::SoundKind::Information);
        return 0;
    }
    return 1;
}

bool BuildCommands::claims(FunctionId id) const {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

int32_t BuildCommands::compilerSetup() {
    CompilerOptionsDialog dialog(m_compilerSettings, m_processor.options().settingsFile(),
                                 m_processor.frame(), m_companionDirectory);
    return m_processor.frame().showDialog(dialog) == DialogResult::Accepted ? 1 : 0;
}

int32_t BuildCommands::projectSetup() {
    ProjectOptionsDialog dialog(m_projectSettings, m_processor.options().settingsFile(), m_processor.frame(),
                                m_companionDirectory);
    return m_processor.frame().showDialog(dialog) == DialogResult::Accepted ? 1 : 0;
}

int32_t BuildCommands::run(FunctionId id) {
    switch (id) {
    case functionIdOf("CompilerCompile"):
        return m_compiler.compile();
    case functionIdOf("CompilerSetup"):
        return compilerSetup();
    case functionIdOf("CompilerOutputView"):
        m_outputs.show(OutputKind::Compiler);
        return 1;
    case functionIdOf("CompilerOutputCopy"):
        return m_outputs.copy(OutputKind::Compiler) ? 1 : 0;
    case functionIdOf("CompilerOutputNext"):
        return m_outputs.nextError(m_outputs.lastFilled()) ? 1 : 0;
    case functionIdOf("CompilerOutputPrevious"):
        return m_outputs.previousError(m_outputs.lastFilled()) ? 1 : 0;
    case functionIdOf("ProjectMake"):
        return m_project.make();
    case functionIdOf("ProjectOpen"):
        return m_project.open();
    case functionIdOf("ProjectClose"):
        return m_project.close();
    case functionIdOf("ProjectSetup"):
        return projectSetup();
    case functionIdOf("ProjectCurrent"):
        return m_project.current();
    case functionIdOf("ProjectOutputView"):
        m_outputs.show(OutputKind::Project);
        return 1;
    case functionIdOf("ProjectOutputCopy"):
        return m_outputs.copy(OutputKind::Project) ? 1 : 0;
    case functionIdOf("StandardOutputView"):
        m_outputs.show(OutputKind::Standard);
        return 1;
    case functionIdOf("StandardOutputCopy"):
        return m_outputs.copy(OutputKind::Standard) ? 1 : 0;
    case functionIdOf("RunStop"):
        return stopRun();
    default:
        return 0;
    }
}

} // namespace vexa::toolchain
