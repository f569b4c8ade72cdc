// MacroExecuteScript: the "Execute Macro Script" dialog with its history, and the script run.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "commands/CommandFamily.h"
#include "frame/DialogModel.h"
#include "session/EditorScript.h"
#include "settings/HistoryFile.h"

namespace vexa {

class Frame;
class Messenger;

inline constexpr std::string_view kScriptHistoryFile = "VexaMac.his";

// The dialog: the script command line with the history of earlier ones; Find fills the field
// from a file dialog.
class ExecuteScriptModel final : public DialogModel {
public:
    ExecuteScriptModel(Frame& frame, std::vector<std::string> history);

    std::string_view title() const override { return "Execute Macro Script"; }
    std::string_view scriptLabel() const { return "&Script:"; }
    const std::vector<std::string>& history() const { return m_history; }
    const std::string& commandLine() const { return m_commandLine; }
    void setCommandLine(std::string text) { m_commandLine = std::move(text); }
    // The Find button: a "Load Macro" file dialog for a script; true when a file was chosen.
    bool find();
    // The Run button can be pressed with a command line.
    bool runEnabled() const { return m_commandLine.find_first_not_of(" \t") != std::string::npos; }

private:
    Frame& m_frame;
    std::vector<std::string> m_history;
    std::string m_commandLine;
};

class ScriptCommands final : public CommandFamily {
public:
    // Scripts start programs through the services' tool runs.
    ScriptCommands(EditorScriptServices services, std::string configDirectory);
    ~ScriptCommands() override;
    ScriptCommands(const ScriptCommands&) = delete;
    ScriptCommands& operator=(const ScriptCommands&) = delete;

    bool claims(FunctionId id) const override;
    int32_t run(FunctionId id) override;

    // Runs a script command line as the dialog's Run does: $-variables expanded, the run
    // reported on the status line when it had errors or warnings.
    ScriptRunResult runCommandLine(std::string_view commandLine);

private:
    std::string historyPath() const;

    EditorScriptServices m_services;
    std::string m_configDirectory;
};

} // namespace vexa
