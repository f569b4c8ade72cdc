// The work of one search operation, bounded in total and ended early when the user presses
// Escape, so that no pattern and no document can freeze the editor.
#pragma once

#include <cstddef>
#include <cstdint>

#include "regex/RegexProgram.h"

namespace vexa {

class Messenger;

namespace platform {
class Clock;
class KeyState;
} // namespace platform

// What lets the user stop a long search: the time, the pending events (drained before Escape is
// polled, so that its press has been seen) and the key state. Any may be missing; without the
// clock and the keys a search is only bounded in work. Nothing is asked before the first poll,
// so a search that ends soon never touches the events; the key state should report only presses
// that belong to the search (the desktop's search key state drains and watches by itself).
struct SearchInterruption {
    const platform::Clock* clock = nullptr;
    platform::KeyState* keys = nullptr;
    Messenger* events = nullptr;
};

// Counts the work of one operation (a find, a replace all, a script's search, a function scan):
// engine steps and the bytes of the lines looked at. Once the total passes the limit, or Escape
// was pressed, every further request is refused and the operation ends as if nothing was found.
class SearchBudget final : public RegexWorkLimit {
public:
    // About as much work as a few seconds of interpreting.
    static constexpr uint64_t kDefaultLimit = 1'000'000'000;
    // Escape is polled when this much time has passed since the last poll; the clock is read
    // after every kUnitsPerClockRead units, far less than that time's worth of work.
    static constexpr uint64_t kPollIntervalMs = 50;
    static constexpr uint64_t kUnitsPerClockRead = uint64_t{1} << 16;

    explicit SearchBudget(SearchInterruption interruption, uint64_t limit = kDefaultLimit);

    // Counts work; false once the operation must end.
    bool spend(uint64_t units);
    bool proceed(std::size_t steps) override { return spend(steps); }

    [[nodiscard]] bool stopped() const { return m_stopped; }
    // Whether it was Escape that ended the operation.
    [[nodiscard]] bool cancelled() const { return m_cancelled; }
    [[nodiscard]] uint64_t spent() const { return m_spent; }

private:
    void poll();

    SearchInterruption m_interruption;
    uint64_t m_limit;
    uint64_t m_spent = 0;
    uint64_t m_nextClockRead = kUnitsPerClockRead;
    uint64_t m_lastPoll = 0;
    bool m_stopped = false;
    bool m_cancelled = false;
};

} // namespace vexa
