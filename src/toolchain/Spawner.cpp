// The spawner: command lines by tool type, the pipe and PIF files, start and zero-wait polling.
#include "toolchain/Spawner.h"

#include <fstream>
#include <sstream>

#include "platform/AtomicFile.h"
#include "platform/Environment.h"
#include "platform/Files.h"

namespace vexa::toolchain {
namespace {

// A path with blanks is quoted so that the process port takes it as one word.
std::string asWord(const std::string& path) {
    return path.find_first_of(" \t") == std::string::npos ? path : "\"" + path + "\"";
}

std::string shellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (char ch : text) {
        if (ch == '\'') {
            quoted += "'\\''";
        } else {
            quoted.push_back(ch);
        }
    }
    quoted.push_back('\'');
    return quoted;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string_view programName(std::string_view program) {
    const std::size_t separator = program.find_last_of("/\\");
    return separator == std::string_view::npos ? program : program.substr(separator + 1);
}

} // namespace

std::string childSearchPath(std::string_view companionDirectory) {
    std::string path = platform::environmentVariable("PATH").value_or("/usr/bin:/bin");
    if (companionDirectory.empty()) {
        return path;
    }
    std::string directory(companionDirectory);
    while (directory.size() > 1 && directory.back() == '/') {
        directory.pop_back();
    }
    return path.empty() ? directory : directory + ":" + path;
}

bool isOnChildPath(std::string_view program, std::string_view companionDirectory) {
    return platform::findOnSearchPath(std::string(program), childSearchPath(companionDirectory)).has_value();
}

std::string pifFileText(std::string_view companionDirectory) {
    std::string interpreter(kCommandProgram);
    if (!companionDirectory.empty()) {
        std::string directory(companionDirectory);
        if (directory.back() != '/') {
            directory.push_back('/');
        }
        interpreter = shellQuoted(directory + interpreter);
    }
    return "#!/bin/sh\n"
           "# Written by Vexa: starts its command interpreter with \"/C\" and a command line, or\n"
           "# without arguments for an interactive session.\n"
           "exec " +
           interpreter + " \"$@\"\n";
}

Spawner::Spawner(platform::ProcessLauncher& launcher, SpawnerSetup setup)
    : m_process(launcher.create()), m_setup(std::move(setup)) {}

bool Spawner::writePifFile() {
    const std::string path = pifFilePath();
    const std::string text = pifFileText(m_setup.companionDirectory);
    if (readWholeFile(path) != text && !platform::writeFileAtomically(path, text)) {
        return false;
    }
    return platform::makeExecutable(path);
}

std::string Spawner::pifCommandWord() const {
    return asWord(pifFilePath());
}

void Spawner::prepare(const ToolRecord& record, const VariableContext& context) {
    std::string arguments;
    (void)expandCommand(record.arguments, kCommandBufferSize, context, arguments);
    const std::string stdErr = record.captureErrors ? std::string(kStdErrPrefix) : std::string();
    bool interactive = false;
    switch (record.type) {
    case ToolType::DosCommandLine:
        if (arguments.empty()) {
            m_commandLine = pifCommandWord();
            interactive = true;
        } else {
            m_commandLine = pifCommandWord() + " /C " + stdErr + arguments + " ";
        }
        break;
    case ToolType::WindowsProgram:
        m_commandLine = record.program + " " + stdErr + arguments + " ";
        break;
    case ToolType::DosProgram:
        m_commandLine = pifCommandWord() + " /C " + stdErr + record.program + " " + arguments + " ";
        break;
    }
    if (record.type != ToolType::WindowsProgram) {
        (void)writePifFile(); // a missing PIF file shows as the start failure
    }
    m_title = std::string(programName(record.program)) + " " + arguments;
    // An interactive session has nothing to capture: its output is the user's to see.
    if ((record.captureOutput || record.captureErrors) && !interactive) {
        (void)platform::removeFile(pipeFilePath());
        m_commandLine += " > " + asWord(pipeFilePath());
    }
    m_workingDirectory = record.workingDirectory.empty()
                             ? platform::currentDirectory().value_or(std::string())
                             : record.workingDirectory;
    m_showMode = record.showMode;
}

platform::SpawnResult Spawner::run() {
    if (!isIdle()) {
        m_result = platform::SpawnResult::Busy;
        return m_result;
    }
    platform::ProcessRequest request;
    request.commandLine = m_commandLine;
    request.workingDirectory = m_workingDirectory;
    request.showMode = m_showMode;
    request.title = m_title;
    request.searchPath = childSearchPath(m_setup.companionDirectory);
    m_result = m_process->start(request);
    m_busy = m_result == platform::SpawnResult::Started;
    return m_result;
}

platform::SpawnResult Spawner::prepareAndRun(const ToolRecord& record, const VariableContext& context) {
    if (!isIdle()) {
        m_result = platform::SpawnResult::Busy;
        return m_result;
    }
    prepare(record, context);
    return run();
}

bool Spawner::isIdle() {
    if (m_busy && !m_process->isRunning()) {
        m_busy = false;
    }
    return !m_busy;
}

} // namespace vexa::toolchain
