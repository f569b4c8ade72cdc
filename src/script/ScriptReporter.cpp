// The warning, error and fatal reports of a script run.
#include "script/ScriptReporter.h"

namespace vexa::script {

void ScriptReporter::nodeReport(std::string_view heading, const ScriptNode& node, std::string_view reason) {
    std::string report(heading);
    report += "File: " + m_path + " ";
    report += "Type: '" + node.name + "' ";
    if (node.hasText()) {
        report += "Value: '" + node.text + "' ";
    }
    report += "Line: " + std::to_string(node.line) + " ";
    report += "Column: " + std::to_string(node.column) + "\n";
    report += "Reason: ";
    report.append(reason);
    report += "\n\n";
    m_output.write(report);
}

bool ScriptReporter::warning(const ScriptNode& node, std::string_view reason) {
    nodeReport("WARNING: ", node, reason);
    m_warned = true;
    if (++m_warnings > kMaxWarnings) {
        fatal("Too many warnings detected!\n");
        return false;
    }
    return true;
}

void ScriptReporter::error(const ScriptNode& node, std::string_view reason) {
    nodeReport("ERROR: ", node, reason);
    m_syntaxError = true;
}

void ScriptReporter::fatal(std::string_view message) {
    std::string report = "ERROR: ";
    report.append(message);
    report += " File: " + m_path + " \n\n";
    m_output.write(report);
    m_syntaxError = true;
}

} // namespace vexa::script
