// High-resolution timer on the performance counter.
//
// Use:
//   Timer()            starts now, on the monotonic clock (nanosecond ticks).
//   Timer(source)      starts now, on an injected tick source (tests).
//   elapsed()          seconds since construction.
//   delta()            seconds since the previous delta() (or construction).
// Ticks stay 64-bit integers; differences are taken in ticks and only then
// converted to seconds, so the resolution does not depend on how long the
// machine has been up.
#pragma once

#include <cstdint>

namespace Kestrane {

struct TickSource {
    std::uint64_t (*counter)(void* user);
    std::uint64_t frequency;  // ticks per second
    void* user = nullptr;
};

TickSource performanceCounter();

class Timer {
public:
    Timer();
    explicit Timer(TickSource source);

    float elapsed();
    float delta();

    float lastElapsed = 0.0f;

private:
    std::uint64_t read() const { return source.counter(source.user); }
    float seconds(std::uint64_t from, std::uint64_t to) const;

    TickSource source;
    std::uint64_t startTicks;
    std::uint64_t lastTicks;
};

}  // namespace Kestrane
