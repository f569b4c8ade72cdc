// The POSIX processes port: posix_spawn into the working directory, waitpid(WNOHANG) to poll.
#pragma once

#include <chrono>
#include <sys/types.h>

#include "platform/Process.h"

namespace vexa::platform {

// Runs the program itself, without a shell, with the words of the command line as its
// arguments. The program is looked up as the desktop would: a name with a directory part
// relative to the working directory, a bare name along PATH. The child gets its own process
// group (a signal meant for the editor does not reach it) and only the standard streams.
class PosixChildProcess final : public ChildProcess {
public:
    PosixChildProcess() = default;
    // A process still running is left to run, as closing the desktop's handle does.
    ~PosixChildProcess() override;
    PosixChildProcess(const PosixChildProcess&) = delete;
    PosixChildProcess& operator=(const PosixChildProcess&) = delete;

    [[nodiscard]] SpawnResult start(const ProcessRequest& request) override;
    [[nodiscard]] bool isRunning() override;
    bool stop() override;
    [[nodiscard]] std::optional<int> exitCode() const override { return m_exitCode; }

    // The id of the running process, 0 when none runs.
    pid_t processId() const { return m_pid; }

private:
    pid_t m_pid = 0;
    bool m_stopping = false;
    std::chrono::steady_clock::time_point m_stopAsked;
    std::optional<int> m_exitCode;
};

class PosixProcessLauncher final : public ProcessLauncher {
public:
    [[nodiscard]] std::unique_ptr<ChildProcess> create() override {
        return std::make_unique<PosixChildProcess>();
    }
};

} // namespace vexa::platform
