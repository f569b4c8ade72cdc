// vCommand: the editor's command interpreter. "vCommand /C program arguments..." starts the
// program with exactly these arguments, or reads a batch file line by line when the program names
// one (its further arguments are the batch file's %1, %2 ...); without arguments it reads lines
// from its input. No line or word ever passes through a shell.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "toolchain/BatchInterpreter.h"

extern char** environ;

namespace {

// The file actions of one start, released on every way out.
class FileActions {
public:
    FileActions() { m_ok = posix_spawn_file_actions_init(&m_actions) == 0; }
    ~FileActions() {
        if (m_ok) {
            posix_spawn_file_actions_destroy(&m_actions);
        }
    }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;

    bool redirect(const vexa::toolchain::Redirection& redirection) {
        if (!m_ok) {
            return false;
        }
        if (!redirection.file.empty()) {
            const int flags = O_WRONLY | O_CREAT | (redirection.append ? O_APPEND : O_TRUNC);
            if (posix_spawn_file_actions_addopen(&m_actions, STDOUT_FILENO, redirection.file.c_str(), flags,
                                                 0666) != 0) {
                return false;
            }
        }
        return !redirection.joinErrors ||
               posix_spawn_file_actions_adddup2(&m_actions, STDOUT_FILENO, STDERR_FILENO) == 0;
    }
    posix_spawn_file_actions_t* get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions{};
    bool m_ok = false;
};

class DirectHost final : public vexa::toolchain::BatchHost {
public:
    int runCommand(const vexa::toolchain::ArgumentVector& command) override {
        std::cout.flush();
        std::vector<std::string> words = command.words;
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        FileActions actions;
        if (!actions.redirect(command.redirection)) {
            std::cerr << "vCommand: cannot prepare the output redirection" << std::endl;
            return 1;
        }
        pid_t pid = 0;
        const int error = posix_spawnp(&pid, argv[0], actions.get(), nullptr, argv.data(), environ);
        if (error != 0) {
            // Said where the command's own output would have gone, so the output window shows it.
            std::string message = "vCommand: error: the program '" + words.front() +
                                  "' could not be started: " + std::strerror(error) + "\n";
            writeFailure(command.redirection, message);
            return error == ENOENT ? 127 : 126;
        }
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0) {
            if (errno != EINTR) {
                return 1;
            }
        }
        if (WIFEXITED(status)) {
            return WEXITSTATUS(status);
        }
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 1;
    }
    void pause() override {
        std::cout << "Press any key to continue . . ." << std::endl;
        std::string ignored;
        std::getline(std::cin, ignored);
    }
    void echo(const std::string& line) override { std::cout << line << std::endl; }

private:
    static void writeFailure(const vexa::toolchain::Redirection& redirection, const std::string& message) {
        if (redirection.file.empty()) {
            std::cout << message << std::flush;
            return;
        }
        std::ofstream out(redirection.file, redirection.append ? std::ios::app : std::ios::trunc);
        out << message;
    }
};

} // namespace

int main(int argc, char** argv) {
    DirectHost host;
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        return vexa::toolchain::runBatch(std::cin, host);
    }
    if (words.front() == "/C" || words.front() == "/c") {
        words.erase(words.begin());
    }
    if (words.empty()) {
        return 0;
    }
    if (vexa::toolchain::isBatchFileName(words.front())) {
        std::ifstream lines(words.front(), std::ios::binary);
        if (!lines) {
            std::cerr << "vCommand: cannot read the batch file '" << words.front() << "'" << std::endl;
            return 1;
        }
        const std::vector<std::string> parameters(words.begin() + 1, words.end());
        return vexa::toolchain::runBatch(lines, host, parameters);
    }
    vexa::toolchain::ArgumentVector command;
    command.words = std::move(words);
    return host.runCommand(command);
}
