// Content of the Underwater scene: the sky box picture "scene6.jpg" (blue-
// green water, light from the surface above; the Skate scene uses it too),
// the tiling rippled sand "sand2.jpg", the sea floor "seafloor.vxm" (drawn
// scaled by (150, 150, 50) after a lift of 5 along z, so its mesh lies some
// 7.4 units below z = 0 and reaches +-25 in x and y: some 7500 units of
// floor 120 below the star, out towards the far plane), the sea star
// "seastar.vxm" (about 120 units across, centred on the origin, its top
// facing +z; every frame the scene rewrites its positions, so it stays
// light), its skin "stjerne.jpg", the
// tangent-space normal map of the skin's bumps "stjerne_bump.jpg", and the
// additive sprite "bubble.jpg".
// The star's texture coordinates are a planar projection from above: the
// skin is painted in the star's own layout (arms, spine rows of knobs).
#include "Content.h"
#include "Mesh.h"
#include "Noise.h"
#include "Random.h"
#include "TextureOps.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Forge {

namespace {

constexpr float Pi = 3.14159265358979f;

// ---- Sea star ---------------------------------------------------------

constexpr int Arms = 5;
constexpr float ArmTip = 58.0f;    // centre to arm tip
constexpr float ArmNotch = 19.0f;  // centre to the notch between two arms
constexpr float UVHalf = 62.0f;    // half the square the skin covers

// The arms point at angles 90 + 72 k degrees (one arm straight up the picture).
// Angle to the nearest arm's axis, in [-pi/5, pi/5].
float armOffset(float angle) {
    const float sector = 2.0f * Pi / Arms;
    float a = angle - 0.5f * Pi;
    a -= sector * std::round(a / sector);
    return a;
}

// Outline radius at an angle: rounded tips, soft notches.
float starRadius(float angle) {
    const float s = armOffset(angle) / (Pi / Arms);  // -1 notch .. 0 axis .. 1 notch
    const float c = std::cos(0.5f * Pi * s);
    return ArmNotch + (ArmTip - ArmNotch) * std::pow(c, 2.4f);
}

// Thickness of the body at a distance from the centre: a domed centre,
// arms tapering to their tips.
float bodyHeight(float rho) {
    const float f = std::clamp(rho / ArmTip, 0.0f, 1.0f);
    return 3.0f + 12.0f * (1.0f - f) * (1.0f - 0.4f * f);
}

// Polar rings from the centre to the outline on top (domed) and below
// (flatter), meeting at a shared rim. 16 steps per arm keep the tips round
// at the size the star is seen; the rings thicken towards the rim where the
// surface turns.
Mesh seaStar() {
    constexpr int Around = Arms * 16;
    constexpr int TopRings = 6, BottomRings = 3;
    Mesh m;
    auto uv = [](Float3 p) { return std::pair{0.5f + p.x / (2.0f * UVHalf), 0.5f + p.y / (2.0f * UVHalf)}; };
    auto point = [](float angle, float f, float side) {
        const float R = starRadius(angle) * f;
        const float h = bodyHeight(R) * std::sqrt(std::max(0.0f, 1.0f - f * f));
        // The arms curl up a little at their tips.
        const float curl = 4.0f * std::pow(R / ArmTip, 3.0f);
        return Float3{R * std::cos(angle), R * std::sin(angle), side * h + curl};
    };
    auto add = [&](Float3 p) {
        const auto [u, v] = uv(p);
        return m.addVertex(p, u, v);
    };
    std::vector<int> rim(Around);
    for (int k = 0; k < Around; ++k) rim[static_cast<std::size_t>(k)] = add(point(2.0f * Pi * k / Around, 1.0f, 0.0f));
    for (float side : {1.0f, -0.35f}) {
        const std::size_t firstTriangle = m.triangles.size();
        const int rings = side > 0.0f ? TopRings : BottomRings;
        const int centre = add(point(0.0f, 0.0f, side));
        std::vector<int> previous(Around, centre);
        for (int ring = 1; ring <= rings; ++ring) {
            std::vector<int> current(Around);
            const float f = std::sin(0.5f * Pi * static_cast<float>(ring) / static_cast<float>(rings));
            for (int k = 0; k < Around; ++k)
                current[static_cast<std::size_t>(k)] =
                    ring == rings ? rim[static_cast<std::size_t>(k)] : add(point(2.0f * Pi * k / Around, f, side));
            for (int k = 0; k < Around; ++k) {
                const auto k0 = static_cast<std::size_t>(k), k1 = static_cast<std::size_t>((k + 1) % Around);
                if (ring == 1)
                    m.addTriangle(previous[k0], current[k0], current[k1]);
                else
                    m.addQuad(previous[k0], current[k0], current[k1], previous[k1]);
            }
            previous = std::move(current);
        }
        if (side < 0.0f) {
            // The underside's triangles were built in the top's order: turn them.
            for (std::size_t i = firstTriangle; i < m.triangles.size(); ++i) std::swap(m.triangles[i][1], m.triangles[i][2]);
        }
    }
    return m;
}

// Skin position (x, y in star units) of texture coordinates (u, v from the
// top of the picture).
float skinX(float u) { return (u - 0.5f) * 2.0f * UVHalf; }
float skinY(float v) { return (0.5f - v) * 2.0f * UVHalf; }

// Knobs of the skin: a row along every arm's spine, two flanking rows, and
// smaller knobs scattered between, as (x, y, radius, height).
struct Knob {
    float x, y, r, h;
};

std::vector<Knob> skinKnobs() {
    std::vector<Knob> knobs;
    Random rng(505);
    for (int arm = 0; arm < Arms; ++arm) {
        const float a = 0.5f * Pi + 2.0f * Pi * arm / Arms;
        const Float3 axis{std::cos(a), std::sin(a), 0.0f}, side{-std::sin(a), std::cos(a), 0.0f};
        for (float d = 6.0f; d < ArmTip - 3.0f; d += 4.2f - 1.6f * d / ArmTip) {
            const float scale = 1.0f - 0.55f * d / ArmTip;
            knobs.push_back({axis.x * d, axis.y * d, 2.1f * scale, 1.0f});
            const float width = 0.16f * (ArmTip - d);
            for (float s : {-1.0f, 1.0f}) {
                const float o = s * std::max(width, 2.0f);
                knobs.push_back({axis.x * d + side.x * o, axis.y * d + side.y * o, 1.5f * scale, 0.8f});
            }
        }
    }
    for (int i = 0; i < 900; ++i) {
        const float x = rng.range(-ArmTip, ArmTip), y = rng.range(-ArmTip, ArmTip);
        knobs.push_back({x, y, rng.range(0.5f, 1.1f), rng.range(0.35f, 0.65f)});
    }
    return knobs;
}

constexpr int SkinSize = 512;

// Height of the skin's knobs (red channel), 0 .. about 1.
Image skinHeight() {
    Image height(SkinSize, SkinSize, {0.0f, 0.0f, 0.0f, 1.0f});
    const float texel = 2.0f * UVHalf / SkinSize;
    for (const Knob& k : skinKnobs()) {
        const int cx = static_cast<int>((k.x / (2.0f * UVHalf) + 0.5f) * SkinSize);
        const int cy = static_cast<int>((0.5f - k.y / (2.0f * UVHalf)) * SkinSize);
        const int reach = static_cast<int>(k.r / texel) + 2;
        for (int y = cy - reach; y <= cy + reach; ++y)
            for (int x = cx - reach; x <= cx + reach; ++x) {
                if (x < 0 || y < 0 || x >= SkinSize || y >= SkinSize) continue;
                const float dx = skinX((x + 0.5f) / SkinSize) - k.x, dy = skinY((y + 0.5f) / SkinSize) - k.y;
                const float q = 1.0f - (dx * dx + dy * dy) / (k.r * k.r);
                if (q > 0.0f) {
                    Rgba& c = height.at(x, y);
                    c.r = std::max(c.r, k.h * std::sqrt(q));
                }
            }
    }
    // Fine grain between the knobs.
    height.forEach([](float u, float v, Rgba& c) { c.r += 0.08f * fbm2(u * 64.0f, v * 64.0f, 77, 3); });
    return height;
}

Image starSkin(const Image& height) {
    Image skin(SkinSize, SkinSize);
    skin.forEach([&](float u, float v, Rgba& c) {
        const float x = skinX(u), y = skinY(v);
        const float rho = std::sqrt(x * x + y * y);
        const float reach = rho / starRadius(std::atan2(y, x));  // 0 centre .. 1 outline
        const float offAxis = std::fabs(armOffset(std::atan2(y, x))) * rho / 12.0f;
        // Deep red centre and spines, orange arms, paler edges and tips.
        Rgba base = mix(rgb8(150, 40, 30), rgb8(226, 96, 34), smoothstep(0.0f, 0.55f, reach));
        base = mix(base, rgb8(248, 168, 80), smoothstep(0.55f, 1.0f, reach) * 0.8f);
        base = mix(base, rgb8(120, 28, 40), (1.0f - smoothstep(0.0f, 1.0f, offAxis)) * 0.35f);
        const float mottle = fbm2(u * 10.0f, v * 10.0f, 91, 4);
        base = base * (0.85f + 0.2f * mottle);
        // Knobs pale and creamy on top.
        const int px = std::clamp(static_cast<int>(u * SkinSize), 0, SkinSize - 1);
        const int py = std::clamp(static_cast<int>(v * SkinSize), 0, SkinSize - 1);
        const float knob = smoothstep(0.25f, 0.8f, height.at(px, py).r);
        c = mix(base, rgb8(250, 200, 140), knob * 0.6f);
        // A dark madreporite plate near the centre, between two arms.
        const float mx = x - 5.5f, my = y + 2.0f;
        c = mix(c, rgb8(90, 40, 60), (1.0f - smoothstep(1.2f, 2.2f, std::sqrt(mx * mx + my * my))) * 0.8f);
        c.a = 1.0f;
    });
    return skin;
}

// ---- Water, sand, floor, bubble ---------------------------------------

constexpr int SkyWidth = 1024, SkyHeight = 512;

// Sky box picture, v = 0 at the top: the bright surface overhead, rays of
// light slanting down through blue-green water, a darker deep below. The
// light rays repeat across the width, so the picture tiles round the box.
Image waterSky() {
    const Rgba surface = rgb8(120, 190, 200), upper = rgb8(36, 120, 140), horizon = rgb8(16, 70, 96),
               deep = rgb8(6, 26, 44);
    Image img(SkyWidth, SkyHeight);
    img.forEach([&](float u, float v, Rgba& c) {
        if (v < 0.5f) {
            const float h = v / 0.5f;  // 0 surface .. 1 horizon
            c = ramp({{0.0f, surface}, {0.25f, upper}, {1.0f, horizon}}, std::pow(h, 0.8f));
            // Rippling light on the surface, seen from below.
            const float ripple = fbm2(u * 12.0f, v * 40.0f, 61, 4, 12);
            c = c + Rgba{0.25f, 0.3f, 0.3f, 0.0f} * (smoothstep(0.1f, 0.6f, ripple) * (1.0f - smoothstep(0.0f, 0.35f, h)));
            // Shafts of light fanning down, fading with depth.
            const float shaft = std::pow(0.5f + 0.5f * fbm2(u * 16.0f + 2.0f * h, h * 1.5f, 62, 3, 16), 3.0f);
            c = c + Rgba{0.2f, 0.3f, 0.28f, 0.0f} * (shaft * (1.0f - h) * smoothstep(0.0f, 0.2f, h));
        } else {
            const float h = (v - 0.5f) / 0.5f;  // 0 horizon .. 1 straight down
            c = mix(horizon, deep, smoothstep(0.1f, 0.9f, h));
            c = c * (1.0f + 0.12f * h * fbm2(u * 8.0f, v * 6.0f, 63, 3, 8));
        }
        // Flat rows at the very top and bottom: the box's caps.
        c = mix(c, surface, smoothstep(0.04f, 0.0f, v));
        c = mix(c, deep, smoothstep(0.96f, 1.0f, v));
        c.a = 1.0f;
    });
    return img;
}

constexpr int SandSize = 512;

// Height of rippled sand, tiling: ripples across u whose crests wander,
// with finer noise between. Both the sand picture and its shading use it.
float sandHeight(float u, float v) {
    const float warp = 0.6f * fbm2(u * 4.0f, v * 4.0f, 71, 3, 4);
    const float phase = 2.0f * Pi * (7.0f * u + 1.0f * v) + 2.0f * warp * Pi / 2.0f;
    // Asymmetric ripples: a gentle rise and a steeper drop.
    const float s = std::sin(phase), ripple = 0.5f + 0.5f * (s + 0.25f * std::sin(2.0f * phase));
    return 0.75f * ripple + 0.25f * (0.5f + 0.5f * fbm2(u * 32.0f, v * 32.0f, 72, 3, 32));
}

Image sand() {
    Image img(SandSize, SandSize);
    const float step = 1.0f / SandSize;
    img.forEach([&](float u, float v, Rgba& c) {
        // Light from the upper left: brighter on slopes facing it.
        const float dx = sandHeight(u + step, v) - sandHeight(u - step, v);
        const float dy = sandHeight(u, v + step) - sandHeight(u, v - step);
        const float light = std::clamp(0.78f - 6.0f * (dx + dy), 0.45f, 1.15f);
        const float grain = 0.9f + 0.1f * valueNoise(u * 256.0f, v * 256.0f, 73, 256);
        const Rgba base = mix(rgb8(92, 100, 86), rgb8(138, 140, 114), sandHeight(u, v));
        c = base * (light * grain);
        // Shells and pebbles here and there.
        const float pebble = smoothstep(0.78f, 0.84f, fbm2(u * 24.0f, v * 24.0f, 74, 2, 24));
        c = mix(c, rgb8(110, 104, 92), pebble * 0.6f);
        c.a = 1.0f;
    });
    return img;
}

// A gently rolling floor: rises and hollows of some 15 units (0.3 here)
// over the 7500-unit floor, and a hollow under the star.
Mesh seaFloor() {
    constexpr int Cells = 40;
    constexpr float Half = 25.0f;
    Mesh m;
    for (int j = 0; j <= Cells; ++j)
        for (int i = 0; i <= Cells; ++i) {
            const float x = -Half + 2.0f * Half * i / Cells, y = -Half + 2.0f * Half * j / Cells;
            const float hill = 0.3f * fbm2(x * 0.12f + 3.0f, y * 0.12f + 7.0f, 81, 3);
            const float hollow = -0.25f * std::exp(-(x * x + y * y) / 6.0f);
            m.addVertex({x, y, -7.4f + hill + hollow}, x * 1.2f, y * 1.2f);  // sand every 125 units
        }
    for (int j = 0; j < Cells; ++j)
        for (int i = 0; i < Cells; ++i) {
            const int a = j * (Cells + 1) + i;
            m.addQuad(a, a + 1, a + Cells + 2, a + Cells + 1);
        }
    // Closed below by a skirt and a flat base (never seen, but a solid
    // faces outwards everywhere). The skirt's coordinates slant with z so
    // that its walls get tangent frames.
    constexpr float Base = -9.5f;
    std::vector<int> border;  // counter-clockwise seen from above
    for (int i = 0; i < Cells; ++i) border.push_back(i);
    for (int j = 0; j < Cells; ++j) border.push_back(j * (Cells + 1) + Cells);
    for (int i = Cells; i > 0; --i) border.push_back(Cells * (Cells + 1) + i);
    for (int j = Cells; j > 0; --j) border.push_back(j * (Cells + 1));
    std::vector<int> top, bottom;
    for (int index : border) {
        const Float3 p = m.vertices[static_cast<std::size_t>(index)].position;
        const Float3 q{p.x, p.y, Base};
        top.push_back(m.addVertex(p, 1.2f * (p.x + p.z), 1.2f * (p.y + p.z)));
        bottom.push_back(m.addVertex(q, 1.2f * (q.x + q.z), 1.2f * (q.y + q.z)));
    }
    for (std::size_t k = 0; k < border.size(); ++k) {
        const std::size_t next = (k + 1) % border.size();
        m.addQuad(bottom[k], bottom[next], top[next], top[k]);
    }
    m.addQuad(m.addVertex({-Half, -Half, Base}, 0.0f, 0.0f), m.addVertex({-Half, Half, Base}, 0.0f, 1.0f),
              m.addVertex({Half, Half, Base}, 1.0f, 1.0f), m.addVertex({Half, -Half, Base}, 1.0f, 0.0f));
    return m;
}

// A bubble seen against black: a faint body, a bright thin rim and a
// highlight towards the top left. Drawn additively, black adds nothing.
Image bubble() {
    constexpr int Size = 128;
    Image img(Size, Size);
    img.forEach([](float u, float v, Rgba& c) {
        const float x = 2.0f * u - 1.0f, y = 2.0f * v - 1.0f;
        const float r = std::sqrt(x * x + y * y) / 0.92f;
        const float body = r < 1.0f ? 0.08f + 0.25f * std::pow(r, 4.0f) : 0.0f;
        const float rim = std::exp(-std::pow((r - 0.97f) / 0.05f, 2.0f));
        const float hx = x + 0.35f, hy = y + 0.38f;
        const float spot = std::exp(-(hx * hx + hy * hy) / 0.025f);
        const float glint = r < 1.0f ? 0.5f * std::exp(-std::pow((r - 0.78f) / 0.06f, 2.0f)) * smoothstep(0.3f, -0.6f, x - y) : 0.0f;
        const float level = body + 0.85f * rim + 0.95f * spot + glint;
        c = Rgba{0.75f, 0.92f, 1.0f, 1.0f} * level;
        c.a = 1.0f;
    });
    return img;
}

std::vector<std::uint8_t> vxmFile(const Mesh& mesh, const std::string& name) {
    return KestraneExt::encodeVXM({mesh.toVXM(name)});
}

}  // namespace

void addUnderwaterAssets(std::vector<Asset>& assets) {
    assets.push_back({"scene6.jpg", [] { return encodeJpeg(waterSky(), 90); }});
    assets.push_back({"sand2.jpg", [] { return encodeJpeg(sand(), 90); }});
    assets.push_back({"seafloor.vxm", [] { return vxmFile(seaFloor(), "seafloor"); }});
    assets.push_back({"seastar.vxm", [] { return vxmFile(seaStar(), "seastar"); }});
    assets.push_back({"stjerne.jpg", [] { return encodeJpeg(starSkin(skinHeight()), 92); }});
    assets.push_back({"stjerne_bump.jpg", [] { return encodeJpeg(normalMap(skinHeight(), 6.0f, Edge::Clamp), 95); }});
    assets.push_back({"bubble.jpg", [] { return encodeJpeg(bubble(), 92); }});
}

}  // namespace Forge
