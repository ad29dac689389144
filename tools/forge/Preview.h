// A small software renderer for looking at generated meshes without the
// show: the VXM bytes are loaded by the engine's own loader (client memory,
// so no GL context), with the normals it computes, and drawn with a depth
// buffer, shaded like the show's spherical environment mapping (or with a
// plain key light when no environment picture is given).
//
// Use:
//   PreviewCamera cam{{3, 2, 4}, {0, 0, 0}, {0, 1, 0}, 40};
//   Image img = renderPreview(vxmBytes, "cross.vxm", cam, 512, 512, &env, background);
//   Image env = loadImage("data/someenv.jpg");          throws naming the file
//   PreviewCamera framing(bytes, name)                    a camera that frames the mesh
// Pure functions; nothing is kept.
#pragma once

#include "Image.h"
#include "Vector3.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Forge {

struct PreviewCamera {
    Float3 eye, target, up{0.0f, 1.0f, 0.0f};
    float fieldOfView = 40.0f;  // vertical, degrees
};

// planar: address the environment picture like the show's planar mapping
// (the reflection's right and up components) instead of as a sphere map.
Image renderPreview(const std::vector<std::uint8_t>& vxm, const std::string& name, const PreviewCamera& camera,
                    int width, int height, const Image* environment, Rgba background, bool planar = false);
// A camera looking at the mesh's bounding box from the front-right-above.
PreviewCamera framingCamera(const std::vector<std::uint8_t>& vxm, const std::string& name);
Image loadImage(const std::string& path);

}  // namespace Forge
