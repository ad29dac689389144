// Content of the Flowerball scene:
//   "flowerball.ztx"  a mossy ball (radius 72) covered in 46 flowers of four
//                     kinds. Animation time 0 is the ball at rest; towards
//                     10,000 the flowers fly out, swirling and spinning, and
//                     the ball shrinks. The scene holds the ball at its first
//                     key and, on a bass hit, jumps to a random time and plays
//                     back to 0 in at most half a second: a burst that snaps
//                     back together.
//   "scene1.jpg"      the sky box picture: a bright day sky over a sea of
//                     white cloud, the zenith in the top row and the floor
//                     below the clouds in the bottom row, each one flat
//                     colour (the box's caps).
//   "sky.png"         a soft cloud sprite with alpha for the particles.
//   "logo.png", "logo2.png"  the group's logo and the production's title,
//                     drawn over the whole picture as 2 x 2 clip-space
//                     rectangles sliding right from x = -1.5 by about 1.4 in
//                     the entry: the lettering sits in the image's middle
//                     columns (title u 0.21 to 0.55, group 0.23 to 0.63),
//                     which stay on screen nearly the whole time, the title
//                     high, the group low. Drawn for the 800 x 600 screen
//                     (letters squeezed to 3/4 in width).
//   the flowers' textures "flowerball-petals1..4.jpg" and the ball's
//   "flowerball-moss.jpg" with its bump map "normal_flowerball-moss.jpg".
// The strawberry is made in ContentStrawberry.cpp.
#include "Content.h"
#include "ContentStrawberry.h"
#include "MeshShapes.h"
#include "Noise.h"
#include "Random.h"
#include "SceneBuilder.h"
#include "Text.h"
#include "TextureOps.h"

#include <algorithm>
#include <cmath>

