// The demo's shared camera block: the current camera and texture, handed
// between scenes, the standard drawables and the shaders. Demo holds one
// (Demo::camera); every drawable reaches it through its demo pointer.
//
// Use, per frame of a scene:
//   fieldOfView, aspect, nearPlane, farPlane   written by the scene before it
//                          sets the projection (the sky box reads the first two)
//   Drawable::setCamera(eye, target, up)   stores eye, target and up, sets View
//   Drawable::setCurrentTexture(name)      stores the texture in shared slot 0
//   Skybox / Particles draw                read eye, target, up and slot 0
//   Drawable::uploadCamera                 sends "cameraPosition" (eye with
//                                          target[0]) and "targetPosition"
//                                          (target with up[0]) to the shader
// clearShared() empties all eight shared slots; every Drawable constructor
// calls it, so a drawable created after setCurrentTexture undoes it. The
// block lives as long as the demo; values stay as last written.
#pragma once

#include <array>

namespace Kestrane {
class Texture;
}

namespace Vessara {

struct CameraBlock {
    static constexpr int SharedSlots = 8;

    float eye[3] = {0.0f, 0.0f, 0.0f};
    float target[3] = {0.0f, 0.0f, -1.0f};
    float up[3] = {0.0f, 1.0f, 0.0f};
    float fieldOfView = 60.0f;  // degrees
    float aspect = 4.0f / 3.0f;
    float nearPlane = 1.0f;
    float farPlane = 1000.0f;
    // Slot 0: the current texture (a Kestrane::Texture); slots 1-7 are cleared
    // with it and read by nothing.
    std::array<const void*, SharedSlots> shared{};

    void clearShared() { shared.fill(nullptr); }

    void setCurrentTexture(const Kestrane::Texture* texture) { shared[0] = texture; }
    const Kestrane::Texture* currentTexture() const
    {
        return static_cast<const Kestrane::Texture*>(shared[0]);
    }

    // The four floats each shader parameter has always received: a position
    // followed by the value stored after it in the block.
    std::array<float, 4> cameraPositionParameter() const
    {
        return {eye[0], eye[1], eye[2], target[0]};
    }
    std::array<float, 4> targetPositionParameter() const
    {
        return {target[0], target[1], target[2], up[0]};
    }
};

}  // namespace Vessara
