// The production: the show's settings and its timeline of ten entries, written
// in beats at 163 beats per minute.
//
// Use:
//   Prod(wide)    settings: full screen 800 x 600, "data/music.mp3", tempo 163,
//                 viewport (0, 0, 800, 600), or (0, 75, 800, 450) when wide.
//   run()         (from Vessara::Demo) plays the show; load() is called inside
//                 it: the demo's own loading, then the scenes and the timeline.
// timelineEntries(tempo, drawables) computes the ten entries on their own, so
// the boundaries can be checked without a GL context.
// The scenes are created once by load() and live until process exit.
#pragma once

#include "vessara/Demo.h"

#include <array>
#include <vector>

namespace Prod {

// Beat boundaries of the ten entries: entry i runs from boundaryBeats[i] to
// boundaryBeats[i + 1].
inline constexpr std::array<int, 11> boundaryBeats = {0, 12, 44, 76, 140, 204, 268, 332, 396, 460, 556};

// Seconds of a beat at `tempo`, computed in double and stored as float, so
// that an entry's end and the next one's start are the same value.
float beatSeconds(int beat, float tempo);

std::vector<Vessara::TimelineEntry> timelineEntries(float tempo, const std::array<Vessara::Drawable*, 10>& drawables);

class Prod : public Vessara::Demo {
public:
    explicit Prod(bool wide = false);

    void load() override;
};

}  // namespace Prod
