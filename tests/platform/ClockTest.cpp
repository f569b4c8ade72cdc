// The system clock: monotonic ticks and the calendar parts of a moment in a given time zone.
#include "platform/Clock.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>

namespace vexa::platform {
namespace {

// Sets TZ for one test and restores the previous zone afterwards.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone) {
        if (const char* previous = std::getenv("TZ")) {
            m_previous = previous;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard() {
        if (m_previous) {
            setenv("TZ", m_previous->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> m_previous;
};

constexpr int64_t kSecond = 1'000'000'000;

struct MomentCase {
    const char* zone;
    int64_t nanoseconds;
    LocalTime expected;
};

TEST(LocalTimeAt, BreaksMomentsDownInTheZone) {
    const MomentCase kCases[] = {
        {"UTC", 0, {1970, 1, 1, 0, 0, 0, 0, 4, 0}},
        {"UTC", 951868798 * kSecond + 250'000'000, {2000, 2, 29, 23, 59, 58, 250, 2, 59}},
        {"UTC", 1798720496 * kSecond + 999'999'999, {2026, 12, 31, 12, 34, 56, 999, 4, 364}},
        // A moment before the epoch still has a millisecond part counted forwards.
        {"UTC", -1'000'000, {1969, 12, 31, 23, 59, 59, 999, 3, 364}},
        // Two hours east of UTC: the day turns over.
        {"XST-2", 946684799 * kSecond, {2000, 1, 1, 1, 59, 59, 0, 6, 0}},
        {"XST+5", 946684799 * kSecond, {1999, 12, 31, 18, 59, 59, 0, 5, 364}},
    };
    for (const MomentCase& c : kCases) {
        ZoneGuard zone(c.zone);
        EXPECT_EQ(localTimeAt(c.nanoseconds), c.expected) << c.zone << " " << c.nanoseconds;
    }
}

TEST(SystemClock, TicksAdvanceWithRealTimeAndNeverGoBack) {
    SystemClock clock;
    uint64_t first = clock.tickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    uint64_t second = clock.tickCount();
    EXPECT_GE(second - first, 25u);
    EXPECT_LT(second - first, 5000u);
    for (int i = 0; i < 1000; ++i) {
        uint64_t next = clock.tickCount();
        ASSERT_GE(next, second);
        second = next;
    }
}

TEST(SystemClock, LocalTimeIsTheWallClockInTheZone) {
    ZoneGuard zone("XST-3");
    SystemClock clock;
    // Bracketed by the precise wall clock: time() may read a coarse clock a tick behind it.
    const auto wallNanoseconds = [] {
        return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::system_clock::now().time_since_epoch())
                                        .count());
    };
    const int64_t before = wallNanoseconds();
    LocalTime now = clock.localTime();
    const int64_t after = wallNanoseconds();
    LocalTime low = localTimeAt(before);
    LocalTime high = localTimeAt(after);
    auto key = [](const LocalTime& t) {
        return std::make_tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
    };
    EXPECT_LE(key(low), key(now));
    EXPECT_LE(key(now), key(high));
}

} // namespace
} // namespace vexa::platform
