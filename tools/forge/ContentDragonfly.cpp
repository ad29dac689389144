// Content of the Dragonfly scene: the animated dragonfly "dragonfly.ztx"
// (drawn at a tenth of its size, wings beating over animation times 0 to
// 6000), the path scene "dragonflypaths.ztx" (the camera, its target, the
// ground box "Box01" and five plain nodes carrying the dragonflies, keyed
// over path times 0 to 130,000, four thousand to the second), the sunflower
// "solsikke.ztx" (placed four times by the scene at scales 0.2 to 0.8, its
// root 100 units below the ground) and their textures: "grass-bakke.jpg",
// "dragonfly-body.jpg", "dragonfly-wing.jpg", "solsikke-seeds.jpg",
// "solsikke-petal.jpg" and "solsikke-leaf.jpg". The sky "scene2.jpg" is
// Pils' own.
//
// Axes: the scene's camera has the renderer's -z as up, which is the file's
// +y. Everything below is authored in one frame with y up and the ground at
// y = 0: node positions, scales and (with the angle negated) rotations are
// stored as they are, and the loader turns them; mesh vertices are not
// turned by the loader, so upright() turns them into the same frame.
#include "Content.h"
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
using Node = KestraneExt::ZTXNodeData;

// A mesh built with y up, ready for SceneBuilder::mesh in the scene's frame.
Mesh upright(Mesh m) {
    m.transform([](Float3 p) { return Float3{p.x, -p.y, -p.z}; });
    return m;
}

// A right-handed turn by angle (radians) about axis in the scene's frame.
void turnKey(Node& node, float time, Float3 axis, float angle) {
    SceneBuilder::rotationKey(node, time, axis, -angle);
}

// An ellipsoid with radii r about centre c, its long axis along z.
Mesh ellipsoid(Float3 c, Float3 r, int segments, int rings) {
    std::vector<Vec2> profile;
    for (int i = 0; i <= rings; ++i) {
        const float a = Pi * static_cast<float>(i) / static_cast<float>(rings);
        profile.push_back({std::sin(a), -std::cos(a)});
    }
    Mesh m = lathe(profile, segments);
    m.transform([&](Float3 p) { return Float3{c.x + p.x * r.x, c.y - p.z * r.y, c.z + p.y * r.z}; });
    return m;
}

// ---- The dragonfly: nose along +z, wings along x, 200 units long. ----

constexpr float WingPeriod = 240.0f;  // animation time of one wing beat
constexpr float AnimationEnd = 6000.0f;

Mesh dragonflyBody() {
    Mesh body = ellipsoid({0, 2, 92}, {8, 7.5f, 7}, 10, 6);              // head
    body.append(ellipsoid({0, 0, 64}, {11, 12.5f, 22}, 12, 8));          // thorax
    // The abdomen: ten segments tapering to the tail, bent slightly down.
    std::vector<Float3> spine;
    for (int i = 0; i <= 30; ++i) {
        const float s = static_cast<float>(i) / 30.0f;
        spine.push_back({0.0f, -8.0f * s * s, 46.0f - 158.0f * s});
    }
    body.append(tube(spine, [](float s, float) {
        const float joint = std::pow(std::fabs(std::cos(Pi * 10.0f * s)), 8.0f);
        return (6.5f - 3.0f * s) * (1.0f - 0.18f * joint) * std::min(1.0f, 0.6f + 4.0f * s);
    }, 8, false));
    return upright(body);
}

Mesh dragonflyEyes() {
    Mesh eyes = ellipsoid({6.5f, 5, 94}, {8.5f, 8.5f, 8}, 12, 7);
    eyes.append(mirrored(eyes, Axis::X));
    return upright(eyes);
}

// A flat wing from its hinge at the origin out along +x (length L, widest
// chord c), both faces, texture u along the span and v across the chord.
Mesh wing(float L, float c, float baseWidth) {
    Mesh m;
    constexpr int Stations = 12;
    std::vector<int> front, back;
    for (int i = 0; i <= Stations; ++i) {
        const float x = static_cast<float>(i) / Stations;
        const float root = baseWidth + (1.0f - baseWidth) * smoothstep(0.0f, 0.3f, x);
        const float half = 0.5f * c * root * std::sqrt(std::max(0.0f, 1.0f - std::pow(x, 5.0f)));
        const float sweep = -0.12f * c * x * x;  // the tip swept back
        const float lead = 0.5f * c * 0.55f;      // the leading edge runs nearly straight
        const float z0 = sweep + std::min(lead, half * 1.1f), z1 = sweep + std::min(lead, half * 1.1f) - 2.0f * half;
        front.push_back(m.addVertex({x * L, 0, z0}, x, 1.0f));
        back.push_back(m.addVertex({x * L, 0, z1}, x, 0.0f));
    }
    for (int i = 0; i < Stations; ++i) m.addQuad(front[i], front[i + 1], back[i + 1], back[i]);
    Mesh other = m;
    other.flip();
    m.append(other);
    return m;
}

