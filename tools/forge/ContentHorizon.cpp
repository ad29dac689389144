// Content of the Horizon scene: a dusk landscape in flat layers.
//
// The scene stretches every layer over the whole screen with the picture's
// top row at the top edge and row h (0.5 at first, all of it from t = 10)
// at the bottom edge: content grows up from a picture's bottom and rises
// into view as h grows. Heights below are given as "up", the fraction of
// the picture's height above its bottom row; with h = 1 that is also the
// fraction of the screen. The background "scene3.jpg" shows its rows from
// up = 0.1 to 1, fixed.
//
// - "scene3.jpg": dusk sky, a low sun and three ranges of hills (up to 0.47).
// - "skyer1.png" .. "skyer4.png": cloud bands with alpha, high cirrus (up
//   0.76-1) to a low glowing haze (0.38-0.62). 1 and 4 are clamped at their
//   sides, so their side columns are plain haze streaks that continue
//   smoothly when the scene widens them; 2 and 3 tile sideways.
// - "piper3.png" .. "piper1.png": factory silhouettes, far and hazy (tops
//   to 0.6) to near and black (tops to 0.8). piper1 is clamped: its sides
//   are two long horizontal pipes over the ground, which run on as it
//   scrolls away; piper2 and 3 tile.
// - "gress.png" grass to 0.11, "grill.png" an iron railing to 0.19, tiling.
// - "dott.png": a soft, pale gold dot for the particles.
// - "atsolskogen.vxm": a row of spruces and a round tree on rolling ground,
//   whose vertices (thin tubes along the forest's silhouette, evenly
//   spaced) are where the scene's 2000 dots gather. Stored so that the
//   scene's turn about x (mesh -y up) and 0.4 scale stand it upright, about
//   105 units tall, in front of its camera.
#include "Content.h"
#include "Geometry2D.h"
#include "Mesh.h"
#include "Noise.h"
#include "Random.h"
#include "TextureOps.h"
#include "Vector3.h"

#include "kestrane_ext/VXMWriter.h"

#include <algorithm>
#include <cmath>

namespace Forge {

namespace {

constexpr float Pi = 3.14159265358979f;
constexpr int LayerWidth = 1024, LayerHeight = 512;

// --- Silhouettes --------------------------------------------------------

// Coverage of a silhouette layer, painted shape by shape with 4 x 4
// samples per texel. Coordinates are texels with y up from the bottom row;
// shapes of a tiling layer wrap round the sides.
class Silhouette {
public:
    Silhouette(int width, int height, bool wrap) : w(width), h(height), wrapX(wrap), cover(width * height, 0.0f) {}

