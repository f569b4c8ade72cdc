// The work bound and Escape polling of one search operation.
#include "search/SearchBudget.h"

#include "core/Messenger.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"

namespace vexa {

SearchBudget::SearchBudget(SearchInterruption interruption, uint64_t limit)
    : m_interruption(interruption), m_limit(limit) {
    if (m_interruption.clock != nullptr) {
        m_lastPoll = m_interruption.clock->tickCount();
    }
}

bool SearchBudget::spend(uint64_t units) {
    if (m_stopped) {
        return false;
    }
    m_spent += units;
    if (m_spent > m_limit) {
        m_stopped = true;
        return false;
    }
    if (m_spent >= m_nextClockRead) {
        m_nextClockRead = m_spent + kUnitsPerClockRead;
        poll();
    }
    return !m_stopped;
}

void SearchBudget::poll() {
    if (m_interruption.clock == nullptr || m_interruption.keys == nullptr) {
        return;
    }
    const uint64_t now = m_interruption.clock->tickCount();
    if (now - m_lastPoll < kPollIntervalMs) {
        return;
    }
    m_lastPoll = now;
    if (m_interruption.events != nullptr) {
        m_interruption.events->drainEvents();
    }
    if (m_interruption.keys->wasPressed(platform::kKeyEscape)) {
        m_stopped = true;
        m_cancelled = true;
    }
}

} // namespace vexa
