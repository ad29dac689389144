// Start-up check of a ZTX scene that a scene draws with
// StdVessara::ZTXDrawable: the loader itself accepts a file with a foreign
// version tag as an empty scene and leaves a mesh without a material, or a
// texture that is not in the data folders, to fail in the middle of the show.
// Scenes run this right after loading, so such a file ends the program at
// start-up with its name and the fault.
//
// Use:
//   std::string fault = drawableSceneFault(scene, [&](const std::string& name) {
//       return textureIsCached(name); });
//   if (!fault.empty()) fatalError(path + ": " + fault);
// requireDrawableScene(drawable, path) does both with the demo's texture
// cache. Pure reads; nothing is kept.
#pragma once

#include "kestrane_ext/Scene.h"

#include <functional>
#include <string>

namespace StdVessara {
class ZTXDrawable;
}

namespace Prod {

// Empty when the scene can be drawn: it read without a version error, holds
// at least one mesh node, every mesh node (at any depth) names a material of
// the file, and every texture map and "normal_" + bump map it names exists.
// Otherwise the first fault found, in words.
std::string drawableSceneFault(const Zentrix::Scene& scene, const std::function<bool(const std::string&)>& textureExists);

// The check against the demo's texture cache; a fault is fatal:
// "<path>: <fault>".
void requireDrawableScene(const StdVessara::ZTXDrawable& drawable, const std::string& path);

}  // namespace Prod
