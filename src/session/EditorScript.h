// The editor's script object: a script run that reaches the active document, calls editor
// functions by name, expands $-variables, writes into the Standard Output window and stops when
// the user presses Escape.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/ScriptHost.h"

namespace vexa {

class CommandProcessor;
class Document;
class Workspace;
namespace toolchain {
class OutputWindows;
class ToolCommands;
} // namespace toolchain
namespace platform {
class Clock;
class KeyState;
} // namespace platform
namespace script {
class ScriptCall;
}

inline constexpr std::string_view kMacroCompleted = "Macro completed.";
inline constexpr const char* kScriptErrorFormat = "Error executing '%s' macro script file";

struct EditorScriptServices {
    CommandProcessor& processor;
    Workspace& workspace;
    toolchain::OutputWindows& outputs;
    platform::KeyState& keyState;
    const platform::Clock& clock;
    // The open project, for $-variables naming it; empty without one.
    std::string projectPath;
    // What spawn runs its tool record with, as the Tools menu runs one (a captured run's output
    // goes to the Standard Output window); without it spawn is an unknown function.
    toolchain::ToolCommands* tools = nullptr;
};

// The outcome of one run.
struct ScriptRunResult {
    int32_t code = 0;
    bool syntaxError = false;
    bool warned = false;
};

class EditorScript final : public script::ScriptHost {
public:
    static constexpr std::size_t kLineBufferSize = 1024;

    explicit EditorScript(EditorScriptServices services) : m_services(std::move(services)) {}

    // Runs a command line (the script's name and its arguments) to its end.
    ScriptRunResult run(std::string_view commandLine);
    // Runs script text already read (tests, batch runs); `arguments` starts with its name.
    ScriptRunResult runText(std::string source, const std::string& path, std::vector<std::string> arguments);

    // ScriptHost
    void write(std::string_view text) override;
    bool terminationRequested() override;
    std::optional<int32_t> callFunction(script::ScriptCall& call) override;
    bool expandString(std::string_view literal, std::string& expanded) override;
    void runEnded(int32_t code, std::string_view message) override;

private:
    template <typename Run>
    ScriptRunResult runWith(Run&& run);
    std::optional<int32_t> editorFunction(script::ScriptCall& call);
    void addOutputLine(std::string_view line);
    // Types text at the cursor as typed characters would be; false (with a warning) when it was
    // refused.
    bool type(script::ScriptCall& call, std::string_view text);
    Document* changeableDocument();

    EditorScriptServices m_services;
    std::string m_buffer;
    bool m_outputPrepared = false;
};

} // namespace vexa
