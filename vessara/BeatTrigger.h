// One beat trigger: turns a level that stays above a threshold into single
// "fire" events at most once per hold time, re-armed at once when the level
// falls below the threshold. Drawables keep ten (Drawable::triggers); beat()
// feeds the first one with a spectrum bin.
//
// Use, once per frame:
//   if (trigger.step(level, threshold, frameDelta)) ...   true on a firing frame
// The state (countdown, hold time, fired flag) persists across frames; a
// default-constructed trigger is armed, with a hold time of 0.15 s.
#pragma once

namespace Vessara {

struct BeatTrigger {
    float countdown = 0.0f;  // seconds until it may fire again
    float holdTime = 0.15f;  // seconds between firings while the level stays high
    bool fired = false;

    bool step(float level, float threshold, float delta)
    {
        const bool high = level > threshold;
        if (countdown <= 0.0f && high) {
            countdown = holdTime;
            fired = true;
        }
        if (!fired && !high)
            countdown = 0.0f;
        countdown -= delta;
        if (fired) {
            fired = false;
            return true;
        }
        return false;
    }
};

}  // namespace Vessara
