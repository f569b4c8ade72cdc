// The interpreter of the script language: runs a script from its command line by walking its
// syntax tree, and ends every run through one end point with a return code.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "script/ScriptHost.h"
#include "script/ScriptNode.h"
#include "script/ScriptReporter.h"
#include "script/ScriptTree.h"

namespace vexa::script {

class ScriptInterpreter {
public:
    static constexpr size_t kMaxArguments = 9;

    ScriptInterpreter(ScriptHost& host, const platform::Clock& clock);
    ~ScriptInterpreter();
    ScriptInterpreter(const ScriptInterpreter&) = delete;
    ScriptInterpreter& operator=(const ScriptInterpreter&) = delete;

    // Each writes "Check Mode = 1" or "Debug Mode = 1" when switched on. Check mode only
    // echoes and parses the script; debug mode traces the tokens and the run.
    void setCheckMode(bool on);
    void setDebugMode(bool on);

    // Runs a command line: the script file and up to eight arguments for it. Gives -1 when the
    // script cannot be read or does not parse, after a fatal error or user termination; 1
    // after a return statement; 0 when the run falls off the end of the program.
    int32_t run(std::string_view commandLine);

    // Runs script text already read: `arguments` starts with the script's name, `path` is the
    // full path used in reports.
    int32_t runText(std::string source, const std::string& path, std::vector<std::string> arguments);

    bool syntaxError() const { return m_reporter && m_reporter->syntaxError(); }
    bool warned() const { return m_reporter && m_reporter->warned(); }
    int warningCount() const { return m_reporter ? m_reporter->warningCount() : 0; }
    const std::string& endMessage() const { return m_endMessage; }

    // The tree of the last run, with the variables' final values; empty before the first run.
    const ScriptTree& tree() const { return *m_tree; }

    // For the functions of a call.
    void warning(NodeId node, std::string_view reason);
    const platform::Clock& clock() const { return m_clock; }
    ScriptHost& host() { return m_host; }

private:
    void execute(NodeId id);
    int32_t evaluate(NodeId id);
    int32_t evaluateText(NodeId id, std::string& out);
    bool condition(NodeId id);
    int32_t assign(ScriptNode& node);
    void declare(ScriptNode& node);
    int32_t callFunction(NodeId id);
    void refreshString(ScriptNode& node);
    void resolveArgv(ScriptNode& node);
    void checkTermination();
    void fatalError(NodeId node, std::string_view reason);
    void end(int32_t code, std::string_view message);
    void prepare();

    ScriptHost& m_host;
    const platform::Clock& m_clock;
    std::unique_ptr<ScriptTree> m_tree;
    std::unique_ptr<ScriptReporter> m_reporter;
    std::vector<std::string> m_arguments;
    std::string m_text;   // the text of a string assignment, built before it is stored
    std::string m_expand; // a string constant's expansion
    std::string m_endMessage;
    int32_t m_code = 0;
    bool m_ended = false;
    bool m_checkMode = false;
    bool m_debugMode = false;
};

} // namespace vexa::script