std::vector<std::uint8_t> dragonflyScene() {
    SceneBuilder b;
    b.material("dragonfly-body", "dragonfly-body.jpg");
    b.material("dragonfly-eyes", "", {0.1f, 0.35f, 0.42f});
    b.material("dragonfly-wing", "dragonfly-wing.jpg");

    Node& body = b.mesh("Body", dragonflyBody(), "dragonfly-body");
    // A gentle hover: up and down twice a beat cycle of the wings' many.
    for (float t = 0.0f; t <= AnimationEnd; t += 150.0f)
        SceneBuilder::positionKey(body, t, {0.0f, 3.0f * std::sin(2.0f * Pi * t / 1500.0f), 0.0f});
    b.mesh("Eyes", dragonflyEyes(), "dragonfly-eyes", &body);

    // Fore and hind wings on each side, hinged on the thorax; the hind pair
    // beats a little ahead of the fore pair, as a dragonfly's does.
    struct WingSpec {
        const char* name;
        float side, z, length, chord, base, phase;
    };
    const WingSpec wings[] = {{"WingFR", 1, 70, 108, 21, 0.45f, 0.0f},
                              {"WingFL", -1, 70, 108, 21, 0.45f, 0.0f},
                              {"WingHR", 1, 54, 100, 27, 0.75f, 0.6f * Pi},
                              {"WingHL", -1, 54, 100, 27, 0.75f, 0.6f * Pi}};
    for (const WingSpec& w : wings) {
        Mesh m = wing(w.length, w.chord, w.base);
        if (w.side < 0) m = mirrored(m, Axis::X);
        Node& n = b.mesh(w.name, upright(m), "dragonfly-wing", &body);
        n.position = {w.side * 5.0f, 9.0f, w.z};
        for (float t = 0.0f; t <= AnimationEnd; t += WingPeriod / 8.0f) {
            const float beat = std::sin(2.0f * Pi * t / WingPeriod + w.phase);
            // Up to 40 degrees above the body's plane, 25 below.
            const float angle = (0.13f + 0.57f * beat) * w.side;
            turnKey(n, t, {0, 0, 1}, angle);
        }
    }
    return b.encode();
}

// ---- The sunflower: root at the origin, head at about 440 facing +z. ----

constexpr Float3 HeadCentre{0.0f, 440.0f, 26.0f};
constexpr float HeadTilt = 0.35f;  // the head nods forward

// From the head's own frame (disc facing +z at the origin) to the flower's.
Float3 toHead(Float3 p) {
    return rotateAbout(p, {1, 0, 0}, HeadTilt) + HeadCentre;
}

Mesh sunflowerStem() {
    std::vector<Float3> path;
    for (int i = 0; i <= 10; ++i) {
        const float s = static_cast<float>(i) / 10.0f;
        // Up from the root, bending forward at the top into the back of
        // the head.
        path.push_back({6.0f * std::sin(2.5f * s), -40.0f + 482.0f * s, 9.0f * s * s * s});
    }
    Mesh stem = tube(path, [](float s, float) { return 6.0f - 2.0f * s; }, 8, false);
    // The green cup behind the seed disc.
    Mesh cup = lathe({{0, -16}, {14, -14}, {34, -6}, {42, -1}, {42, 0}}, 20);
    cup.transform([](Float3 p) { return toHead({p.x, -p.z, p.y}); });
    stem.append(cup);
    return upright(stem);
}

Mesh sunflowerSeeds() {
    Mesh disc = lathe({{0, 7}, {12, 6.5f}, {24, 5}, {34, 2.5f}, {40, 0}}, 24);
    planarUV(disc, {1, 0, 0}, {0, 0, 1}, 1.0f / 84.0f);
    for (MeshVertex& v : disc.vertices) {
        v.u += 0.5f;
        v.v += 0.5f;
    }
    disc.transform([](Float3 p) { return toHead({p.x, -p.z, p.y}); });
    return upright(disc);
}

