// Running the system's "man" program and reading its output through a pipe.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <sstream>
#include <vector>

#include "platform/Environment.h"
#include "platform/ManualPage.h"

extern char** environ;

namespace vexa::platform {
namespace {

constexpr std::size_t kMaxOutput = 4 * 1024 * 1024;

// The formatted page of one section, or nothing when man found none (or could not run).
std::optional<std::string> runMan(const std::string& program, const std::string& section,
                                  const std::string& name) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    std::vector<std::string> environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        std::string_view text(*entry);
        if (!text.starts_with("MANPAGER=") && !text.starts_with("PAGER=") && !text.starts_with("MANWIDTH=") &&
            !text.starts_with("LC_ALL=")) {
            environment.emplace_back(text);
        }
    }
    environment.emplace_back("MANPAGER=cat");
    environment.emplace_back("PAGER=cat");
    environment.emplace_back("MANWIDTH=80");
    environment.emplace_back("GROFF_NO_SGR=1");
    // Plain ASCII output: the page is shown as the editor shows all text, in its one code page.
    environment.emplace_back("LC_ALL=C");
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    std::string man = "man";
    std::string sectionArgument = section;
    std::string nameArgument = name;
    std::array<char*, 4> argv{man.data(), sectionArgument.data(), nameArgument.data(), nullptr};
    pid_t child = 0;
    int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return std::nullopt;
    }
    std::string output;
    std::array<char, 8192> buffer{};
    while (output.size() < kMaxOutput) {
        ssize_t got = read(pipeEnds[0], buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        output.append(buffer.data(), std::size_t(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || output.empty()) {
        return std::nullopt;
    }
    return output;
}

} // namespace

std::optional<ManualPage> SystemManualPages::find(std::string_view name, std::string_view sections) {
    if (!isManualPageName(name)) {
        return std::nullopt;
    }
    std::optional<std::string> program = findOnPath("man");
    if (!program) {
        return std::nullopt;
    }
    std::istringstream words{std::string(sections)};
    std::string section;
    while (words >> section) {
        if (!isManualPageName(section)) {
            continue;
        }
        if (auto output = runMan(*program, section, std::string(name))) {
            return ManualPage{section, plainManualText(*output)};
        }
    }
    return std::nullopt;
}

} // namespace vexa::platform
