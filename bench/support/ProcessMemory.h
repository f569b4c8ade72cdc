// The resident size of the benchmark process, read from /proc (Linux).
#pragma once

namespace vexa::bench {

// A field of /proc/self/status in kibibytes ("VmRSS", "VmHWM"); -1 when it cannot be read.
long statusKib(const char* field);

// Starts the peak resident size again from the current size, so that a peak measured around
// an operation is that operation's own.
void resetPeak();

inline double mib(long kib) {
    return static_cast<double>(kib) / 1024.0;
}

} // namespace vexa::bench
