// Content of the ShinyCross scene: the turning sculpture "jiha.vxm" (drawn
// at scale 15 around a camera at the origin), the swarm's "cross.vxm" (about
// 30 units across, seen from about 170 units), the logo "quarnel.vxm"
// (about 300 units wide, centred on the origin), and their environment
// pictures: "bw.jpg" (planar mapping: a black and white studio), and the
// sphere maps "someenv.jpg" (coloured studio lights) and "bgenv.jpg"
// (classic chrome: sky over a dark ground).
#include "Content.h"
#include "MeshShapes.h"
#include "Noise.h"
#include "Text.h"
#include "TextureOps.h"

#include <cmath>

namespace Forge {

namespace {

constexpr float Pi = 3.14159265358979f;

std::vector<std::uint8_t> vxmFile(const Mesh& mesh, const std::string& name) {
    return KestraneExt::encodeVXM({mesh.toVXM(name)});
}

// A (2, 3) torus knot: a trefoil winding twice round the axis while circling
// three times through the ring. The tube swells and pinches along the knot
// and its section is an ellipse that twists, so the reflections stream.
Mesh jiha() {
    // Seen close up only a third of the knot fills the view: 192 rings of 24
    // sides keep its silhouette and reflections smooth at 512 x 512.
    constexpr int Samples = 192;
    // The knot rings the vertical axis below the camera at the origin, so
    // that, turning about that axis, it keeps streaming through the view
    // (which looks down at about 35 degrees).
    constexpr float RingRadius = 9.0f, RingHeight = -4.5f;
    std::vector<Float3> path;
    for (int i = 0; i < Samples; ++i) {
        const float t = 2.0f * Pi * static_cast<float>(i) / Samples;
        const float r = RingRadius + 1.6f * std::cos(3.0f * t);
        path.push_back({r * std::cos(2.0f * t), RingHeight + 1.6f * std::sin(3.0f * t), r * std::sin(2.0f * t)});
    }
    Mesh m = tube(
        path,
        [](float t, float a) {
            const float swell = 1.0f + 0.28f * std::sin(2.0f * Pi * 5.0f * t);
            const float ellipse = 1.0f + 0.3f * std::cos(2.0f * a + 2.0f * Pi * 9.0f * t);
            return 1.35f * swell * ellipse;
        },
        24, true);
    // A slow ripple over the surface keeps the reflections alive.
    m.displace([](Float3 p, Float3) { return 0.06f * fbm3(p.x * 0.9f, p.y * 0.9f, p.z * 0.9f, 17, 3); });
    // Larger and farther looks the same from the camera, but puts it (about
    // 400 units away once drawn at scale 15, inside the far plane at 600)
    // behind the logo and most of the crosses, which the scene depth-tests
    // against it.
    m.transform([](Float3 p) { return p * 2.6f; });
    return m;
}

// A plus-shaped slab with rounded edges.
Mesh cross() {
    const float a = 5.0f, b = 15.0f;  // half the arm width, half the span
    const Contour plus{{a, -b}, {a, -a}, {b, -a}, {b, a}, {a, a}, {a, b}, {-a, b}, {-a, a},
                       {-b, a}, {-b, -a}, {-a, -a}, {-a, -b}};
    ExtrudeStyle style;
    style.depth = 10.0f;
    style.bevel = 2.6f;
    style.bevelSteps = 4;
    style.uvScale = 1.0f / 30.0f;
    return extrude(groupContours({plus}), style);
}

Mesh logo() {
    ExtrudeStyle style;
    style.depth = 16.0f;
    style.bevel = 1.8f;  // about a tenth of the strokes: wider bevels fold in the small bowls
    style.bevelSteps = 2;  // the bevel is two or three pixels wide on screen
    style.uvScale = 1.0f / 80.0f;
    const Font& font = Font::bold();
    const float height = 66.0f;  // about 220 units wide: the whole word fits the view
    // Four segments a glyph curve: the word is some 200 pixels wide, so
    // finer curves would add triangles smaller than a pixel.
    Mesh m = extrude(groupContours(font.outlines("Quarnel", height, 4)), style);
    // Centre on the origin.
    Float3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    for (const MeshVertex& v : m.vertices) {
        lo = {std::min(lo.x, v.position.x), std::min(lo.y, v.position.y), std::min(lo.z, v.position.z)};
        hi = {std::max(hi.x, v.position.x), std::max(hi.y, v.position.y), std::max(hi.z, v.position.z)};
    }
    const Float3 centre = (lo + hi) * 0.5f;
    m.transform([centre](Float3 p) { return p - centre; });
    return m;
}

// Planar environment for the sculpture on white: a dark studio with tall
// white softboxes and an overhead strip, a grey floor below a black horizon.
// Mostly dark, because the scene's glow roughly doubles what is drawn: the
// chrome then reads as black and white against the white background.
Image bwStudio() {
    Image img(512, 512);
    img.forEach([](float u, float v, Rgba& c) {
        const float y = 1.0f - 2.0f * v, x = 2.0f * u - 1.0f;  // y up
        float l = y > 0.0f ? 0.06f - 0.05f * std::sqrt(y) : 0.10f + 0.12f * smoothstep(0.0f, -0.9f, y);
        l *= 1.0f - 0.9f * std::exp(-y * y * 400.0f);  // black horizon line
        // Softboxes: rounded rectangles of light with a soft falloff.
        auto box = [&](float cx, float cy, float w, float h, float soft) {
            const float dx = std::max(std::fabs(x - cx) - w, 0.0f), dy = std::max(std::fabs(y - cy) - h, 0.0f);
            return 1.0f - smoothstep(0.0f, soft, std::sqrt(dx * dx + dy * dy));
        };
        l = std::max(l, 1.0f * box(-0.62f, 0.25f, 0.1f, 0.5f, 0.04f));
        l = std::max(l, 0.95f * box(0.58f, 0.3f, 0.07f, 0.45f, 0.04f));
        l = std::max(l, 1.0f * box(0.0f, 0.82f, 0.45f, 0.05f, 0.03f));
        l = std::max(l, 0.8f * box(0.15f, -0.55f, 0.2f, 0.06f, 0.08f));
        l += 0.03f * fbm2(u * 8.0f, v * 8.0f, 3, 3);
        c = {l, l, l, 1.0f};
    });
    return img;
}

// Coloured studio for the crosses: a gradient sky, magenta, cyan and amber
// light panels, a dark floor with a soft horizon.
Rgba colouredStudio(Float3 d) {
    const float y = d.y;
    Rgba c = y > 0.0f ? mix(rgb8(210, 225, 240), rgb8(70, 110, 190), std::pow(y, 0.7f))
                      : mix(rgb8(90, 80, 90), rgb8(20, 18, 28), std::pow(-y, 0.5f));
    c = mix(c, rgb8(255, 250, 240), std::exp(-y * y * 220.0f) * 0.8f);
    auto panel = [&](Float3 centre, float size, Rgba colour) {
        const float a = dot(d, normalize(centre));
        c = mix(c, colour, smoothstep(std::cos(size), std::cos(size * 0.6f), a));
    };
    panel({-0.8f, 0.5f, 0.3f}, 0.38f, rgb8(255, 60, 170));
    panel({0.9f, 0.3f, -0.2f}, 0.32f, rgb8(40, 230, 255));
    panel({0.1f, 0.75f, 0.9f}, 0.3f, rgb8(255, 255, 255));
    panel({-0.2f, -0.4f, -0.9f}, 0.45f, rgb8(255, 170, 40));
    panel({0.45f, 0.2f, 0.85f}, 0.22f, rgb8(255, 140, 30));
    panel({-0.55f, -0.15f, 0.8f}, 0.2f, rgb8(150, 70, 255));
    panel({0.6f, -0.5f, 0.6f}, 0.25f, rgb8(40, 255, 150));
    // Thin bright strip lights wrapping round at two heights.
    c = mix(c, rgb8(255, 255, 255), std::exp(-std::pow((y - 0.38f) / 0.025f, 2.0f)) * 0.85f);
    c = mix(c, rgb8(255, 230, 200), std::exp(-std::pow((y + 0.22f) / 0.02f, 2.0f)) * 0.6f);
    const float grain = 0.04f * fbm3(d.x * 4.0f, d.y * 4.0f, d.z * 4.0f, 5, 3);
    return c + Rgba{grain, grain, grain, 0.0f};
}

// Chrome for the logo: deep blue sky over a bright horizon and warm dark
// ground, with a sun.
Rgba chromeSky(Float3 d) {
    const float y = d.y;
    Rgba c;
    if (y > 0.0f) {
        c = mix(rgb8(235, 240, 255), rgb8(25, 60, 160), std::pow(y, 0.6f));
        const float cloud = fbm3(d.x * 3.0f, d.y * 6.0f, d.z * 3.0f, 11, 4);
        c = mix(c, rgb8(255, 255, 255), smoothstep(0.05f, 0.5f, cloud) * 0.5f * (1.0f - y));
    } else {
        c = mix(rgb8(120, 85, 60), rgb8(25, 15, 10), std::pow(-y, 0.5f));
    }
    c = mix(c, rgb8(255, 250, 235), std::exp(-y * y * 400.0f));
    const float sun = dot(d, normalize({0.5f, 0.6f, 0.6f}));
    c = c + Rgba{1.0f, 0.95f, 0.8f, 0.0f} * std::pow(std::max(sun, 0.0f), 180.0f);
    c.a = 1.0f;
    return c;
}

}  // namespace

void addShinyCrossAssets(std::vector<Asset>& assets) {
    assets.push_back({"jiha.vxm", [] { return vxmFile(jiha(), "jiha"); }});
    assets.push_back({"cross.vxm", [] { return vxmFile(cross(), "cross"); }});
    assets.push_back({"quarnel.vxm", [] { return vxmFile(logo(), "quarnel"); }});
    assets.push_back({"bw.jpg", [] { return encodeJpeg(bwStudio(), 92); }});
    assets.push_back({"someenv.jpg", [] { return encodeJpeg(sphereMap(512, colouredStudio), 92); }});
    assets.push_back({"bgenv.jpg", [] { return encodeJpeg(sphereMap(512, chromeSky), 92); }});
}

}  // namespace Forge
