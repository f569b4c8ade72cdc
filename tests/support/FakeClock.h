// A clock for tests: ticks and local time move only when the test says so.
#pragma once

#include "platform/Clock.h"

namespace vexa::test {

class FakeClock final : public platform::Clock {
public:
    [[nodiscard]] uint64_t tickCount() const override { return m_ticks; }
    [[nodiscard]] platform::LocalTime localTime() const override { return m_time; }

    void setTicks(uint64_t ticks) { m_ticks = ticks; }
    void advance(uint64_t milliseconds) { m_ticks += milliseconds; }
    void setLocalTime(const platform::LocalTime& time) { m_time = time; }

private:
    uint64_t m_ticks = 0;
    platform::LocalTime m_time{2026, 1, 2, 3, 4, 5, 6, 5, 1};
};

} // namespace vexa::test
