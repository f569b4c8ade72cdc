// The spawner: command lines by tool type, the pipe and PIF files, start and zero-wait polling.
#include "toolchain/Spawner.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/AtomicFile.h"
#include "platform/Environment.h"
#include "platform/Files.h"

namespace vexa::toolchain {
namespace {

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
    std::string text = "#!/bin/sh\n"
                       "# Written by Vexa: starts its command interpreter with \"/C\" and a command line, or\n"
                       "# without arguments for an interactive session: the one beside the editor, else the\n"
                       "# one along PATH.\n";
    if (!companionDirectory.empty()) {
        std::string directory(companionDirectory);
        if (directory.back() != '/') {
            directory.push_back('/');
        }
        const std::string beside = singleQuoted(directory + std::string(kCommandProgram));
        text += "if [ -x " + beside + " ]; then exec " + beside + " \"$@\"; fi\n";
    }
    return text + "exec " + std::string(kCommandProgram) + " \"$@\"\n";
}

Spawner::Spawner(platform::ProcessLauncher& launcher, SpawnerSetup setup)
    : m_process(launcher.create()), m_setup(std::move(setup)), m_runFolder(m_setup.homeDirectory) {}

bool Spawner::writePifFile() {
    const std::string path = pifFilePath();
    const std::string text = pifFileText(m_setup.companionDirectory);
    if (readWholeFile(path) != text && !platform::writeFileAtomically(path, text)) {
        return false;
    }
    return platform::makeExecutable(path);
}

void Spawner::prepare(const ToolRecord& record, const VariableContext& context,
                      const std::vector<std::string>& trailing) {
    std::vector<CommandPiece> pieces;
    if (record.type != ToolType::DosCommandLine) {
        pieces.push_back(CommandPiece{record.program, true});
        pieces.push_back(CommandPiece{" ", false});
    }
    const std::vector<CommandPiece> expanded = expandCommandPieces(record.arguments, kCommandBufferSize, context);
    pieces.insert(pieces.end(), expanded.begin(), expanded.end());
    std::string arguments;
    for (const CommandPiece& piece : expanded) {
        arguments += piece.text;
    }
    // The whole output is the caller's to send: a redirection of the user's own is shell syntax.
    ArgumentVector command = commandArguments(pieces, false);
    command.words.insert(command.words.end(), trailing.begin(), trailing.end());
    const bool interactive = command.words.empty();
    m_arguments.clear();
    if (record.type != ToolType::WindowsProgram) {
        m_arguments.push_back(pifFilePath());
        if (!interactive) {
            m_arguments.push_back("/C");
        }
        (void)writePifFile(); // a missing PIF file shows as the start failure
    }
    m_arguments.insert(m_arguments.end(), command.words.begin(), command.words.end());
    m_title = std::string(programName(record.program)) + " " + arguments;
    // An interactive session has nothing to capture: its output is the user's to see.
    m_outputFile.clear();
    if ((record.captureOutput || record.captureErrors) && !interactive) {
        (void)platform::removeFile(pipeFilePath());
        m_outputFile = pipeFilePath();
    }
    m_commandLine = commandLineOf(ArgumentVector{m_arguments, Redirection{m_outputFile, false, !m_outputFile.empty()}});
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
    request.arguments = m_arguments;
    request.outputFile = m_outputFile;
    request.workingDirectory = m_workingDirectory;
    request.showMode = m_showMode;
    request.title = m_title;
    request.searchPath = childSearchPath(m_setup.companionDirectory);
    m_result = m_process->start(request);
    m_busy = m_result == platform::SpawnResult::Started;
    return m_result;
}

platform::SpawnResult Spawner::prepareAndRun(const ToolRecord& record, const VariableContext& context,
                                             const std::vector<std::string>& trailing) {
    if (!isIdle()) {
        m_result = platform::SpawnResult::Busy;
        return m_result;
    }
    prepare(record, context, trailing);
    return run();
}

bool Spawner::isIdle() {
    if (m_busy && !m_process->isRunning()) {
        m_busy = false;
    }
    return !m_busy;
}

void Spawner::waitUntilIdle() {
    while (!isIdle()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool Spawner::stop() {
    return m_busy && m_process->stop();
}

} // namespace vexa::toolchain
