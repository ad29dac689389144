// The production's timeline: ten entries on the music's section boundaries
// (seconds written out, so a wrong beat or tempo shows), meeting exactly,
// none active on a boundary.
#include "prod/Prod.h"

#include "vessara/Drawable.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Vessara;

namespace {

// Ten distinct drawables, registered with a demo that is never run.
std::array<Drawable*, 10> scenes(Demo& demo)
{
    std::array<Drawable*, 10> drawables{};
    for (auto& drawable : drawables)
        drawable = new Drawable(&demo, "Untitled");
    return drawables;
}

}  // namespace

TEST(TimelineTest, EntriesStartOnTheSectionBoundariesAndMeetExactly)
{
    Prod::Prod prod;
    const auto drawables = scenes(prod);
    prod.timeline = Prod::timelineEntries(prod.tempo, drawables);
    ASSERT_EQ(prod.timeline.size(), 10u);
    const float expected[11] = {0.0f,      4.417178f, 16.19632f, 27.97546f, 51.53374f, 75.09203f,
                                98.65031f, 122.2086f, 145.7669f, 169.3251f, 204.6626f};
    for (std::size_t i = 0; i < prod.timeline.size(); ++i) {
        const TimelineEntry& entry = prod.timeline[i];
        EXPECT_NEAR(entry.start, expected[i], 5e-5f) << "entry " << i + 1;
        EXPECT_NEAR(entry.end, expected[i + 1], 5e-5f) << "entry " << i + 1;
        EXPECT_EQ(entry.drawable, drawables[i]);
        if (i > 0) {
            EXPECT_EQ(entry.start, prod.timeline[i - 1].end) << "between entries " << i << " and " << i + 1;
        }
        EXPECT_FALSE(entry.activeAt(entry.start));
        EXPECT_FALSE(entry.activeAt(entry.end));
        EXPECT_TRUE(entry.activeAt(std::nextafter(entry.start, entry.end)));
        EXPECT_TRUE(entry.activeAt(std::nextafter(entry.end, entry.start)));
        EXPECT_TRUE(prod.activeEntries(entry.end).empty()) << "at " << entry.end;
    }
    EXPECT_TRUE(prod.activeEntries(204.6627f).empty());
    EXPECT_TRUE(prod.activeEntries(239.0f).empty());
}

TEST(TimelineTest, TempoChangeRescalesEveryBoundary)
{
    Demo demo;
    const auto drawables = scenes(demo);
    const auto base = Prod::timelineEntries(163.0f, drawables);
    for (float tempo : {120.0f, 326.0f}) {
        const auto scaled = Prod::timelineEntries(tempo, drawables);
        for (std::size_t i = 0; i < base.size(); ++i)
            EXPECT_NEAR(scaled[i].end, base[i].end * 163.0 / tempo, 1e-4 * (1 + base[i].end * 163.0 / tempo));
    }
}