    // Adds the set {p : inside(p)} within the box [x0, x1] x [y0, y1].
    template <typename Inside>
    void add(float x0, float y0, float x1, float y1, Inside inside) {
        for (int shift : {-w, 0, w}) {
            if (!wrapX && shift != 0) continue;
            const int ix0 = std::max(0, static_cast<int>(std::floor(x0 + shift))), ix1 = std::min(w - 1, static_cast<int>(std::ceil(x1 + shift)));
            const int iy0 = std::max(0, static_cast<int>(std::floor(y0))), iy1 = std::min(h - 1, static_cast<int>(std::ceil(y1)));
            for (int y = iy0; y <= iy1; ++y)
                for (int x = ix0; x <= ix1; ++x) {
                    int hits = 0;
                    for (int sy = 0; sy < 4; ++sy)
                        for (int sx = 0; sx < 4; ++sx)
                            hits += inside(Vec2{x + (sx + 0.5f) / 4.0f - shift, y + (sy + 0.5f) / 4.0f}) ? 1 : 0;
                    float& c = cover[static_cast<std::size_t>(y) * w + x];
                    c = std::max(c, hits / 16.0f);
                }
        }
    }
    void rect(float x0, float y0, float x1, float y1) {
        add(x0, y0, x1, y1, [=](Vec2 p) { return p.x >= x0 && p.x < x1 && p.y >= y0 && p.y < y1; });
    }
    // A capsule: the segment a-b thickened to radius r.
    void pipe(Vec2 a, Vec2 b, float r) {
        add(std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r, [=](Vec2 p) {
            const Vec2 ab = b - a;
            const float k = std::clamp(dot(p - a, ab) / std::max(dot(ab, ab), 1e-6f), 0.0f, 1.0f);
            const Vec2 d = p - (a + ab * k);
            return dot(d, d) <= r * r;
        });
    }
    void ellipse(Vec2 c, float rx, float ry) {
        add(c.x - rx, c.y - ry, c.x + rx, c.y + ry, [=](Vec2 p) {
            const float dx = (p.x - c.x) / rx, dy = (p.y - c.y) / ry;
            return dx * dx + dy * dy <= 1.0f;
        });
    }
    void polygon(const Contour& c) {
        float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
        for (Vec2 p : c) x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
        add(x0, y0, x1, y1, [&c](Vec2 p) { return pointInContour(p, c); });
    }
    // A chimney from the ground line `base` to `top`, tapering, with a lip.
    void chimney(float x, float base, float top, float bottomWidth, float topWidth) {
        polygon({{x - bottomWidth / 2, base}, {x + bottomWidth / 2, base}, {x + topWidth / 2, top}, {x - topWidth / 2, top}});
        rect(x - topWidth / 2 - 1.5f, top - 4.0f, x + topWidth / 2 + 1.5f, top);
    }
    // A hyperbolic cooling tower.
    void coolingTower(float x, float base, float top, float width) {
        add(x - width, base, x + width, top, [=](Vec2 p) {
            const float k = (p.y - base) / (top - base);
            const float half = width * (0.36f + 0.14f * std::pow((k - 0.72f) / 0.72f, 2.0f) * (k < 0.72f ? 1.0f : 2.2f));
            return k <= 1.0f && std::fabs(p.x - x) <= half;
        });
    }
    // Sawtooth factory roofs from x0 to x1 over walls of height `wall`.
    void sawtoothHall(float x0, float x1, float base, float wall, float tooth) {
        rect(x0, base, x1, wall);
        for (float x = x0; x < x1 - 1.0f; x += tooth)
            polygon({{x, wall - 0.5f}, {std::min(x + tooth, x1), wall - 0.5f}, {std::min(x + tooth, x1), wall + tooth * 0.55f}});
    }

