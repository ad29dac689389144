// Content of the Balloon scene: "balloon.ztx", three hot-air balloons
// climbing at night, each at its own rate and drifting its own way, their
// burners firing in bursts with flickering flames, filmed by "Camera01",
// which glides round and up past the nearest one over the whole entry
// (animation time A = 500 t, 0 to 11,800); the envelope pictures
// "balloon-envelope.jpg" and "balloon-envelope2.jpg", the wicker
// "balloon-wicker.jpg" with its bump map "normal_balloon-wicker.png"; the
// two star sprite layers "nattsky1.png" (many faint stars) and
// "nattsky2.png" (a few bright ones with glints); and "mamma.jpg", which the
// scene binds before the balloon chooses its own textures.
//
// Axes: the scene's camera keeps the renderer's -z up on screen, which is
// the file's +y, so this scene is authored with y up in the file's own
// coordinates (not the z-up of other scenes): meshes built y up are handed
// to the scene builder through fromYUp(). The sky box turns its picture
// upright for this camera: stars above the horizon, moonlit clouds below.
//
// The untextured materials draw alpha-blended in this scene: the burner's
// flame (scalar 1 = 0.55) and its brighter core (0.8) show the blending.
#include "Content.h"
#include "MeshShapes.h"
#include "Noise.h"
#include "Random.h"
#include "SceneBuilder.h"
#include "TextureOps.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace Forge {

