// The clock port: a millisecond tick count for intervals and the local time broken down.
#pragma once

#include <cstdint>

namespace vexa::platform {

// A moment of local time in its parts, as a calendar shows it.
struct LocalTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0; // 0..59
    int second = 0; // 0..60 (a leap second)
    int millisecond = 0;
    int dayOfWeek = 4; // 0 = Sunday
    int dayOfYear = 0; // 0..365

    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since an arbitrary fixed start; never goes backwards and, being 64 bits
    // wide, never wraps, so intervals are plain differences.
    [[nodiscard]] virtual uint64_t tickCount() const = 0;

    // The current local time.
    [[nodiscard]] virtual LocalTime localTime() const = 0;
};

// The system clock: the monotonic clock for ticks, the wall clock and time zone for local time.
class SystemClock final : public Clock {
public:
    [[nodiscard]] uint64_t tickCount() const override;
    [[nodiscard]] LocalTime localTime() const override;
};

// The local time of a moment given in nanoseconds since the epoch (such as a file's
// modification time), in the current time zone.
[[nodiscard]] LocalTime localTimeAt(int64_t nanosecondsSinceEpoch);

} // namespace vexa::platform
