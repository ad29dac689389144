#include "kestrane/Matrix.h"

#include <cmath>

namespace Kestrane {

namespace {

// Column-major element of row r, column c.
constexpr int at(int row, int column) { return column * 4 + row; }

void normalize(float v[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0f) return;
    v[0] /= length;
    v[1] /= length;
    v[2] /= length;
}

void cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

Matrix4 identityMatrix() {
    return {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
            0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
}

Matrix4 multiply(const float a[16], const float b[16]) {
    Matrix4 product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            product[at(row, column)] = a[at(row, 0)] * b[at(0, column)] +
                                       a[at(row, 1)] * b[at(1, column)] +
                                       a[at(row, 2)] * b[at(2, column)] +
                                       a[at(row, 3)] * b[at(3, column)];
        }
    }
    return product;
}

Matrix4 translation(float x, float y, float z) {
    Matrix4 m = identityMatrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Matrix4 scaling(float x, float y, float z) {
    Matrix4 m = identityMatrix();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

Matrix4 rotation(float degrees, float x, float y, float z) {
    Matrix4 m = identityMatrix();
    const float length = std::sqrt(x * x + y * y + z * z);
    // GL leaves the matrix alone for an axis too short to have a direction.
    if (length <= 1.0e-4f) return m;
    x /= length;
    y /= length;
    z /= length;
    const float radians = degrees * static_cast<float>(M_PI / 180.0);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    const float oneMinusC = 1.0f - c;
    m[at(0, 0)] = oneMinusC * x * x + c;
    m[at(0, 1)] = oneMinusC * x * y - z * s;
    m[at(0, 2)] = oneMinusC * z * x + y * s;
    m[at(1, 0)] = oneMinusC * x * y + z * s;
    m[at(1, 1)] = oneMinusC * y * y + c;
    m[at(1, 2)] = oneMinusC * y * z - x * s;
    m[at(2, 0)] = oneMinusC * z * x - y * s;
    m[at(2, 1)] = oneMinusC * y * z + x * s;
    m[at(2, 2)] = oneMinusC * z * z + c;
    return m;
}

Matrix4 lookAt(float eyeX, float eyeY, float eyeZ, float targetX, float targetY, float targetZ,
               float upX, float upY, float upZ) {
    float forward[3] = {targetX - eyeX, targetY - eyeY, targetZ - eyeZ};
    float up[3] = {upX, upY, upZ};
    float side[3];
    normalize(forward);
    cross(forward, up, side);
    normalize(side);
    cross(side, forward, up);
    Matrix4 m = identityMatrix();
    for (int i = 0; i < 3; ++i) {
        m[at(0, i)] = side[i];
        m[at(1, i)] = up[i];
        m[at(2, i)] = -forward[i];
    }
    const Matrix4 moveEye = translation(-eyeX, -eyeY, -eyeZ);
    return multiply(m.data(), moveEye.data());
}

Matrix4 perspective(float fovYDegrees, float aspect, float near, float far) {
    // Double precision as the classic construction has it, rounded once.
    const double radians = fovYDegrees / 2.0 * M_PI / 180.0;
    const double depth = static_cast<double>(far) - near;
    const double sine = std::sin(radians);
    Matrix4 m = identityMatrix();
    if (depth == 0.0 || sine == 0.0 || aspect == 0.0f) return m;
    const double cotangent = std::cos(radians) / sine;
    m[at(0, 0)] = static_cast<float>(cotangent / aspect);
    m[at(1, 1)] = static_cast<float>(cotangent);
    m[at(2, 2)] = static_cast<float>(-(static_cast<double>(far) + near) / depth);
    m[at(3, 2)] = -1.0f;
    m[at(2, 3)] = static_cast<float>(-2.0 * near * far / depth);
    m[at(3, 3)] = 0.0f;
    return m;
}

MatrixStack::MatrixStack() : entries_{identityMatrix()} {}

void MatrixStack::load(const float matrix[16]) {
    for (int i = 0; i < 16; ++i) entries_.back()[i] = matrix[i];
}

void MatrixStack::loadIdentity() { entries_.back() = identityMatrix(); }

void MatrixStack::multiply(const float matrix[16]) {
    entries_.back() = Kestrane::multiply(entries_.back().data(), matrix);
}

void MatrixStack::push() { entries_.push_back(entries_.back()); }

bool MatrixStack::pop() {
    if (entries_.size() <= 1) return false;
    entries_.pop_back();
    return true;
}

}  // namespace Kestrane
