// The texture library: noise that tiles and is continuous, blurs, normal
// maps, sphere maps, text, encoding round trips, and the sky pictures'
// seams (the sky box's flat caps take the top and bottom rows).
#include "Image.h"
#include "Noise.h"
#include "Text.h"
#include "TextureOps.h"

#include "support/TestSupport.h"

#include <stb_image.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>

using namespace Forge;

namespace {

Image decode(const std::vector<std::uint8_t>& bytes) {
    int w = 0, h = 0, n = 0;
    std::unique_ptr<unsigned char, decltype(&stbi_image_free)> p(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &n, 4), &stbi_image_free);
    if (!p) throw std::runtime_error("undecodable image");
    Image img(w, h);
    for (std::size_t i = 0; i < img.pixels.size(); ++i)
        img.pixels[i] = {p.get()[i * 4] / 255.0f, p.get()[i * 4 + 1] / 255.0f, p.get()[i * 4 + 2] / 255.0f,
                         p.get()[i * 4 + 3] / 255.0f};
    return img;
}

float difference(Rgba a, Rgba b) { return std::max({std::fabs(a.r - b.r), std::fabs(a.g - b.g), std::fabs(a.b - b.b)}); }

// A picture the build made in data/.
std::vector<std::uint8_t> generated(const std::string& name) {
    const std::string bytes = TestSupport::readFile("data/" + name);
    if (bytes.empty()) throw std::runtime_error("data/" + name + " is missing: build forge_content");
    return {bytes.begin(), bytes.end()};
}

}  // namespace