namespace {

constexpr float Pi = 3.14159265358979f;
constexpr float LastTime = 11800.0f;  // A at the end of the entry

// Mesh vertices reach the renderer as stored, while node positions are
// turned from the file's axes: (x, y, z) -> (x, z, -y). This scene's frame
// is y up with node positions, rotation axes and scales in the file's own
// coordinates, so its y-up meshes must be stored already turned, as
// (x, z, -y) of their y-up coordinates; the builder's own turn for y-up
// meshes, (x, y, z) -> (x, -z, y), is undone on the way in.
Mesh fromYUp(Mesh m) {
    m.transform([](Float3 p) { return Float3{p.x, -p.y, -p.z}; });
    return m;
}

// A surface of revolution about y, profile (radius, height) from bottom to
// top, with a seam column so that u runs once from 0 to uRepeat round it
// (the library's lathe closes its seam with shared vertices, which suits
// untextured surfaces). A radius of 0 is a pole; a point given twice a
// crease. hardSides: no vertex shared between neighbouring segments, so
// few segments make flat faces with sharp corners (a box), not a rounded
// shading across them.
Mesh revolve(const std::vector<Vec2>& profile, int segments, float uRepeat = 1.0f, bool hardSides = false) {
    Mesh m;
    std::vector<float> along(profile.size(), 0.0f);
    for (std::size_t i = 1; i < profile.size(); ++i) along[i] = along[i - 1] + length(profile[i] - profile[i - 1]);
    const float total = std::max(along.back(), 1e-6f);
    // Column c of ring i holds the vertex at angle step column[c].
    std::vector<int> column;
    for (int k = 0; k <= segments; ++k) {
        column.push_back(k);
        if (hardSides && k > 0 && k < segments) column.push_back(k);
    }
    std::vector<int> first;
    for (std::size_t i = 0; i < profile.size(); ++i) {
        first.push_back(static_cast<int>(m.vertices.size()));
        for (const int k : column) {
            const float f = static_cast<float>(k) / static_cast<float>(segments);
            const float a = 2.0f * Pi * f;
            m.addVertex({profile[i].x * std::cos(a), profile[i].y, -profile[i].x * std::sin(a)}, f * uRepeat,
                        along[i] / total);
        }
    }
    const int step = hardSides ? 2 : 1;
    for (std::size_t i = 0; i + 1 < profile.size(); ++i) {
        const Vec2 a = profile[i], b = profile[i + 1];
        if (a.x == b.x && a.y == b.y) continue;
        for (int k = 0; k < segments; ++k) {
            const int p = first[i] + step * k, q = first[i + 1] + step * k;
            if (a.x <= 1e-6f)
                m.addTriangle(p, q + 1, q);
            else if (b.x <= 1e-6f)
                m.addTriangle(p, p + 1, q);
            else
                m.addQuad(p, p + 1, q + 1, q);
        }
    }
    return m;
}

// The envelope: open mouth (radius 20) at y = -80, widest (105) a little
// above the middle, a round crown at y = 104. Drawn a quarter narrower than
// modelled (a wide projection on a square target, shown at 4:3), so it is
// modelled a quarter wider than a real envelope's proportions.
Mesh envelope() {
    std::vector<Vec2> profile;
    const Vec2 mouth{16.0f, -80.0f};
    const float R = 84.0f, cy = 20.0f;
    const float joinAngle = 2.0f;  // radians from the top where the sphere meets the cone
    const Vec2 join{R * std::sin(joinAngle), cy + R * std::cos(joinAngle)};
    // Lower part: the mouth flaring out to the sphere, slightly bellied.
    for (int i = 0; i < 8; ++i) {
        const float s = static_cast<float>(i) / 8.0f;
        const float belly = 9.0f * std::sin(Pi * s);
        profile.push_back({mouth.x + (join.x - mouth.x) * s + belly, mouth.y + (join.y - mouth.y) * s});
    }
    // Upper part: a sphere up to the crown.
    for (int i = 0; i <= 14; ++i) {
        const float a = joinAngle * (1.0f - static_cast<float>(i) / 14.0f);
        profile.push_back({R * std::sin(a), cy + R * std::cos(a)});
    }
    for (Vec2& p : profile) p.x *= 1.25f;
    return revolve(profile, 32);
}

// A square wicker basket (corners on the axes' diagonals turned to face
// x and z), 44 wide at the rim, 28 deep, with a thick rolled rim.
Mesh basket() {
    const float top = -140.0f, bottom = -168.0f;
    Mesh m = revolve({{0.0f, bottom},
                      {22.0f, bottom},
                      {22.0f, bottom},
                      {26.0f, top - 2.0f},
                      {27.5f, top},
                      {25.0f, top + 1.0f},
                      {22.5f, top},
                      {22.5f, top},
                      {20.5f, bottom + 3.0f},
                      {0.0f, bottom + 3.0f}},
                     4, 4.0f, true);
    m.transform([](Float3 p) { return rotateAbout(p, {0, 1, 0}, Pi / 4.0f); });
    return m;
}

// Four corner ropes from the rim up to the load ring at the mouth, and the
// four rods carrying the burner frame; thin tubes.
Mesh rigging() {
    Mesh m;
    const auto thin = [](float, float) { return 0.9f; };
    for (int c = 0; c < 4; ++c) {
        const float a = Pi / 2.0f * static_cast<float>(c) + Pi / 4.0f;
        const Float3 corner{24.0f * std::sqrt(2.0f) * std::cos(a), -139.0f, 24.0f * std::sqrt(2.0f) * std::sin(a)};
        const Float3 ring{21.0f * std::cos(a), -80.0f, 21.0f * std::sin(a)};
        m.append(tube({corner, ring}, thin, 5, false));
        const Float3 frame{9.0f * std::cos(a), -124.0f, 9.0f * std::sin(a)};
        m.append(tube({corner * 0.98f, frame}, [](float, float) { return 0.7f; }, 5, false));
    }
    // The load ring round the mouth.
    std::vector<Float3> loop;
    for (int k = 0; k < 24; ++k) {
        const float a = 2.0f * Pi * static_cast<float>(k) / 24.0f;
        loop.push_back({21.0f * std::cos(a), -80.0f, 21.0f * std::sin(a)});
    }
    m.append(tube(loop, [](float, float) { return 1.2f; }, 5, true));
    return m;
}

// The burner: a short steel drum on its frame above the basket, well below
// the mouth so that its flame shows in the gap.
Mesh burner() {
    return lathe({{0.0f, -128.0f}, {9.0f, -128.0f}, {9.0f, -128.0f}, {9.5f, -121.0f}, {6.0f, -118.0f}, {3.0f, -117.0f}, {0.0f, -117.0f}}, 14);
}

// A flame licking up from the burner into the mouth: a teardrop about the
// y axis, length and girth given.
Mesh flame(float base, float height, float radius) {
    std::vector<Vec2> profile;
    for (int i = 0; i <= 10; ++i) {
        const float s = static_cast<float>(i) / 10.0f;
        const float r = radius * std::pow(std::sin(Pi * std::pow(s, 0.6f)), 0.9f) * (1.0f - 0.35f * s);
        profile.push_back({i == 0 || i == 10 ? 0.0f : r, base + height * s});
    }
    return lathe(profile, 12);
}

// ---- Textures --------------------------------------------------------------

struct EnvelopeColours {
    Rgba stripes[4];
    Rgba band, crown, skirt;
};

constexpr int Gores = 16;

// The envelope's picture: u round the balloon (seam at u = 0, hidden on a
// gore seam), v from the mouth (bottom of the picture) to the crown (top).
// Vertical gores in four colours, bulging between horizontal load tapes, a
// zigzag band round the middle, a solid crown and a scorched skirt.
Image envelopeTexture(const EnvelopeColours& c, std::uint32_t seed) {
    Image img(512, 512);
    img.forEach([&](float u, float v, Rgba& out) {
        const float h = 1.0f - v;  // 0 at the mouth, 1 at the crown
        const float g = u * Gores;
        const int gore = static_cast<int>(g) % Gores;
        const float across = g - std::floor(g);
        Rgba col = c.stripes[gore % 4];
        // The zigzag band: points alternating up and down per gore.
        const float zig = 0.46f + 0.05f * std::abs(across * 2.0f - 1.0f);
        if (h > zig && h < zig + 0.09f) col = c.band;
        if (h > 0.9f) col = c.crown;
        if (h < 0.07f) col = c.skirt;
        // Each panel bulges: lighter in the middle, darker at its seams.
        const float tapes = h * 12.0f;
        const float bulge = std::sin(Pi * across) * (0.8f + 0.2f * std::sin(Pi * (tapes - std::floor(tapes))));
        col = col * (0.72f + 0.28f * bulge);
        // Seams and load tapes.
        const float seam = smoothstep(0.04f, 0.0f, std::min(across, 1.0f - across));
        const float tape = smoothstep(0.05f, 0.0f, std::abs(tapes - std::round(tapes))) * (h > 0.07f ? 1.0f : 0.0f);
        col = mix(col, rgb8(40, 30, 25), std::max(seam, tape) * 0.7f);
        // Fabric grain.
        col = col * (0.94f + 0.06f * fbm2(u * 64.0f, v * 64.0f, seed, 3, 64));
        col.a = 1.0f;
        out = col;
    });
    return img;
}

// Height of the wicker weave (horizontal weavers passing over and under
// upright stakes) at texture coordinates; u repeats four times round the
// basket, so one texture width is one side.
float weave(float u, float v) {
    const float rows = v * 14.0f, cols = u * 10.0f;
    const int row = static_cast<int>(std::floor(rows));
    const float inRow = rows - std::floor(rows);
    const float phase = (row % 2 == 0 ? 0.0f : 0.5f);
    const float over = 0.5f + 0.5f * std::cos(2.0f * Pi * (cols + phase));
    const float round = std::sin(Pi * inRow);
    return std::pow(round, 0.6f) * (0.55f + 0.45f * over);
}

Image wickerHeight() {
    Image img(256, 256);
    img.forEach([](float u, float v, Rgba& c) {
        const float h = weave(u, v);
        c = {h, h, h, 1.0f};
    });
    return img;
}

Image wickerColour() {
    Image img(256, 256);
    img.forEach([](float u, float v, Rgba& c) {
        const float h = weave(u, v);
        const float grain = 0.9f + 0.1f * fbm2(u * 40.0f, v * 6.0f, 71, 3, 40);
        c = mix(rgb8(70, 45, 22), rgb8(200, 150, 85), h) * grain;
        c.a = 1.0f;
    });
    return img;
}

// A star sprite layer: stars on transparent ground, alpha fading to zero
// towards the circle the sprite fits in, so the square never shows.
// Additive: a texel adds its colour times its alpha.
Image starLayer(int count, std::uint32_t seed, float minRadius, float maxRadius, float glintShare) {
    constexpr int Size = 256;
    Image img(Size, Size, {0.0f, 0.0f, 0.0f, 0.0f});
    std::vector<float> light(Size * Size, 0.0f);
    std::vector<Rgba> tint(Size * Size, {1.0f, 1.0f, 1.0f, 1.0f});
    Random rng(seed);
    for (int i = 0; i < count; ++i) {
        const float x = rng.range(0.1f, 0.9f) * Size, y = rng.range(0.1f, 0.9f) * Size;
        const float mag = std::pow(rng.uniform(), 3.0f);
        const float radius = minRadius + (maxRadius - minRadius) * mag;
        const Rgba colour = mix(rgb8(185, 205, 255), rgb8(255, 230, 190), rng.uniform());
        const bool glint = rng.uniform() < glintShare * mag + 0.02f;
        const float brightness = 0.6f + 0.4f * mag;
        const int reach = static_cast<int>(glint ? radius * 7.0f : radius * 3.0f) + 1;
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx) {
                const int px = static_cast<int>(x) + dx, py = static_cast<int>(y) + dy;
                if (px < 0 || py < 0 || px >= Size || py >= Size) continue;
                const float fx = static_cast<float>(px) + 0.5f - x, fy = static_cast<float>(py) + 0.5f - y;
                float w = std::exp(-(fx * fx + fy * fy) / (radius * radius));
                if (glint) {
                    // Four thin rays.
                    const float ray = std::exp(-std::abs(fy) / 0.6f) * std::exp(-std::abs(fx) / (radius * 2.2f)) +
                                      std::exp(-std::abs(fx) / 0.6f) * std::exp(-std::abs(fy) / (radius * 2.2f));
                    w = std::max(w, 0.6f * ray);
                }
                const std::size_t k = static_cast<std::size_t>(py) * Size + static_cast<std::size_t>(px);
                if (w * brightness > light[k]) tint[k] = colour;
                light[k] = std::min(1.0f, light[k] + w * brightness);
            }
    }
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const float fx = (static_cast<float>(x) + 0.5f) / Size - 0.5f, fy = (static_cast<float>(y) + 0.5f) / Size - 0.5f;
            const float edge = smoothstep(0.5f, 0.32f, std::sqrt(fx * fx + fy * fy));
            const std::size_t k = static_cast<std::size_t>(y) * Size + static_cast<std::size_t>(x);
            Rgba c = tint[k];
            c.a = light[k] * edge;
            img.at(x, y) = c;
        }
    return img;
}

