// Mesh builders: surfaces of revolution, extruded outlines (with rounded
// bevels, from any 2D shapes including text) and tubes along curves.
//
// Use:
//   Mesh vase = lathe({{0, 0}, {1, 0}, {1, 2}, {0, 2}}, 32);
//       profile points (radius, height) bottom to top; a radius of 0 closes
//       that end with one pole vertex; a point given twice makes a crease.
//   Mesh slab = extrude(groupContours({square}), {.depth = 1, .bevel = 0.1f});
//       outlines in the xy plane, front cap facing +z at z = depth / 2.
//   Mesh word = extrudeText(Font::bold(), "Quarnel", 1.0f, style);
//   Mesh knot = tube(points, [](float t, float a) { return 0.2f; }, 24, true);
// Smooth surfaces share their vertices all round (the seams are closed, so
// the loader's normals are continuous there); hard edges (caps, sharp
// outline corners, creases) get separate vertices. Results face outwards.
#pragma once

#include "Geometry2D.h"
#include "Mesh.h"

#include <functional>
#include <string>
#include <vector>

namespace Forge {

class Font;

Mesh lathe(const std::vector<Vec2>& profile, int segments);

struct ExtrudeStyle {
    float depth = 1.0f;
    float bevel = 0.0f;       // rounded edge radius (0: sharp box edges); keep it below
                              // about a tenth of the narrowest part, or the inset folds
    int bevelSteps = 3;       // rings per rounded edge
    float creaseDegrees = 35.0f;  // outline corners sharper than this stay hard
    float uvScale = 1.0f;
};
Mesh extrude(const std::vector<Shape>& shapes, const ExtrudeStyle& style);
Mesh extrudeText(const Font& font, const std::string& text, float height, const ExtrudeStyle& style);

// A tube through the path's points (at least 2; a closed one joins the last
// to the first). radius(t, angle): t in [0, 1] along the path, angle in
// radians around it. Open tubes get flat end caps when capped is true.
Mesh tube(const std::vector<Float3>& path, const std::function<float(float t, float angle)>& radius, int sides,
          bool closed, bool capped = true);

}  // namespace Forge
