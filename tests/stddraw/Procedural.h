// Procedural content for the standard-drawable picture: meshes written as
// VXM records (wound so the loader's normals face outwards) and textures as
// RGBA pixels, bottom row first. Deterministic: the same bytes on every run.
#pragma once

#include "StdDrawFixture.h"

#include "kestrane_ext/VXMWriter.h"

#include <vector>

namespace StdDrawTests::Procedural {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<Colour> texels;  // bottom row first
};

// Ring of major radius R and tube radius r around the z axis; s runs around
// the ring (repeats `around` times), t around the tube.
KestraneExt::VXMMeshData torus(float R, float r, int segments, int sides, float around);
KestraneExt::VXMMeshData sphere(float radius, int slices, int stacks);
// Square in the z = 0 plane facing +z, half-size h, texture repeated `repeat` times.
KestraneExt::VXMMeshData floorSquare(float h, float repeat);

// Panorama: ground at the bottom row, a warm horizon in the middle, deep
// blue at the top row, soft clouds above the horizon.
Pixels sky(int size);
// Terracotta tiles with grout, and the matching tangent-space normal map.
Pixels tiles(int size);
Pixels tilesNormalMap(int size);
// Sphere map of a sky over a dark ground, with a sun.
Pixels sphereMap(int size);
// A photo studio for planar reflections: dark floor, light ceiling, two
// soft boxes and a warm strip light.
Pixels studio(int size);
// Grey-green checker for the floor.
Pixels checker(int size);
// Round glow with a soft cross, white, fading to black at the edge.
Pixels sparkle(int size);

}  // namespace StdDrawTests::Procedural
