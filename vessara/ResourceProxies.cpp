#include "kestrane/GL.h"

#include "vessara/ResourceProxies.h"

#include "kestrane/CgErrorHandler.h"
#include "kestrane/Shader.h"
#include "kestrane/Texture.h"
#include "kestrane_ext/File.h"
#include "kestrane_ext/ImageLoader.h"
#include "kestrane_ext/StreamTypes.h"
#include "kestrane_ext/TextFile.h"
#include "kestrane_ext/VXMLoader.h"
#include "vessara/ImageDecodeQueue.h"

namespace Vessara {

// Each loader takes the File by value and closes it before load returns.

Kestrane::Texture* TextureResourceProxy::load(const std::string& path)
{
    KestraneExt::ImageLoader image(KestraneExt::File(path, "rb"));
    return new Kestrane::Texture(image, Kestrane::Mipmapped);
}

void TextureResourceProxy::loadFiles(const std::string& directory, const std::vector<std::string>& names,
                                     unsigned workers)
{
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(directory + name);
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    ImageDecodeQueue queue(std::move(paths), workers, maxSize);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const DecodedImage image = queue.take(i);
        cache[names[i]] = new Kestrane::Texture(image.width, image.height, image.format, image.levels);
        files[names[i]] = directory + names[i];
    }
}

Kestrane::PixelShader* PixelShaderResourceProxy::load(const std::string& path)
{
    KestraneExt::TextFile source(KestraneExt::File(path, "rb"));
    Kestrane::CgSourceName naming(path);
    return new Kestrane::PixelShader(source.text(), "psMain", CG_PROFILE_ARBFP1);
}

Kestrane::VertexShader* VertexShaderResourceProxy::load(const std::string& path)
{
    KestraneExt::TextFile source(KestraneExt::File(path, "rb"));
    Kestrane::CgSourceName naming(path);
    return new Kestrane::VertexShader(source.text(), "vsMain", CG_PROFILE_ARBVP1);
}

Kestrane::CompleteShader* CompleteShaderResourceProxy::load(const std::string& path)
{
    KestraneExt::TextFile source(KestraneExt::File(path, "rb"));
    Kestrane::CgSourceName naming(path);
    return new Kestrane::CompleteShader(source.text(), "vsMain", "psMain");
}

KestraneExt::VXMLoader* VXMResourceProxy::load(const std::string& path)
{
    return new KestraneExt::VXMLoader(KestraneExt::File(path, "rb"), KestraneExt::BufferUsage::StaticDraw,
                                       KestraneExt::BufferUsage::StaticDraw);
}

}  // namespace Vessara
