// Key-framed animation tracks: time-sorted keys of 3-vectors (positions,
// scales) and of quaternions (rotations), used by ZTX scene nodes and by
// scenes that build their own paths.
//
// Use:
//   KeyTrack track;  track.addKey({x, y, z}, time);   keys in increasing time
//   track.keyIndex(t, o)   o = 0: key at or before t; o = 1: the key after;
//                          clamped to the ends; -1 for an empty track.
//   track.sampleLinear(t), track.sampleCubic(t)         Float3
//   RotationTrack rot;  rot.addKey(q, time);  rot.sampleSlerp(t)   Quaternion
// Times outside the keys clamp to the first or last key. An empty track
// samples as its default key ((0,0,0) or the identity quaternion).
// Tracks own their keys (copyable values).
#pragma once

#include "kestrane/Float3.h"

#include <cstdint>
#include <vector>

namespace KestraneExt {

using Kestrane::Float3;

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

struct Vec3Key {
    Float3 value;
    float time = 0.0f;
    std::int32_t flag = 1;
};

struct QuatKey {
    Quaternion value;
    float time = 0.0f;
    std::int32_t flag = 1;
};

// Shared key storage and lookup for both track kinds.
template <typename Key>
class KeyTrackBase {
public:
    void addKey(const Key& key);
    int count() const { return static_cast<int>(keys.size()); }
    // Throws std::out_of_range for an index at or beyond count().
    const Key& keyAt(int i) const { return keys.at(static_cast<std::size_t>(i)); }
    const std::vector<Key>& allKeys() const { return keys; }

    // Index of the key for time t with offset o (see header comment), or -1.
    int keyIndex(float t, int o) const;
    // keyIndex(t, o)'s key, or the default key of an empty track.
    Key key(float t, int o) const;
    // Position of t between key(t, 0) and key(t, 1); 0 when they coincide.
    float fraction(float t) const;

protected:
    std::vector<Key> keys;
};

class KeyTrack : public KeyTrackBase<Vec3Key> {
public:
    void addKey(Float3 value, float time) { KeyTrackBase::addKey(Vec3Key{value, time, 1}); }
    using KeyTrackBase::addKey;
    Float3 sampleLinear(float t) const;
    Float3 sampleCubic(float t) const;
};

class RotationTrack : public KeyTrackBase<QuatKey> {
public:
    void addKey(Quaternion value, float time) { KeyTrackBase::addKey(QuatKey{value, time, 1}); }
    using KeyTrackBase::addKey;
    Quaternion sampleSlerp(float t) const;
};

extern template class KeyTrackBase<Vec3Key>;
extern template class KeyTrackBase<QuatKey>;

}  // namespace KestraneExt
