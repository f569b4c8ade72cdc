// MacroExecuteScript.
#include "session/ScriptCommands.h"

#include "toolchain/CommandVariables.h"
#include "toolchain/OutputWindows.h"
#include "commands/CommandProcessor.h"
#include "frame/Frame.h"
#include "settings/Format.h"

namespace vexa {

namespace {

constexpr FunctionId kExecuteScript = functionIdOf("MacroExecuteScript");

} // namespace

ExecuteScriptModel::ExecuteScriptModel(Frame& frame, std::vector<std::string> history)
    : m_frame(frame), m_history(std::move(history)) {
    if (!m_history.empty()) {
        m_commandLine = m_history.front();
    }
}

bool ExecuteScriptModel::find() {
    m_frame.status(formatText("Select the name of the %s file to be %s", "macro", "loaded."),
                   platform::SoundKind::None);
    FileDialogRequest request;
    request.title = "Load Macro";
    request.filters = {{"Script Files (*.zm)", "*.zm"}, {"All Files (*.*)", "*.*"}};
    const std::vector<std::string> chosen = m_frame.chooseFilesToOpen(request);
    if (chosen.empty()) {
        return false;
    }
    m_commandLine = chosen.front();
    return true;
}

ScriptCommands::ScriptCommands(EditorScriptServices services, std::string configDirectory)
    : m_services(std::move(services)), m_configDirectory(std::move(configDirectory)) {}

ScriptCommands::~ScriptCommands() = default;

bool ScriptCommands::claims(FunctionId id) const {
    return id == kExecuteScript;
}

std::string ScriptCommands::historyPath() const {
    std::string path = m_configDirectory;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    return path + std::string(kScriptHistoryFile);
}

int32_t ScriptCommands::run(FunctionId /*id*/) {
    HistoryFile history;
    (void)history.load(historyPath());
    std::vector<std::string> entries = history.entries();
    if (const auto selected = history.selected()) {
        std::swap(entries[0], entries[*selected]);
    }
    ExecuteScriptModel model(m_services.processor.frame(), entries);
    if (m_services.processor.frame().showDialog(model) != DialogResult::Accepted || !model.runEnabled()) {
        return 0;
    }
    history.enter(model.commandLine());
    if (!history.save(historyPath())) {
        m_services.processor.showStatus(
            formatText("Unexpected error creating the '%s' information file.", historyPath().c_str()),
            platform::SoundKind::Exclamation);
    }
    const ScriptRunResult result = runCommandLine(model.commandLine());
    return result.syntaxError || result.warned ? 0 : 1;
}

ScriptRunResult ScriptCommands::runCommandLine(std::string_view commandLine) {
    std::string expanded(commandLine);
    std::string withValues;
    if (toolchain::expandCommand(commandLine, toolchain::kCommandBufferSize,
                             toolchain::variableContextOf(m_services.processor, m_services.projectPath),
                             withValues)) {
        expanded = withValues;
    }
    EditorScript script(m_services);
    const ScriptRunResult result = script.run(expanded);
    if (result.syntaxError || result.warned) {
        m_services.outputs.show(toolchain::OutputKind::Standard);
        m_services.processor.showStatus(formatText(kScriptErrorFormat, expanded.c_str()),
                                        platform::SoundKind::Exclamation);
    }
    return result;
}

} // namespace vexa
