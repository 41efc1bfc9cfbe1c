#pragma once
// 4x4 single-precision matrices stored by rows and applied to row vectors: a point p becomes
// p * M, a transform's basis vectors and translation are its rows, and A * B applies A first.
// Shader constants receive them transposed, so that a std140 mat4 reads back the same matrix
// and GLSL computes p * M as `p * M`.

namespace orvane {

struct alignas(16) Vector4 {
  float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;
};

struct alignas(16) Matrix {
  float m[4][4] = {};
};

Matrix Identity();
// a * b: the transform that applies a, then b.
Matrix Multiply(const Matrix& a, const Matrix& b);
Matrix Transpose(const Matrix& a);
// General inverse; a singular matrix gives the zero matrix.
Matrix Inverse(const Matrix& a);
// The matrix that carries normals for points carried by `a` (row vectors, w 0): the inverse
// transpose of its upper 3x3 scaled by the absolute value of its determinant (its cofactor matrix
// with the determinant's sign), so that it stays defined where `a` flattens a direction. Normals
// through it need normalising.
Matrix NormalTransform(const Matrix& a);
// Inverse of a rotation-and-translation (orthonormal rows 0-2, row 3 the translation).
Matrix RigidInverse(const Matrix& a);
// M becomes T(v) * M: rows 0-2 stay, row 3 becomes v.x*row0 + v.y*row1 + v.z*row2 + row3.
void Translate(Matrix& m, const Vector4& v);
// p * M for a row vector p.
Vector4 Transform(const Vector4& p, const Matrix& m);

}  // namespace orvane
