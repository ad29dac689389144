#include "prod/SceneFileCheck.h"

#include "vessara/FatalError.h"
#include "vessara/ResourceProxies.h"
#include "vessara/ZTXDrawable.h"

namespace Prod {

namespace {

// The first fault of a node or its subtree; meshes counts the mesh nodes seen.
std::string nodeFault(const Zentrix::SceneNode& node, const std::function<bool(const std::string&)>& textureExists,
                      int& meshes)
{
    if (node.type == Zentrix::MeshNodeType) {
        ++meshes;
        const auto& mesh = static_cast<const Zentrix::MeshNode&>(node);
        const Zentrix::SceneMaterial* m = mesh.material;
        if (!m)
            return "mesh node \"" + mesh.name + "\" has no material (\"" + mesh.materialName + "\" names none)";
        if (!m->textureMap().empty() && !textureExists(m->textureMap()))
            return "material \"" + m->name() + "\" names the texture \"" + m->textureMap() +
                   "\", which is not in the data folders";
        if (!m->textureMap().empty() && !m->bumpMap().empty() && !textureExists("normal_" + m->bumpMap()))
            return "material \"" + m->name() + "\" names the bump map \"" + m->bumpMap() + "\", but \"normal_" +
                   m->bumpMap() + "\" is not in the data folders";
    }
    for (const auto& child : node.children)
        if (std::string fault = nodeFault(*child, textureExists, meshes); !fault.empty())
            return fault;
    return {};
}

}  // namespace

std::string drawableSceneFault(const Zentrix::Scene& scene, const std::function<bool(const std::string&)>& textureExists)
{
    if (!scene.errorText().empty())
        return scene.errorText();
    int meshes = 0;
    for (const auto& node : scene.nodes())
        if (std::string fault = nodeFault(*node, textureExists, meshes); !fault.empty())
            return fault;
    if (meshes == 0)
        return "the scene holds no mesh to draw";
    return {};
}

void requireDrawableScene(const StdVessara::ZTXDrawable& drawable, const std::string& path)
{
    const auto& cache = drawable.textures->cache;
    const std::string fault = drawableSceneFault(drawable, [&](const std::string& name) {
        const auto found = cache.find(name);
        return found != cache.end() && found->second;
    });
    if (!fault.empty())
        Vessara::fatalError(path + ": " + fault);
}

}  // namespace Prod
