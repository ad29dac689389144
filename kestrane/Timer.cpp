#include "kestrane/Timer.h"

#include <chrono>

namespace Kestrane {

namespace {
// The monotonic clock in nanoseconds: the same on the desktop and in the
// browser, where it follows performance.now().
std::uint64_t readPerformanceCounter(void*)
{
    return std::uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count());
}
}  // namespace

TickSource performanceCounter()
{
    return TickSource{readPerformanceCounter, 1000000000u, nullptr};
}

Timer::Timer() : Timer(performanceCounter()) {}

Timer::Timer(TickSource tickSource) : source(tickSource)
{
    if (source.frequency == 0)
        source.frequency = 1;
    startTicks = lastTicks = read();
}

float Timer::seconds(std::uint64_t from, std::uint64_t to) const
{
    // A counter that steps back (it should not) reads as no time passing.
    if (to <= from)
        return 0.0f;
    const std::uint64_t ticks = to - from;
    const std::uint64_t whole = ticks / source.frequency;
    const std::uint64_t rest = ticks % source.frequency;
    return static_cast<float>(static_cast<double>(whole) +
                              static_cast<double>(rest) / static_cast<double>(source.frequency));
}

float Timer::elapsed()
{
    lastElapsed = seconds(startTicks, read());
    return lastElapsed;
}

float Timer::delta()
{
    const std::uint64_t now = read();
    const float result = seconds(lastTicks, now);
    lastTicks = now;
    return result;
}

}  // namespace Kestrane
