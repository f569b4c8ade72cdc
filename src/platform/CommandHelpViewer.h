// The help viewer as a configurable external command.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/HelpViewer.h"
#include "platform/Process.h"

namespace vexa::platform {

// Runs a command line template in which %f stands for the help file, %k for the keyword and
// %% for a percent sign. The template is split into words first and the values are put into
// the words, so a file name or keyword with blanks or quotes stays one argument and can
// never add arguments of its own. The viewer runs on its own; the editor does not wait.
class CommandHelpViewer final : public HelpViewer {
public:
    // Opens the file with the desktop's handler for its type; the keyword is not passed.
    static constexpr const char* kDefaultCommand = "xdg-open %f";

    CommandHelpViewer(std::string commandTemplate, ProcessLauncher& launcher)
        : m_template(std::move(commandTemplate)), m_launcher(launcher) {}

    [[nodiscard]] bool showKeyword(const std::string& helpFile, const std::string& keyword) override;

    void setCommandTemplate(std::string commandTemplate) { m_template = std::move(commandTemplate); }

    // The command line for a file and keyword; empty when the template has no program.
    [[nodiscard]] std::string commandLineFor(const std::string& helpFile, const std::string& keyword) const;

private:
    std::string m_template;
    ProcessLauncher& m_launcher;
    // Viewers started and not yet seen to end; polled and dropped at the next start.
    std::vector<std::unique_ptr<ChildProcess>> m_running;
};

} // namespace vexa::platform
