// A clock for tests: ticks and local time move only when the test says so (or, when asked, by a
// fixed step at every read of the ticks, for code that waits for time to pass).
#pragma once

#include "platform/Clock.h"

namespace vexa::test {

class FakeClock final : public platform::Clock {
public:
    [[nodiscard]] uint64_t tickCount() const override { return m_ticks += m_stepPerRead; }
    [[nodiscard]] platform::LocalTime localTime() const override { return m_time; }

    void setTicks(uint64_t ticks) { m_ticks = ticks; }
    void advance(uint64_t milliseconds) { m_ticks += milliseconds; }
    void setLocalTime(const platform::LocalTime& time) { m_time = time; }
    void setStepPerRead(uint64_t milliseconds) { m_stepPerRead = milliseconds; }

private:
    mutable uint64_t m_ticks = 0;
    uint64_t m_stepPerRead = 0;
    platform::LocalTime m_time{2026, 1, 2, 3, 4, 5, 6, 5, 1};
};

} // namespace vexa::test