    float at(int x, int y) const { return cover[static_cast<std::size_t>(y) * w + x]; }
    int width() const { return w; }
    int height() const { return h; }

private:
    int w, h;
    bool wrapX;
    std::vector<float> cover;
};

// The silhouette in colour over a transparent picture; `tint` varies the
// colour with height (up, 0 .. 1) and column.
Image silhouetteImage(const Silhouette& s, const std::function<Rgba(float u, float up)>& tint) {
    Image img(s.width(), s.height(), {0.0f, 0.0f, 0.0f, 0.0f});
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const float up = (y + 0.5f) / s.height();
            Rgba c = tint((x + 0.5f) / s.width(), up);
            c.a *= s.at(x, y);
            img.at(x, s.height() - 1 - y) = c;
        }
    return img;
}

// The scene's top edge samples t = 1, where a repeating texture's filter
// blends the top row with the bottom one: a tiling layer with a filled
// ground keeps its bottom rows clear, or it would draw a dark line along the
// top of the sky. (Only the screen's lowest pixel row shows them, at h = 1.)
void clearBottomRows(Image& img, int rows) {
    for (int y = img.height() - rows; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.at(x, y).a = 0.0f;
}

// Warm lit windows in rows on a wall, only where the wall is already dark.
void litWindows(Image& img, Random& rng, float x0, float x1, float y0, float y1, float step, float chance) {
    for (float y = y0; y + 3.0f < y1; y += step)
        for (float x = x0; x + 3.0f < x1; x += step) {
            if (rng.uniform() > chance) continue;
            const Rgba glow = mix(rgb8(255, 190, 110), rgb8(255, 230, 160), rng.uniform());
            for (int dy = 0; dy < 3; ++dy)
                for (int dx = 0; dx < 3; ++dx) {
                    const int px = (static_cast<int>(x) + dx + img.width()) % img.width();
                    const int py = img.height() - 1 - (static_cast<int>(y) + dy);
                    Rgba& t = img.at(px, py);
                    if (t.a > 0.99f) t = Rgba{glow.r, glow.g, glow.b, 1.0f};
                }
        }
}

// Smoke drifting right from a chimney top, soft and translucent.
void smoke(Image& img, float x, float top, float length, Rgba colour, std::uint32_t seed) {
    const int W = img.width(), H = img.height();
    for (int y = 0; y < H; ++y)
        for (int dxi = 0; dxi < static_cast<int>(length); ++dxi) {
            const float up = static_cast<float>(H - 1 - y);
            const float k = dxi / length;  // 0 at the chimney, 1 at the end
            const float centre = top + 6.0f + 60.0f * std::sqrt(k);
            const float radius = 4.0f + 22.0f * k;
            const float n = 0.6f + 0.4f * fbm2(dxi / 18.0f, up / 18.0f, seed, 3);
            const float a = std::exp(-std::pow((up - centre) / radius, 2.0f)) * (1.0f - k) * n * 0.55f;
            if (a < 0.01f) continue;
            Rgba& t = img.at((static_cast<int>(x) + dxi) % W, y);
            const float outA = a + t.a * (1.0f - a);
            const Rgba c = (colour * a + t * (t.a * (1.0f - a))) * (1.0f / outA);
            t = {c.r, c.g, c.b, outA};
        }
}

// Far factories: a hazy skyline of halls and thin chimneys, tiling.
Image farPipes() {
    const float H = LayerHeight;
    Silhouette s(LayerWidth, LayerHeight, true);
    Random rng(301);
    s.rect(0, 0, LayerWidth, 0.30f * H);
    for (float x = 0; x < LayerWidth; x += rng.range(40, 90)) {
        const float top = rng.range(0.32f, 0.43f) * H;
        s.rect(x, 0, x + rng.range(30, 70), top);
        if (rng.uniform() < 0.4f) s.sawtoothHall(x, x + 60, 0, top - 4, 12);
    }
    const float chimneys[][2] = {{70, 0.58f}, {95, 0.55f}, {300, 0.6f}, {520, 0.52f}, {545, 0.57f}, {800, 0.59f}, {930, 0.5f}};
    for (const auto& c : chimneys) s.chimney(c[0], 0, c[1] * H, 9, 6);
    s.coolingTower(660, 0, 0.5f * H, 44);
    s.pipe({120, 0.37f * H}, {290, 0.37f * H}, 2.5f);
    Image img = silhouetteImage(s, [](float, float up) { return mix(rgb8(112, 78, 118), rgb8(128, 90, 126), up); });
    for (const auto& c : chimneys) smoke(img, c[0], c[1] * H, 160, rgb8(170, 130, 150), 311 + static_cast<std::uint32_t>(c[0]));
    clearBottomRows(img, 3);
    return img;
}

// Middle factories: halls, a cooling tower, gas holders and chimneys joined
// by pipe runs, a few lit windows; tiling.
Image middlePipes() {
    const float H = LayerHeight;
    Silhouette s(LayerWidth, LayerHeight, true);
    s.rect(0, 0, LayerWidth, 0.25f * H);
    s.sawtoothHall(20, 240, 0, 0.36f * H, 22);
    s.rect(250, 0, 330, 0.43f * H);
    s.rect(600, 0, 720, 0.40f * H);
    s.sawtoothHall(720, 900, 0, 0.33f * H, 18);
    s.coolingTower(430, 0, 0.56f * H, 70);
    s.ellipse({960, 0.32f * H}, 40, 28);  // gas holder
    s.rect(920, 0, 1000, 0.32f * H);
    const float chimneys[][2] = {{275, 0.68f}, {305, 0.64f}, {560, 0.62f}, {660, 0.66f}, {840, 0.58f}};
    for (const auto& c : chimneys) s.chimney(c[0], 0, c[1] * H, 16, 10);
    s.pipe({240, 0.41f * H}, {600, 0.41f * H}, 4);
    s.pipe({330, 0.30f * H}, {600, 0.30f * H}, 6);
    s.pipe({700, 0.45f * H}, {920, 0.38f * H}, 3);
    for (float x = 350; x < 600; x += 48) s.rect(x - 2, 0, x + 2, 0.41f * H);
    Image img = silhouetteImage(s, [](float, float up) { return mix(rgb8(52, 36, 64), rgb8(66, 46, 76), up); });
    Random rng(302);
    litWindows(img, rng, 30, 235, 0.27f * H, 0.35f * H, 11, 0.35f);
    litWindows(img, rng, 255, 325, 0.28f * H, 0.42f * H, 10, 0.3f);
    litWindows(img, rng, 605, 715, 0.27f * H, 0.39f * H, 10, 0.3f);
    for (const auto& c : chimneys) smoke(img, c[0], c[1] * H, 220, rgb8(120, 92, 118), 321 + static_cast<std::uint32_t>(c[0]));
    clearBottomRows(img, 3);
    return img;
}

// Near factory, black against the sky: two chimneys, a tank, a pipe rack and bends. Clamped: its sides hold only the ground and
// two long pipes, which the clamp carries on beyond the picture.
Image nearPipes() {
    const float H = LayerHeight;
    Silhouette s(LayerWidth, LayerHeight, false);
    s.rect(0, 0, LayerWidth, 0.12f * H);
    s.pipe({-20, 0.21f * H}, {LayerWidth + 20, 0.21f * H}, 9);
    s.pipe({-20, 0.29f * H}, {LayerWidth + 20, 0.29f * H}, 6);
    for (float x = 40; x < LayerWidth; x += 90) s.rect(x - 4, 0, x + 4, 0.31f * H);  // rack posts
    s.chimney(330, 0, 0.8f * H, 46, 30);
    s.chimney(760, 0, 0.7f * H, 34, 22);
    s.rect(120, 0, 240, 0.42f * H);  // tank
    s.ellipse({180, 0.42f * H}, 60, 16);
    s.pipe({240, 0.38f * H}, {300, 0.38f * H}, 7);
    s.pipe({420, 0.12f * H}, {420, 0.52f * H}, 8);  // riser with a bend over to the hall
    s.pipe({420, 0.52f * H}, {520, 0.52f * H}, 8);
    s.pipe({520, 0.52f * H}, {520, 0.36f * H}, 8);
    s.rect(500, 0, 680, 0.36f * H);
    s.polygon({{500, 0.36f * H}, {680, 0.36f * H}, {590, 0.45f * H}});
    s.pipe({880, 0.12f * H}, {950, 0.47f * H}, 5);  // a conveyor up to a silo
    s.rect(935, 0, 990, 0.5f * H);
    s.polygon({{932, 0.5f * H}, {993, 0.5f * H}, {962, 0.56f * H}});
    Image img = silhouetteImage(s, [](float, float) { return rgb8(20, 14, 26); });
    Random rng(303);
    litWindows(img, rng, 510, 670, 0.16f * H, 0.33f * H, 12, 0.25f);
    smoke(img, 330, 0.8f * H, 300, rgb8(90, 72, 96), 331);
    return img;
}

// Grass: dense dark blades over a filled strip, tiling.
Image grass() {
    const float H = LayerHeight;
    Silhouette s(LayerWidth, LayerHeight, true);
    s.rect(0, 0, LayerWidth, 0.04f * H);
    Random rng(304);
    for (int i = 0; i < 900; ++i) {
        const float x = rng.uniform() * LayerWidth, height = rng.range(0.045f, 0.11f) * H, lean = rng.range(-12, 12);
        const float w = rng.range(1.6f, 3.2f);
        s.polygon({{x - w, 0}, {x + w, 0}, {x + lean, height}});
    }
    Image img = silhouetteImage(s, [](float, float up) { return mix(rgb8(10, 20, 14), rgb8(38, 58, 34), std::min(up / 0.11f, 1.0f)); });
    clearBottomRows(img, 3);
    return img;
}

// An iron railing: spear-topped bars, two rails, heavier posts; tiling.
Image railing() {
    const float H = LayerHeight;
    Silhouette s(LayerWidth, LayerHeight, true);
    s.rect(0, 0.045f * H, LayerWidth, 0.056f * H);
    s.rect(0, 0.145f * H, LayerWidth, 0.154f * H);
    for (float x = 8; x < LayerWidth; x += 16) {
        s.rect(x - 1.4f, 0, x + 1.4f, 0.17f * H);
        s.polygon({{x - 3.2f, 0.166f * H}, {x + 3.2f, 0.166f * H}, {x, 0.185f * H}});
    }
    for (float x = 64; x < LayerWidth; x += 128) {
        s.rect(x - 4.5f, 0, x + 4.5f, 0.185f * H);
        s.ellipse({x, 0.19f * H}, 5.5f, 5.5f);
    }
    Image img = silhouetteImage(s, [](float, float) { return rgb8(12, 9, 16); });
    clearBottomRows(img, 3);
    return img;
}

// --- Sky ----------------------------------------------------------------

// Dusk over hills: indigo above, rose and orange at the horizon, a low sun,
// three ranges of hills, paler with distance. Rows from up = 0.1 show.
Image background() {
    const int W = 1024, Hh = 512;
    Image img(W, Hh);
    img.forEach([&](float u, float v, Rgba& c) {
        const float up = 1.0f - v;
        c = ramp({{0.40f, rgb8(236, 130, 86)}, {0.52f, rgb8(214, 112, 110)}, {0.68f, rgb8(128, 76, 122)}, {0.85f, rgb8(52, 42, 98)}, {1.0f, rgb8(20, 22, 60)}}, up);
        const float dx = (u - 0.62f) * 2.0f, dy = (up - 0.45f);
        const float sun = std::exp(-(dx * dx + dy * dy * 6.0f) * 30.0f);
        c = c + Rgba{1.0f, 0.8f, 0.45f, 0.0f} * (sun * 0.6f);
        if (dx * dx + dy * dy * 4.0f < 0.0016f) c = mix(c, rgb8(255, 228, 170), 0.9f);
        const struct { float base, amp, freq; std::uint32_t seed; Rgba colour; } ranges[] = {
            {0.40f, 0.07f, 3.0f, 401, rgb8(150, 88, 120)},
            {0.32f, 0.08f, 5.0f, 402, rgb8(96, 58, 98)},
            {0.22f, 0.07f, 7.0f, 403, rgb8(54, 36, 70)},
        };
        for (const auto& r : ranges) {
            const float ridge = r.base + r.amp * (0.5f + 0.5f * fbm2(u * r.freq, 0.5f, r.seed, 4, static_cast<int>(r.freq)));
            if (up < ridge) {
                const float edge = std::clamp((ridge - up) * Hh, 0.0f, 1.0f);
                c = mix(c, r.colour * (0.9f + 0.1f * (up / ridge)), edge);
                c.a = 1.0f;
            }
        }
        // Rows below 0.05 never show; they take the top row's colour, which
        // the repeating filter blends into the top edge.
        if (up < 0.05f) c = rgb8(20, 22, 60);
        c.a = 1.0f;
    });
    return img;
}

// A cloud band between up = low and high, tiling sideways when `tiles`
// (period in noise cells), otherwise fading at the sides into a plain haze
// streak the same in every column, so clamped sides continue it.
Image clouds(float low, float high, float scaleX, float scaleY, float cover, float haze, Rgba lit, Rgba shade,
             std::uint32_t seed, int period) {
    Image img(LayerWidth, LayerHeight);
    const float mid = 0.5f * (low + high), halfBand = 0.5f * (high - low);
    img.forEach([&](float u, float v, Rgba& c) {
        const float up = 1.0f - v;
        const float band = std::max(0.0f, 1.0f - std::pow((up - mid) / halfBand, 2.0f));
        const float n = fbm2(u * scaleX, up * scaleY, seed, 5, period > 0 ? static_cast<int>(scaleX) : 0);
        float a = smoothstep(1.0f - cover, 1.0f - cover + 0.35f, 0.5f + 0.5f * n) * band;
        const float streak = haze * band * band;
        a = std::max(a, streak);
        if (period == 0) {
            const float side = smoothstep(0.0f, 0.15f, u) * smoothstep(1.0f, 0.85f, u);
            a = streak + (a - streak) * side;
        }
        // Lit from below by the low sun: bright undersides, darker tops.
        const float underside = smoothstep(mid + halfBand * 0.5f, low, up);
        c = mix(shade, lit, underside);
        c.a = std::clamp(a, 0.0f, 1.0f);
    });
    return img;
}

// --- Dot ----------------------------------------------------------------

Image softDot() {
    Image img(64, 64);
    img.forEach([](float u, float v, Rgba& c) {
        const float r = 2.0f * std::hypot(u - 0.5f, v - 0.5f);
        c = mix(rgb8(255, 236, 190), rgb8(255, 250, 235), smoothstep(0.5f, 0.0f, r));
        c.a = smoothstep(1.0f, 0.15f, r);
    });
    return img;
}

// --- Forest -------------------------------------------------------------

// Points every `spacing` along a closed outline.
Contour resampled(const Contour& line, float spacing) {
    Contour out;
    const std::size_t n = line.size();
    float carry = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        const Vec2 a = line[i], b = line[(i + 1) % n];
        const float len = length(b - a);
        float s = carry;
        for (; s < len; s += spacing) out.push_back(a + (b - a) * (s / len));
        carry = s - len;
    }
    return out;
}

// A spruce: trunk and tiers of drooping branches, zigzagging up both sides.
Contour spruce(float x, float base, float height, float width, int tiers) {
    const float trunk = 0.05f * width, foot = base + 0.08f * height;
    // Each tier: its branch tip low and outside, then in and up to the notch
    // above the next tier's tip, so the branches droop.
    const float tier = (base + height - foot) / static_cast<float>(tiers);
    Contour left;
    for (int k = 0; k < tiers; ++k) {
        const float z0 = foot + tier * static_cast<float>(k);
        const float tip = 0.5f * width * (1.0f - 0.9f * static_cast<float>(k) / static_cast<float>(tiers));
        left.push_back({x - tip, z0});
        if (k + 1 < tiers) left.push_back({x - 0.42f * tip, z0 + 1.15f * tier});
    }
    Contour c{{x - trunk, base}, {x - trunk, foot}};
    c.insert(c.end(), left.begin(), left.end());
    c.push_back({x, base + height});
    for (auto it = left.rbegin(); it != left.rend(); ++it) c.push_back({2.0f * x - it->x, it->y});
    c.push_back({x + trunk, foot});
    c.push_back({x + trunk, base});
    return c;
}

// A round leafy tree: a bumpy crown on a trunk.
Contour roundTree(float x, float base, float height, float seed) {
    const float r = 0.32f * height, cy = base + height - r, trunk = 0.05f * height;
    const float open = std::asin(trunk / r);
    Contour c{{x - trunk, base}};
    for (int i = 0; i <= 80; ++i) {
        const float a = -0.5f * Pi - open - (2.0f * Pi - 2.0f * open) * i / 80.0f;  // clockwise from the trunk's left
        const float bump = 1.0f + 0.09f * std::sin(7.0f * a + seed) + 0.05f * std::sin(13.0f * a + 2.0f * seed);
        c.push_back({x + r * bump * std::cos(a) * 1.1f, cy + r * bump * std::sin(a)});
    }
    c.push_back({x + trunk, base});
    return c;
}

// Ground line of the forest at x, in the scene's units.
float groundAt(float x) {
    return -76.0f + 4.0f * std::sin(x * 0.021f + 0.4f);
}

// Adds the quad a-b-c-d turned to face `outward`.
void quadFacing(Mesh& m, int a, int b, int c, int d, Float3 outward) {
    const Float3 pa = m.vertices[a].position;
    const Float3 n = cross(m.vertices[b].position - pa, m.vertices[c].position - pa);
    if (dot(n, outward) >= 0.0f)
        m.addQuad(a, b, c, d);
    else
        m.addQuad(a, d, c, b);
}

// A thin closed tube of square section along a run of outline points (x
// across, y up) at `depth`, in the scene's units (x across, y depth, z up).
void addTube(Mesh& m, const Contour& run, float depth) {
    constexpr float R = 0.2f;
    const int n = static_cast<int>(run.size());
    if (n < 2) return;
    const float corners[4][2] = {{R, R}, {-R, R}, {-R, -R}, {R, -R}};  // (across the line, depth)
    const int first = static_cast<int>(m.vertices.size());
    std::vector<Float3> along(n);
    for (int i = 0; i < n; ++i) {
        const Vec2 d = run[std::min(i + 1, n - 1)] - run[std::max(i - 1, 0)];
        const Vec2 t = d * (1.0f / std::max(length(d), 1e-6f));
        along[i] = {t.x, 0.0f, t.y};
        const Float3 side{-t.y, 0.0f, t.x}, centre{run[i].x, depth, run[i].y};
        for (int k = 0; k < 4; ++k)
            m.addVertex(centre + side * corners[k][0] + Float3{0.0f, corners[k][1], 0.0f}, 0.05f * static_cast<float>(i), 0.25f * static_cast<float>(k));
    }
    auto at = [&](int i, int k) { return first + 4 * i + (k % 4); };
    for (int i = 0; i + 1 < n; ++i)
        for (int k = 0; k < 4; ++k) {
            const Float3 out = (m.vertices[at(i, k)].position + m.vertices[at(i, k + 1)].position) * 0.5f -
                               Float3{run[i].x, depth, run[i].y};
            quadFacing(m, at(i, k), at(i + 1, k), at(i + 1, k + 1), at(i, k + 1), out);
        }
    // End caps on vertices of their own, with a square of texture each.
    for (const int i : {0, n - 1}) {
        const int c = static_cast<int>(m.vertices.size());
        const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int k = 0; k < 4; ++k) m.addVertex(m.vertices[at(i, k)].position, uv[k][0], uv[k][1]);
        quadFacing(m, c, c + 1, c + 2, c + 3, i == 0 ? along[i] * -1.0f : along[i]);
    }
}

