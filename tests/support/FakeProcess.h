// Process slots for tests: every start is recorded and answered from a script, and a started
// process runs for a scripted number of polls.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Process.h"

namespace vexa::test {

// How the next start goes.
struct FakeRun {
    platform::SpawnResult result = platform::SpawnResult::Started;
    // Polls that still find the process running; kUntilEnded runs it until endAll().
    int pollsWhileRunning = 0;
    int exitCode = 0;

    static constexpr int kUntilEnded = -1;
};

// The state shared by a launcher and the slots it made.
struct FakeProcessWorld {
    std::deque<FakeRun> script;                     // taken by starts; empty: started, ends at the first poll
    std::vector<platform::ProcessRequest> requests; // every start asked for, refused ones too
    int polls = 0;
    int stops = 0; // stops that found a process running
    std::optional<int> endedCode; // set by endAll(): every run-until-ended process ends so
};

class FakeChildProcess final : public platform::ChildProcess {
public:
    explicit FakeChildProcess(std::shared_ptr<FakeProcessWorld> world) : m_world(std::move(world)) {}

    [[nodiscard]] platform::SpawnResult start(const platform::ProcessRequest& request) override;
    [[nodiscard]] bool isRunning() override;
    // A running process ends at once as if by the end signal.
    bool stop() override;
    [[nodiscard]] std::optional<int> exitCode() const override { return m_exitCode; }

private:
    std::shared_ptr<FakeProcessWorld> m_world;
    bool m_running = false;
    int m_pollsLeft = 0;
    int m_plannedExit = 0;
    std::optional<int> m_exitCode;
};

class FakeProcessLauncher final : public platform::ProcessLauncher {
public:
    [[nodiscard]] std::unique_ptr<platform::ChildProcess> create() override {
        return std::make_unique<FakeChildProcess>(m_world);
    }

    void scriptNext(FakeRun run) { m_world->script.push_back(run); }
    void endAll(int exitCode) { m_world->endedCode = exitCode; }
    const std::vector<platform::ProcessRequest>& requests() const { return m_world->requests; }
    int polls() const { return m_world->polls; }
    int stops() const { return m_world->stops; }
    std::size_t unusedRuns() const { return m_world->script.size(); }

private:
    std::shared_ptr<FakeProcessWorld> m_world = std::make_shared<FakeProcessWorld>();
};

} // namespace vexa::test
