// The rising bubbles of the Underwater and Skate scenes: 200 additive sprites
// ("bubble.jpg") in a cube of 800 units round the origin, each drifting along
// its own random direction and rising, wrapping round the cube's faces. The
// layout is a function of the time alone (the generator is reseeded with 1).
//
// Use, in a scene's draw(), with the scene's camera and World set:
//   static StdVessara::Particles* bubbles = nullptr;     the scene's own system
//   drawBubbles(*this, bubbles, time);   creates it on first use (200 particles,
//                                        lives to process exit), places, draws
// The generator is left seeded with 1 and 1000 values drawn.
#pragma once

namespace StdVessara {
class Particles;
}

namespace Vessara {
class Drawable;
}

namespace Prod {

inline constexpr int BubbleCount = 200;

// Places the bubbles for `time`, then draws them with depth writes off and
// (one, one) blending, and turns both back.
void drawBubbles(Vessara::Drawable& scene, StdVessara::Particles*& bubbles, float time);

}  // namespace Prod
