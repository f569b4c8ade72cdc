// The warning, error and fatal reports of a script run, with its flags and warning counter.
#pragma once

#include <string>
#include <string_view>

#include "script/ScriptNode.h"
#include "script/ScriptOutput.h"

namespace vexa::script {

class ScriptReporter {
public:
    // More warnings than this end the run.
    static constexpr int kMaxWarnings = 10;

    ScriptReporter(ScriptOutput& output, std::string path) : m_output(output), m_path(std::move(path)) {}

    // Reports a warning about a node and counts it. False when the count has passed the limit:
    // the fatal report has then been made too and the run must end.
    [[nodiscard]] bool warning(const ScriptNode& node, std::string_view reason);

    // A fatal error about a node; the run must end.
    void error(const ScriptNode& node, std::string_view reason);

    // A fatal error that concerns no node; the run must end.
    void fatal(std::string_view message);

    void setSyntaxError() { m_syntaxError = true; }
    bool syntaxError() const { return m_syntaxError; }
    bool warned() const { return m_warned; }
    int warningCount() const { return m_warnings; }

    ScriptOutput& output() { return m_output; }
    const std::string& path() const { return m_path; }

private:
    void nodeReport(std::string_view heading, const ScriptNode& node, std::string_view reason);

    ScriptOutput& m_output;
    std::string m_path;
    bool m_syntaxError = false;
    bool m_warned = false;
    int m_warnings = 0;
};

} // namespace vexa::script
