// The scene draws the berry, then moves 15 units along z (and 5 along y) in
// the frame the berry's last mesh left in World, and draws the top there. So
// the berry file is a spinning plain node "Strawberry" on the axis with the
// mesh "Berry" as its child 5 units off along -y (its geometry shifted back
// by +5): the top lands on the axis at the stalk end and turns with the berry.
// Sizes: about 48 units from tip to shoulder, 34 across; the scene scales it
// by 0.5 to 1.5 and sees most from a few hundred units, the close-up from
// about 70.
#include "ContentStrawberry.h"

#include "MeshShapes.h"
#include "Noise.h"
#include "Random.h"
#include "SceneBuilder.h"
#include "TextureOps.h"

#include <algorithm>
#include <cmath>

namespace Forge {

namespace {

constexpr float Pi = 3.14159265358979f;

// The berry's outline: radius at height z along its axis (tip at -31, the
// dimple round the stalk at 13, the shoulder's crown at about 14).
struct ProfilePoint {
    float radius, z;
};
const std::vector<ProfilePoint>& berryProfile() {
    static const std::vector<ProfilePoint> profile = {
        {0.0f, -31.0f}, {3.2f, -29.8f}, {6.5f, -26.0f}, {10.0f, -19.5f}, {13.4f, -11.5f}, {15.8f, -3.5f},
        {16.8f, 3.0f},  {16.2f, 7.5f},  {14.0f, 11.0f}, {10.0f, 13.4f},  {5.5f, 14.2f},   {2.0f, 13.6f},
        {0.0f, 13.0f}};
    return profile;
}

// Length along the profile, 0 at the tip and 1 at the stalk: the texture's v.
std::vector<float> profileLengths() {
    const auto& p = berryProfile();
    std::vector<float> along(p.size(), 0.0f);
    for (std::size_t i = 1; i < p.size(); ++i)
        along[i] = along[i - 1] + std::hypot(p[i].radius - p[i - 1].radius, p[i].z - p[i - 1].z);
    for (float& a : along) a /= along.back();
    return along;
}

// Radius of the berry at texture row v (by the profile's length).
float radiusAt(float v) {
    const auto& p = berryProfile();
    const std::vector<float> along = profileLengths();
    for (std::size_t i = 1; i < p.size(); ++i)
        if (v <= along[i]) {
            const float f = (v - along[i - 1]) / std::max(along[i] - along[i - 1], 1e-6f);
            return p[i - 1].radius + (p[i].radius - p[i - 1].radius) * f;
        }
    return 0.0f;
}

// Height of the berry's upper surface at distance r from the axis (the
// shoulder, for seating the calyx).
float shoulderHeight(float r) {
    const auto& p = berryProfile();
    for (std::size_t i = p.size() - 1; i > 6; --i)
        if (r <= p[i - 1].radius) {
            const float f = (r - p[i].radius) / std::max(p[i - 1].radius - p[i].radius, 1e-6f);
            return p[i].z + (p[i - 1].z - p[i].z) * f;
        }
    return p[6].z;
}

// The berry about the z axis: rings along the profile, the seam column
// doubled so the skin's texture wraps cleanly (u round the axis, v tip to
// stalk); a pole vertex at each end.
Mesh berry(int segments) {
    const auto& p = berryProfile();
    const std::vector<float> along = profileLengths();
    Mesh m;
    std::vector<std::vector<int>> rings;
    for (std::size_t i = 0; i < p.size(); ++i) {
        std::vector<int> ring;
        for (int k = 0; k <= segments; ++k) {
            const float u = static_cast<float>(k) / static_cast<float>(segments);
            const float a = 2.0f * Pi * u;
            // Slight lobes make the berry less perfectly round.
            const float lobe = 1.0f + 0.035f * std::sin(3.0f * a + 0.7f) * std::sin(Pi * along[i]);
            const float r = p[i].radius * lobe;
            ring.push_back(m.addVertex({r * std::cos(a), r * std::sin(a), p[i].z}, u, along[i]));
        }
        rings.push_back(std::move(ring));
    }
    for (std::size_t i = 0; i + 1 < p.size(); ++i)
        for (int k = 0; k < segments; ++k) {
            const auto k0 = static_cast<std::size_t>(k), k1 = k0 + 1;
            // Counter-clockwise seen from outside: along the axis, then round.
            if (i == 0)
                m.addTriangle(rings[i][k0], rings[i + 1][k1], rings[i + 1][k0]);
            else if (i + 2 == p.size())
                m.addTriangle(rings[i][k0], rings[i][k1], rings[i + 1][k0]);
            else
                m.addQuad(rings[i][k0], rings[i][k1], rings[i + 1][k1], rings[i + 1][k0]);
        }
    return m;
}

// The calyx: leafy sepals spread over the shoulder from the stalk, tips
// lifting a little, and a short bent stalk. Origin at the stalk end of the
// berry's axis (its crown, z = 15 in the berry's frame).
Mesh calyx() {
    Mesh m;
    constexpr int Sepals = 8;
    constexpr int Steps = 3;
    constexpr float Crown = 15.0f;
    Random rng(77);
    for (int s = 0; s < Sepals; ++s) {
        const float angle = 2.0f * Pi * (static_cast<float>(s) + 0.3f * rng.bipolar()) / Sepals;
        const float length = 12.5f + 2.5f * rng.uniform();
        const float width = 5.5f + 1.0f * rng.uniform();
        const Float3 out{std::cos(angle), std::sin(angle), 0.0f}, side{-std::sin(angle), std::cos(angle), 0.0f};
        std::vector<int> left, mid, right;
        for (int j = 0; j <= Steps; ++j) {
            const float f = static_cast<float>(j) / Steps;
            const float r = 1.2f + f * length;
            // Just above the shoulder, the tip curling up.
            const float z = shoulderHeight(r) - Crown + 0.7f + 1.8f * f * f * f;
            const float w = width * std::sin(Pi * std::pow(f, 0.7f) * 0.92f + 0.08f) * 0.5f;
            const Float3 c = out * r + Float3{0.0f, 0.0f, z};
            // A shallow fold along the middle vein.
            left.push_back(m.addVertex(c - side * w + Float3{0, 0, 0.35f * w}, 0.0f, f));
            mid.push_back(m.addVertex(c, 0.5f, f));
            right.push_back(m.addVertex(c + side * w + Float3{0, 0, 0.35f * w}, 1.0f, f));
        }
        for (int j = 0; j < Steps; ++j) {
            m.addQuad(left[j], left[j + 1], mid[j + 1], mid[j]);
            m.addQuad(mid[j], mid[j + 1], right[j + 1], right[j]);
        }
    }
    const std::vector<Float3> stalk = {{0.0f, 0.0f, -1.0f}, {0.3f, 0.4f, 4.0f}, {1.2f, 1.6f, 8.5f}, {2.6f, 3.2f, 11.0f}};
    Mesh stem = tube(stalk, [](float t, float) { return 1.5f - 0.4f * t; }, 6, false);
    // The stalk takes the leaf texture's vein column.
    for (MeshVertex& v : stem.vertices) {
        const float along = v.u, around = v.v;
        v.u = 0.3f + 0.4f * around;
        v.v = along;
    }
    m.append(stem);
    return m;
}

// Renderer axes -> the file's, for a node turned by angle about the
// renderer's axis (the loader turns file rotations the other way round).
void spinKey(KestraneExt::ZTXNodeData& node, float time, float angle) {
    SceneBuilder::rotationKey(node, time, toFileAxes({0.0f, 0.0f, 1.0f}), -angle);
}

std::vector<std::uint8_t> berryScene() {
    SceneBuilder b;
    b.material("strawberry", "strawberry-skin.jpg", {1, 1, 1}, 1.0f, "strawberry-skin.jpg");
    auto& root = b.node("Strawberry");
    // A turn every six seconds of the scene (750 units a second), a key per
    // sixth of a turn, beyond the 17,700 the scene reaches.
    for (int k = 0; k <= 24; ++k) spinKey(root, 750.0f * static_cast<float>(k), Pi / 3.0f * static_cast<float>(k));
    Mesh m = berry(14);
    m.transform([](Float3 p) { return p + Float3{0.0f, 5.0f, 0.0f}; });
    auto& mesh = b.mesh("Berry", asRendered(m), "strawberry", &root);
    mesh.position = toFileAxes({0.0f, -5.0f, 0.0f});
    return b.encode();
}

std::vector<std::uint8_t> topScene() {
    SceneBuilder b;
    b.material("calyx", "strawberry-leaf.jpg");
    b.mesh("Calyx", asRendered(calyx()), "calyx");
    return b.encode();
}

constexpr int SkinSize = 512;

// Seeds in staggered rows, as many round each row as its circumference
// holds, each a small pale achene sunk in a darker dimple; the texture is
// stretched round the berry, so every seed is drawn round in surface units.
// Returns the height field (red) and fills colour.
Image strawberrySkin(Image& colour) {
    Image height(SkinSize, SkinSize, {0.5f, 0.5f, 0.5f, 1.0f});
    colour = Image(SkinSize, SkinSize);
    colour.forEach([](float u, float v, Rgba& c) {
        // Deep red, paler round the stalk (texture v = 1 - image v).
        const float n = fbm2(u * 8.0f, v * 8.0f, 5, 4, 8);
        const float top = smoothstep(0.8f, 0.98f, 1.0f - v);
        c = mix(rgb8(185, 16, 26), rgb8(225, 50, 45), 0.5f + 0.5f * n);
        c = mix(c, rgb8(235, 170, 110), top * 0.7f);
        c.a = 1.0f;
    });
    const auto& p = berryProfile();
    float profileLength = 0.0f;
    for (std::size_t i = 1; i < p.size(); ++i) profileLength += std::hypot(p[i].radius - p[i - 1].radius, p[i].z - p[i - 1].z);
    constexpr int Rows = 17;
    constexpr float Spacing = 3.6f;
    constexpr float Dimple = 1.25f, Seed = 0.5f;  // radii in surface units
    const float unitsPerRowPixel = profileLength / SkinSize;
    Random rng(4242);
    for (int row = 1; row < Rows; ++row) {
        const float v = static_cast<float>(row) / Rows;
        const float r = std::max(radiusAt(v), 2.0f);
        const float unitsPerColumnPixel = 2.0f * Pi * r / SkinSize;
        const int count = std::max(3, static_cast<int>(2.0f * Pi * r / Spacing));
        const int reachX = static_cast<int>(2.0f * Dimple / unitsPerColumnPixel) + 1;
        const int reachY = static_cast<int>(2.0f * Dimple / unitsPerRowPixel) + 1;
        for (int k = 0; k < count; ++k) {
            const float su = (static_cast<float>(k) + 0.5f * static_cast<float>(row % 2) + 0.12f * rng.bipolar()) / count;
            const float sv = v + 0.008f * rng.bipolar();
            const float cx = su * SkinSize, cy = (1.0f - sv) * SkinSize;
            for (int dy = -reachY; dy <= reachY; ++dy)
                for (int dx = -reachX; dx <= reachX; ++dx) {
                    const int px = static_cast<int>(cx) + dx, py = static_cast<int>(cy) + dy;
                    if (py < 0 || py >= SkinSize) continue;
                    const int wx = ((px % SkinSize) + SkinSize) % SkinSize;
                    const float ex = (static_cast<float>(px) + 0.5f - cx) * unitsPerColumnPixel;
                    const float ey = (static_cast<float>(py) + 0.5f - cy) * unitsPerRowPixel * 0.8f;
                    const float d2 = ex * ex + ey * ey;
                    const float dimple = std::exp(-d2 / (Dimple * Dimple));
                    height.at(wx, py).r -= 0.3f * dimple;
                    Rgba& c = colour.at(wx, py);
                    c = mix(c, rgb8(125, 8, 18), dimple * 0.45f);
                    const float seed = smoothstep(Seed * Seed, Seed * Seed * 0.4f, d2);
                    if (seed > 0.0f) {
                        height.at(wx, py).r += 0.4f * seed;
                        c = mix(c, rgb8(240, 205, 85), seed);
                    }
                }
        }
    }
    return height;
}

Image leafTexture() {
    Image img(256, 256);
    img.forEach([](float u, float v, Rgba& c) {
        const float vein = std::exp(-std::pow((u - 0.5f) / 0.04f, 2.0f));
        const float n = fbm2(u * 6.0f, v * 6.0f, 9, 4, 6);
        c = mix(rgb8(60, 140, 40), rgb8(110, 185, 60), 0.5f + 0.5f * n);
        c = mix(c, rgb8(150, 200, 90), vein * 0.7f);
        // Darker towards the edges of the sepal.
        c = c * (1.0f - 0.35f * std::pow(std::fabs(u - 0.5f) * 2.0f, 2.0f));
        c.a = 1.0f;
    });
    return img;
}

}  // namespace

void addStrawberryAssets(std::vector<Asset>& assets) {
    assets.push_back({"strawberry.ztx", [] { return berryScene(); }});
    assets.push_back({"strawberry-top.ztx", [] { return topScene(); }});
    assets.push_back({"strawberry-skin.jpg", [] {
                          Image colour;
                          strawberrySkin(colour);
                          return encodeJpeg(colour, 92);
                      }});
    assets.push_back({"normal_strawberry-skin.jpg", [] {
                          Image colour;
                          return encodeJpeg(normalMap(strawberrySkin(colour), 6.0f), 95);
                      }});
    assets.push_back({"strawberry-leaf.jpg", [] { return encodeJpeg(leafTexture(), 90); }});
}

}  // namespace Forge