// Bound before the balloon draws and replaced by its own materials: a warm
// patchwork of envelope cloth.
Image mammaPicture() {
    Image img(256, 256);
    const Rgba patches[4] = {rgb8(170, 40, 40), rgb8(220, 160, 50), rgb8(60, 90, 160), rgb8(230, 220, 200)};
    img.forEach([&](float u, float v, Rgba& c) {
        const int i = static_cast<int>(u * 4.0f), j = static_cast<int>(v * 4.0f);
        c = patches[(i + 3 * j) % 4] * (0.9f + 0.1f * fbm2(u * 32.0f, v * 32.0f, 5, 3, 32));
        c.a = 1.0f;
    });
    return img;
}

// ---- The scene -------------------------------------------------------------

// A balloon's flight over the entry, in this scene's y-up axes: a steady
// climb and drift with the wind from `from` to `to`, a slow bob on top, and
// a slow turn about its own axis.
struct Flight {
    const char* name;
    const char* envelope;
    Float3 from, to;     // centre at A = 0 and at the end of the entry
    float bob;           // height of the bob
    float bobPeriod;     // in A
    float turn;          // radians turned over the entry
    std::uint32_t seed;  // of its burner's bursts and its flames' flicker
};

// The flights lie well below the scene's star sprites (the cube 0..900 in
// x and z, -900..0 in y), so that the sprites join the stars above the
// horizon and never hang in front of the clouds below it.
constexpr float Low = -1200.0f;