Mesh forest() {
    // Scene units: x across the screen, z up, y away from the camera, which
    // stands 60 units in front. The scene shows about -185 .. 185 across and
    // -104 .. 104 up.
    struct Tree { float x, height, width; int tiers; bool round; float depth; };
    // The picture is shown about 1.3 times taller than wide, so the trees
    // are made wide.
    const Tree trees[] = {
        {-148, 72, 60, 4, false, 4}, {-100, 98, 76, 5, false, -6}, {-56, 66, 0, 0, true, 3},
        {-12, 106, 82, 5, false, -2}, {36, 62, 52, 4, false, 2},   {80, 100, 78, 5, false, -3},
        {134, 80, 64, 4, false, 5},
    };
    constexpr float Spacing = 1.3f;

    std::vector<Contour> outlines;
    for (const Tree& tree : trees) {
        const float base = groundAt(tree.x);
        outlines.push_back(tree.round ? roundTree(tree.x, base, tree.height, tree.x * 0.1f)
                                      : spruce(tree.x, base, tree.height, tree.width, tree.tiers));
    }
    // Only the forest's silhouette: the parts of an outline inside another
    // tree are left out, so overlapping trees do not cross each other. Each
    // visible run of an outline becomes a thin tube (a closed solid like
    // every mesh of the show); the scene uses only its vertices, all within
    // 0.3 units of the outline and evenly spaced along it.
    Mesh m;
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        const Contour points = resampled(outlines[i], Spacing);
        const int n = static_cast<int>(points.size());
        std::vector<bool> shown(n);
        int hiddenAt = -1;
        for (int p = 0; p < n; ++p) {
            bool hidden = false;
            for (std::size_t j = 0; j < outlines.size(); ++j) hidden = hidden || (j != i && pointInContour(points[p], outlines[j]));
            shown[p] = !hidden;
            if (hidden && hiddenAt < 0) hiddenAt = p;
        }
        // Runs of shown points, starting after a hidden one (or anywhere
        // when the whole outline shows).
        Contour run;
        for (int step = 1; step <= n; ++step) {
            const int p = (std::max(hiddenAt, 0) + step) % n;
            if (shown[p]) run.push_back(points[p]);
            if (!shown[p] || step == n) {
                addTube(m, run, trees[i].depth);
                run.clear();
            }
        }
    }
    // To the mesh's own axes: the scene turns mesh -y up and mesh z into
    // depth, and scales by 0.4.
    m.transform([](Float3 p) { return Float3{p.x, -p.z, p.y} * (1.0f / 0.4f); });
    return m;
}

}  // namespace

