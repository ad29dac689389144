#include "Geometry2D.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace Forge {

float signedArea(const Contour& c) {
    double a = 0.0;
    for (std::size_t i = 0, n = c.size(); i < n; ++i) {
        const Vec2 p = c[i], q = c[(i + 1) % n];
        a += double(p.x) * q.y - double(q.x) * p.y;
    }
    return static_cast<float>(a * 0.5);
}

bool pointInContour(Vec2 p, const Contour& c) {
    bool inside = false;
    for (std::size_t i = 0, n = c.size(), j = n - 1; i < n; j = i++) {
        const Vec2 a = c[i], b = c[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
}

Contour cleaned(const Contour& c, float epsilon) {
    Contour out;
    for (const Vec2& p : c)
        if (out.empty() || length(p - out.back()) > epsilon) out.push_back(p);
    while (out.size() > 1 && length(out.front() - out.back()) <= epsilon) out.pop_back();
    return out;
}

std::vector<Shape> groupContours(const std::vector<Contour>& contours) {
    std::vector<Shape> shapes;
    std::vector<const Contour*> holes;
    for (const Contour& c : contours) {
        if (c.size() < 3) continue;
        if (signedArea(c) > 0.0f)
            shapes.push_back({c, {}});
        else
            holes.push_back(&c);
    }
    for (const Contour* h : holes) {
        // The smallest outer contour holding the hole's first point.
        Shape* best = nullptr;
        float bestArea = std::numeric_limits<float>::max();
        for (Shape& s : shapes) {
            const float a = signedArea(s.outer);
            if (a < bestArea && pointInContour((*h)[0], s.outer)) {
                best = &s;
                bestArea = a;
            }
        }
        if (best) best->holes.push_back(*h);
    }
    return shapes;
}

Contour inset(const Contour& c, float d) {
    const std::size_t n = c.size();
    Contour out(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Vec2 prev = c[(i + n - 1) % n], p = c[i], next = c[(i + 1) % n];
        Vec2 e0 = p - prev, e1 = next - p;
        const float l0 = std::max(length(e0), 1e-12f), l1 = std::max(length(e1), 1e-12f);
        e0 = e0 * (1.0f / l0);
        e1 = e1 * (1.0f / l1);
        // Inward normals of a counter-clockwise contour point left.
        const Vec2 n0{-e0.y, e0.x}, n1{-e1.y, e1.x};
        Vec2 bisector = n0 + n1;
        const float bl = length(bisector);
        if (bl < 1e-6f) {
            out[i] = p + n0 * d;
            continue;
        }
        bisector = bisector * (1.0f / bl);
        // Miter length, limited so sharp corners do not shoot out.
        const float cosHalf = std::max(dot(bisector, n0), 0.35f);
        out[i] = p + bisector * (d / cosHalf);
    }
    collapseLoops(out);
    return out;
}

namespace {
bool properCrossing(Vec2 a, Vec2 b, Vec2 c, Vec2 d, Vec2& at) {
    const float d1 = cross(b - a, c - a), d2 = cross(b - a, d - a);
    const float d3 = cross(d - c, a - c), d4 = cross(d - c, b - c);
    if (((d1 > 0.0f) == (d2 > 0.0f)) || ((d3 > 0.0f) == (d4 > 0.0f)) || d1 == 0.0f || d2 == 0.0f) return false;
    at = c + (d - c) * (d1 / (d1 - d2));
    return true;
}
}  // namespace

void collapseLoops(Contour& c) {
    const std::size_t n = c.size();
    if (n < 4) return;
    for (int pass = 0; pass < 64; ++pass) {
        bool changed = false;
        for (std::size_t i = 0; i < n && !changed; ++i)
            for (std::size_t j = i + 2; j < n && !changed; ++j) {
                if (i == 0 && j == n - 1) continue;  // neighbours through the wrap
                Vec2 x;
                if (!properCrossing(c[i], c[(i + 1) % n], c[j], c[(j + 1) % n], x)) continue;
                // The loop is the shorter way round between the two edges.
                if (j - i <= n / 2) {
                    for (std::size_t k = i + 1; k <= j; ++k) c[k] = x;
                } else {
                    for (std::size_t k = j + 1; k < n; ++k) c[k] = x;
                    for (std::size_t k = 0; k <= i; ++k) c[k] = x;
                }
                changed = true;
            }
        if (!changed) return;
    }
}

namespace {

bool insideTriangle(Vec2 p, Vec2 a, Vec2 b, Vec2 c) {
    // Strictly inside a counter-clockwise triangle (points on an edge are not).
    const float eps = 1e-9f;
    return cross(b - a, p - a) > eps && cross(c - b, p - b) > eps && cross(a - c, p - c) > eps;
}

bool insideOrOnTriangle(Vec2 p, Vec2 a, Vec2 b, Vec2 c) {
    return cross(b - a, p - a) >= 0.0f && cross(c - b, p - b) >= 0.0f && cross(a - c, p - c) >= 0.0f;
}

bool samePoint(Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }

// Joins a hole into the polygon (a cyclic list of point indices) through a
// bridge from the hole's rightmost point to a visible polygon point.
void bridgeHole(std::vector<int>& polygon, const std::vector<Vec2>& pts, int holeStart, int holeSize) {
    int m = holeStart;
    for (int i = holeStart; i < holeStart + holeSize; ++i)
        if (pts[static_cast<std::size_t>(i)].x > pts[static_cast<std::size_t>(m)].x) m = i;
    const Vec2 M = pts[static_cast<std::size_t>(m)];
    // Nearest polygon edge hit by the ray from M towards +x.
    float bestX = std::numeric_limits<float>::max();
    int bestEdge = -1;
    const int n = static_cast<int>(polygon.size());
    for (int i = 0; i < n; ++i) {
        const Vec2 a = pts[static_cast<std::size_t>(polygon[static_cast<std::size_t>(i)])];
        const Vec2 b = pts[static_cast<std::size_t>(polygon[static_cast<std::size_t>((i + 1) % n)])];
        if (a.y == b.y) continue;
        if (!((a.y <= M.y && M.y <= b.y) || (b.y <= M.y && M.y <= a.y))) continue;
        const float t = (M.y - a.y) / (b.y - a.y);
        const float x = a.x + t * (b.x - a.x);
        if (x >= M.x && x < bestX) {
            bestX = x;
            bestEdge = i;
        }
    }
    int bridge = 0;
    if (bestEdge >= 0) {
        const int ia = bestEdge, ib = (bestEdge + 1) % n;
        const Vec2 a = pts[static_cast<std::size_t>(polygon[static_cast<std::size_t>(ia)])];
        const Vec2 b = pts[static_cast<std::size_t>(polygon[static_cast<std::size_t>(ib)])];
        bridge = a.x > b.x ? ia : ib;
        const Vec2 I{bestX, M.y};
        const Vec2 P = pts[static_cast<std::size_t>(polygon[static_cast<std::size_t>(bridge)])];
        // A polygon point inside triangle (M, I, P) would block the view:
        // take the one closest in angle to the ray instead.
        float bestAngle = std::numeric_limits<float>::max();
        for (int i = 0; i < n; ++i) {
            const Vec2 q = pts[static_cast<std::size_t>(polygon[static_cast<std::size_t>(i)])];
            if (i == bridge || q.x < M.x) continue;
            const bool inside = cross(I - M, P - M) > 0 ? insideTriangle(q, M, I, P) : insideTriangle(q, M, P, I);
            if (!inside) continue;
            const Vec2 d = q - M;
            const float angle = std::fabs(std::atan2(d.y, d.x));
            if (angle < bestAngle) {
                bestAngle = angle;
                bridge = i;
            }
        }
    } else {
        // No edge to the right (should not happen for a hole inside its
        // outer contour): bridge to the nearest point.
        float best = std::numeric_limits<float>::max();
        for (int i = 0; i < n; ++i) {
            const float d = length(pts[static_cast<std::size_t>(polygon[static_cast<std::size_t>(i)])] - M);
            if (d < best) {
                best = d;
                bridge = i;
            }
        }
    }
    // The bridge point may occur more than once (an earlier bridge duplicated
    // it): join at the occurrence whose corner opens towards M.
    const int target = polygon[static_cast<std::size_t>(bridge)];
    for (int i = 0; i < n; ++i) {
        if (polygon[static_cast<std::size_t>(i)] != target) continue;
        const Vec2 a = pts[static_cast<std::size_t>(polygon[static_cast<std::size_t>((i + n - 1) % n)])];
        const Vec2 p = pts[static_cast<std::size_t>(target)];
        const Vec2 c = pts[static_cast<std::size_t>(polygon[static_cast<std::size_t>((i + 1) % n)])];
        const bool leftOfIn = cross(p - a, M - a) >= 0.0f, leftOfOut = cross(c - p, M - p) >= 0.0f;
        const bool convex = cross(p - a, c - p) >= 0.0f;
        if (convex ? (leftOfIn && leftOfOut) : (leftOfIn || leftOfOut)) {
            bridge = i;
            break;
        }
    }
    std::vector<int> joined(polygon.begin(), polygon.begin() + bridge + 1);
    for (int k = 0; k <= holeSize; ++k) joined.push_back(holeStart + (m - holeStart + k) % holeSize);
    joined.insert(joined.end(), polygon.begin() + bridge, polygon.end());
    polygon = std::move(joined);
}

}  // namespace

std::vector<std::array<int, 3>> triangulate(const Shape& shape, std::vector<Vec2>& points) {
    points.clear();
    Contour outer = cleaned(shape.outer);
    if (signedArea(outer) < 0.0f) std::reverse(outer.begin(), outer.end());
    points.insert(points.end(), outer.begin(), outer.end());
    std::vector<int> polygon(outer.size());
    std::iota(polygon.begin(), polygon.end(), 0);

    struct HoleSpan {
        int start, size;
        float maxX;
    };
    std::vector<HoleSpan> holes;
    for (const Contour& raw : shape.holes) {
        Contour h = cleaned(raw);
        if (h.size() < 3) continue;
        if (signedArea(h) > 0.0f) std::reverse(h.begin(), h.end());
        float maxX = -std::numeric_limits<float>::max();
        for (const Vec2& p : h) maxX = std::max(maxX, p.x);
        holes.push_back({static_cast<int>(points.size()), static_cast<int>(h.size()), maxX});
        points.insert(points.end(), h.begin(), h.end());
    }
    std::sort(holes.begin(), holes.end(), [](const HoleSpan& a, const HoleSpan& b) { return a.maxX > b.maxX; });
    for (const HoleSpan& h : holes) bridgeHole(polygon, points, h.start, h.size);

    std::vector<std::array<int, 3>> triangles;
    auto at = [&](std::size_t i) { return points[static_cast<std::size_t>(polygon[i])]; };
    while (polygon.size() > 3) {
        const std::size_t n = polygon.size();
        std::size_t ear = n;
        for (std::size_t i = 0; i < n && ear == n; ++i) {
            const std::size_t ip = (i + n - 1) % n, in = (i + 1) % n;
            const Vec2 a = at(ip), b = at(i), c = at(in);
            if (cross(b - a, c - b) <= 0.0f) continue;  // reflex or flat
            // An ear holds no reflex point of the polygon, edges included (a
            // point on the cut would be cut off). Only reflex points need
            // testing; bridge copies of a, b and c are not in the way.
            bool blocked = false;
            for (std::size_t j = 0; j < n && !blocked; ++j) {
                if (j == ip || j == i || j == in) continue;
                const Vec2 q = at(j);
                if (samePoint(q, a) || samePoint(q, b) || samePoint(q, c)) continue;
                const bool reflex = cross(q - at((j + n - 1) % n), at((j + 1) % n) - q) <= 0.0f;
                blocked = reflex && insideOrOnTriangle(q, a, b, c);
            }
            if (!blocked) ear = i;
        }
        if (ear == n) {
            // Numerically stuck (collinear runs): drop the flattest corner.
            float best = std::numeric_limits<float>::max();
            for (std::size_t i = 0; i < n; ++i) {
                const float turn = std::fabs(cross(at(i) - at((i + n - 1) % n), at((i + 1) % n) - at(i)));
                if (turn < best) {
                    best = turn;
                    ear = i;
                }
            }
            polygon.erase(polygon.begin() + static_cast<std::ptrdiff_t>(ear));
            continue;
        }
        const std::size_t ip = (ear + n - 1) % n, in = (ear + 1) % n;
        triangles.push_back({polygon[ip], polygon[ear], polygon[in]});
        polygon.erase(polygon.begin() + static_cast<std::ptrdiff_t>(ear));
    }
    if (polygon.size() == 3 && cross(at(1) - at(0), at(2) - at(1)) > 0.0f)
        triangles.push_back({polygon[0], polygon[1], polygon[2]});
    return triangles;
}

}  // namespace Forge
