// The POSIX clock: clock_gettime for ticks and wall time, localtime_r for the calendar parts.
#include "platform/Clock.h"

#include <ctime>

namespace vexa::platform {
namespace {

LocalTime breakDown(std::time_t seconds, int millisecond) {
    std::tm parts{};
    if (::localtime_r(&seconds, &parts) == nullptr) {
        return LocalTime{};
    }
    LocalTime time;
    time.year = parts.tm_year + 1900;
    time.month = parts.tm_mon + 1;
    time.day = parts.tm_mday;
    time.hour = parts.tm_hour;
    time.minute = parts.tm_min;
    time.second = parts.tm_sec;
    time.millisecond = millisecond;
    time.dayOfWeek = parts.tm_wday;
    time.dayOfYear = parts.tm_yday;
    return time;
}

} // namespace

uint64_t SystemClock::tickCount() const {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec / 1'000'000);
}

LocalTime SystemClock::localTime() const {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return breakDown(now.tv_sec, static_cast<int>(now.tv_nsec / 1'000'000));
}

LocalTime localTimeAt(int64_t nanosecondsSinceEpoch) {
    // Floor division, so a moment before the epoch keeps a non-negative millisecond part.
    int64_t seconds = nanosecondsSinceEpoch / 1'000'000'000;
    int64_t rest = nanosecondsSinceEpoch % 1'000'000'000;
    if (rest < 0) {
        rest += 1'000'000'000;
        --seconds;
    }
    return breakDown(static_cast<std::time_t>(seconds), static_cast<int>(rest / 1'000'000));
}

} // namespace vexa::platform
