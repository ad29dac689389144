// Post-processing effects on a scene's own element, run after the scene has
// drawn its content and before the runtime composes it. Each effect is a free
// function; same-size passes render into the demo's scratchPool member of the
// element's width and are copied back, so effects chain in any order.
//
// Use, inside a scene's draw():
//   outlineEdges(*this, 500, black);  depthOfField(*this, 2, 0.99f, 0.5f, 0, 2, 96, 4);
//   glow(*this, 64, 0.5f, 2.0f, 1.0f, 0.9f);  colorOverlay(*this, fade);
// Below its threshold an effect does nothing (see each function). Target bound
// on return: findEdges, outlineEdges, distortSine leave the scratch element's
// bound; directionalBlur, blur, glow, depthOfField leave the element's;
// colorOverlay and addQuad change no binding. A width (or glow size) that is
// not a pool size ends the process: "ResourceProxy::operator [] : ResourceProxy
// not loaded: <size>". Effects allocate nothing and keep no state; shader
// parameters are set by name on every pass.
#pragma once

#include "vessara/Element.h"

namespace Kestrane {
class Texture;
}

namespace Vessara {

// The source's colour drawn over the whole destination; source's target bound after.
void copyTarget(Element& source, Element& destination);
// Additive (SrcAlpha, One) full-screen pass of texture, scaled by alpha, into the
// bound target; the texture shader's "alpha" returns to 1.0.
void addQuad(Drawable& drawable, const Kestrane::Texture* texture, float alpha);

// amp < 0.01: nothing. Else an edge image: bgColor, edgeColor on colour edges.
void findEdges(Element& element, float amp, const float edgeColor[4], const float bgColor[4]);
// amp < 0.01: nothing. Else outlines in edgeColor where the depth jumps.
void outlineEdges(Element& element, float amp, const float edgeColor[4]);
// Binds the scratch target; then ampX < 1e-6 or ampY < 1e-6: nothing more.
// Else the picture displaced by sine waves.
void distortSine(Element& element, float freqX, float freqY, float ampX, float ampY,
                 float offsetX, float offsetY);
// |stepX| + |stepY| < 0.001 or gamma < 0.001: nothing. Else four passes along
// (stepX, stepY) pixels, the last two with (1 + growth) times the step.
void directionalBlur(Element& element, float stepX, float stepY, float growth, float gamma);
// directionalBlur along x, then along y.
void blur(Element& element, float step, float growth, float gamma);
// alpha, step or gamma < 0.001: nothing. Else a size x size blurred copy added
// back onto the element, scaled by alpha.
void glow(Element& element, int size, float step, float growth, float alpha, float gamma);
// |stepX| + |stepY| < 0.001 or passes <= 0: nothing. Else two depth-weighted
// blur passes per iteration, the step growing linearly.
void depthOfField(Element& element, int passes, float focusDepth, float stepX, float stepY,
                  float growth, float ramp, float exponent);
// color[3] < 0.001: nothing. Else the colour alpha-blended over the bound target.
void colorOverlay(Element& element, const float color[4]);

}  // namespace Vessara
