// The resource caches: directory scans, the order of Demo::load's directories,
// exact-name lookups, and the drawable registry.
#include "FrameworkFixture.h"
#include "support/TestSupport.h"

#include "kestrane/Shader.h"
#include "kestrane/Texture.h"
#include "vessara/DataPreload.h"
#include "vessara/Effects.h"
#include "vessara/FileResourceProxy.h"
#include "vessara/ResourceProxies.h"

#include <stb_image_write.h>

#include <filesystem>
#include <functional>

using namespace Vessara;
using FrameworkTests::FrameworkTest;

namespace {

namespace fs = std::filesystem;

// A fresh folder holding "data/" and "vessara_data/", and image writers.
class DataRoot : public TestSupport::TempDir {
public:
    DataRoot()
    {
        fs::create_directories(path() / "data");
        fs::create_directories(path() / "vessara_data");
    }
    // Prefix for loadDataDirectories: ends with a separator.
    std::string prefix() const { return path().string() + "/"; }
    void writePng(const std::string& name, int size) const
    {
        std::vector<uint8_t> pixels(size_t(size) * size * 4, 200);
        ASSERT_NE(0, stbi_write_png(file(name).c_str(), size, size, 4, pixels.data(), size * 4));
    }
    void writeJpg(const std::string& name, int size) const
    {
        std::vector<uint8_t> pixels(size_t(size) * size * 3, 90);
        ASSERT_NE(0, stbi_write_jpg(file(name).c_str(), size, size, 3, pixels.data(), 90));
    }
};

// A complete shader declaring one extra uniform, so that the test can tell
// which file a cache entry was compiled from.
std::string markedShader(const std::string& marker)
{
    return "float4x4 StateComplete;\n"
           "uniform float " + marker + ";\n"
           "float4 vsMain(float4 p : POSITION) : POSITION { return mul(StateComplete, p); }\n"
           "float4 psMain() : COLOR { return float4(" + marker + ", 0.0, 0.0, 1.0); }\n";
}

bool declares(const Kestrane::CompleteShader* shader, const char* name)
{
    return cgGetNamedParameter(shader->pixel->program, name) != nullptr;
}

class ProbeDrawable : public Drawable {
public:
    using Drawable::Drawable;
};

}  // namespace

TEST(FilePattern, MatchesWildcardsOverTheWholeName)
{
    EXPECT_TRUE(matchesPattern("sky.jpg", "*.jpg"));
    EXPECT_TRUE(matchesPattern(".jpg", "*.jpg"));
    EXPECT_TRUE(matchesPattern("a.b.jpg", "*.jpg"));
    EXPECT_FALSE(matchesPattern("sky.jpg.bak", "*.jpg"));
    EXPECT_FALSE(matchesPattern("sky.JPG", "*.jpg"));  // case-sensitive, as lookups are
    EXPECT_FALSE(matchesPattern("skyjpg", "*.jpg"));
    EXPECT_TRUE(matchesPattern("a1.cg", "a?.cg"));
    EXPECT_FALSE(matchesPattern("a.cg", "a?.cg"));
    EXPECT_TRUE(matchesPattern("anything", "*"));
    EXPECT_TRUE(matchesPattern("", "*"));
    EXPECT_FALSE(matchesPattern("x", ""));
    EXPECT_TRUE(matchesPattern("aaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*b"));
    EXPECT_FALSE(matchesPattern("aaaaaaaaaaaaaaaaaaaaaaaaa", "*a*a*a*a*a*b"));
}

TEST(FilePattern, ListsRegularFilesSortedAndSkipsDirectories)
{
    DataRoot root;
    root.write("data/b.cg", "");
    root.write("data/a.cg", "");
    root.write("data/C.cg", "");
    root.write("data/a.cg.txt", "");
    fs::create_directories(root.file("data/dir.cg"));
    const std::vector<std::string> expected = {"C.cg", "a.cg", "b.cg"};
    EXPECT_EQ(expected, matchingFiles(root.file("data/"), "*.cg"));
    EXPECT_TRUE(matchingFiles(root.file("missing/"), "*.cg").empty());
}