// Two rings of petals round the disc, slightly cupped; u across, v along.
Mesh sunflowerPetals() {
    Mesh petals;
    Random rng(404);
    for (int ring = 0; ring < 2; ++ring) {
        const int count = 21;
        for (int k = 0; k < count; ++k) {
            const float a = 2.0f * Pi * (static_cast<float>(k) + 0.5f * static_cast<float>(ring)) / count +
                            0.05f * rng.bipolar();
            const float length = (ring == 0 ? 40.0f : 34.0f) * (0.9f + 0.2f * rng.uniform());
            const float lift = (ring == 0 ? 2.0f : -1.0f) + 4.0f * rng.bipolar();
            Mesh p;
            const float along[] = {0.0f, 0.3f, 0.7f, 1.0f};
            const float width[] = {4.0f, 11.0f, 9.0f, 0.0f};
            int prev[3] = {};
            for (int i = 0; i < 4; ++i) {
                const float r = 34.0f + length * along[i];
                const float up = lift * along[i] * along[i] + (ring == 0 ? 1.5f : 0.5f);
                int row[3];
                for (int j = 0; j < 3; ++j) {
                    const float across = static_cast<float>(j - 1);
                    const float w = 0.5f * width[i] * across;
                    const float cup = (1.0f - across * across) * 1.5f * along[i];
                    row[j] = p.addVertex({r, w, up + cup}, 0.5f + 0.5f * across, along[i]);
                }
                if (i > 0)
                    for (int j = 0; j < 2; ++j) p.addQuad(prev[j], prev[j + 1], row[j + 1], row[j]);
                std::copy(row, row + 3, prev);
            }
            p.transform([&](Float3 q) {
                const Float3 turned{q.x * std::cos(a) - q.y * std::sin(a), q.x * std::sin(a) + q.y * std::cos(a), q.z};
                return toHead(turned);
            });
            petals.append(p);
        }
    }
    return upright(petals);
}

// Three broad leaves up the stem, drooping from their stalks.
Mesh sunflowerLeaves() {
    Mesh leaves;
    const struct {
        float height, turn, size;
    } placement[] = {{130, 0.4f, 1.0f}, {230, 2.6f, 0.9f}, {320, 4.6f, 0.75f}};
    for (const auto& place : placement) {
        Mesh leaf;
        constexpr int Along = 7, Across = 4;
        std::vector<int> grid;
        for (int i = 0; i <= Along; ++i) {
            const float s = static_cast<float>(i) / Along;
            // Heart-shaped: broad near the stalk, tapering to a point.
            const float half = 32.0f * std::sin(Pi * std::pow(s, 0.7f)) * (s < 0.08f ? 0.4f : 1.0f);
            for (int j = 0; j <= Across; ++j) {
                const float c = 2.0f * static_cast<float>(j) / Across - 1.0f;
                const float x = 10.0f + 95.0f * s;
                const float droop = -40.0f * s * s + 18.0f * s;
                const float fold = 6.0f * c * c * s;
                grid.push_back(leaf.addVertex({x, droop + fold, c * half}, 0.5f + 0.5f * c, s));
            }
        }
        for (int i = 0; i < Along; ++i)
            for (int j = 0; j < Across; ++j) {
                const int a = i * (Across + 1) + j;
                leaf.addQuad(grid[a], grid[a + 1], grid[a + Across + 2], grid[a + Across + 1]);
            }
        leaf.transform([&](Float3 p) {
            p = p * place.size;
            p = rotateAbout(p, {0, 1, 0}, place.turn);
            return p + Float3{0.0f, place.height, 0.0f};
        });
        leaves.append(leaf);
    }
    return upright(leaves);
}

std::vector<std::uint8_t> sunflowerScene() {
    SceneBuilder b;
    b.material("solsikke-stem", "", {0.22f, 0.42f, 0.12f});
    b.material("solsikke-seeds", "solsikke-seeds.jpg");
    b.material("solsikke-petal", "solsikke-petal.jpg");
    b.material("solsikke-leaf", "solsikke-leaf.jpg");
    Node& stem = b.mesh("Stem", sunflowerStem(), "solsikke-stem");
    b.mesh("Leaves", sunflowerLeaves(), "solsikke-leaf", &stem);
    b.mesh("Petals", sunflowerPetals(), "solsikke-petal", &stem);
    b.mesh("Seeds", sunflowerSeeds(), "solsikke-seeds", &stem);
    return b.encode();
}