void addHorizonAssets(std::vector<Asset>& assets) {
    assets.push_back({"scene3.jpg", [] { return encodeJpeg(background(), 92); }});
    // Cirrus, high and clamped.
    assets.push_back({"skyer1.png", [] {
        return encodePng(clouds(0.76f, 1.04f, 3.0f, 26.0f, 0.45f, 0.18f, rgb8(250, 190, 200), rgb8(150, 110, 160), 501, 0), true);
    }});
    // Cumulus, tiling.
    assets.push_back({"skyer2.png", [] {
        return encodePng(clouds(0.62f, 0.9f, 4.0f, 8.0f, 0.62f, 0.0f, rgb8(255, 178, 150), rgb8(110, 76, 130), 502, 1), true);
    }});
    // Small low puffs, tiling.
    assets.push_back({"skyer3.png", [] {
        return encodePng(clouds(0.5f, 0.72f, 6.0f, 12.0f, 0.55f, 0.0f, rgb8(255, 160, 120), rgb8(130, 80, 120), 503, 1), true);
    }});
    // Horizon haze, clamped.
    assets.push_back({"skyer4.png", [] {
        return encodePng(clouds(0.38f, 0.62f, 5.0f, 30.0f, 0.4f, 0.35f, rgb8(255, 170, 120), rgb8(200, 120, 130), 504, 0), true);
    }});
    assets.push_back({"piper3.png", [] { return encodePng(farPipes(), true); }});
    assets.push_back({"piper2.png", [] { return encodePng(middlePipes(), true); }});
    assets.push_back({"piper1.png", [] { return encodePng(nearPipes(), true); }});
    assets.push_back({"gress.png", [] { return encodePng(grass(), true); }});
    assets.push_back({"grill.png", [] { return encodePng(railing(), true); }});
    assets.push_back({"dott.png", [] { return encodePng(softDot(), true); }});
    assets.push_back({"atsolskogen.vxm", [] { return KestraneExt::encodeVXM({forest().toVXM("atsolskogen")}); }});
}

}  // namespace Forge
