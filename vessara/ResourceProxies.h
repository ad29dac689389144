// The demo's five file caches, one per resource type, each a FileResourceProxy
// whose load(path) makes one object from one file:
//   TextureResourceProxy          JPEG/PNG -> Kestrane::Texture, Mipmapped
//                                 (full mipmap chain, trilinear, repeating);
//                                 loadFiles decodes many files in parallel
//                                 (ImageDecodeQueue.h), uploads in order
//   PixelShaderResourceProxy      Cg text -> Kestrane::PixelShader, "psMain", ARB fragment
//   VertexShaderResourceProxy     Cg text -> Kestrane::VertexShader, "vsMain", ARB vertex
//   CompleteShaderResourceProxy   Cg text (read once) -> Kestrane::CompleteShader,
//                                 "vsMain" + "psMain"
//   VXMResourceProxy              VXM -> KestraneExt::VXMLoader, static-draw
//                                 buffer objects for vertices and indices
// reload(name, error) (FileResourceProxy.h) works for textures (a new image
// in the same GL texture: wrap and filter stay), complete shaders (a source
// that compiles replaces both programs in the same CompleteShader and takes
// over the parameter values set on the old ones; one that does not reports
// "FILE:LINE:COLUMN: error: message" per error; a driver that refuses the
// translation is asked first and reported the same way) and meshes (the new
// meshes in the same loader object; the old ones stay alive for a drawable
// that kept a pointer to one, which goes on drawing it).
// Use: Demo holds one of each; loadDataDirectories (DataPreload.h) fills the
// texture, mesh and complete-shader caches at start-up; drawables read them by
// bare file name. Loading needs the current GL context. A file that cannot be
// read, decoded or compiled ends the process with a message naming it.
// Every loaded object lives until process exit.
#pragma once

#include "vessara/FileResourceProxy.h"

namespace Kestrane {
class Texture;
class PixelShader;
class VertexShader;
class CompleteShader;
}  // namespace Kestrane

namespace KestraneExt {
class VXMLoader;
}

namespace Vessara {

class TextureResourceProxy : public FileResourceProxy<Kestrane::Texture> {
public:
    Kestrane::Texture* load(const std::string& path) override;
    bool reload(const std::string& name, std::string& error) override;

    // Like loadDirectory for the given bare names, in their order, with the
    // files decoded on `workers` threads while the textures are made here.
    void loadFiles(const std::string& directory, const std::vector<std::string>& names, unsigned workers);
};

class PixelShaderResourceProxy : public FileResourceProxy<Kestrane::PixelShader> {
public:
    Kestrane::PixelShader* load(const std::string& path) override;
};

class VertexShaderResourceProxy : public FileResourceProxy<Kestrane::VertexShader> {
public:
    Kestrane::VertexShader* load(const std::string& path) override;
};

class CompleteShaderResourceProxy : public FileResourceProxy<Kestrane::CompleteShader> {
public:
    Kestrane::CompleteShader* load(const std::string& path) override;
    bool reload(const std::string& name, std::string& error) override;
};

class VXMResourceProxy : public FileResourceProxy<KestraneExt::VXMLoader> {
public:
    KestraneExt::VXMLoader* load(const std::string& path) override;
    bool reload(const std::string& name, std::string& error) override;
};

}  // namespace Vessara
