#include "kestrane/Context.h"
#include "support/GLTest.h"
#include "support/TestSupport.h"
#include "vessara/ContentRoot.h"
#include "vessara/Demo.h"
#include "vessara/Drawable.h"
#include "vessara/MusicClock.h"

#include <SDL.h>

#include <filesystem>

namespace {

// Holds a key down in SDL's keyboard state, as a user holding it would, and
// lets it go when the object goes.
class HeldKey {
public:
    explicit HeldKey(SDL_Scancode code) : code(code) { set(1); }
    ~HeldKey() { set(0); }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

private:
    void set(Uint8 value)
    {
        int count = 0;
        // The array is SDL's own, writable state; the API hands it out const.
        Uint8* state = const_cast<Uint8*>(SDL_GetKeyboardState(&count));
        ASSERT_LT(static_cast<int>(code), count);
        state[code] = value;
    }
    SDL_Scancode code;
};

// Runs the test from a fresh directory and returns to the previous one after.
class InDirectory {
public:
    explicit InDirectory(const std::filesystem::path& dir) : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir);
    }
    ~InDirectory() { std::filesystem::current_path(previous); }

private:
    std::filesystem::path previous;
};

class ScreenshotKeyTest : public GLTest {};

}  // namespace

// Started from a directory without data, the program changes into the data
// beside it (the source tree above build/); the screenshots still land where
// the user started it.
TEST_F(ScreenshotKeyTest, HoldingF10ForThreeFramesWritesThreeNumberedFilesWhereTheUserStarted)
{
    TestSupport::TempDir dir;
    const InDirectory here(dir.path());
    Vessara::enterContentRoot();
    ASSERT_TRUE(Vessara::isContentRoot(std::filesystem::current_path()));
    Vessara::Demo demo;
    demo.context = &testContext();
    // A show still running: an entry ahead (an empty one would be over).
    demo.timeline = {{0.0f, 100.0f, new Vessara::Drawable(&demo, "Shown")}};
    Vessara::VirtualClock clock(1.0, 1.0 / 60.0);

    EXPECT_TRUE(demo.frame(clock));
    {
        const HeldKey f10(SDL_SCANCODE_F10);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(demo.frame(clock));
    }
    EXPECT_TRUE(demo.frame(clock));

    for (const char* name : {"dump0.png", "dump1.png", "dump2.png"}) {
        EXPECT_TRUE(std::filesystem::exists(dir.file(name))) << name;
        EXPECT_FALSE(std::filesystem::exists(name)) << name << " in the data directory";
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("dump3.png")));
    EXPECT_EQ(demo.screenshotCounter, 3);
}
