#include "vessara/DataPreload.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Shader.h"
#include "vessara/Demo.h"
#include "vessara/Element.h"
#include "vessara/ImageDecodeQueue.h"

namespace Vessara {

void loadDataDirectories(Demo& demo, const std::string& root)
{
    const std::string data = root + "data/";
    const std::string framework = root + "vessara_data/";

    // Images are decoded on worker threads while this thread uploads them.
    std::vector<std::string> images = matchingFiles(data, "*.jpg");
    const std::vector<std::string> pngs = matchingFiles(data, "*.png");
    images.insert(images.end(), pngs.begin(), pngs.end());
    demo.textures.loadFiles(data, images, ImageDecodeQueue::defaultWorkers());
    demo.meshes.loadDirectory(data, "*.vxm");
    demo.shaders.loadDirectory(data, "*.cg");
    demo.shaders.loadDirectory(framework, "*.cg");

    // Passes that blend with the texture shader's output alpha rely on "alpha"
    // being 1.0 unless they set it; start it there rather than at zero.
    auto texture = demo.shaders.cache.find("vessara_texture.cg");
    if (texture != demo.shaders.cache.end() && texture->second)
        texture->second->setFloat("alpha", 1.0f);
}

namespace {

// Stands in the pool while the element of its size is being made, so that the
// element's own look-up of that size succeeds. Never dereferenced: buildPool
// replaces every copy of it with the finished element.
alignas(Element) unsigned char placeholderStorage[sizeof(Element)];
Element* const placeholder = reinterpret_cast<Element*>(placeholderStorage);

void buildPool(Demo& demo, ElementPool& pool)
{
    for (int i = 2; i <= 10; ++i) {
        const int size = 1 << i;
        pool[size] = placeholder;
        Kestrane::checkError();
        Element* element = new Element(size, size, &demo, "Untitled");
        Kestrane::checkError();
        pool[size] = element;
        // A reducedPool member's look-up of its own size found the placeholder:
        // that entry is the member itself.
        for (Element*& target : element->reducedTargets)
            if (target == placeholder)
                target = element;
    }
}

}  // namespace

void buildPools(Demo& demo)
{
    buildPool(demo, demo.reducedPool);
    buildPool(demo, demo.scratchPool);
}

}  // namespace Vessara
