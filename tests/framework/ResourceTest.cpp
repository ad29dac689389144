// The resource caches: directory scans, the order of Demo::load's directories,
// and exact-name lookups.
#include "FrameworkFixture.h"
#include "support/TestSupport.h"

#include <epoxy/gl.h>

#include "kestrane/FrameServices.h"
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

namespace {

// Every mipmap level of a texture, read back as RGBA bytes.
std::vector<std::vector<uint8_t>> levelsOf(const Kestrane::Texture& texture)
{
    std::vector<std::vector<uint8_t>> levels;
    texture.bind();
    for (int level = 0;; ++level) {
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
        if (w == 0 || h == 0)
            return levels;
        levels.emplace_back(size_t(w) * h * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, levels.back().data());
    }
}

}  // namespace

TEST_F(FrameworkTest, ParallelLoadingMakesTheSameTexturesAsOneByOne)
{
    // Files of several sizes (powers of two and not), channel counts and
    // codecs, each with its own pattern, so that a mix-up shows.
    DataRoot root;
    struct Picture {
        const char* name;
        int w, h, channels;
    };
    const Picture pictures[] = {{"a.png", 100, 60, 4}, {"b.jpg", 64, 64, 3}, {"c.png", 256, 32, 3},
                                {"d.png", 3, 5, 4},    {"e.jpg", 40, 90, 3}, {"f.png", 128, 128, 4}};
    std::vector<std::string> names;
    for (const Picture& p : pictures) {
        std::vector<uint8_t> pixels(size_t(p.w) * p.h * p.channels);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = uint8_t((i * 37 + names.size() * 91 + (i / p.channels) % 7 * 29) & 255);
        const std::string path = root.file(std::string("data/") + p.name);
        if (std::string(p.name).ends_with(".png"))
            ASSERT_NE(0, stbi_write_png(path.c_str(), p.w, p.h, p.channels, pixels.data(), p.w * p.channels));
        else
            ASSERT_NE(0, stbi_write_jpg(path.c_str(), p.w, p.h, p.channels, pixels.data(), 90));
        names.push_back(p.name);
    }

    TextureResourceProxy parallel;
    parallel.loadFiles(root.file("data/"), names, 3);
    TextureResourceProxy serial;
    for (const std::string& name : names) {
        serial.cache[name] = serial.load(root.file("data/" + name));
        SCOPED_TRACE(name);
        const Kestrane::Texture* made = parallel[name];
        EXPECT_EQ(made->width(), serial[name]->width());
        EXPECT_EQ(made->height(), serial[name]->height());
        EXPECT_EQ(made->format(), serial[name]->format());
        EXPECT_EQ(made->filter(), Kestrane::Mipmapped);
        const auto expected = levelsOf(*serial[name]);
        EXPECT_GT(expected.size(), 1u);
        EXPECT_TRUE(levelsOf(*made) == expected);
    }
    EXPECT_EQ(parallel.cache.size(), names.size());
    EXPECT_EQ(Kestrane::checkError(), 0u);
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
