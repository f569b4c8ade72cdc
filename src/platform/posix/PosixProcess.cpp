// The POSIX child process: program lookup with the spawner's result codes, spawn, zero-wait poll.
#include "platform/posix/PosixProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/Environment.h"
#include "platform/Files.h"

extern char** environ;

namespace vexa::platform {
namespace {

struct Resolved {
    SpawnResult result = SpawnResult::Failed;
    std::string path;
};

// Classifies a program path that names a directory part explicitly.
Resolved checkProgramPath(const std::string& path) {
    std::string directory(directoryPart(path));
    if (!directory.empty() && !isDirectory(directory)) {
        return {SpawnResult::PathNotFound, {}};
    }
    auto info = fileInfo(path);
    if (!info) {
        return {SpawnResult::FileNotFound, {}};
    }
    if (info->kind != FileKind::Regular || !canAccess(path, Access::Execute)) {
        return {SpawnResult::Failed, {}};
    }
    return {SpawnResult::Started, path};
}

Resolved resolveProgram(const std::string& program, const std::string& workingDirectory,
                        const std::string& searchPath) {
    if (program.empty()) {
        return {SpawnResult::FileNotFound, {}};
    }
    if (program.find('/') != std::string::npos) {
        return checkProgramPath(fullPathFrom(workingDirectory, program));
    }
    // A bare name is looked for along PATH only, never in the working directory: a file
    // lying beside a source file must not be taken for the compiler.
    auto found = searchPath.empty() ? findOnPath(program) : findOnSearchPath(program, searchPath);
    if (!found) {
        return {SpawnResult::FileNotFound, {}};
    }
    return {SpawnResult::Started, *found};
}

SpawnResult resultOfErrno(int error) {
    switch (error) {
    case ENOENT:
        return SpawnResult::FileNotFound;
    case ENOTDIR:
        return SpawnResult::PathNotFound;
    default:
        return SpawnResult::Failed;
    }
}

// The spawn attributes and file actions, released on every way out.
class SpawnSetup {
public:
    SpawnSetup() {
        m_attrOk = posix_spawnattr_init(&m_attr) == 0;
        m_actionsOk = posix_spawn_file_actions_init(&m_actions) == 0;
    }
    ~SpawnSetup() {
        if (m_attrOk) {
            posix_spawnattr_destroy(&m_attr);
        }
        if (m_actionsOk) {
            posix_spawn_file_actions_destroy(&m_actions);
        }
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool prepare(const std::string& workingDirectory, const std::string& outputFile) {
        if (!m_attrOk || !m_actionsOk) {
            return false;
        }
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        // A fresh process group, default signal handling and an empty signal mask: the child
        // starts as from a new console, whatever the editor has blocked or ignored.
        short flags = POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        return posix_spawnattr_setflags(&m_attr, flags) == 0 && posix_spawnattr_setpgroup(&m_attr, 0) == 0 &&
               posix_spawnattr_setsigmask(&m_attr, &none) == 0 &&
               posix_spawnattr_setsigdefault(&m_attr, &all) == 0 &&
               posix_spawn_file_actions_addchdir_np(&m_actions, workingDirectory.c_str()) == 0 &&
               redirect(outputFile) && closeInheritedDescriptors();
    }

    posix_spawnattr_t* attr() { return &m_attr; }

    // Standard input is empty: a child waiting for input ends at once instead of reading the
    // editor's terminal. The output file is opened after the change of directory, so a relative
    // name is the working directory's.
    bool redirect(const std::string& outputFile) {
        if (posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) != 0) {
            return false;
        }
        if (outputFile.empty()) {
            return true;
        }
        return posix_spawn_file_actions_addopen(&m_actions, STDOUT_FILENO, outputFile.c_str(),
                                                O_WRONLY | O_CREAT | O_TRUNC, 0666) == 0 &&
               posix_spawn_file_actions_adddup2(&m_actions, STDOUT_FILENO, STDERR_FILENO) == 0;
    }