// ---- The paths: a camera flying round the meadow, dragonflies with it. ----

constexpr float PathEnd = 130000.0f;
constexpr float PathStep = 1000.0f;
constexpr float PathPerSecond = 4000.0f;

struct CameraPose {
    Float3 eye, target;
};

// The camera's flight at path second s: low over the grass west of the
// sunflowers (which all turn their faces west), drifting north along them
// and turning to keep looking at them across the meadow, so the flowers
// slide through the picture face on and never come closer than about 200
// units.
CameraPose cameraAt(float s) {
    CameraPose pose;
    pose.eye = {-380.0f + 120.0f * std::sin(0.23f * s + 0.5f), 48.0f + 14.0f * std::sin(0.5f * s + 1.0f),
                -500.0f + 28.0f * s + 80.0f * std::sin(0.3f * s)};
    pose.target = {230.0f + 140.0f * std::sin(0.17f * s), 55.0f + 12.0f * std::sin(0.41f * s),
                   -80.0f + 220.0f * std::sin(0.19f * s + 0.4f)};
    return pose;
}

// One dragonfly's place in the camera's view: distance, and offsets across
// and up as fractions of the half view there; its heading relative to the
// view direction (radians).
struct Flier {
    float distance, across, up, heading, phase;
};

const Flier fliers[] = {{95, -0.30f, -0.10f, 0.5f, 0.0f},
                        {150, 0.42f, 0.18f, -0.8f, 1.3f},
                        {210, -0.05f, 0.34f, 1.4f, 2.9f},
                        {125, 0.15f, -0.38f, -1.5f, 4.1f},
                        {280, -0.55f, 0.05f, 0.2f, 5.3f}};

void keyFlier(Node& node, const Flier& f) {
    for (float P = 0.0f; P <= PathEnd; P += PathStep) {
        const float s = P / PathPerSecond;
        const CameraPose pose = cameraAt(s);
        const Float3 view = normalize(pose.target - pose.eye);
        const Float3 right = normalize(cross(view, {0, 1, 0}));
        const Float3 up = cross(right, view);
        const float d = f.distance + 25.0f * std::sin(0.31f * s + f.phase);
        const float across = f.across + 0.12f * std::sin(0.43f * s + 2.0f * f.phase);
        const float high = f.up + 0.1f * std::sin(0.57f * s + f.phase);
        // Half the view is 0.56 d across and 0.32 d high (35 degrees, 16:9).
        Float3 p = pose.eye + view * d + right * (0.56f * d * across) + up * (0.32f * d * high);
        p.y = std::max(p.y, 14.0f);
        SceneBuilder::positionKey(node, P, p);
        const float heading = std::atan2(view.x, view.z) + f.heading + 0.6f * std::sin(0.23f * s + f.phase);
        turnKey(node, P, {0, 1, 0}, heading);
    }
}

// The ground: a wide flat box with its top at y = 0, grass repeating every
// 150 units.
Mesh groundBox() {
    constexpr float Half = 4000.0f, Depth = 20.0f, Tile = 150.0f;
    Mesh m;
    const Float3 c[8] = {{-Half, -Depth, -Half}, {Half, -Depth, -Half}, {Half, -Depth, Half}, {-Half, -Depth, Half},
                         {-Half, 0, -Half},      {Half, 0, -Half},      {Half, 0, Half},      {-Half, 0, Half}};
    const int faces[6][4] = {{4, 7, 6, 5}, {0, 1, 2, 3}, {0, 4, 5, 1}, {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}};
    for (const auto& f : faces) {
        int v[4];
        for (int k = 0; k < 4; ++k) {
            const Float3 p = c[f[k]];
            v[k] = m.addVertex(p, (p.x + p.y) / Tile, (p.z + p.y) / Tile);
        }
        m.addQuad(v[0], v[1], v[2], v[3]);
    }
    return upright(m);
}

