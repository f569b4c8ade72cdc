// Running tools, the tool list's dialog, the ad-hoc command line and the shell.
#include "toolchain/ToolCommands.h"

#include <algorithm>

#include "toolchain/CommandVariables.h"
#include "toolchain/OutputWindows.h"
#include "toolchain/ToolDialogs.h"
#include "toolchain/ToolsFile.h"
#include "commands/CommandProcessor.h"
#include "frame/Frame.h"
#include "platform/Environment.h"
#include "settings/Format.h"
#include "settings/InfoFile.h"
#include "settings/Options.h"

namespace vexa::toolchain {
namespace {

constexpr const char* kUnexpectedError = "Unexpected Vexa error at File: %s Line: %s";

constexpr std::array kExecutes{
    functionIdOf("ToolsExecute1"),  functionIdOf("ToolsExecute2"),  functionIdOf("ToolsExecute3"),
    functionIdOf("ToolsExecute4"),  functionIdOf("ToolsExecute5"),  functionIdOf("ToolsExecute6"),
    functionIdOf("ToolsExecute7"),  functionIdOf("ToolsExecute8"),  functionIdOf("ToolsExecute9"),
    functionIdOf("ToolsExecute10"), functionIdOf("ToolsExecute11"), functionIdOf("ToolsExecute12"),
    functionIdOf("ToolsExecute13"), functionIdOf("ToolsExecute14"), functionIdOf("ToolsExecute15"),
};

std::string configDirectory(CommandProcessor& processor) {
    std::string directory = processor.options().directory(DirectoryKind::Config);
    if (!directory.empty() && directory.back() != '/') {
        directory.push_back('/');
    }
    return directory;
}

} // namespace

CapturedRun::CapturedRun(BuildServices services) : BuildRun(services, OutputKind::Standard, kToolPollMs) {}

bool CapturedRun::runTool(const ToolRecord& tool) {
    if (isBusy()) {
        report(kSpawnBusy, platform::SoundKind::Exclamation);
        return false;
    }
    spawner().prepare(tool, variableContextOf(m_services.processor));
    return start(tool, spawner().title());
}

void CapturedRun::showResults(bool /*fromRun*/) {
    if (spawner().outputFile().empty()) {
        // Nothing was captured: what the pipe file holds is an earlier run's.
        report(kCommandCompleted);
        return;
    }
    (void)m_services.outputs.showStandardOutput(spawner().outputFile(), spawner().workingDirectory());
}

FunctionId toolFunctionId(std::size_t index) {
    return index < kExecutes.size() ? kExecutes[index] : kNoFunction;
}

std::optional<std::string> terminalProgram() {
    if (auto terminal = platform::environmentVariable("TERMINAL"); terminal && !terminal->empty()) {
        return terminal;
    }
    if (platform::findOnPath("x-terminal-emulator")) {
        return std::string("x-terminal-emulator");
    }
    return std::nullopt;
}

ToolCommands::ToolCommands(CommandProcessor& processor, OutputWindows& outputs,
                           platform::ProcessLauncher& launcher, std::string companionDirectory,
                           bool waitForRuns)
    : m_processor(processor), m_launcher(launcher),
      m_setup{processor.options().homeDirectory(), std::move(companionDirectory), waitForRuns},
      m_captured(BuildServices{processor, launcher, m_setup, outputs}) {
    reload();
}

std::string ToolCommands::toolsFilePath() const {
    return configDirectory(m_processor) + std::string(kToolsFileName);
}

void ToolCommands::reload() {
    ToolsRead read = loadToolsFile(toolsFilePath());
    const std::string name(kToolsFileName);
    if (const std::string message = toolsReadMessage(read.status, name); !message.empty()) {
        m_processor.frame().messageBox(message);
    }
    m_tools = std::move(read.tools);
}

bool ToolCommands::claims(FunctionId id) const {
    return std::find(kExecutes.begin(), kExecutes.end(), id) != kExecutes.end() ||
           id == functionIdOf("ToolsShell") || id == functionIdOf("ToolsCommand") ||
           id == functionIdOf("OptionsTools");
}

std::vector<std::string> ToolCommands::menuTexts() const {
    std::vector<std::string> texts;
    for (const ToolRecord& tool : m_tools) {
        texts.push_back(tool.menuText);
    }
    return texts;
}

int32_t ToolCommands::run(FunctionId id) {
    if (const auto it = std::find(kExecutes.begin(), kExecutes.end(), id); it != kExecutes.end()) {
        return execute(static_cast<int>(it - kExecutes.begin()) + 1);
    }
    switch (id) {
    case functionIdOf("ToolsShell"):
        return shell();
    case functionIdOf("ToolsCommand"):
        return commandLine();
    case functionIdOf("OptionsTools"):
        return optionsDialog();
    default:
        return 0;
    }
}

int32_t ToolCommands::execute(int number) {
    if (number < 1 || static_cast<std::size_t>(number) > m_tools.size()) {
        m_processor.showStatus(
            formatText(kUnexpectedError, std::string(kToolModule).c_str(), std::to_string(__LINE__).c_str()),
            platform::SoundKind::Exclamation);
        return 0;
    }
    return runRecord(m_tools[static_cast<std::size_t>(number) - 1]);
}

int32_t ToolCommands::runRecord(const ToolRecord& record) {
    ToolRecord tool = record;
    if (tool.askArguments) {
        ProgramArgumentsModel dialog(tool);
        if (m_processor.frame().showDialog(dialog) != DialogResult::Accepted) {
            return 0;
        }
        tool = dialog.tool();
    }
    if (tool.saveDocument && m_processor.document() != nullptr) {
        m_processor.run(functionIdOf("FileSave"));
    }
    if (!tool.captureOutput && !tool.captureErrors) {
        return startDetached(tool) ? 1 : 0;
    }
    return m_captured.runTool(tool) ? 1 : 0;
}

int32_t ToolCommands::optionsDialog() {
    reload();
    ToolOptionsModel dialog(m_processor.frame(), m_tools,
                            platform::currentDirectory().value_or(std::string()));
    if (m_processor.frame().showDialog(dialog) != DialogResult::Accepted) {
        return 0;
    }
    m_tools = dialog.tools();
    if (!saveToolsFile(toolsFilePath(), m_tools)) {
        m_processor.frame().messageBox(infoCreateErrorMessage(std::string(kToolsFileName)));
        return 0;
    }
    return 1;
}

int32_t ToolCommands::commandLine() {
    DosCommandLineModel dialog(configDirectory(m_processor));
    if (m_processor.frame().showDialog(dialog) != DialogResult::Accepted) {
        return 0;
    }
    if (dialog.arguments.find_first_not_of(" \t") == std::string::npos) {
        // No command: an interactive command line, which has nothing to capture.
        return shell();
    }
    ToolRecord tool;
    tool.type = ToolType::DosCommandLine;
    tool.program = std::string(kCommandInterpreter);
    tool.arguments = dialog.arguments;
    tool.workingDirectory = dialog.directory;
    tool.captureOutput = true;
    tool.showMode = platform::ShowMode::Hidden;
    return m_captured.runTool(tool) ? 1 : 0;
}

int32_t ToolCommands::shell() {
    const std::optional<std::string> terminal = terminalProgram();
    if (!terminal) {
        m_processor.showStatus(kNoTerminal, platform::SoundKind::Exclamation);
        return 0;
    }
    ToolRecord tool;
    tool.type = ToolType::WindowsProgram;
    tool.program = *terminal;
    tool.captureOutput = false;
    tool.showMode = platform::ShowMode::Normal;
    return startDetached(tool) ? 1 : 0;
}

bool ToolCommands::startDetached(const ToolRecord& tool) {
    std::erase_if(m_detached, [](const std::unique_ptr<Spawner>& spawner) { return spawner->isIdle(); });
    auto spawner = std::make_unique<Spawner>(m_launcher, m_setup);
    if (spawner->prepareAndRun(tool, variableContextOf(m_processor)) != platform::SpawnResult::Started) {
        m_processor.showStatus(kSpawnFailed, platform::SoundKind::Exclamation);
        return false;
    }
    m_detached.push_back(std::move(spawner));
    return true;
}

} // namespace vexa::toolchain
