// The strawberry of the Flowerball scene, made beside the flower ball
// (ContentFlowerball.cpp adds these to its own assets):
//   "strawberry.ztx"       the berry, its long axis along the renderer's z,
//                          stalk end up (+z), spinning about that axis over
//                          animation times 0 to 18,000;
//   "strawberry-top.ztx"   its green calyx and stalk, drawn 15 units along the
//                          axis from the berry's last mesh frame;
//   "strawberry-skin.jpg" with the bump map "normal_strawberry-skin.jpg"
//   (seeds in dimples) and "strawberry-leaf.jpg".
// Also the mesh helper both Flowerball content files use: the ZTX loader
// uploads a mesh's vertices as they are in the file, and SceneBuilder::mesh
// writes a mesh turned to the file's axes; asRendered() turns it back first,
// so the scene draws the mesh exactly as it was built (y up).
#pragma once

#include "Content.h"
#include "Mesh.h"

namespace Forge {

inline Mesh asRendered(Mesh mesh) {
    mesh.transform([](Float3 p) { return Float3{p.x, p.z, -p.y}; });
    return mesh;
}

void addStrawberryAssets(std::vector<Asset>& assets);

}  // namespace Forge