std::vector<std::uint8_t> pathsScene() {
    SceneBuilder b;
    b.material("grass", "grass-bakke.jpg");
    b.mesh("Box01", groundBox(), "grass");  // the first mesh: the ground
    const CameraPose start = cameraAt(0.0f);
    Node& camera = b.camera("Camera01", start.eye, start.target, 35.0f, 10.0f, 1200.0f);
    for (float P = 0.0f; P <= PathEnd; P += PathStep) SceneBuilder::positionKey(camera, P, cameraAt(P / PathPerSecond).eye);
    Node& target = *b.findTop("Camera01.Target");
    for (float P = 0.0f; P <= PathEnd; P += PathStep)
        SceneBuilder::positionKey(target, P, cameraAt(P / PathPerSecond).target);
    int number = 1;
    for (const Flier& f : fliers) keyFlier(b.node("Dragonfly0" + std::to_string(number++)), f);
    return b.encode();
}

// ---- Textures ----

// A summer meadow seen from a little height: mottled greens, darker tufts,
// dry straw and a few small flowers; tiles.
Image grassTexture() {
    constexpr int Size = 512;
    Image img(Size, Size);
    img.forEach([](float u, float v, Rgba& c) {
        const float broad = fbm2(u * 4.0f, v * 4.0f, 71, 4, 4);
        const float fine = fbm2(u * 48.0f, v * 48.0f, 72, 3, 48);
        const float blades = fbm2(u * 160.0f, v * 40.0f, 73, 2, 40);
        c = mix(rgb8(52, 96, 30), rgb8(104, 140, 46), smoothstep(-0.5f, 0.6f, broad));
        c = mix(c, rgb8(28, 58, 18), smoothstep(0.0f, 0.6f, fine) * 0.6f);
        c = mix(c, rgb8(150, 160, 80), smoothstep(0.35f, 0.7f, blades) * 0.35f);
        c.a = 1.0f;
    });
    Random rng(74);
    for (int i = 0; i < 500; ++i) {
        const int x = static_cast<int>(rng.below(Size)), y = static_cast<int>(rng.below(Size));
        const Rgba petal = rng.uniform() < 0.6f ? rgb8(235, 235, 220) : rgb8(240, 200, 60);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                Rgba& t = img.at((x + dx + Size) % Size, (y + dy + Size) % Size);
                t = mix(t, petal, dx == 0 && dy == 0 ? 0.9f : 0.35f);
            }
    }
    return img;
}

// Abdomen segments (u along the body): metallic turquoise, dark at each
// joint, pale blue near the front of each segment; on the thorax and head
// (u around) the same bands read as stripes.
Image dragonflyBodyTexture() {
    Image img(256, 256);
    img.forEach([](float u, float v, Rgba& c) {
        const float seg = u * 10.0f - std::floor(u * 10.0f);
        const float joint = smoothstep(0.12f, 0.0f, seg) + smoothstep(0.9f, 1.0f, seg);
        const float spot = smoothstep(0.35f, 0.15f, std::fabs(seg - 0.3f)) * 0.6f;
        c = mix(rgb8(20, 110, 130), rgb8(120, 200, 230), spot);
        c = c * (0.85f + 0.15f * fbm2(u * 16.0f, v * 16.0f, 81, 3, 16));
        c = mix(c, rgb8(12, 16, 22), std::min(1.0f, joint));
        c.a = 1.0f;
    });
    return img;
}

// A dragonfly wing: glassy blue-grey with a dark leading edge, long veins
// along the span, cross veins between them and a dark spot near the tip.
Image dragonflyWingTexture() {
    Image img(256, 128);
    img.forEach([](float u, float v, Rgba& c) {
        c = mix(rgb8(170, 195, 210), rgb8(205, 222, 232), 0.5f + 0.5f * fbm2(u * 6.0f, v * 3.0f, 91, 3));
        // Longitudinal veins, converging towards the tip.
        float vein = 0.0f;
        for (int k = 1; k <= 6; ++k) {
            const float line = 1.0f - (static_cast<float>(k) / 7.0f) * (1.0f - 0.35f * u);
            vein = std::max(vein, smoothstep(0.012f, 0.0f, std::fabs(v - line)));
        }
        // Cross veins: a net of small cells.
        const float cell = gradientNoise(u * 40.0f, v * 16.0f, 92);
        vein = std::max(vein, smoothstep(0.06f, 0.0f, std::fabs(cell)) * 0.6f);
        vein = std::max(vein, smoothstep(0.95f, 0.985f, v));  // the leading edge
        c = mix(c, rgb8(40, 45, 55), vein);
        const bool stigma = u > 0.82f && u < 0.9f && v > 0.86f;
        if (stigma) c = rgb8(60, 30, 20);
        c.a = 1.0f;
    });
    return img;
}

