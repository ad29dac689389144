// Loads a VXM mesh file into one Geometry per mesh: a 14-float interleaved
// stream (position, normal, texture coordinate, tangent, binormal; stride 56)
// in slot 0, unsigned-int triangle indices, and normals/tangents/binormals
// computed from the triangles. Tangents feed TexCoord2, binormals TexCoord3.
//
// Use:
//   VXMLoader vxm(File("data/cross.vxm", "rb"), 4, 4);   buffer usages of
//                          vertices and indices (4: static-draw buffers,
//                          needs the GL context; 0: client memory, needs none).
//   vxm.meshCount(); vxm.mesh(i).draw(); vxm.drawAll();
// A damaged file (a count beyond the bytes left, a negative count, a name
// over 256 bytes, an index outside the vertices) ends the process through the
// fatal path naming the file, byte offset and fault. The byte-array
// constructor throws FormatError instead (tests, the fuzzer).
// The loader owns its meshes; they live as long as it does.
#pragma once

#include "kestrane_ext/File.h"
#include "kestrane_ext/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>

namespace KestraneExt {

class VXMLoader {
public:
    static constexpr int FloatsPerVertex = 14;
    static constexpr int MaxNameLength = 256;

    VXMLoader(File file, int vertexUsage, int indexUsage);
    // Parses bytes as the file named fileName; throws FormatError.
    VXMLoader(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
              int vertexUsage, int indexUsage);

    int meshCount() const { return meshCount_; }
    // Throws std::out_of_range for i outside 0..meshCount()-1.
    Geometry& mesh(int i) const;
    // Draws meshes 0 .. meshCount()-1 in order.
    void drawAll() const;

private:
    void parse(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
               int vertexUsage, int indexUsage);

    std::int32_t meshCount_ = 0;
    std::unique_ptr<Geometry[]> meshes_;
};

}  // namespace KestraneExt
