// The POSIX clock: the monotonic and real-time clocks (clock_gettime beneath the standard
// clocks) for ticks and wall time, localtime_r for the calendar parts.
#include "platform/Clock.h"

#include <chrono>
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
    auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

LocalTime SystemClock::localTime() const {
    auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return localTimeAt(std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count());
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