// The seed disc: seeds packed in Fibonacci spirals, dark brown at the
// centre, lighter and greener towards the rim where the florets open.
Image sunflowerSeedsTexture() {
    constexpr int Size = 256;
    Image img(Size, Size, rgb8(70, 40, 15));
    const float golden = Pi * (3.0f - std::sqrt(5.0f));
    constexpr int Seeds = 900;
    img.forEach([&](float u, float v, Rgba& c) {
        const float x = u - 0.5f, y = v - 0.5f;
        const float r = std::sqrt(x * x + y * y) / 0.5f;
        // Nearest seed by its index from the radius (seeds lie at sqrt(i)).
        const float index = r * r * Seeds;
        float nearest = 1e9f;
        for (int i = std::max(0, static_cast<int>(index) - 60); i < std::min(Seeds, static_cast<int>(index) + 60); ++i) {
            const float rr = 0.5f * std::sqrt((static_cast<float>(i) + 0.5f) / Seeds);
            const float a = static_cast<float>(i) * golden;
            const float dx = x - rr * std::cos(a), dy = y - rr * std::sin(a);
            nearest = std::min(nearest, dx * dx + dy * dy);
        }
        const float seed = smoothstep(0.00017f, 0.00004f, nearest);
        // Dark brown seeds in the middle, the open florets of the rim lighter.
        const Rgba centre = mix(rgb8(120, 78, 34), rgb8(150, 120, 40), smoothstep(0.6f, 0.95f, r));
        c = mix(rgb8(36, 20, 8), centre, seed);
        c = mix(c, rgb8(90, 70, 20), smoothstep(0.88f, 1.0f, r) * 0.6f);
        c.a = 1.0f;
    });
    return img;
}

// A petal: deep orange at the base to bright yellow, with faint veins.
Image sunflowerPetalTexture() {
    Image img(64, 128);
    img.forEach([](float u, float v, Rgba& c) {
        c = mix(rgb8(230, 120, 10), rgb8(255, 205, 30), smoothstep(0.0f, 0.5f, v));
        const float veins = 0.5f + 0.5f * std::sin(u * 2.0f * Pi * 5.0f);
        c = c * (0.9f + 0.1f * veins);
        c.a = 1.0f;
    });
    return img;
}

// A leaf: green with a pale midrib and side veins running out to the edge.
Image sunflowerLeafTexture() {
    Image img(128, 128);
    img.forEach([](float u, float v, Rgba& c) {
        c = mix(rgb8(44, 92, 26), rgb8(70, 125, 38), 0.5f + 0.5f * fbm2(u * 6.0f, v * 6.0f, 101, 3));
        const float across = std::fabs(u - 0.5f);
        const float midrib = smoothstep(0.025f, 0.0f, across);
        const float side = std::fabs(std::sin((v - across * 0.8f) * Pi * 7.0f));
        const float veins = smoothstep(0.1f, 0.0f, side) * 0.5f;
        c = mix(c, rgb8(150, 190, 100), std::max(midrib, veins));
        c.a = 1.0f;
    });
    return img;
}

}  // namespace

void addDragonflyAssets(std::vector<Asset>& assets) {
    assets.push_back({"dragonfly.ztx", dragonflyScene});
    assets.push_back({"dragonflypaths.ztx", pathsScene});
    assets.push_back({"solsikke.ztx", sunflowerScene});
    assets.push_back({"grass-bakke.jpg", [] { return encodeJpeg(grassTexture(), 90); }});
    assets.push_back({"dragonfly-body.jpg", [] { return encodeJpeg(dragonflyBodyTexture(), 90); }});
    assets.push_back({"dragonfly-wing.jpg", [] { return encodeJpeg(dragonflyWingTexture(), 90); }});
    assets.push_back({"solsikke-seeds.jpg", [] { return encodeJpeg(sunflowerSeedsTexture(), 90); }});
    assets.push_back({"solsikke-petal.jpg", [] { return encodeJpeg(sunflowerPetalTexture(), 90); }});
    assets.push_back({"solsikke-leaf.jpg", [] { return encodeJpeg(sunflowerLeafTexture(), 90); }});
}

}  // namespace Forge
