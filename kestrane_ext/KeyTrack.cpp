#include "kestrane_ext/KeyTrack.h"

#include <algorithm>
#include <cmath>

namespace KestraneExt {

template <typename Key>
void KeyTrackBase<Key>::addKey(const Key& key) {
    // Grow by ten keys at a time, as the scene files' arrays do.
    if (keys.size() == keys.capacity()) keys.reserve(keys.size() + 10);
    keys.push_back(key);
}

template <typename Key>
int KeyTrackBase<Key>::keyIndex(float t, int o) const {
    const int n = count();
    if (n == 0) return -1;
    if (t >= keys[static_cast<std::size_t>(n - 1)].time) return n - 1;
    int i = 0;
    while (i < n && !(t < keys[static_cast<std::size_t>(i)].time)) ++i;
    const int j = i + o - 1;
    if (j < 0) return 0;
    if (j >= n) return n - 1;
    return j;
}

template <typename Key>
Key KeyTrackBase<Key>::key(float t, int o) const {
    const int i = keyIndex(t, o);
    return i < 0 ? Key{} : keys[static_cast<std::size_t>(i)];
}

template <typename Key>
float KeyTrackBase<Key>::fraction(float t) const {
    const int i0 = keyIndex(t, 0);
    const int i1 = keyIndex(t, 1);
    if (i0 == i1) return 0.0f;
    const float t0 = keys[static_cast<std::size_t>(i0)].time;
    const float t1 = keys[static_cast<std::size_t>(i1)].time;
    return (t - t0) / (t1 - t0);
}

template class KeyTrackBase<Vec3Key>;
template class KeyTrackBase<QuatKey>;

Float3 KeyTrack::sampleLinear(float t) const {
    return Kestrane::lerp(key(t, 0).value, key(t, 1).value, fraction(t));
}

Float3 KeyTrack::sampleCubic(float t) const {
    return Kestrane::cubicInterpolate(key(t, -1).value, key(t, 0).value, key(t, 1).value,
                                      key(t, 2).value, fraction(t));
}

Quaternion RotationTrack::sampleSlerp(float t) const {
    const Quaternion p = key(t, 0).value;
    Quaternion q = key(t, 1).value;
    const float f = fraction(t);
    float d = p.x * q.x + p.y * q.y + p.z * q.z + p.w * q.w;
    if (d < 0.0f) {
        q = {-q.x, -q.y, -q.z, -q.w};
        d = -d;
    }
    const float theta = std::acos(std::min(d, 1.0f));
    const float s = std::sin(theta);
    float wp = 1.0f;
    float wq = 0.0f;
    if (std::fabs(s) > 0.0001f) {
        wp = std::sin((1.0f - f) * theta) / s;
        wq = std::sin(f * theta) / s;
    }
    return {wp * p.x + wq * q.x, wp * p.y + wq * q.y, wp * p.z + wq * q.z, wp * p.w + wq * q.w};
}

}  // namespace KestraneExt