// The main balloon climbs a steady 340 units near the camera; the far one
// on the left climbs 880, rising past it, while the one on the right
// barely climbs (110), and each drifts its own way.
const Flight Flights[] = {
    {"Balloon", "Envelope", {40.0f, Low - 260.0f, 20.0f}, {-60.0f, Low + 80.0f, -60.0f}, 8.0f, 1800.0f, 0.9f, 11},
    {"FarBalloon", "Envelope2", {-150.0f, Low - 660.0f, 650.0f}, {-920.0f, Low + 220.0f, 420.0f}, 14.0f, 2300.0f,
     -1.2f, 12},
    {"FarBalloon2", "Envelope", {240.0f, Low + 20.0f, 1040.0f}, {-40.0f, Low + 130.0f, 1040.0f}, 10.0f, 2700.0f,
     0.6f, 13},
};

Float3 centreOf(const Flight& f, float A) {
    Float3 p = lerp(f.from, f.to, A / LastTime);
    p.y += f.bob * std::sin(2.0f * Pi * A / f.bobPeriod);
    return p;
}

// The camera's glide, 0 to 1 over the entry, easing in and out.
float glide(float A) { return smoothstep(0.0f, LastTime, A); }

// The camera starts low beside the main balloon, looking up past the
// basket at the envelope and its flame, swings round it while climbing
// faster than the balloons, and ends higher and further back, looking down
// on all three rising out of the moonlit clouds.
Float3 cameraEye(float A) {
    const float g = glide(A);
    const Float3 m = lerp(Flights[0].from, Flights[0].to, A / LastTime);
    const float bearing = (235.0f + 65.0f * g) * Pi / 180.0f;
    const float radius = 560.0f + 440.0f * g;
    return {m.x + radius * std::cos(bearing), Low - 380.0f + 600.0f * g, m.z + radius * std::sin(bearing)};
}

