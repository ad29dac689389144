#include "kestrane/Timer.h"

#include <gtest/gtest.h>

using namespace Kestrane;

namespace {

// A counter the test moves by hand.
struct FakeCounter {
    std::uint64_t ticks;
    static std::uint64_t read(void* self) { return static_cast<FakeCounter*>(self)->ticks; }
    TickSource source(std::uint64_t frequency) { return TickSource{read, frequency, this}; }
};

}  // namespace

TEST(TimerTest, KeepsMicrosecondResolutionAfterLongUptime)
{
    // 10 MHz counter, machine up for 400 days: a float of the absolute time
    // would step in units of 4 seconds here.
    constexpr std::uint64_t frequency = 10'000'000;
    FakeCounter counter{400ull * 24 * 3600 * frequency};
    Timer timer(counter.source(frequency));

    counter.ticks += 10;  // 1 microsecond
    EXPECT_NEAR(timer.delta(), 1e-6f, 1e-9f);
    counter.ticks += 166'667;  // one 60 Hz frame
    EXPECT_NEAR(timer.delta(), 0.0166667f, 1e-7f);
    EXPECT_NEAR(timer.elapsed(), 0.0166677f, 1e-7f);
    EXPECT_FLOAT_EQ(timer.lastElapsed, timer.elapsed());
}

TEST(TimerTest, DeltaMeasuresFromConstructionThenFromPreviousCall)
{
    constexpr std::uint64_t frequency = 1'000'000'000;  // nanosecond counter
    FakeCounter counter{~std::uint64_t(0) - 5 * frequency};  // near the top of the range
    Timer timer(counter.source(frequency));

    counter.ticks += 2 * frequency;
    EXPECT_FLOAT_EQ(timer.delta(), 2.0f);
    EXPECT_FLOAT_EQ(timer.delta(), 0.0f);  // no time passed between the calls
    counter.ticks += frequency / 4;
    EXPECT_FLOAT_EQ(timer.delta(), 0.25f);
    EXPECT_FLOAT_EQ(timer.elapsed(), 2.25f);

    // elapsed() does not disturb delta().
    counter.ticks += frequency;
    EXPECT_FLOAT_EQ(timer.elapsed(), 3.25f);
    EXPECT_FLOAT_EQ(timer.delta(), 1.0f);

    // A counter going back to before the start reads as no time.
    counter.ticks -= 4 * frequency;
    EXPECT_EQ(timer.delta(), 0.0f);
    EXPECT_EQ(timer.elapsed(), 0.0f);
}
