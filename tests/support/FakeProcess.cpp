// The scripted process slots of the tests.
#include "support/FakeProcess.h"

namespace vexa::test {

platform::SpawnResult FakeChildProcess::start(const platform::ProcessRequest& request) {
    m_world->requests.push_back(request);
    if (m_running) {
        return platform::SpawnResult::Busy;
    }
    FakeRun run;
    if (!m_world->script.empty()) {
        run = m_world->script.front();
        m_world->script.pop_front();
    }
    if (run.result != platform::SpawnResult::Started) {
        return run.result;
    }
    m_running = true;
    m_exitCode.reset();
    m_pollsLeft = run.pollsWhileRunning;
    m_plannedExit = run.exitCode;
    return platform::SpawnResult::Started;
}

bool FakeChildProcess::isRunning() {
    if (!m_running) {
        return false;
    }
    ++m_world->polls;
    if (m_pollsLeft == FakeRun::kUntilEnded) {
        if (!m_world->endedCode) {
            return true;
        }
        m_plannedExit = *m_world->endedCode;
    } else if (m_pollsLeft > 0) {
        --m_pollsLeft;
        return true;
    }
    m_running = false;
    m_exitCode = m_plannedExit;
    return false;
}

bool FakeChildProcess::stop() {
    if (!m_running) {
        return false;
    }
    ++m_world->stops;
    m_running = false;
    m_exitCode = 128 + 15;
    return true;
}

} // namespace vexa::test
