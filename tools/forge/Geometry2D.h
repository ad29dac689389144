// Plane geometry for the mesh builders: 2D points, closed contours, their
// orientation, grouping of outlines into shapes with holes, insetting, and
// triangulation of a shape (ear clipping, holes joined by bridges).
//
// Use:
//   std::vector<Shape> shapes = groupContours(font.outlines("Q", 1));
//   std::vector<Vec2> points;  auto tris = triangulate(shapes[0], points);
//       tris index points; every triangle runs counter-clockwise.
//   Contour smaller = inset(contour, 0.02f);     moved inwards along the normals
// Contours are closed implicitly (the last point joins the first) and hold
// no repeated end point. Everything is plain values.
#pragma once

#include <array>
#include <cmath>
#include <vector>

namespace Forge {

struct Vec2 {
    float x = 0.0f, y = 0.0f;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
inline float cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
inline float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float length(Vec2 a) { return std::sqrt(dot(a, a)); }

using Contour = std::vector<Vec2>;

struct Shape {
    Contour outer;               // counter-clockwise
    std::vector<Contour> holes;  // clockwise
};

// The signed area (positive when counter-clockwise).
float signedArea(const Contour& c);
bool pointInContour(Vec2 p, const Contour& c);
// Drops points closer than epsilon to their predecessor (and a closing
// duplicate of the first point).
Contour cleaned(const Contour& c, float epsilon = 1e-6f);
// Outer contours (positive area) with the holes (negative area) inside them.
std::vector<Shape> groupContours(const std::vector<Contour>& contours);
// The contour moved inwards by distance d along its corner bisectors (for an
// outer, counter-clockwise contour; a hole, clockwise, grows).
// Small loops where the offset folds over itself (at sharp corners, short
// edges) are collapsed to their crossing point, keeping the point count.
Contour inset(const Contour& c, float d);
// Collapses each loop cut off by two crossing edges into the crossing point
// (points keep their places in the list, so rings stay in step).
void collapseLoops(Contour& c);
// Triangles (counter-clockwise) over `points`, which receives the outer
// contour's points and then each hole's, in order.
std::vector<std::array<int, 3>> triangulate(const Shape& shape, std::vector<Vec2>& points);

}  // namespace Forge
