// Texture painting operations on images: colour ramps and gradients, blurs,
// alpha masks, normal maps from height maps, and environment pictures
// painted from a function of the reflected direction.
//
// Use:
//   Rgba c = ramp({{0, black}, {0.6f, orange}, {1, white}}, t);
//   Image sky = verticalGradient(512, 512, {{0, top}, {1, bottom}});
//   blur(image, 4.0f, Edge::Wrap);                 about a Gaussian of that radius
//   setAlpha(image, [](float u, float v) { ... });  alpha mask
//   Image normals = normalMap(height, 4.0f);       from the red channel, wrapping
//   Image env = sphereMap(512, [](Float3 d) { ... });   mirror-ball picture
// Everything returns or changes plain Image values.
#pragma once

#include "Image.h"
#include "Vector3.h"

#include <functional>
#include <vector>

namespace Forge {

struct ColorStop {
    float position;
    Rgba color;
};

// Colour at t along stops sorted by position (clamped at both ends).
Rgba ramp(const std::vector<ColorStop>& stops, float t);
// Smooth step from 0 at edge0 to 1 at edge1.
float smoothstep(float edge0, float edge1, float x);

// Rows from stops[0] at the top (v = 0) to the last at the bottom (v = 1).
Image verticalGradient(int width, int height, const std::vector<ColorStop>& stops);

enum class Edge { Wrap, Clamp };
// Three box passes per axis: close to a Gaussian with the given radius.
void blur(Image& image, float radius, Edge edge);

void setAlpha(Image& image, const std::function<float(float u, float v)>& alpha);
// Alpha from brightness (max of r, g, b), colour left as is.
void alphaFromLuminance(Image& image);

// Tangent-space normal map (x right, y up, z out of the surface, stored as
// 0.5 + 0.5 n) of the height in the red channel; strength scales slopes.
Image normalMap(const Image& height, float strength, Edge edge = Edge::Wrap);

// A mirror-ball picture for spherical environment mapping: the texel at
// (u, v) (v up) shows the colour seen in direction d (x right, y up, z
// towards the viewer) reflected by a ball facing the viewer. Outside the
// ball the colour seen straight behind it.
Image sphereMap(int size, const std::function<Rgba(Float3 direction)>& environment);

}  // namespace Forge