TEST_F(FrameworkTest, ShaderInBothDirectoriesEndsUpAsTheFrameworkOne)
{
    DataRoot root;
    root.write("data/probe.cg", markedShader("fromData"));
    root.write("vessara_data/probe.cg", markedShader("fromFramework"));
    root.write("data/onlyData.cg", markedShader("onlyInData"));

    Demo demo;
    loadDataDirectories(demo, root.prefix());
    ASSERT_EQ(2u, demo.shaders.cache.size());
    EXPECT_TRUE(declares(demo.shaders["probe.cg"], "fromFramework"));
    EXPECT_FALSE(declares(demo.shaders["probe.cg"], "fromData"));
    EXPECT_TRUE(declares(demo.shaders["onlyData.cg"], "onlyInData"));
    // Program caches are never filled by the scan.
    EXPECT_TRUE(demo.pixelShaders.cache.empty());
    EXPECT_TRUE(demo.vertexShaders.cache.empty());
}

TEST_F(FrameworkTest, JpegAndPngOfOneBaseNameAreTwoEntries)
{
    DataRoot root;
    root.writeJpg("data/tile.jpg", 4);
    root.writePng("data/tile.png", 8);
    root.writePng("vessara_data/ignored.png", 8);  // textures come from data/ only

    Demo demo;
    loadDataDirectories(demo, root.prefix());
    ASSERT_EQ(2u, demo.textures.cache.size());
    EXPECT_EQ(4, demo.textures["tile.jpg"]->width());
    EXPECT_EQ(8, demo.textures["tile.png"]->width());
    EXPECT_EQ(Kestrane::Mipmapped, demo.textures["tile.png"]->filter());
}

// Every failed look-up ends the program naming what was asked for: a name
// differing only in case, an element or a glow of a size the pools lack; so
// does a damaged data file, naming the file.
TEST_F(FrameworkTest, FailedLookupsAndDamagedDataFilesEndTheProgram)
{
    DataRoot root, broken, typo;
    root.writePng("data/Brick.png", 4);
    broken.write("data/broken.png", "not a picture at all");
    typo.write("vessara_data/typo.cg", "float4 psMain() : COLOR { return flaot4(1); }\n");
    Demo demo;
    loadDataDirectories(demo, root.prefix());
    EXPECT_NE(nullptr, demo.textures["Brick.png"]);
    Element* element = FrameworkTests::newElement(64, 64);
    const struct {
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {[&] { demo.textures["brick.png"]; }, "ResourceProxy not loaded: brick.png"},
        {[] { FrameworkTests::newElement(100, 100); }, "ResourceProxy not loaded: 100([^0-9]|$)"},
        {[&] { glow(*element, 100, 0.5f, 2.0f, 1.0f, 1.0f); }, "ResourceProxy not loaded: 100([^0-9]|$)"},
        {[&] { Demo other; loadDataDirectories(other, broken.prefix()); }, "broken\\.png"},
        {[&] { Demo other; loadDataDirectories(other, typo.prefix()); }, "typo\\.cg"},
    };
    for (const auto& c : cases)
        EXPECT_FATAL(c.call(), c.message);
}

TEST(DrawableRegistry, SameNameKeepsBothAndCachesTheLater)
{
    Demo demo;
    auto first = std::make_unique<ProbeDrawable>(&demo, "Twin");
    auto second = std::make_unique<ProbeDrawable>(&demo, "Twin");
    ASSERT_EQ(2u, demo.drawables.size());
    EXPECT_EQ(first.get(), demo.drawables[0]);
    EXPECT_EQ(second.get(), demo.drawables[1]);
    EXPECT_EQ(second.get(), demo["Twin"]);
}
