// One interval of the show: the drawable shown while start < time < end
// (seconds of music time, both bounds exclusive). The drawable is not owned;
// the same one may appear in several entries.
#pragma once

namespace Vessara {

class Drawable;

struct TimelineEntry {
    float start = 0.0f;
    float end = 0.0f;
    Drawable* drawable = nullptr;

    bool activeAt(float time) const { return start < time && time < end; }
};

}  // namespace Vessara