TEST(Noise, TilesWithItsPeriodAndIsContinuous) {
    for (float x : {0.1f, 1.7f, 3.3f})
        for (float y : {0.25f, 2.9f}) {
            EXPECT_NEAR(gradientNoise(x + 4.0f, y, 7, 4), gradientNoise(x, y, 7, 4), 1e-5f);
            EXPECT_NEAR(gradientNoise(x, y + 4.0f, 7, 4), gradientNoise(x, y, 7, 4), 1e-5f);
            EXPECT_NEAR(valueNoise(x + 8.0f, y, 7, 8), valueNoise(x, y, 7, 8), 1e-5f);
            EXPECT_NEAR(fbm2(x + 4.0f, y, 7, 5, 4), fbm2(x, y, 7, 5, 4), 1e-4f);
            // Across a lattice line the value moves only a little.
            EXPECT_NEAR(gradientNoise(2.0f - 1e-4f, y, 7), gradientNoise(2.0f + 1e-4f, y, 7), 1e-3f);
        }
    float lo = 1e9f, hi = -1e9f;
    for (int i = 0; i < 4000; ++i) {
        const float v = fbm3(i * 0.137f, i * 0.071f, i * 0.029f, 3, 4);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_GT(lo, -1.2f);
    EXPECT_LT(hi, 1.2f);
    EXPECT_GT(hi - lo, 0.5f) << "noise that does not vary";
}

TEST(TextureOps, BlurKeepsTheMeanAndSmooths) {
    Image img(64, 32);
    img.forEach([](float u, float v, Rgba& c) { c = {std::fmod(u * 8.0f, 1.0f) > 0.5f ? 1.0f : 0.0f, v, 0.25f, 1}; });
    double before = 0.0;
    for (const Rgba& c : img.pixels) before += c.r;
    blur(img, 6.0f, Edge::Wrap);
    double after = 0.0, lo = 1, hi = 0;
    for (const Rgba& c : img.pixels) {
        after += c.r;
        lo = std::min<double>(lo, c.r);
        hi = std::max<double>(hi, c.r);
    }
    EXPECT_NEAR(after, before, 1e-2 * before);
    EXPECT_GT(lo, 0.2);
    EXPECT_LT(hi, 0.8);
    EXPECT_NEAR(img.at(5, 5).b, 0.25f, 1e-5f);  // a flat channel stays flat
}

TEST(TextureOps, NormalMapFollowsTheSlope) {
    Image flat(16, 16, {0.5f, 0.5f, 0.5f, 1});
    const Image n0 = normalMap(flat, 4.0f);
    EXPECT_NEAR(n0.at(3, 3).r, 0.5f, 1e-6f);
    EXPECT_NEAR(n0.at(3, 3).b, 1.0f, 1e-6f);
    Image ramp(16, 16);
    ramp.forEach([](float u, float, Rgba& c) { c = {u, u, u, 1}; });  // rising to the right
    const Image n1 = normalMap(ramp, 8.0f, Edge::Clamp);
    EXPECT_LT(n1.at(8, 8).r, 0.45f);  // tilted back against the rise
    EXPECT_NEAR(n1.at(8, 8).g, 0.5f, 1e-5f);
    Image up(16, 16);
    up.forEach([](float, float v, Rgba& c) { c = {1 - v, 0, 0, 1}; });  // rising towards the picture's top
    EXPECT_LT(normalMap(up, 8.0f, Edge::Clamp).at(8, 8).g, 0.45f);
}

TEST(TextureOps, SphereMapLooksBackAtTheViewerInTheMiddle) {
    const Image map = sphereMap(65, [](Float3 d) { return Rgba{0.5f + 0.5f * d.x, 0.5f + 0.5f * d.y, 0.5f + 0.5f * d.z, 1}; });
    const Rgba centre = map.at(32, 32);
    EXPECT_NEAR(centre.b, 1.0f, 0.02f);  // reflected straight back: towards the viewer
    EXPECT_NEAR(map.at(0, 0).b, 0.0f, 1e-6f);  // outside the ball: straight behind
    // Right of the centre at radius sqrt(1/2): reflected sideways to the right.
    const Rgba side = map.at(32 + static_cast<int>(std::lround(32 * std::sqrt(0.5))), 32);
    EXPECT_GT(side.r, 0.9f);
    EXPECT_NEAR(side.b, 0.5f, 0.06f);
    // Image up is direction up.
    EXPECT_GT(map.at(32, 10).g, 0.7f);
}

TEST(Text, OutlinesAndDrawing) {
    const Font& font = Font::bold();
    const auto o = font.outlines("O", 1.0f);
    ASSERT_EQ(o.size(), 2u);
    EXPECT_TRUE((signedArea(o[0]) > 0) != (signedArea(o[1]) > 0)) << "one outer contour, one hole";
    EXPECT_GT(font.width("Quarnel", 32), font.width("Q", 32));
    Image img(64, 32, {0, 0, 0, 1});
    font.draw(img, "Hi", 4, 26, 24, {1, 1, 1, 1});
    float lit = 0;
    for (const Rgba& c : img.pixels) lit += c.r;
    EXPECT_GT(lit, 30.0f);
    EXPECT_THROW(Font("/nonexistent/font.ttf"), std::runtime_error);
}

TEST(ImageCodec, PngRoundTripIsExactAndJpegKeepsTheSize) {
    Image img(5, 3, {0.2f, 0.4f, 0.6f, 0.5f});
    img.at(4, 2) = {1, 0, 0, 1};
    const Image png = decode(encodePng(img, true));
    ASSERT_EQ(png.width(), 5);
    ASSERT_EQ(png.height(), 3);
    EXPECT_NEAR(png.at(4, 2).r, 1.0f, 1e-6f);
    EXPECT_NEAR(png.at(0, 0).a, 128 / 255.0f, 1e-6f);
    EXPECT_EQ(encodePng(img, true), encodePng(img, true));
    const Image jpg = decode(encodeJpeg(img, 90));
    EXPECT_EQ(jpg.width(), 5);
    EXPECT_NEAR(jpg.at(0, 0).b, 0.6f, 0.06f);
}

TEST(Content, SkyPicturesMeetTheFlatCapsWithoutASeam) {
    for (const char* name : {"scene2.jpg", "natthimmel.jpg"}) {
        const Image sky = decode(generated(name));
        const int w = sky.width(), h = sky.height();
        const Rgba top = sky.at(0, 0), bottom = sky.at(0, h - 1);
        for (int x = 0; x < w; x += 7) {
            EXPECT_LT(difference(sky.at(x, 0), top), 0.03f) << name << " top row, x " << x;
            EXPECT_LT(difference(sky.at(x, 1), top), 0.03f) << name;
            EXPECT_LT(difference(sky.at(x, h - 1), bottom), 0.03f) << name << " bottom row, x " << x;
        }
        // The sides repeat round the box: the left and right columns meet.
        double gap = 0.0;
        for (int y = 0; y < h; ++y) gap += difference(sky.at(0, y), sky.at(w - 1, y));
        EXPECT_LT(gap / h, 0.03) << name;
    }
}