// Just below the main balloon's envelope, drawn towards the middle of the
// three as the camera pulls back.
Float3 cameraTarget(float A) {
    Float3 middle{0.0f, 0.0f, 0.0f};
    for (const Flight& f : Flights) middle = middle + centreOf(f, A) * (1.0f / 3.0f);
    const Float3 main = centreOf(Flights[0], A) - Float3{0.0f, 40.0f, 0.0f};
    return lerp(main, middle, 0.25f * glide(A));
}

// The burner fires in bursts of two to five seconds with pauses of one to
// three seconds, on its own schedule: firing(A) is 1 while it burns and 0
// on the pilot flame, ramping over a fifth of a second.
class Burner {
public:
    explicit Burner(std::uint32_t seed) {
        Random rng(seed);
        float A = -rng.range(0.0f, 1500.0f);  // possibly burning already at the start
        while (A < LastTime + 400.0f) {
            const float on = rng.range(1000.0f, 2500.0f);
            bursts.push_back({A, A + on});
            A += on + rng.range(500.0f, 1500.0f);
        }
    }

    float firing(float A) const {
        float f = 0.0f;
        for (const auto& [on, off] : bursts)
            f = std::max(f, std::min(smoothstep(on, on + Ramp, A), smoothstep(off + Ramp, off, A)));
        return f;
    }

private:
    static constexpr float Ramp = 100.0f;
    std::vector<std::pair<float, float>> bursts;
};

// Flame keys every 40 A, a dozen a second: each a fresh random height and
// girth, large while the burner fires, small on the pilot flame.
constexpr float FlickerStep = 40.0f;

// A balloon: a plain node carrying the envelope, rigging, basket, burner
// and, last (they blend over what is behind them), the flame's core and the
// flame. Keys of the balloon node are added by the caller.
KestraneExt::ZTXNodeData& addBalloon(SceneBuilder& b, const Flight& flight) {
    const std::string name = flight.name;
    auto& root = b.node(name);
    b.mesh(name + "Envelope", fromYUp(envelope()), flight.envelope, &root);
    b.mesh(name + "Rigging", fromYUp(rigging()), "Rope", &root);
    b.mesh(name + "Basket", fromYUp(basket()), "Wicker", &root);
    b.mesh(name + "Burner", fromYUp(burner()), "Steel", &root);
    // Each flame node sits on the burner top, so it scales from there.
    const Burner burner(flight.seed);
    Random flicker(flight.seed * 31u + 7u);
    std::vector<std::pair<float, Float3>> coreKeys, outerKeys;
    for (float A = 0.0f; A <= LastTime + 400.0f; A += FlickerStep) {
        const float f = burner.firing(A);
        const float tall = flicker.uniform(), wide = flicker.uniform(), coreTall = flicker.uniform();
        const float height = 0.22f + 0.1f * tall + f * (0.55f + 0.5f * tall);
        const float girth = 0.5f + 0.1f * wide + f * (0.35f + 0.2f * wide);
        outerKeys.push_back({A, {girth, height, girth}});
        const float coreHeight = 0.35f + 0.1f * coreTall + f * (0.5f + 0.35f * coreTall);
        coreKeys.push_back({A, {0.6f + 0.35f * f, coreHeight, 0.6f + 0.35f * f}});
    }
    const Float3 burnerTop{0.0f, -118.0f, 0.0f};
    auto& core = b.mesh(name + "FlameCore", fromYUp(flame(0.0f, 34.0f, 7.0f)), "FlameCore", &root);
    core.position = burnerTop;
    for (const auto& [A, scale] : coreKeys) SceneBuilder::scaleKey(core, A, scale);
    auto& outer = b.mesh(name + "Flame", fromYUp(flame(0.0f, 62.0f, 15.0f)), "Flame", &root);
    outer.position = burnerTop;
    for (const auto& [A, scale] : outerKeys) SceneBuilder::scaleKey(outer, A, scale);
    return root;
}

