// Writes VXM mesh files: the content tool builds its meshes with it and the
// loader's tests use it for round trips.
//
// Use:
//   VXMMeshData mesh;  mesh.name = "cross";
//   mesh.addVertex({x, y, z}, u, v);  ...  mesh.addTriangle(0, 1, 2);  ...
//   writeVXM("data/cross.vxm", {mesh, ...})        false on failure
//   encodeVXM(meshes)                               the file's bytes in memory
// A vertex is 14 floats in the loaded layout (position 0-2, normal 3-5,
// texture coordinate 6-7, tangent 8-10, binormal 11-13); the file keeps only
// position and texture coordinate, the loader recomputes the frames.
// Invalid input (name over 256 bytes, a vertex array not a multiple of 14
// floats, an index count not a multiple of 3, an index outside the vertices)
// is refused: encodeVXM throws std::invalid_argument, writeVXM returns false
// with the reason. writeVXM also returns false when the file cannot be
// written; the reason goes to *error, or to standard error when error is null.
#pragma once

#include "kestrane/Float3.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KestraneExt {

struct VXMMeshData {
    static constexpr int FloatsPerVertex = 14;
    static constexpr int MaxNameLength = 256;

    std::string name;
    std::vector<float> vertices;       // FloatsPerVertex floats per vertex
    std::vector<std::int32_t> indices; // three per triangle, zero-based

    void addVertex(Kestrane::Float3 position, float u, float v);
    void addTriangle(std::int32_t a, std::int32_t b, std::int32_t c);
    int vertexCount() const { return static_cast<int>(vertices.size() / FloatsPerVertex); }
    int triangleCount() const { return static_cast<int>(indices.size() / 3); }
};

std::vector<std::uint8_t> encodeVXM(const std::vector<VXMMeshData>& meshes);
bool writeVXM(const std::string& path, const std::vector<VXMMeshData>& meshes,
              std::string* error = nullptr);

}  // namespace KestraneExt
