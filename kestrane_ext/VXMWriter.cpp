#include "kestrane_ext/VXMWriter.h"

#include "kestrane_ext/ByteWriter.h"

#include <stdexcept>

namespace KestraneExt {

void VXMMeshData::addVertex(Kestrane::Float3 position, float u, float v) {
    const float vertex[FloatsPerVertex] = {position.x, position.y, position.z, 0, 0, 0, u, v,
                                           0,          0,          0,          0, 0, 0};
    vertices.insert(vertices.end(), vertex, vertex + FloatsPerVertex);
}

void VXMMeshData::addTriangle(std::int32_t a, std::int32_t b, std::int32_t c) {
    indices.insert(indices.end(), {a, b, c});
}

std::vector<std::uint8_t> encodeVXM(const std::vector<VXMMeshData>& meshes) {
    ByteWriter out;
    out.int32(static_cast<std::int32_t>(meshes.size()));
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        const VXMMeshData& mesh = meshes[m];
        const std::string where = "VXM mesh " + std::to_string(m) + " \"" + mesh.name + "\": ";
        if (mesh.name.size() > VXMMeshData::MaxNameLength)
            throw std::invalid_argument(where + "name longer than 256 bytes");
        if (mesh.vertices.size() % VXMMeshData::FloatsPerVertex != 0)
            throw std::invalid_argument(where + "vertex array is not a multiple of 14 floats");
        if (mesh.indices.size() % 3 != 0)
            throw std::invalid_argument(where + "index count is not a multiple of 3");
        const int vertexCount = mesh.vertexCount();
        for (std::int32_t index : mesh.indices)
            if (index < 0 || index >= vertexCount)
                throw std::invalid_argument(where + "index " + std::to_string(index) +
                                            " outside " + std::to_string(vertexCount) +
                                            " vertices");
        out.int32(vertexCount);
        out.int32(mesh.triangleCount());
        out.string(mesh.name);
        for (int v = 0; v < vertexCount; ++v) {
            const float* f = &mesh.vertices[static_cast<std::size_t>(v) * VXMMeshData::FloatsPerVertex];
            out.raw(f, 3 * sizeof(float));
            out.raw(f + 6, 2 * sizeof(float));
        }
        out.raw(mesh.indices.data(), mesh.indices.size() * sizeof(std::int32_t));
    }
    return out.take();
}

bool writeVXM(const std::string& path, const std::vector<VXMMeshData>& meshes, std::string* error) {
    return writeEncodedFile(path, [&] { return encodeVXM(meshes); }, "KestraneExt::writeVXM", error);
}

}  // namespace KestraneExt
