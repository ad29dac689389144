#include <epoxy/gl.h>

#include "support/GLTest.h"

#include "kestrane/DisplayMode.h"
#include "kestrane/FrameServices.h"
#include "kestrane/Messages.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Kestrane;

namespace {

void drainEvents()
{
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void pushEvent(Uint32 type, Uint8 windowEvent = 0)
{
    SDL_Event event{};
    event.type = type;
    if (type == SDL_WINDOWEVENT) {
        event.window.event = windowEvent;
        event.window.windowID = SDL_GetWindowID(testContext().window->sdlWindow());
    }
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

}  // namespace

class ContextTest : public GLTest {};

TEST_F(ContextTest, PumpMessagesQuitsWithoutPresenting)
{
    Context& context = testContext();
    drainEvents();

    // Nothing queued: one frame is presented.
    std::uint64_t before = context.presentedFrames();
    EXPECT_TRUE(context.pumpMessages());
    EXPECT_EQ(context.presentedFrames(), before + 1);

    // A quit ends the step at once, without presenting.
    pushEvent(SDL_QUIT);
    before = context.presentedFrames();
    EXPECT_FALSE(context.pumpMessages());
    EXPECT_EQ(context.presentedFrames(), before);
    EXPECT_TRUE(context.pumpMessages());
    drainEvents();

    // One event per call: two ordinary events ahead of the quit, which is
    // seen on the third call.
    pushEvent(SDL_KEYDOWN);
    pushEvent(SDL_KEYUP);
    pushEvent(SDL_QUIT);
    EXPECT_TRUE(context.pumpMessages());
    EXPECT_TRUE(context.pumpMessages());
    EXPECT_FALSE(context.pumpMessages());
    drainEvents();
}

TEST_F(ContextTest, WindowCloseBecomesQuitOnNextStep)
{
    Context& context = testContext();
    drainEvents();

    pushEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE);
    const std::uint64_t before = context.presentedFrames();
    EXPECT_TRUE(context.pumpMessages());  // the close itself still presents
    EXPECT_EQ(context.presentedFrames(), before + 1);
    EXPECT_FALSE(context.pumpMessages());
    drainEvents();

    // Other window events do not quit.
    pushEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_TRUE(context.pumpMessages());
    EXPECT_TRUE(context.pumpMessages());
    drainEvents();
}

// Each case opens its own context, so it runs in a fresh child process.
namespace {

void openMultisampleContext()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // A floating-point colour buffer is asked for first; without one the
    // context falls back to an ordinary buffer.
    Context context(320, 240, 24, 8, 4, 1);
    GLint samples = 0, buffers = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    glGetIntegerv(GL_SAMPLE_BUFFERS, &buffers);
    std::exit(samples >= 4 && buffers == 1 && context.window->width() == 320 ? 0 : 2);
}

void openImpossibleContext()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    Context context(320, 240, 24, 8, 1024, 0);
    std::exit(0);
}

}  // namespace

TEST(ContextDeathTest, MultisampleContextHasTheRequestedSamples)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(openMultisampleContext(), testing::ExitedWithCode(0), "");
}

TEST(ContextDeathTest, UnsatisfiableMultisampleRequestIsFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(openImpossibleContext(), testing::ExitedWithCode(1),
                "KESTRANE ERROR: Pixel format/type not supported");
}

namespace {

void switchAndRestoreDisplay()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // Registered first, so it runs after the display's own exit handler.
    std::atexit([] { std::fprintf(stderr, "restored at exit: %d\n", int(!displayModeSwitched())); });
    Context context(800, 600, 24, 8, 0, 0);
    SDL_Window* window = context.window->sdlWindow();
    restoreDisplayMode();  // nothing switched yet: no effect
    if (SDL_ShowCursor(SDL_QUERY) != SDL_ENABLE || displayModeSwitched())
        std::exit(2);
    setDisplayMode(800, 600, 32);
    if (SDL_ShowCursor(SDL_QUERY) != SDL_DISABLE || !(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN))
        std::exit(3);
    restoreDisplayMode();
    if (SDL_ShowCursor(SDL_QUERY) != SDL_ENABLE || (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN))
        std::exit(4);
    // Switched again and left by a fatal error: the exit-time clean-up restores it.
    setDisplayMode(800, 600, 32);
    fatal("Quarnel Vessara Error", "stop");
}

}  // namespace

TEST(ContextDeathTest, DisplayModeSwitchesHidesCursorAndIsRestoredAtExit)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(switchAndRestoreDisplay(), testing::ExitedWithCode(1), "stop\n(.|\n)*restored at exit: 1");
}
