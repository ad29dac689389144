// Start-up loading of the demo's data: the resource caches and the two pools
// of scratch render targets. Demo::load calls both, in this order.
//
// Use (GL context current):
//   loadDataDirectories(demo)   textures "data/*.jpg" then "data/*.png"
//                               (decoded in parallel, uploaded in that order), meshes
//                               "data/*.vxm", complete shaders "data/*.cg" then
//                               "vessara_data/*.cg" (a name in both ends up as
//                               the "vessara_data/" one). Keys are bare file
//                               names. root, when given, is put before the two
//                               directory names (tests use a directory of
//                               their own). The texture shader's "alpha" is
//                               then set to its resting value 1.0.
//   buildPools(demo)            reducedPool, then scratchPool: one square Element
//                               ("Untitled") per size 4, 8, ..., 1024.
// Everything loaded or built lives until process exit.
#pragma once

#include <string>

namespace Vessara {

class Demo;

void loadDataDirectories(Demo& demo, const std::string& root = "");
void buildPools(Demo& demo);

}  // namespace Vessara