namespace Forge {

namespace {

constexpr float Pi = 3.14159265358979f;
constexpr float BallRadius = 72.0f;
constexpr int FlowerCount = 46;
constexpr int FlowerKinds = 4;
constexpr float AnimationEnd = 10000.0f;
constexpr int AnimationKeys = 10;  // key spans over 0 .. 10,000

// Rotations in the renderer's axes (y up), as quaternions.
using KestraneExt::Quaternion;

Quaternion multiply(Quaternion a, Quaternion b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Quaternion aroundAxis(Float3 axis, float angle) { return SceneBuilder::axisAngle(axis, angle); }

// The shortest turn taking +y to the unit vector d.
Quaternion yTo(Float3 d) {
    const Float3 y{0.0f, 1.0f, 0.0f};
    const Float3 axis = cross(y, d);
    const float s = length(axis);
    if (s < 1e-6f) return d.y > 0.0f ? Quaternion{} : aroundAxis({1, 0, 0}, Pi);
    return aroundAxis(axis, std::atan2(s, dot(y, d)));
}

// The file's quaternion for a renderer rotation: the loader reads the
// file's axis (x, y, z) as the renderer's (x, z, -y) and turns the other way.
Quaternion toFileRotation(Quaternion q) {
    const Float3 v = toFileAxes({q.x, q.y, q.z});
    return {-v.x, -v.y, -v.z, q.w};
}

// One flower facing +y: a ring of cupped petals round a domed heart.
// Texture: petals in u 0 .. 0.74 (v from base to tip), the heart in u 0.8 .. 1.
Mesh flower(int kind, float size) {
    static const int petalCounts[FlowerKinds] = {6, 8, 5, 10};
    static const float petalWidths[FlowerKinds] = {0.55f, 0.38f, 0.7f, 0.28f};
    static const float cups[FlowerKinds] = {0.25f, 0.15f, 0.35f, 0.1f};
    const int petals = petalCounts[kind];
    const float length = 26.0f * size, width = petalWidths[kind] * length, cup = cups[kind];
    constexpr int Along = 3, Across = 2;
    Mesh m;
    for (int p = 0; p < petals; ++p) {
        const float angle = 2.0f * Pi * static_cast<float>(p) / static_cast<float>(petals);
        const Float3 out{std::cos(angle), 0.0f, std::sin(angle)}, side{-std::sin(angle), 0.0f, std::cos(angle)};
        std::vector<int> grid;
        for (int i = 0; i <= Along; ++i) {
            const float r = static_cast<float>(i) / Along;
            const float rho = 0.12f * length + r * 0.88f * length;
            const float w = 0.5f * width * std::pow(std::sin(Pi * (0.15f + 0.8f * r)), 0.6f);
            const float rise = cup * rho * rho / length + 0.02f * length;
            for (int j = 0; j <= Across; ++j) {
                const float s = 2.0f * static_cast<float>(j) / Across - 1.0f;
                // Each petal curls up a little at its edges.
                const Float3 pos = out * rho + side * (s * w) + Float3{0.0f, rise + 0.12f * w * s * s, 0.0f};
                grid.push_back(m.addVertex(pos, 0.37f + 0.35f * s, 0.04f + 0.92f * r));
            }
        }
        for (int i = 0; i < Along; ++i)
            for (int j = 0; j < Across; ++j) {
                const int a = i * (Across + 1) + j;
                m.addQuad(grid[a], grid[a + 1], grid[a + Across + 2], grid[a + Across + 1]);
            }
    }
    // The heart: a low dome.
    Mesh heart = lathe({{0.2f * length, 0.02f * length}, {0.12f * length, 0.1f * length}, {0.0f, 0.14f * length}}, 8);
    for (MeshVertex& v : heart.vertices) {  // projected from above, no seam
        v.u = 0.9f + 0.09f * v.position.x / (0.2f * length);
        v.v = 0.5f + 0.45f * v.position.z / (0.2f * length);
    }
    m.append(heart);
    return m;
}

// A sphere with its seam column doubled, so a wrapping texture meets itself.
Mesh ball(float radius, int segments, int rings) {
    Mesh m;
    std::vector<std::vector<int>> grid;
    for (int i = 0; i <= rings; ++i) {
        const float v = static_cast<float>(i) / rings;
        const float polar = Pi * v;
        std::vector<int> ring;
        for (int k = 0; k <= segments; ++k) {
            const float u = static_cast<float>(k) / segments;
            const float a = 2.0f * Pi * u;
            ring.push_back(m.addVertex({radius * std::sin(polar) * std::cos(a), -radius * std::cos(polar),
                                        radius * std::sin(polar) * std::sin(a)},
                                       u * 3.0f, v * 1.5f));
        }
        grid.push_back(std::move(ring));
    }
    for (int i = 0; i < rings; ++i)
        for (int k = 0; k < segments; ++k) {
            if (i == 0)  // the rings at the poles are single points
                m.addTriangle(grid[i][k], grid[i + 1][k], grid[i + 1][k + 1]);
            else if (i + 1 == rings)
                m.addTriangle(grid[i][k], grid[i + 1][k], grid[i][k + 1]);
            else
                m.addQuad(grid[i][k], grid[i + 1][k], grid[i + 1][k + 1], grid[i][k + 1]);
        }
    return m;
}

std::vector<std::uint8_t> flowerBallScene() {
    SceneBuilder b;
    b.material("moss", "flowerball-moss.jpg", {1, 1, 1}, 1.0f, "flowerball-moss.jpg");
    for (int k = 0; k < FlowerKinds; ++k)
        b.material("petals" + std::to_string(k + 1), "flowerball-petals" + std::to_string(k + 1) + ".jpg");

    auto key = [](int i) { return AnimationEnd * static_cast<float>(i) / AnimationKeys; };

    // The mossy ball: turning, and shrinking as the flowers fly off.
    auto& core = b.mesh("Ball", asRendered(ball(BallRadius, 24, 12)), "moss");
    for (int i = 0; i <= AnimationKeys; ++i) {
        const float f = static_cast<float>(i) / AnimationKeys;
        core.rotationKeys.push_back({toFileRotation(aroundAxis({0, 1, 0}, 1.2f * f)), key(i)});
        SceneBuilder::scaleKey(core, key(i), Float3{1, 1, 1} * (1.0f - 0.3f * std::sqrt(f)));
    }

    // Flowers on a golden-angle spiral over the sphere.
    Random rng(1613);
    for (int n = 0; n < FlowerCount; ++n) {
        const float y = 1.0f - 2.0f * (static_cast<float>(n) + 0.5f) / FlowerCount;
        const float around = static_cast<float>(n) * Pi * (3.0f - std::sqrt(5.0f));
        const float ring = std::sqrt(1.0f - y * y);
        const Float3 home{ring * std::cos(around), y, ring * std::sin(around)};
        const int kind = static_cast<int>(rng.below(FlowerKinds));
        const float size = 0.85f + 0.3f * rng.uniform();
        const float reach = 90.0f + 110.0f * rng.uniform();  // how far it flies at 10,000
        const Float3 swirlAxis = normalize(Float3{rng.bipolar(), 1.5f, rng.bipolar()});
        const float swirl = (rng.uniform() < 0.5f ? -1.0f : 1.0f) * (0.6f + 0.8f * rng.uniform());
        const float spin = (rng.uniform() < 0.5f ? -1.0f : 1.0f) * (2.0f + 3.0f * rng.uniform());
        const float twist = 2.0f * Pi * rng.uniform();

        auto& node = b.mesh("Flower" + std::to_string(n + 1), asRendered(flower(kind, size)),
                            "petals" + std::to_string(kind + 1));
        for (int i = 0; i <= AnimationKeys; ++i) {
            const float f = static_cast<float>(i) / AnimationKeys;
            const Float3 d = normalize(rotateAbout(home, swirlAxis, swirl * f));
            const float r = BallRadius * (1.0f - 0.3f * std::sqrt(f)) + 1.0f + reach * std::pow(f, 0.8f);
            SceneBuilder::positionKey(node, key(i), toFileAxes(d * r));
            // Facing out from the ball, spinning about its own axis, tumbling
            // a little as it flies.
            const Quaternion facing = yTo(normalize(d + swirlAxis * (0.5f * f * swirl)));
            const Quaternion q = multiply(facing, aroundAxis({0, 1, 0}, twist + spin * f));
            node.rotationKeys.push_back({toFileRotation(q), key(i)});
            SceneBuilder::scaleKey(node, key(i), Float3{1, 1, 1} * (1.0f + 0.35f * std::sin(Pi * f)));
        }
        node.rotation = node.rotationKeys.front().value;
    }
    return b.encode();
}

// Petal colours of the four kinds: base, tip, heart.
struct FlowerColours {
    Rgba base, tip, heart;
};
const FlowerColours flowerColours[FlowerKinds] = {
    {rgb8(255, 235, 120), rgb8(255, 170, 30), rgb8(140, 70, 20)},   // yellow
    {rgb8(250, 200, 230), rgb8(230, 60, 150), rgb8(250, 220, 60)},  // pink
    {rgb8(200, 190, 255), rgb8(110, 70, 220), rgb8(255, 240, 120)}, // violet
    {rgb8(255, 255, 250), rgb8(250, 245, 235), rgb8(250, 200, 30)}, // daisy white
};

Image petalTexture(int kind) {
    const FlowerColours& c = flowerColours[kind];
    Image img(128, 128);
    img.forEach([&](float u, float v, Rgba& out) {
        const float t = 1.0f - v;  // texture v: base 0 .. tip 1
        if (u < 0.76f) {
            const float s = (u - 0.37f) / 0.35f;  // across the petal, -1 .. 1
            out = mix(c.base, c.tip, smoothstep(0.1f, 0.9f, t));
            // Veins fanning from the base, darker edges.
            const float vein = 0.5f + 0.5f * std::cos(s * 9.0f + 2.0f * t);
            out = out * (0.92f + 0.08f * vein) * (1.0f - 0.18f * s * s);
        } else {
            const float n = fbm2(u * 40.0f, v * 40.0f, static_cast<std::uint32_t>(kind) + 3, 3, 40);
            out = c.heart * (0.75f + 0.35f * n);
        }
        out.a = 1.0f;
    });
    return img;
}

// Moss: green fbm, its height the same pattern (red channel of the result).
Image mossHeight() {
    Image img(256, 256);
    img.forEach([](float u, float v, Rgba& c) {
        const float n = fbm2(u * 16.0f, v * 16.0f, 88, 5, 16);
        c = {0.5f + 0.5f * n, 0.0f, 0.0f, 1.0f};
    });
    return img;
}

Image mossColour() {
    Image img = mossHeight();
    img.forEach([](float, float, Rgba& c) {
        c = mix(rgb8(30, 80, 20), rgb8(120, 170, 50), smoothstep(0.2f, 0.8f, c.r));
    });
    return img;
}

constexpr int SkySize = 1024;

// v runs from the zenith (0) over the horizon (0.5) to the floor (1).
Image daySky() {
    const Rgba zenith = rgb8(40, 96, 180), horizon = rgb8(150, 185, 215), floor = rgb8(150, 165, 190);
    Image img(SkySize, SkySize);
    img.forEach([&](float u, float v, Rgba& c) {
        if (v < 0.5f) {
            const float h = v / 0.5f;  // 0 zenith .. 1 horizon
            c = mix(zenith, horizon, std::pow(h, 1.8f));
            // Cumulus heaped above the horizon, tiling round the box.
            const float n = fbm2(u * 5.0f, v * 12.0f, 51, 5, 5);
            const float cover = smoothstep(0.0f, 0.4f, n) * smoothstep(0.35f, 0.8f, h);
            const float shade = 0.75f + 0.2f * fbm2(u * 10.0f, v * 24.0f, 52, 3, 10);
            c = mix(c, Rgba{shade, shade, shade * 1.02f, 1.0f}, cover * 0.85f);
        } else {
            // A bright sea of cloud below.
            const float h = (v - 0.5f) / 0.5f;  // 0 horizon .. 1 floor
            const float n = fbm2(u * 6.0f, v * 10.0f, 53, 5, 6);
            const float puff = 0.68f + 0.2f * smoothstep(-0.4f, 0.6f, n);
            Rgba sea{puff * 0.93f, puff * 0.95f, puff, 1.0f};
            sea = mix(horizon, sea, smoothstep(0.0f, 0.2f, h));
            c = mix(sea, floor, smoothstep(0.5f, 1.0f, h));
        }
        c = mix(c, zenith, smoothstep(0.03f, 0.0f, v));
        c = mix(c, floor, smoothstep(0.97f, 1.0f, v));
        c.a = 1.0f;
    });
    return img;
}

// A soft heap of cloud: white puffs, shaded underneath, fading to nothing
// before the sprite's edges.
Image cloudSprite() {
    constexpr int Size = 256;
    Image img(Size, Size);
    img.forEach([](float u, float v, Rgba& c) {
        const float x = 2.0f * u - 1.0f, y = 2.0f * v - 1.0f;  // y down
        const float n = fbm2(u * 4.0f, v * 4.0f, 61, 5);
        const float r = std::sqrt(x * x + y * y * 1.6f) - 0.25f * n;
        const float density = smoothstep(0.85f, 0.25f, r);
        const float shade = 0.82f + 0.18f * smoothstep(0.6f, -0.4f, y);
        c = {shade, shade, shade * 1.03f, 0.8f * density};
    });
    return img;
}

// Lettering for the overlays: filled with a vertical gradient, a dark
// outline and a soft shadow, laid out on a 4:3 canvas and then squeezed to
// a square texture (the whole screen shows the whole texture).
struct Lettering {
    std::string text;
    float centre, width;  // fractions of the image's width the text fills
    float baseline;       // fraction of its height
    Rgba top, bottom, outline;
};

// a over b, colours not premultiplied.
Rgba over(Rgba a, Rgba b) {
    const float alpha = a.a + b.a * (1.0f - a.a);
    if (alpha <= 0.0f) return {b.r, b.g, b.b, 0.0f};
    const Rgba c = (a * a.a + b * (b.a * (1.0f - a.a))) * (1.0f / alpha);
    return {c.r, c.g, c.b, alpha};
}

Image letteringImage(const Lettering& l) {
    constexpr int W = 1365, H = 1024, Out = 1024;
    const Font& font = Font::bold();
    const float height = l.width * W / font.width(l.text, 1.0f);
    const float baseline = l.baseline * H;
    Image mask(W, H, {0, 0, 0, 1});
    font.draw(mask, l.text, (l.centre - 0.5f * l.width) * W, baseline, height, {1, 1, 1, 1});
    // The outline: the mask grown by a few pixels; the shadow: it blurred.
    Image grown = mask;
    blur(grown, 0.035f * height, Edge::Clamp);
    Image shadow = mask;
    blur(shadow, 0.08f * height, Edge::Clamp);
    const int shadowX = static_cast<int>(0.05f * height), shadowY = static_cast<int>(0.07f * height);
    const float top = baseline - 0.72f * height;
    Image canvas(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const float t = std::clamp((static_cast<float>(y) - top) / (baseline - top), 0.0f, 1.0f);
            Rgba face = mix(l.top, l.bottom, t);
            face.a = mask.at(x, y).r;
            Rgba edge = l.outline;
            edge.a = std::min(1.0f, grown.at(x, y).r * 3.0f);
            const float shade = shadow.at(std::max(0, x - shadowX), std::max(0, y - shadowY)).r;
            canvas.at(x, y) = over(face, over(edge, {0.0f, 0.0f, 0.0f, std::min(1.0f, shade * 1.5f) * 0.5f}));
        }
    // Squeeze to the square texture, averaging the covered columns.
    Image out(Out, Out);
    for (int y = 0; y < Out; ++y)
        for (int x = 0; x < Out; ++x) {
            const float x0 = static_cast<float>(x) * W / Out, x1 = static_cast<float>(x + 1) * W / Out;
            Rgba sum{0, 0, 0, 0};
            float weight = 0.0f;
            for (int sx = static_cast<int>(x0); sx < static_cast<int>(std::ceil(x1)) && sx < W; ++sx) {
                const float w = std::min(x1, static_cast<float>(sx + 1)) - std::max(x0, static_cast<float>(sx));
                const Rgba c = canvas.at(sx, y);
                // Colour weighted by alpha, so transparent texels add no dark fringe.
                sum = sum + Rgba{c.r * c.a, c.g * c.a, c.b * c.a, c.a} * w;
                weight += w;
            }
            out.at(x, y) = sum.a > 0.0f ? Rgba{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / weight}
                                        : Rgba{l.outline.r, l.outline.g, l.outline.b, 0.0f};
        }
    return out;
}

}  // namespace

void addFlowerballAssets(std::vector<Asset>& assets) {
    assets.push_back({"flowerball.ztx", [] { return flowerBallScene(); }});
    for (int k = 0; k < FlowerKinds; ++k)
        assets.push_back({"flowerball-petals" + std::to_string(k + 1) + ".jpg",
                          [k] { return encodeJpeg(petalTexture(k), 92); }});
    assets.push_back({"flowerball-moss.jpg", [] { return encodeJpeg(mossColour(), 90); }});
    assets.push_back({"normal_flowerball-moss.jpg", [] { return encodeJpeg(normalMap(mossHeight(), 8.0f), 95); }});
    assets.push_back({"scene1.jpg", [] { return encodeJpeg(daySky(), 90); }});
    assets.push_back({"sky.png", [] { return encodePng(cloudSprite(), true); }});
    assets.push_back({"logo2.png", [] {
                          return encodePng(letteringImage({"VESSARA", 0.38f, 0.34f, 0.3f, rgb8(255, 255, 255),
                                                           rgb8(150, 215, 255), rgb8(20, 40, 110)}),
                                           true);
                      }});
    assets.push_back({"logo.png", [] {
                          return encodePng(letteringImage({"Quarnel", 0.43f, 0.4f, 0.84f, rgb8(255, 240, 120),
                                                           rgb8(255, 120, 170), rgb8(90, 10, 60)}),
                                           true);
                      }});
    addStrawberryAssets(assets);
}

}  // namespace Forge
