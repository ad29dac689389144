#include <epoxy/gl.h>

#include "support/GLTest.h"

#include "vessara/Demo.h"
#include "vessara/Drawable.h"
#include "vessara/MusicClock.h"

#include <SDL.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

using namespace Vessara;

namespace {

// Records what the runtime asks of it; compose() fills the current viewport
// with its colour, so the test can see where the picture went.
class Probe : public Drawable {
public:
    Probe(Demo* demo, uint8_t shade) : Drawable(demo, "Probe"), shade(shade) {}

    void frameStep(float start, float duration) override
    {
        Drawable::frameStep(start, duration);
        steps.push_back({*time, localTime, progress});
        // As a scene may: leave something on the screen for the runtime to
        // clear before it composes.
        if (dirtiesScreen) {
            glClearColor(1, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    void compose() override
    {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        composedViewports.push_back({viewport[0], viewport[1], viewport[2], viewport[3]});
        glEnable(GL_SCISSOR_TEST);
        glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
        glClearColor(shade / 255.0f, shade / 255.0f, shade / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }

    struct Step {
        float time, localTime, progress;
    };
    std::vector<Step> steps;
    std::vector<std::array<int, 4>> composedViewports;
    uint8_t shade;
    bool dirtiesScreen = false;
};

class DemoFrameTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        demo.context = &testContext();
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    Demo demo;
};

}  // namespace

TEST_F(DemoFrameTest, EntriesAreActiveStrictlyInsideTheirInterval)
{
    auto* a = new Probe(&demo, 100);
    auto* b = new Probe(&demo, 200);
    demo.timeline = {{0.0f, 2.0f, a}, {2.0f, 4.0f, b}};

    for (float t : {0.0f, 2.0f, 4.0f, 5.0f})
        demo.renderFrame(t, 0.01f, nullptr);
    EXPECT_TRUE(a->steps.empty());
    EXPECT_TRUE(b->steps.empty());

    demo.renderFrame(0.5f, 0.01f, nullptr);
    demo.renderFrame(std::nextafter(2.0f, 0.0f), 0.01f, nullptr);
    demo.renderFrame(3.0f, 0.01f, nullptr);
    ASSERT_EQ(a->steps.size(), 2u);
    ASSERT_EQ(b->steps.size(), 1u);
    EXPECT_FLOAT_EQ(a->steps[0].localTime, 0.5f);
    EXPECT_FLOAT_EQ(a->steps[0].progress, 0.25f);
    EXPECT_FLOAT_EQ(b->steps[0].localTime, 1.0f);
    EXPECT_FLOAT_EQ(b->steps[0].progress, 0.5f);
    EXPECT_FLOAT_EQ(demo.time, 3.0f);
    EXPECT_FLOAT_EQ(demo.frameDelta, 0.01f);

    EXPECT_EQ(demo.activeEntries(2.0f), std::vector<std::size_t>{});
    EXPECT_EQ(demo.activeEntries(3.0f), std::vector<std::size_t>{1});
}

TEST_F(DemoFrameTest, LastActiveEntryWins)
{
    auto* under = new Probe(&demo, 80);
    auto* over = new Probe(&demo, 240);
    demo.timeline = {{0.0f, 10.0f, under}, {5.0f, 10.0f, over}};

    demo.renderFrame(6.0f, 0.0f, nullptr);
    EXPECT_EQ(readPixel(400, 300).r, 240);
    demo.renderFrame(1.0f, 0.0f, nullptr);
    EXPECT_EQ(readPixel(0, 0).r, 80);
    EXPECT_EQ(readPixel(799, 599).r, 80);
}

// The 800 x 600 screen (and vessara-wide's 800 x 450 viewport in it) scaled
// into windows of other sizes: aspect kept, centred, bars black. Each size
// gets a window and context of its own; the test context is current again
// afterwards.
TEST_F(DemoFrameTest, PictureScalesIntoAnyWindowKeepingItsAspect)
{
    struct Case {
        int windowWidth, windowHeight;
        bool wide;
        std::array<int, 4> picture;  // x, y, width, height in GL window coordinates
    };
    const Case cases[] = {
        {800, 600, true, {0, 75, 800, 450}},      // the mode switch: the viewport itself
        {1280, 720, false, {160, 0, 960, 720}},   // a 16:9 desktop: pillar-boxed
        {1280, 720, true, {160, 90, 960, 540}},
        {1000, 400, false, {233, 0, 534, 400}},   // a wide window: scale 2/3, bars 233 and 233
        {500, 700, false, {0, 163, 500, 375}},    // a tall window: bars 163 and 162
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.windowWidth) + "x" + std::to_string(c.windowHeight) +
                     (c.wide ? " wide" : ""));
        auto* context = new Kestrane::Context(c.windowWidth, c.windowHeight, 24, 8, 0, 0);
        Demo scaled;
        scaled.context = context;
        if (c.wide) {
            scaled.viewportY = 75;
            scaled.viewportHeight = 450;
        }
        auto* probe = new Probe(&scaled, 200);
        probe->dirtiesScreen = true;
        scaled.timeline = {{0.0f, 10.0f, probe}};
        scaled.renderFrame(1.0f, 0.0f, nullptr);

        ASSERT_EQ(probe->composedViewports.size(), 1u);
        EXPECT_EQ(probe->composedViewports[0], c.picture);
        const auto [x, y, w, h] = c.picture;
        // The picture's corners and centre, then one pixel past each edge
        // where the window has room: the bars are black.
        for (auto [px, py] : {std::pair{x, y}, {x + w - 1, y + h - 1}, {x + w / 2, y + h / 2}})
            EXPECT_EQ(readPixel(px, py).r, 200) << px << "," << py;
        const int middleX = x + w / 2, middleY = y + h / 2;
        for (auto [px, py] : {std::pair{x - 1, middleY}, {x + w, middleY}, {middleX, y - 1}, {middleX, y + h}}) {
            if (px < 0 || py < 0 || px >= c.windowWidth || py >= c.windowHeight)
                continue;
            const Rgba8 bar = readPixel(px, py);
            EXPECT_EQ(bar.r | bar.g | bar.b, 0) << "bar at " << px << "," << py;
        }
    }
    Kestrane::Context::current = &testContext();
    GLTest::SetUp();
}

// Nothing active (before the first entry, on an exact boundary, after the
// last): whatever the back buffer held, the window is presented black.
TEST_F(DemoFrameTest, WindowIsBlackWhereNoEntryIsActive)
{
    auto* a = new Probe(&demo, 100);
    auto* b = new Probe(&demo, 200);
    demo.timeline = {{1.0f, 2.0f, a}, {2.0f, 3.0f, b}};
    for (float t : {0.0f, 2.0f, 3.5f}) {
        SCOPED_TRACE(t);
        demo.renderFrame(1.5f, 0.01f, nullptr);
        ASSERT_EQ(readPixel(400, 300).r, 100);
        demo.renderFrame(t, 0.01f, nullptr);
        for (auto [x, y] : {std::pair{0, 0}, {400, 300}, {799, 599}}) {
            const Rgba8 pixel = readPixel(x, y);
            EXPECT_EQ(pixel.r | pixel.g | pixel.b, 0) << x << "," << y;
        }
    }
}

// The loop stops at the first frame past both the last entry and the music
// (a clock with no music counts as finished), and at endTime at the latest.
TEST_F(DemoFrameTest, FrameLoopEndsWithTheMusicOrAtEndTime)
{
    // A virtual clock over music of a given length, as the player's clock
    // is over the decoded file.
    struct MusicOfLength : VirtualClock {
        MusicOfLength(double start, double length) : VirtualClock(start, 1.0), length(length) {}
        double musicLength() const override { return length; }
        double length;
    };
    struct Case {
        double music;      // seconds, 0 = none
        float endTime;
        float lastFrame;   // the time of the last frame rendered
    };
    const Case cases[] = {
        {12.2, 240.0f, 12.5f},  // music outlasting the timeline: frames until it ends
        {3.0, 240.0f, 10.5f},   // music shorter than the timeline: until the last entry ends
        {0.0, 240.0f, 10.5f},   // no music
        {300.0, 20.0f, 20.5f},  // endTime before the music's end
        {300.0, 3.0f, 3.5f},    // and before the last entry's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.music) + " s of music, endTime " + std::to_string(c.endTime));
        Demo show;
        show.context = &testContext();
        show.timeline = {{0.0f, 10.0f, new Probe(&show, 50)}};
        show.endTime = c.endTime;
        MusicOfLength clock(0.5, c.music);
        show.runFrames(clock);
        EXPECT_FLOAT_EQ(show.time, c.lastFrame);
        EXPECT_FLOAT_EQ(show.frameDelta, 1.0f);
    }
}

TEST_F(DemoFrameTest, FrameLoopEndsOnQuit)
{
    auto* probe = new Probe(&demo, 50);
    demo.timeline = {{0.0f, 100.0f, probe}};
    VirtualClock clock(1.0, 1.0);

    EXPECT_TRUE(demo.frame(clock));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_FALSE(demo.frame(clock));
    EXPECT_EQ(probe->steps.size(), 1u);  // the quit step renders nothing
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

// start-up prepares every drawable and then draws each once before the music
// starts, including drawables that others create while being prepared or
// drawn (a scene's own sky box); what they drew is not what the first frame
// step presents: the window is black.
TEST_F(DemoFrameTest, WarmUpDrawsEveryDrawableOnceIncludingOnesAddedDuringIt)
{
    struct Counting : Drawable {
        Counting(Demo* demo, int childrenOnPrepare, int childrenOnDraw)
            : Drawable(demo, "Counting"), onPrepare(childrenOnPrepare), onDraw(childrenOnDraw)
        {
        }
        void prepare() override
        {
            ++prepared;
            for (; onPrepare > 0; --onPrepare)
                new Counting(demo, 0, 1);
        }
        void draw() override
        {
            ++drawn;
            glClearColor(1, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT);
            for (; onDraw > 0; --onDraw)
                new Counting(demo, 0, 0);
        }
        int onPrepare, onDraw, prepared = 0, drawn = 0;
    };
    struct WarmDemo : Demo {
        void load() override
        {
            new Counting(this, 2, 0);
            new Counting(this, 0, 1);
        }
    } warm;
    warm.fullscreen = false;
    warm.width = 64;
    warm.height = 48;
    warm.startUp();
    const Rgba8 presentedFirst = readPixel(0, 0);  // the warm-up's one pixel
    Kestrane::Context::current = &testContext();
    GLTest::SetUp();

    // Two loaded, two made while preparing (each making one more when
    // drawn), and one made while drawing: all drawn once.
    ASSERT_EQ(warm.drawables.size(), 7u);
    for (std::size_t i = 0; i < warm.drawables.size(); ++i)
        EXPECT_EQ(static_cast<Counting*>(warm.drawables[i])->drawn, 1) << "drawable " << i;
    EXPECT_EQ(static_cast<Counting*>(warm.drawables[0])->prepared, 1);
    EXPECT_EQ(presentedFirst.r | presentedFirst.g | presentedFirst.b, 0);
}
