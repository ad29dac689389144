// Prod::Horizon, the third scene of the show (beats 44 to 76): a flat,
// painted landscape. A background picture ("scene3.jpg") and nine
// alpha-blended full-screen layers (four cloud bands, three distances of
// factory pipes, grass and a fence) scroll sideways at their own speeds and
// rise into view as the scene settles; in front, 2000 dot sprites sampled
// from the vertices of a forest mesh ("atsolskogen.vxm") float as a loose
// cloud, gather onto the trees' outline by t = 4 and swell out past the
// camera from t = 8.
//
// Use: created once by the production's timeline builder,
//   new Horizon(demo)        a 512 x 512 element named "Untitled";
// the runtime calls frameStep each frame of its entry, which calls draw().
// The dots' particle system is made on the first draw and lives to process
// exit; every position is recomputed each frame with the generator seeded
// with 0, so the picture is a function of t alone. The rules below are the
// ones draw() uses, exposed for tests.
#pragma once

#include "kestrane/Float3.h"
#include "kestrane_ext/Geometry.h"
#include "vessara/Element.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace KestraneExt {
class VXMLoader;
}

namespace Prod {

class Horizon : public Vessara::Element {
public:
    static constexpr int DotCount = 2000;

    // Texture coordinates (s, t) at the quad's corners, in drawing order:
    // bottom-left, bottom-right, top-right, top-left of the viewport.
    using LayerCorners = std::array<std::array<float, 2>, 4>;

    explicit Horizon(Vessara::Demo* demo);

    void draw() override;

    // The corners of layer(a, b, c, d, e): a scrolls sideways, b shifts
    // vertically, c is how much of the texture shows below the top edge, d
    // widens the horizontal range about the middle, e is the top edge's t.
    static LayerCorners layerCorners(float a, float b, float c, float d, float e);
    // h: how much of every layer shows, 0.5 until t = 3, all of it from t = 10.
    static float layerHeight(float t);
    // d of the cloud bands: 1 until t = 3, 1.5 from t = 10.
    static float cloudWidth(float t);
    // D: the dots' spread round the forest, 60 at t = 0, 2 from t = 4 to 8,
    // 94 from t = 10.
    static float dotSpread(float t);
    // G: the growth of the whole cloud, 1 until t = 8, 11 from t = 12.
    static float dotGrowth(float t);
    // The forest vertex of a dot for a draw r of u() in [-1, 1], from
    // vertexCount >= 1 vertices: trunc(N |r|), kept below N (|r| reaches 1).
    static int forestVertex(float r, int vertexCount);
    // The position accessor of the forest mesh (its first mesh), holding the
    // vertices mapped while it lives. A file without a mesh or whose mesh has
    // no vertex is fatal, naming fileName: the dots would have nothing to
    // gather on.
    static std::unique_ptr<KestraneExt::Geometry::Attribute> forestPositions(const KestraneExt::VXMLoader& forest,
                                                                              const std::string& fileName);
    // The dots' positions at time t (growth included) round a forest of
    // vertexCount >= 1 vertices, vertexAt(k) giving vertex k as stored in the
    // mesh. Seeds the generator with 0 and draws four numbers per dot.
    static void dotPositions(float t, int vertexCount, const std::function<Kestrane::Float3(int)>& vertexAt,
                             Kestrane::Float3* out, int count = DotCount);

private:
    // One viewport-covering quad through the current shader, matrices at
    // identity.
    void layer(float a, float b, float c, float d, float e);
};

}  // namespace Prod
