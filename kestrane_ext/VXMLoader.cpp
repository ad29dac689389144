#include "kestrane_ext/VXMLoader.h"

#include "kestrane_ext/ByteReader.h"
#include "kestrane_ext/FileBytes.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace KestraneExt {

namespace {
constexpr std::size_t MeshHeaderBytes = 12;
constexpr std::size_t FileVertexBytes = 20;  // x, y, z, u, v
constexpr std::size_t TriangleBytes = 12;
}  // namespace

VXMLoader::VXMLoader(File file, int vertexUsage, int indexUsage) {
    const std::vector<std::uint8_t> bytes = readAllBytes(file);
    file.close();
    try {
        parse(bytes.data(), bytes.size(), file.name(), vertexUsage, indexUsage);
    } catch (const FormatError& e) {
        e.reportFatal();
    }
}

VXMLoader::VXMLoader(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
                     int vertexUsage, int indexUsage) {
    parse(bytes, size, fileName, vertexUsage, indexUsage);
}

Geometry& VXMLoader::mesh(int i) const {
    if (i < 0 || i >= meshCount_)
        throw std::out_of_range("VXM mesh " + std::to_string(i) + " of " + std::to_string(meshCount_));
    return meshes_[static_cast<std::size_t>(i)];
}

void VXMLoader::drawAll() const {
    for (int i = 0; i < meshCount_; ++i) meshes_[static_cast<std::size_t>(i)].draw();
}

void VXMLoader::parse(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
                      int vertexUsage, int indexUsage) {
    ByteReader in(bytes, size, fileName);
    const std::int32_t count = in.readCount("mesh count", MeshHeaderBytes);
    auto meshes = std::make_unique<Geometry[]>(static_cast<std::size_t>(count));

    std::vector<float> vertices;
    std::vector<std::int32_t> indices;
    for (std::int32_t m = 0; m < count; ++m) {
        const std::string mesh = "mesh " + std::to_string(m) + " ";
        const std::size_t at = in.offset();
        const std::int32_t vertexCount = in.readInt32("vertex count");
        const std::int32_t triangleCount = in.readInt32("triangle count");
        const std::int32_t nameLength = in.readInt32("name length");
        if (vertexCount < 0) in.failAt(at, mesh + "has negative vertex count " + std::to_string(vertexCount));
        if (triangleCount < 0)
            in.failAt(at + 4, mesh + "has negative triangle count " + std::to_string(triangleCount));
        if (nameLength < 0 || nameLength > MaxNameLength)
            in.failAt(at + 8, mesh + "name length " + std::to_string(nameLength) + " is outside 0-256");
        const std::uint64_t needed = static_cast<std::uint64_t>(nameLength) +
                                     FileVertexBytes * static_cast<std::uint64_t>(vertexCount) +
                                     TriangleBytes * static_cast<std::uint64_t>(triangleCount);
        if (needed > in.remaining())
            in.failAt(at, mesh + "with " + std::to_string(vertexCount) + " vertices and " +
                              std::to_string(triangleCount) + " triangles needs " +
                              std::to_string(needed) + " bytes, " +
                              std::to_string(in.remaining()) + " left");
        in.skip(static_cast<std::size_t>(nameLength), "mesh name");

        vertices.assign(static_cast<std::size_t>(vertexCount) * FloatsPerVertex, 0.0f);
        for (std::int32_t v = 0; v < vertexCount; ++v) {
            float* vertex = &vertices[static_cast<std::size_t>(v) * FloatsPerVertex];
            in.readBytes(vertex, 3 * sizeof(float), "position");
            in.readBytes(vertex + 6, 2 * sizeof(float), "texture coordinate");
        }
        indices.resize(static_cast<std::size_t>(triangleCount) * 3);
        for (std::int32_t& index : indices) {
            const std::size_t indexAt = in.offset();
            index = in.readInt32("index");
            if (index < 0 || index >= vertexCount)
                in.failAt(indexAt, mesh + "index " + std::to_string(index) + " outside its " +
                                       std::to_string(vertexCount) + " vertices");
        }

        Geometry& g = meshes[static_cast<std::size_t>(m)];
        static const int counts[] = {3, 3, 2, 3, 3};
        g.addStream(std::make_unique<VertexStream>(5, counts, vertexCount, vertexUsage,
                                                   vertices.data()));
        g.setIndices(std::make_unique<IndexStream>(triangleCount * 3, indexUsage, indices.data(),
                                                   IndexType::UnsignedInt));
        g.setPrimitive(Kestrane::Triangles);
        g.bind(0, 0, Semantic::Position);
        g.bind(0, 1, Semantic::Normal);
        g.bind(0, 2, Semantic::TexCoord0);
        g.bind(0, 3, Semantic::TexCoord2);
        g.bind(0, 4, Semantic::TexCoord3);
        g.generateTangentFrames(Semantic::TexCoord0, Semantic::Normal, Semantic::TexCoord2,
                                Semantic::TexCoord3, vertexUsage);
    }
    meshCount_ = count;
    meshes_ = std::move(meshes);
}

}  // namespace KestraneExt
