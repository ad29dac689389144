// A scene's perspective projection, recorded in the demo's shared camera
// block before it is set, so that the sky box (and anything else reading the
// block) draws with the same field of view and aspect as the scene.
//
// Use, in a scene's draw(), before setCamera and the drawing:
//   setSceneProjection(*this, 95.0f, 1.7777f, 1.0f, 600.0f);
// Writes fieldOfView, aspect, nearPlane and farPlane of demo->camera, then
// State::setProjection with the same values. Nothing is allocated.
#pragma once

#include "vessara/Demo.h"
#include "vessara/Drawable.h"

namespace Prod {

inline void setSceneProjection(Vessara::Drawable& scene, float fieldOfView, float aspect, float nearPlane,
                               float farPlane)
{
    Vessara::CameraBlock& camera = scene.demo->camera;
    camera.fieldOfView = fieldOfView;
    camera.aspect = aspect;
    camera.nearPlane = nearPlane;
    camera.farPlane = farPlane;
    Kestrane::State::setProjection(fieldOfView, aspect, nearPlane, farPlane);
}

}  // namespace Prod
