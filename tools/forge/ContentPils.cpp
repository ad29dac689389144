// Content of the Pils and PilsTakeoff scenes: the fork "gaffel.vxm" (about
// 115 units long, drawn at scale 0.7 in a swarm seen from about 300 units),
// its sphere map "jall.jpg" (a bright sky over a warm floor), and the sky
// box pictures "scene2.jpg" (day: blue sky over a sea of clouds) and
// "natthimmel.jpg" (night: stars over moonlit clouds). The sky box shows
// the whole picture on each side face (top of the picture up, repeating
// round the four sides, so the pictures tile horizontally) and fills its
// top and bottom faces with the picture's top-left and bottom-left texels:
// the top and bottom rows are one flat colour each, so the caps meet the
// sides without a seam.
#include "Content.h"
#include "MeshShapes.h"
#include "Noise.h"
#include "Random.h"
#include "TextureOps.h"

#include <algorithm>
#include <cmath>

namespace Forge {

namespace {

constexpr float Pi = 3.14159265358979f;

// Half-width of the fork's body along its length y (handle end at -32,
// tines from 20), a smooth curve through key widths.
float forkHalfWidth(float y) {
    static const float keys[][2] = {{-32.0f, 0.0f},  {-31.6f, 2.3f}, {-30.6f, 3.6f}, {-29.0f, 4.25f},
                                    {-26.0f, 4.4f},  {-15.0f, 3.7f}, {-2.0f, 2.5f},  {5.0f, 1.55f},
                                    {9.0f, 1.55f},   {13.0f, 3.4f},  {16.5f, 5.4f},  {20.0f, 6.0f}};
    constexpr int n = sizeof(keys) / sizeof(keys[0]);
    for (int i = 0; i + 1 < n; ++i) {
        if (y <= keys[i + 1][0]) {
            const float t = (y - keys[i][0]) / (keys[i + 1][0] - keys[i][0]);
            const float p0 = keys[std::max(i - 1, 0)][1], p1 = keys[i][1], p2 = keys[i + 1][1],
                        p3 = keys[std::min(i + 2, n - 1)][1];
            // Catmull-Rom through the keys.
            return std::max(0.0f, 0.5f * (2.0f * p1 + (-p0 + p2) * t + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * t * t +
                                          (-p0 + 3.0f * p1 - 3.0f * p2 + p3) * t * t * t));
        }
    }
    return keys[n - 1][1];
}

// Spacing of the outline's points along the sides at height y.
float forkStep(float y) {
    if (y < -29.0f) return 1.0f;
    return y < 5.0f ? 4.0f : 2.5f;
}

Contour forkOutline() {
    Contour c;
    auto arc = [&](Vec2 centre, float r, float from, float to, int steps) {
        for (int k = 0; k <= steps; ++k) {
            const float a = from + (to - from) * static_cast<float>(k) / static_cast<float>(steps);
            c.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
        }
    };
    // Right side, handle end to tine base: a point every 4 units along the
    // slowly narrowing handle, every 2.5 where the neck widens into the head,
    // finer round the handle's end. Seen from 300 units the fork is some 70
    // pixels long, so a point every 3 to 5 pixels.
    std::vector<float> side;
    for (float y = -32.0f; y < 20.0f; y += forkStep(y)) side.push_back(y);
    for (float y : side) c.push_back({forkHalfWidth(y), y});
    // Four tapering tines, right to left, with rounded tips and gaps.
    // A head wider and gaps wider than a real fork's: seen at a hundred pixels
    // through the blur and outlines, the four tines must still read.
    constexpr float Left = -6.0f, Right = 6.0f, Base = 1.7f, Tip = 1.3f, TipY = 33.0f, GapY = 21.0f;
    constexpr float Gap = ((Right - Left) - 4.0f * Base) / 3.0f;
    for (int tine = 3; tine >= 0; --tine) {
        const float x0 = Left + static_cast<float>(tine) * (Base + Gap), x1 = x0 + Base;
        const float mid = 0.5f * (x0 + x1);
        const float inner = 0.5f * Tip;
        if (tine == 3) c.push_back({x1, 20.0f});
        c.push_back({mid + inner, TipY - inner});
        arc({mid, TipY - inner}, inner, 0.0f, Pi, 3);
        if (tine > 0) {
            // Down into the gap to the left and round its bottom.
            const float g0 = x0 - Gap, r = 0.5f * Gap;
            c.push_back({x0, GapY + r});
            arc({g0 + r, GapY + r}, r, 0.0f, -Pi, 3);
        } else {
            c.push_back({x0, 20.0f});
        }
    }
    // Left side, tine base back down to the handle end.
    for (auto y = side.rbegin(); y != side.rend(); ++y) c.push_back({-forkHalfWidth(*y), *y});
    return cleaned(c, 1e-4f);
}

// A stamped dinner fork: the outline extruded with rounded edges, the
// handle thickened towards its end, the whole bent like a real fork.
Mesh fork() {
    ExtrudeStyle style;
    style.depth = 1.3f;
    style.bevel = 0.45f;
    style.bevelSteps = 1;  // the rounded edges are a pixel or two wide
    style.creaseDegrees = 50.0f;
    style.uvScale = 1.0f / 64.0f;
    Mesh m = extrude(groupContours({forkOutline()}), style);
    m.transform([](Float3 p) {
        const float thick = 1.0f + 1.4f * smoothstep(8.0f, -20.0f, p.y);
        const float bend = 0.0032f * (p.y - 4.0f) * (p.y - 4.0f);
        return Float3{p.x, p.y, p.z * thick + bend};
    });
    // About 115 units long: drawn at 0.7 from some 300 units away, a fork
    // must be large enough for its tines to read. Stood on its edge (its
    // face towards +x): the swarm turns each fork about x and z only, so a
    // fork lying flat in the xy plane would never show its face to a
    // camera looking along x.
    m.transform([](Float3 p) { return Float3{-p.z, p.y, p.x} * 1.8f; });
    return m;
}

// Silverware in daylight: blue sky, a bright horizon and sun, a dark warm
// floor. Kept dim: the forks are tinted up to 2.3 times per channel and the
// scene's glow roughly doubles them again.
Rgba cutlerySky(Float3 d) {
    const float y = d.y;
    Rgba c = y > 0.0f ? mix(rgb8(150, 160, 175), rgb8(30, 60, 120), std::pow(y, 0.7f))
                      : mix(rgb8(70, 58, 48), rgb8(14, 11, 9), std::pow(-y, 0.5f));
    c = mix(c, rgb8(235, 235, 225), std::exp(-y * y * 300.0f));
    const float sun = std::max(dot(d, normalize({-0.4f, 0.7f, 0.6f})), 0.0f);
    c = c + Rgba{1.0f, 0.97f, 0.9f, 0.0f} * (std::pow(sun, 60.0f) * 0.9f);
    const float window = smoothstep(0.9f, 0.95f, dot(d, normalize({0.8f, 0.2f, 0.2f})));
    c = mix(c, rgb8(230, 230, 230), window * 0.8f);
    c.a = 1.0f;
    return c;
}

constexpr int SkySize = 1024;

// Sky picture: v = 0 is the top (zenith row), 0.5 the horizon, 1 the bottom.
Image daySky() {
    // About half the brightness meant on screen, less below the horizon: the
    // scene's glow adds a blurred copy of the picture onto itself, two or
    // three times over on a bass hit.
    const Rgba zenith = rgb8(16, 48, 112), horizon = rgb8(84, 98, 118), below = rgb8(44, 78, 132);
    Image img(SkySize, SkySize);
    img.forEach([&](float u, float v, Rgba& c) {
        if (v < 0.5f) {
            const float h = v / 0.5f;  // 0 zenith .. 1 horizon
            c = mix(zenith, horizon, std::pow(h, 2.2f));
            // Fair-weather clouds, thinning towards the zenith; tiling round.
            const float n = fbm2(u * 6.0f, v * 14.0f, 21, 5, 6);
            const float cover = smoothstep(0.05f, 0.45f, n) * smoothstep(0.0f, 0.5f, h) * (1.0f - smoothstep(0.9f, 1.0f, h) * 0.5f);
            const float shade = 0.44f + 0.1f * fbm2(u * 12.0f, v * 28.0f, 22, 3, 12);
            c = mix(c, Rgba{shade, shade, shade * 1.04f, 1.0f}, cover * 0.9f);
        } else {
            // A sunlit sea of cloud seen from above, hazy towards the horizon,
            // with blue between the puffs.
            const float h = (v - 0.5f) / 0.5f;  // 0 horizon .. 1 nadir
            const float n = fbm2(u * 5.0f, v * 9.0f, 31, 5, 5);
            const float puff = smoothstep(-0.2f, 0.5f, n);
            Rgba sea = mix(rgb8(40, 76, 132), rgb8(112, 118, 128), puff);
            sea = mix(horizon, sea, smoothstep(0.0f, 0.25f, h));
            c = mix(sea, below, smoothstep(0.4f, 1.0f, h));  // the floor cap is `below`
        }
        // Rows at the very top and bottom are flat: the box's caps.
        c = mix(c, zenith, smoothstep(0.03f, 0.0f, v));
        c = mix(c, below, smoothstep(0.97f, 1.0f, v));
        c.a = 1.0f;
    });
    return img;
}

Image nightSky() {
    const Rgba zenith = rgb8(3, 5, 16), horizon = rgb8(38, 34, 70), below = rgb8(18, 20, 34);
    Image img(SkySize, SkySize);
    img.forEach([&](float u, float v, Rgba& c) {
        if (v < 0.5f) {
            const float h = v / 0.5f;
            c = mix(zenith, horizon, std::pow(h, 3.0f));
            // A faint band of the galaxy across the sky.
            const float band = std::exp(-std::pow((v - 0.22f - 0.08f * std::sin(u * 2.0f * Pi)) / 0.07f, 2.0f));
            const float dust = 0.5f + 0.5f * fbm2(u * 10.0f, v * 20.0f, 41, 5, 10);
            c = c + Rgba{0.10f, 0.10f, 0.16f, 0.0f} * (band * dust * smoothstep(0.0f, 0.3f, h + 0.2f));
        } else {
            const float h = (v - 0.5f) / 0.5f;
            const float n = fbm2(u * 5.0f, v * 9.0f, 43, 5, 5);
            const float lit = 0.08f + 0.1f * smoothstep(-0.3f, 0.6f, n);
            Rgba clouds{lit * 0.8f, lit * 0.85f, lit * 1.2f, 1.0f};
            clouds = mix(horizon, clouds, smoothstep(0.0f, 0.2f, h));
            c = mix(clouds, below, smoothstep(0.4f, 1.0f, h));  // the floor cap is `below`
        }
        c.a = 1.0f;
    });
    // Stars: random points, brighter ones larger and tinted, wrapping round
    // the left and right edges; none in the flat cap rows.
    Random rng(1977);
    for (int i = 0; i < 2600; ++i) {
        const float x = rng.uniform() * SkySize;
        const float y = (0.035f + 0.46f * std::pow(rng.uniform(), 0.8f)) * SkySize;
        const float mag = std::pow(rng.uniform(), 6.0f);
        const float radius = 0.6f + 1.6f * mag;
        const Rgba tint = mix(rgb8(200, 215, 255), rgb8(255, 225, 190), rng.uniform());
        // Haze near the horizon swallows the faint stars.
        const float brightness = (0.35f + 0.65f * mag + 0.2f * rng.uniform()) * (0.25f + 0.75f * smoothstep(0.5f, 0.36f, y / SkySize));
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx) {
                const int px = static_cast<int>(std::floor(x)) + dx, py = static_cast<int>(std::floor(y)) + dy;
                if (py < 0 || py >= SkySize) continue;
                const float fx = static_cast<float>(px) + 0.5f - x, fy = static_cast<float>(py) + 0.5f - y;
                const float w = std::exp(-(fx * fx + fy * fy) / (radius * radius)) * brightness;
                Rgba& t = img.at(((px % SkySize) + SkySize) % SkySize, py);
                t = t + tint * w;
                t.a = 1.0f;
            }
    }
    img.forEach([&](float, float v, Rgba& c) {
        c = mix(c, zenith, smoothstep(0.03f, 0.0f, v));
        c = mix(c, below, smoothstep(0.97f, 1.0f, v));
        c.a = 1.0f;
    });
    return img;
}

}  // namespace

void addPilsAssets(std::vector<Asset>& assets) {
    assets.push_back({"gaffel.vxm", [] { return KestraneExt::encodeVXM({fork().toVXM("gaffel")}); }});
    assets.push_back({"jall.jpg", [] { return encodeJpeg(sphereMap(512, cutlerySky), 92); }});
    assets.push_back({"scene2.jpg", [] { return encodeJpeg(daySky(), 90); }});
    assets.push_back({"natthimmel.jpg", [] { return encodeJpeg(nightSky(), 90); }});
}

}  // namespace Forge