std::vector<std::uint8_t> balloonScene() {
    SceneBuilder b;
    b.material("Envelope", "balloon-envelope.jpg");
    b.material("Envelope2", "balloon-envelope2.jpg");
    b.material("Wicker", "balloon-wicker.jpg", {1, 1, 1}, 1.0f, "balloon-wicker.png");
    b.material("Rope", "", {0.55f, 0.45f, 0.32f}, 1.0f);
    b.material("Steel", "", {0.35f, 0.36f, 0.4f}, 1.0f);
    // Flame colours above 1: lit only by ambient and the camera's key light
    // from behind the envelope, they still come out bright.
    b.material("FlameCore", "", {2.6f, 2.2f, 1.2f}, 0.8f);
    b.material("Flame", "", {2.4f, 1.05f, 0.25f}, 0.55f);

    // 1. The three balloons, each on its own flight.
    for (const Flight& f : Flights) {
        auto& balloon = addBalloon(b, f);
        for (float A = 0.0f; A <= LastTime + 400.0f; A += 200.0f) {
            SceneBuilder::positionKey(balloon, A, centreOf(f, A));
            SceneBuilder::rotationKey(balloon, A, {0.05f * std::sin(A / 1300.0f), 1.0f, 0.0f}, f.turn * A / LastTime);
        }
    }

    // 2. The camera and its target.
    b.camera("Camera01", cameraEye(0.0f), cameraTarget(0.0f), 30.0f, 50.0f, 2500.0f);
    auto& camera = *b.findTop("Camera01");
    for (float A = 0.0f; A <= LastTime + 400.0f; A += 200.0f) SceneBuilder::positionKey(camera, A, cameraEye(A));
    auto& target = *b.findTop("Camera01.Target");
    for (float A = 0.0f; A <= LastTime + 400.0f; A += 200.0f) SceneBuilder::positionKey(target, A, cameraTarget(A));
    return b.encode();
}

}  // namespace

void addBalloonAssets(std::vector<Asset>& assets) {
    assets.push_back({"balloon.ztx", [] { return balloonScene(); }});
    assets.push_back({"balloon-envelope.jpg", [] {
                          return encodeJpeg(envelopeTexture({{rgb8(170, 28, 32), rgb8(225, 170, 40), rgb8(170, 28, 32),
                                                              rgb8(30, 60, 150)},
                                                             rgb8(235, 225, 200), rgb8(120, 20, 25), rgb8(45, 40, 40)},
                                                            21),
                                            90);
                      }});
    assets.push_back({"balloon-envelope2.jpg", [] {
                          return encodeJpeg(envelopeTexture({{rgb8(30, 120, 90), rgb8(230, 225, 210), rgb8(40, 70, 160),
                                                              rgb8(230, 225, 210)},
                                                             rgb8(220, 120, 30), rgb8(30, 50, 120), rgb8(45, 40, 40)},
                                                            22),
                                            90);
                      }});
    assets.push_back({"balloon-wicker.jpg", [] { return encodeJpeg(wickerColour(), 90); }});
    assets.push_back({"normal_balloon-wicker.png", [] { return encodePng(normalMap(wickerHeight(), 3.0f), false); }});
    assets.push_back({"nattsky1.png", [] { return encodePng(starLayer(320, 31, 0.6f, 1.8f, 0.0f), true); }});
    assets.push_back({"nattsky2.png", [] { return encodePng(starLayer(30, 32, 1.0f, 3.0f, 0.8f), true); }});
    assets.push_back({"mamma.jpg", [] { return encodeJpeg(mammaPicture(), 90); }});
}

}  // namespace Forge
