#include "vessara/Demo.h"
#include "vessara/Drawable.h"
#include "vessara/FatalError.h"
#include "vessara/ResourceProxy.h"

#include <gtest/gtest.h>

using namespace Vessara;

TEST(FatalErrorDeathTest, ReportsTitledMessageAndExitsNonZero)
{
    EXPECT_EXIT(fatalError("scene file \"data/x.ztx\" is damaged"), testing::ExitedWithCode(1),
                "^Quarnel Vessara Error: scene file \"data/x.ztx\" is damaged\n");
}

// A name held without a resource ends the program like a name not held
// (ResourceTest checks those).
TEST(FatalErrorDeathTest, NameHeldWithoutAResourceIsFatal)
{
    ResourceProxy<int, std::string> proxy;
    proxy.cache["empty.png"] = nullptr;
    EXPECT_EXIT(proxy["empty.png"], testing::ExitedWithCode(1), "ResourceProxy not loaded: empty.png");
}

TEST(DrawableRegistryTest, RepeatedNameKeepsBothInOrderAndTheLaterInTheCache)
{
    Demo demo;
    auto* first = new Drawable(&demo, "Untitled");
    auto* other = new Drawable(&demo, "Other");
    auto* second = new Drawable(&demo, "Untitled");
    ASSERT_EQ(demo.drawables.size(), 3u);
    EXPECT_EQ(demo.drawables[0], first);
    EXPECT_EQ(demo.drawables[1], other);
    EXPECT_EQ(demo.drawables[2], second);
    EXPECT_EQ(demo["Untitled"], second);
    EXPECT_EQ(demo["Other"], other);
}
