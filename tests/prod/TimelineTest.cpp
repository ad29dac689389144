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

TEST(TimelineTest, BoundariesAt163BeatsPerMinute)
{
    Demo demo;
    const auto drawables = scenes(demo);
    const auto entries = Prod::timelineEntries(163.0f, drawables);
    ASSERT_EQ(entries.size(), 10u);

    const float expected[11] = {0.0f,     4.417178f, 16.19632f, 27.97546f, 51.53374f, 75.09203f,
                                98.65031f, 122.2086f, 145.7669f, 169.3251f, 204.6626f};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_NEAR(entries[i].start, expected[i], 5e-5f) << "entry " << i + 1;
        EXPECT_NEAR(entries[i].end, expected[i + 1], 5e-5f) << "entry " << i + 1;
        EXPECT_EQ(entries[i].drawable, drawables[i]);
    }
    EXPECT_EQ(entries.front().start, 0.0f);
    EXPECT_EQ(entries.back().end, float(556.0 * 60.0 / 163.0));
    EXPECT_NEAR(entries.back().end, 204.6626f, 1e-4f);
}

TEST(TimelineTest, ConsecutiveEntriesMeetExactly)
{
    Demo demo;
    const auto entries = Prod::timelineEntries(163.0f, scenes(demo));
    for (std::size_t i = 1; i < entries.size(); ++i)
        EXPECT_EQ(entries[i].start, entries[i - 1].end) << "between entries " << i << " and " << i + 1;
}

TEST(TimelineTest, EntriesInactiveAtTheirBoundariesAndExactlyOneActiveBetween)
{
    Prod::Prod prod;
    prod.timeline = Prod::timelineEntries(prod.tempo, scenes(prod));

    for (const TimelineEntry& entry : prod.timeline) {
        EXPECT_FALSE(entry.activeAt(entry.start));
        EXPECT_FALSE(entry.activeAt(entry.end));
        EXPECT_TRUE(entry.activeAt(std::nextafter(entry.start, entry.end)));
        EXPECT_TRUE(entry.activeAt(std::nextafter(entry.end, entry.start)));
        EXPECT_TRUE(prod.activeEntries(entry.end).empty()) << "at " << entry.end;
    }
    EXPECT_TRUE(prod.activeEntries(16.19632f).empty());
    EXPECT_TRUE(prod.activeEntries(0.0f).empty());

    // No gap: every time strictly between boundaries shows exactly one entry.
    for (float t = 0.001f; t < 204.66f; t += 0.0137f) {
        bool boundary = false;
        for (const TimelineEntry& entry : prod.timeline)
            boundary = boundary || t == entry.start || t == entry.end;
        if (!boundary) {
            ASSERT_EQ(prod.activeEntries(t).size(), 1u) << "at " << t;
        }
    }
    EXPECT_TRUE(prod.activeEntries(204.6627f).empty());
    EXPECT_TRUE(prod.activeEntries(239.0f).empty());
}

TEST(TimelineTest, TempoChangeRescalesEveryBoundary)
{
    Demo demo;
    const auto drawables = scenes(demo);
    const auto base = Prod::timelineEntries(163.0f, drawables);
    for (float tempo : {120.0f, 326.0f, 81.5f}) {
        const auto scaled = Prod::timelineEntries(tempo, drawables);
        const double ratio = 163.0 / tempo;
        for (std::size_t i = 0; i < base.size(); ++i) {
            EXPECT_NEAR(scaled[i].start, base[i].start * ratio, 1e-4 * (1 + base[i].start * ratio));
            EXPECT_NEAR(scaled[i].end, base[i].end * ratio, 1e-4 * (1 + base[i].end * ratio));
            if (i > 0) {
                EXPECT_EQ(scaled[i].start, scaled[i - 1].end);
            }
        }
        EXPECT_FLOAT_EQ(scaled.back().end, float(556.0 * 60.0 / tempo));
    }
}

TEST(ProdTest, SettingsOfBothDeliverables)
{
    Prod::Prod standard;
    EXPECT_EQ(standard.tempo, 163.0f);
    EXPECT_EQ(standard.musicPath, "data/music.mp3");
    EXPECT_EQ(standard.startOffset, 0.0f);
    EXPECT_TRUE(standard.fullscreen);
    EXPECT_EQ(standard.width, 800);
    EXPECT_EQ(standard.height, 600);
    EXPECT_EQ(standard.endTime, 240.0f);
    EXPECT_EQ(standard.depthBits, 24);
    EXPECT_EQ(standard.stencilBits, 8);
    EXPECT_EQ(standard.samples, 0);
    EXPECT_EQ(standard.pixelType, 0);
    EXPECT_EQ((std::array<int, 4>{standard.viewportX, standard.viewportY, standard.viewportWidth,
                                  standard.viewportHeight}),
              (std::array<int, 4>{0, 0, 800, 600}));

    Prod::Prod wide(true);
    EXPECT_EQ((std::array<int, 4>{wide.viewportX, wide.viewportY, wide.viewportWidth, wide.viewportHeight}),
              (std::array<int, 4>{0, 75, 800, 450}));
}
