// Content of the Skate scene, the closing credits: the skateboard
// "skate.vxm" (one mesh, so the scene's wave bends deck, trucks and wheels
// together: a 221 x 60 deck along x with kicktails, its top facing +z and
// the origin at the deck's centre, two trucks and four wheels below; seen
// from about 350 units), the deck's top graphic "skate-top.jpg" with its
// normal map "normal_skate-top.png", and the credits "credits.png" (text
// with alpha, added over the lower right of the picture).
// The deck's top and bottom take the whole picture by a planar projection
// (u along the deck, v across it). The corners of the picture lie outside
// the deck's rounded ends; they hold flat swatches that the deck's edges,
// the trucks and the wheels sample: wood, metal, wheel and bushing colours.
#include "Content.h"
#include "Mesh.h"
#include "MeshShapes.h"
#include "Noise.h"
#include "Text.h"
#include "TextureOps.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Forge {

namespace {

constexpr float Pi = 3.14159265358979f;

// ---- The board --------------------------------------------------------

constexpr float HalfLength = 85.0f, HalfWidth = 23.0f;
constexpr float StraightEnd = HalfLength - HalfWidth;  // where the rounded nose begins
constexpr float KickStart = 55.0f;
constexpr float Thickness = 3.0f;
constexpr float TruckX = 60.0f;

// Half the deck's width at x: straight sides, round ends (never quite zero,
// so the tip keeps a short edge instead of collapsing triangles).
float deckHalfWidth(float x) {
    const float e = std::max(0.0f, std::fabs(x) - StraightEnd) / HalfWidth;
    return std::max(HalfWidth * std::sqrt(std::max(0.0f, 1.0f - e * e)), 2.5f);
}

// The kicktails rise beyond KickStart.
float kick(float x) {
    const float e = std::max(0.0f, std::fabs(x) - KickStart);
    return 0.012f * e * e;
}

struct Swatch {
    float u, v;  // texture coordinates (v up) inside a corner of the picture
};
constexpr Swatch Wood{0.014f, 0.94f}, Metal{0.014f, 0.06f}, Wheel{0.986f, 0.94f}, Bushing{0.986f, 0.06f};

// Texture coordinates of a part's vertex within a swatch: a small, skewed
// projection of its offset from the part's centre, so that no face of a box
// or wheel has collinear coordinates (every face gets a tangent frame).
void swatchUV(Mesh& part, Float3 centre, Swatch s) {
    for (MeshVertex& v : part.vertices) {
        const Float3 d = v.position - centre;
        v.u = s.u + 0.0004f * (d.x + 0.6f * d.z + 0.2f * d.y);
        v.v = s.v + 0.0004f * (d.y + 0.8f * d.z - 0.3f * d.x);
    }
}

Mesh box(Float3 lo, Float3 hi, Swatch s) {
    Mesh m;
    const Float3 c[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                         {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    // Faces counter-clockwise seen from outside; separate corners keep them flat.
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {2, 3, 7, 6}, {1, 2, 6, 5}, {3, 0, 4, 7}};
    for (const auto& f : faces) {
        const int a = m.addVertex(c[f[0]]), b = m.addVertex(c[f[1]]), d = m.addVertex(c[f[2]]), e = m.addVertex(c[f[3]]);
        m.addQuad(a, b, d, e);
    }
    swatchUV(m, (lo + hi) * 0.5f, s);
    return m;
}

Mesh wheel(Float3 centre) {
    // Turned about y (the axle), rounded edges.
    Mesh m = lathe({{0.0f, -3.0f}, {4.2f, -3.0f}, {5.4f, -2.2f}, {5.6f, 0.0f}, {5.4f, 2.2f}, {4.2f, 3.0f}, {0.0f, 3.0f}}, 10);
    m.transform([&](Float3 p) { return p + centre; });
    swatchUV(m, centre, Wheel);
    return m;
}

// The deck: top and bottom sheets over a grid denser towards the ends, and
// a wooden edge band joining their outlines.
Mesh deck() {
    constexpr int Along = 20, Across = 4;
    Mesh m;
    auto xAt = [](int i) { return -HalfLength * std::cos(Pi * static_cast<float>(i) / Along); };
    auto yAt = [](float x, int j) { return deckHalfWidth(x) * (-1.0f + 2.0f * static_cast<float>(j) / Across); };
    auto topZ = [](float x, float y) { return kick(x) + 0.5f * Thickness + 0.9f * (y / HalfWidth) * (y / HalfWidth); };
    auto bottomZ = [](float x, float y) { return kick(x) - 0.5f * Thickness + 0.9f * (y / HalfWidth) * (y / HalfWidth) - 0.4f; };
    auto planar = [](float x, float y) { return std::pair{(x + HalfLength) / (2.0f * HalfLength), (y + HalfWidth) / (2.0f * HalfWidth)}; };

    int topBase = 0, bottomBase = 0;
    for (int sheet = 0; sheet < 2; ++sheet) {
        const int base = static_cast<int>(m.vertices.size());
        (sheet == 0 ? topBase : bottomBase) = base;
        for (int i = 0; i <= Along; ++i)
            for (int j = 0; j <= Across; ++j) {
                const float x = xAt(i), y = yAt(x, j);
                const auto [u, v] = planar(x, y);
                m.addVertex({x, y, sheet == 0 ? topZ(x, y) : bottomZ(x, y)}, u, v);
            }
        for (int i = 0; i < Along; ++i)
            for (int j = 0; j < Across; ++j) {
                const int a = base + i * (Across + 1) + j;
                if (sheet == 0)
                    m.addQuad(a, a + Across + 1, a + Across + 2, a + 1);
                else
                    m.addQuad(a, a + 1, a + Across + 2, a + Across + 1);
            }
    }

    // The outline, counter-clockwise seen from above, as (i, j) grid points.
    std::vector<std::pair<int, int>> outline;
    for (int i = 0; i < Along; ++i) outline.push_back({i, 0});
    for (int j = 0; j < Across; ++j) outline.push_back({Along, j});
    for (int i = Along; i > 0; --i) outline.push_back({i, Across});
    for (int j = Across; j > 0; --j) outline.push_back({0, j});
    const int n = static_cast<int>(outline.size());
    std::vector<int> top(outline.size()), bottom(outline.size());
    for (int k = 0; k < n; ++k) {
        const auto [i, j] = outline[static_cast<std::size_t>(k)];
        const Float3 pt = m.vertices[static_cast<std::size_t>(topBase + i * (Across + 1) + j)].position;
        const Float3 pb = m.vertices[static_cast<std::size_t>(bottomBase + i * (Across + 1) + j)].position;
        const float along = static_cast<float>(k) / static_cast<float>(n);
        top[static_cast<std::size_t>(k)] = m.addVertex(pt, Wood.u + 0.012f * along, Wood.v + 0.01f);
        bottom[static_cast<std::size_t>(k)] = m.addVertex(pb, Wood.u + 0.012f * along + 0.002f, Wood.v - 0.01f);
    }
    for (int k = 0; k < n; ++k) {
        const auto k0 = static_cast<std::size_t>(k), k1 = static_cast<std::size_t>((k + 1) % n);
        m.addQuad(bottom[k0], bottom[k1], top[k1], top[k0]);
    }
    return m;
}

Mesh skateboard() {
    Mesh m = deck();
    for (float side : {-1.0f, 1.0f}) {
        const float x = side * TruckX;
        const float under = kick(x) - 0.5f * Thickness - 0.4f;
        // Baseplate, bushing, hanger, axle, two wheels.
        m.append(box({x - 8.0f, -7.0f, under - 1.8f}, {x + 8.0f, 7.0f, under}, Metal));
        m.append(box({x - 3.0f, -3.5f, under - 4.5f}, {x + 3.0f, 3.5f, under - 1.8f}, Bushing));
        m.append(box({x - 2.8f, -17.0f, under - 8.5f}, {x + 2.8f, 17.0f, under - 4.5f}, Metal));
        m.append(box({x - 0.8f, -24.0f, under - 7.3f}, {x + 0.8f, 24.0f, under - 5.7f}, Metal));
        for (float y : {-21.5f, 21.5f}) m.append(wheel({x, y, under - 6.5f}));
    }
    // Seen from 350 units, the board fills about a third of the picture.
    m.transform([](Float3 p) { return p * 1.3f; });
    return m;
}

// ---- Deck graphic ------------------------------------------------------

constexpr int TopWidth = 1024, TopHeight = 256;

// Deck coordinates of a texel (u along, v from the top of the picture).
float deckX(float u) { return u * 2.0f * HalfLength - HalfLength; }
float deckY(float v) { return (1.0f - v) * 2.0f * HalfWidth - HalfWidth; }
bool onDeck(float u, float v) { return std::fabs(deckY(v)) <= deckHalfWidth(deckX(u)) + 1.0f; }

// White lettering of the group's name across the middle of the deck.
Image letteringMask() {
    Image mask(TopWidth, TopHeight, {0.0f, 0.0f, 0.0f, 0.0f});
    const Font& font = Font::bold();
    const float size = 150.0f;
    const float width = font.width("QUARNEL", size);
    font.draw(mask, "QUARNEL", 0.5f * (TopWidth - width), 0.5f * TopHeight + 0.36f * size, size, {1.0f, 1.0f, 1.0f, 1.0f});
    return mask;
}

// Swatch colours of the corners outside the deck.
Rgba cornerColour(float u, float v) {
    const bool right = u > 0.5f, upper = v < 0.5f;  // upper in the picture: high texture v
    if (!right && upper) return rgb8(150, 104, 62);   // wood
    if (!right && !upper) return rgb8(178, 182, 190);  // metal
    if (right && upper) return rgb8(236, 214, 120);    // wheels
    return rgb8(210, 60, 40);                         // bushings
}

// A wave rolling along the deck under the lettering, bubbles rising out of it.
float waveCrest(float u) { return 0.7f - 0.14f * std::sin(2.0f * Pi * (2.0f * u + 0.1f)) - 0.05f * std::sin(2.0f * Pi * 5.0f * u); }

Image deckTop() {
    const Image mask = letteringMask();
    Image img(TopWidth, TopHeight);
    img.forEach([&](float u, float v, Rgba& c) {
        if (!onDeck(u, v)) {
            c = cornerColour(u, v);
            return;
        }
        // Night blue to violet along the deck, a sunset band behind the letters.
        c = ramp({{0.0f, rgb8(20, 40, 110)}, {0.5f, rgb8(70, 30, 120)}, {1.0f, rgb8(20, 40, 110)}}, u);
        c = mix(c, rgb8(250, 150, 60), std::exp(-std::pow((v - 0.45f) / 0.16f, 2.0f)) * 0.55f);
        // The wave: a teal body with a white crest line.
        const float crest = waveCrest(u);
        if (v > crest) c = mix(rgb8(20, 150, 160), rgb8(8, 60, 90), smoothstep(crest, 1.0f, v));
        c = mix(c, rgb8(240, 250, 255), std::exp(-std::pow((v - crest) * TopHeight / 5.0f, 2.0f)));
        // Rising rings.
        for (int k = 0; k < 9; ++k) {
            const float bu = 0.08f + 0.105f * k, bv = crest - 0.12f - 0.12f * std::fabs(std::sin(3.7f * k));
            const float r = std::hypot((u - bu) * TopWidth, (v - bv) * TopHeight) / (7.0f + 3.0f * (k % 3));
            c = mix(c, rgb8(200, 240, 255), std::exp(-std::pow((r - 1.0f) / 0.15f, 2.0f)) * 0.8f);
        }
        // Lettering: white with a dark shadow below right.
        const int x = std::clamp(static_cast<int>(u * TopWidth), 0, TopWidth - 1);
        const int y = std::clamp(static_cast<int>(v * TopHeight), 0, TopHeight - 1);
        const float shadow = mask.at(std::max(x - 6, 0), std::max(y - 6, 0)).a;
        c = mix(c, rgb8(10, 10, 30), shadow * 0.7f);
        c = mix(c, rgb8(250, 250, 245), mask.at(x, y).a);
        // A dark rim of grip along the outline.
        const float edge = deckHalfWidth(deckX(u)) - std::fabs(deckY(v));
        c = mix(c, rgb8(20, 20, 24), smoothstep(2.0f, 0.8f, edge));
        c.a = 1.0f;
    });
    return img;
}

// Height of the deck's top: raised lettering, the wave's crest, and fine
// grain of grip everywhere on the deck; flat outside it.
Image deckNormals() {
    Image height = letteringMask();
    for (Rgba& c : height.pixels) c = {c.a, c.a, c.a, 1.0f};
    blur(height, 1.5f, Edge::Clamp);
    height.forEach([](float u, float v, Rgba& c) {
        if (!onDeck(u, v)) {
            c.r = 0.0f;
            return;
        }
        const float crest = std::exp(-std::pow((v - waveCrest(u)) * TopHeight / 6.0f, 2.0f));
        c.r = 0.8f * c.r + 0.4f * crest + 0.06f * valueNoise(u * 700.0f, v * 175.0f, 301);
    });
    return normalMap(height, 3.0f, Edge::Clamp);
}

// ---- Credits -----------------------------------------------------------

constexpr int CreditsWidth = 640, CreditsHeight = 768;

// Words centred on a line, with small dots between them; returns nothing,
// draws into the mask's alpha.
void centredRow(Image& mask, const std::vector<std::string>& words, float baseline, float size) {
    const Font& font = Font::bold();
    const float gap = 0.9f * size;
    float total = 0.0f;
    for (const std::string& w : words) total += font.width(w, size);
    total += gap * static_cast<float>(words.size() - 1);
    float x = 0.5f * (CreditsWidth - total);
    for (std::size_t i = 0; i < words.size(); ++i) {
        x += font.draw(mask, words[i], x, baseline, size, {1.0f, 1.0f, 1.0f, 1.0f});
        if (i + 1 < words.size()) {
            const float cx = x + 0.5f * gap, cy = baseline - 0.3f * size, r = 0.09f * size;
            for (int py = static_cast<int>(cy - r - 2); py <= static_cast<int>(cy + r + 2); ++py)
                for (int px = static_cast<int>(cx - r - 2); px <= static_cast<int>(cx + r + 2); ++px) {
                    const float d = std::hypot(px + 0.5f - cx, py + 0.5f - cy);
                    mask.blend(px, py, {1.0f, 1.0f, 1.0f, std::clamp(r + 0.5f - d, 0.0f, 1.0f)});
                }
            x += gap;
        }
    }
}

// The closing credits: the production's title and group, and the free
// software it is made with. White letters with a soft cyan halo in the
// alpha, so that added over the picture they stay readable.
Image credits() {
    Image mask(CreditsWidth, CreditsHeight, {0.0f, 0.0f, 0.0f, 0.0f});
    centredRow(mask, {"VESSARA"}, 130.0f, 112.0f);
    centredRow(mask, {"a Quarnel production"}, 200.0f, 40.0f);
    centredRow(mask, {"made with free software"}, 330.0f, 34.0f);
    centredRow(mask, {"SDL2", "Mesa", "libepoxy"}, 400.0f, 40.0f);
    centredRow(mask, {"stb", "mpg123", "Emscripten"}, 460.0f, 40.0f);
    centredRow(mask, {"LAME", "GoogleTest"}, 520.0f, 40.0f);
    centredRow(mask, {"DejaVu fonts"}, 580.0f, 40.0f);
    centredRow(mask, {"thank you for watching"}, 700.0f, 34.0f);
    Image halo = mask;
    for (Rgba& c : halo.pixels) c = {c.a, c.a, c.a, 1.0f};
    blur(halo, 6.0f, Edge::Clamp);
    Image out(CreditsWidth, CreditsHeight);
    for (std::size_t i = 0; i < out.pixels.size(); ++i) {
        const float letter = mask.pixels[i].a, glow = std::min(1.0f, 1.6f * halo.pixels[i].r) * 0.45f;
        const float a = std::max(letter, glow);
        const Rgba colour = mix(rgb8(120, 220, 255), rgb8(255, 255, 250), a > 0.0f ? letter / a : 0.0f);
        out.pixels[i] = {colour.r, colour.g, colour.b, a};
    }
    return out;
}

}  // namespace

void addSkateAssets(std::vector<Asset>& assets) {
    assets.push_back({"skate.vxm", [] { return KestraneExt::encodeVXM({skateboard().toVXM("skate")}); }});
    assets.push_back({"skate-top.jpg", [] { return encodeJpeg(deckTop(), 92); }});
    assets.push_back({"normal_skate-top.png", [] { return encodePng(deckNormals(), false); }});
    assets.push_back({"credits.png", [] { return encodePng(credits(), true); }});
}

}  // namespace Forge