    // Descriptors the editor opened without close-on-exec must not leak into the child.
    // Older C libraries lack the action; there every descriptor of ours is close-on-exec.
    bool closeInheritedDescriptors() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        return posix_spawn_file_actions_addclosefrom_np(&m_actions, 3) == 0;
#else
        return true;
#endif
    }
    posix_spawn_file_actions_t* actions() {
        return &m_actions;
    }

private:
    posix_spawnattr_t m_attr{};
    posix_spawn_file_actions_t m_actions{};
    bool m_attrOk = false;
    bool m_actionsOk = false;
};

} // namespace

PosixChildProcess::~PosixChildProcess() {
    if (m_pid > 0) {
        // Collect it if it has just ended; otherwise it runs on by itself.
        int status = 0;
        (void)::waitpid(m_pid, &status, WNOHANG);
    }
}

SpawnResult PosixChildProcess::start(const ProcessRequest& request) {
    if (isRunning()) {
        return SpawnResult::Busy;
    }
    m_exitCode.reset();

    std::string workingDirectory = request.workingDirectory;
    if (workingDirectory.empty()) {
        workingDirectory = currentDirectory().value_or(std::string());
    } else {
        auto full = fullPath(workingDirectory);
        workingDirectory = full.value_or(std::string());
    }
    if (workingDirectory.empty() || !isDirectory(workingDirectory)) {
        return SpawnResult::DirectoryNotFound;
    }

    std::vector<std::string> words =
        request.arguments.empty() ? splitCommandLine(request.commandLine) : request.arguments;
    if (words.empty()) {
        return SpawnResult::Failed;
    }
    Resolved program = resolveProgram(words.front(), workingDirectory, request.searchPath);
    if (program.result != SpawnResult::Started) {
        return program.result;
    }

    SpawnSetup setup;
    if (!setup.prepare(workingDirectory, request.outputFile)) {
        return SpawnResult::Failed;
    }
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    // The child's environment: the editor's, with PATH replaced when the request gives one.
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (request.searchPath.empty() || std::string_view(*entry).substr(0, 5) != "PATH=") {
            environment.emplace_back(*entry);
        }
    }
    if (!request.searchPath.empty()) {
        environment.push_back("PATH=" + request.searchPath);
    }
    std::vector<char*> envp;
    envp.reserve(environment.size() + 1);
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    pid_t pid = 0;
    int error =
        posix_spawn(&pid, program.path.c_str(), setup.actions(), setup.attr(), argv.data(), envp.data());
    if (error != 0) {
        return resultOfErrno(error);
    }
    m_pid = pid;
    m_stopping = false;
    return SpawnResult::Started;
}

namespace {
constexpr std::chrono::milliseconds kStopGrace{200};
} // namespace

bool PosixChildProcess::stop() {
    if (!isRunning()) {
        return false;
    }
    // The child leads its own group: the signal reaches what it started too (make's compilers).
    (void)::kill(-m_pid, SIGTERM);
    m_stopping = true;
    m_stopAsked = std::chrono::steady_clock::now();
    return true;
}

bool PosixChildProcess::isRunning() {
    if (m_pid <= 0) {
        return false;
    }
    int status = 0;
    pid_t done = ::waitpid(m_pid, &status, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR)) {
        // Asked to end a while ago and still there: ignoring the request does not keep it alive.
        // The while lets a group that heeds the request end by it.
        if (m_stopping && std::chrono::steady_clock::now() - m_stopAsked >= kStopGrace) {
            (void)::kill(-m_pid, SIGKILL);
        }
        return true;
    }
    if (done == m_pid) {
        if (WIFEXITED(status)) {
            m_exitCode = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            m_exitCode = 128 + WTERMSIG(status);
        }
    }
    // Also when someone else collected it (the end is then unknown).
    m_pid = 0;
    return false;
}

} // namespace vexa::platform
