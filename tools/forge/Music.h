// Renders the score (Score.h) to 44.1 kHz stereo samples: instruments into
// buses, the kick ducking the bass and the pads, delay and reverb sends, the
// closing fade and a look-ahead peak limiter that keeps the mix below
// -1.5 dBFS.
//
// Use:
//   const Score score = composeScore();
//   StereoBuffer pcm = renderMusic(score);   float samples in [-1, 1]
//   encodeMp3(pcm, "data/music.mp3", &error) (Mp3.h)
// Deterministic: the same samples on every run (no clock, no rand()).
#pragma once

#include "Instruments.h"
#include "Score.h"

namespace Forge {

inline constexpr float MusicCeiling = 0.841f;  // -1.5 dBFS: room for the encoder's overshoot

StereoBuffer renderMusic(const Score& score);

}  // namespace Forge
