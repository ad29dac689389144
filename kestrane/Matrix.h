// 4 x 4 matrices and the matrix stacks the engine keeps itself, for World,
// View and Projection (State), the same on every GL dialect: nothing here
// calls GL.
//
// Matrices are 16 floats in GL's column-major order (translation in elements
// 12-14); a product a x b applies b first to a column vector.
//
// Use:
//   Matrix4 m = identityMatrix();
//   multiply(a, b)                       a x b.
//   translation / rotation / scaling     the matrices glTranslate, glRotate
//                                        (degrees, any axis; a zero axis is
//                                        the identity) and glScale multiply by.
//   lookAt(eye, target, up)              the camera matrix of gluLookAt.
//   perspective(fovY, aspect, near, far) gluPerspective's matrix; degenerate
//                                        arguments give the identity.
//   MatrixStack s;                       one identity entry; top() is current.
//   s.multiply(m) / s.load(m) / s.loadIdentity()   edit the top.
//   s.push() / s.pop()                   pop of the last entry is refused
//                                        (returns false, top unchanged).
#pragma once

#include <array>
#include <vector>

namespace Kestrane {

using Matrix4 = std::array<float, 16>;

Matrix4 identityMatrix();
Matrix4 multiply(const float a[16], const float b[16]);
Matrix4 translation(float x, float y, float z);
Matrix4 rotation(float degrees, float x, float y, float z);
Matrix4 scaling(float x, float y, float z);
Matrix4 lookAt(float eyeX, float eyeY, float eyeZ, float targetX, float targetY, float targetZ,
               float upX, float upY, float upZ);
Matrix4 perspective(float fovYDegrees, float aspect, float near, float far);

class MatrixStack {
public:
    MatrixStack();

    const float* top() const { return entries_.back().data(); }
    int depth() const { return static_cast<int>(entries_.size()); }

    void load(const float matrix[16]);
    void loadIdentity();
    // top = top x matrix: the new matrix applies first to a vertex.
    void multiply(const float matrix[16]);
    void push();
    // False, and nothing changes, when only the bottom entry is left.
    bool pop();

private:
    std::vector<Matrix4> entries_;
};

}  // namespace Kestrane
