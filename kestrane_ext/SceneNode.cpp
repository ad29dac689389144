// Node samplers: a node's transform at an animation time, in renderer axes.
// The file is z up, the renderer y up: (x, y, z) becomes (x, z, -y).
#include "kestrane_ext/Scene.h"

#include <algorithm>
#include <cmath>

namespace Zentrix {

Float3 SceneNode::positionAt(float t) const {
    const Float3 v = positionTrack.count() > 1 ? positionTrack.sampleLinear(t) : position;
    return {v.x, v.z, -v.y};
}

Float3 SceneNode::scaleAt(float t) const {
    const Float3 v = scaleTrack.count() > 1 ? scaleTrack.sampleLinear(t) : scale;
    return {v.x, v.z, v.y};
}

AxisAngle SceneNode::rotationAt(float t) const {
    const Quaternion q = rotationTrack.count() > 1 ? rotationTrack.sampleSlerp(t) : rotation;
    // A stored w a rounding step outside [-1, 1] would make the angle NaN.
    const float w = std::clamp(q.w, -1.0f, 1.0f);
    const float a = 2.0f * std::acos(w);
    if (a < 0.00001f) return {{1.0f, 0.0f, 0.0f}, a};
    const float s = std::sqrt(1.0f - w * w);
    return {{q.x / s, q.z / s, -q.y / s}, -a * 57.29579f};
}

}  // namespace Zentrix
