#include "render/Matrix.h"

#include <cmath>

namespace orvane {

Matrix Identity() {
  Matrix r;
  for (int i = 0; i < 4; ++i) r.m[i][i] = 1.0f;
  return r;
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                  a.m[i][3] * b.m[3][j];
  return r;
}

Matrix Transpose(const Matrix& a) {
  Matrix r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.m[i][j] = a.m[j][i];
  return r;
}

Matrix Inverse(const Matrix& a) {
  // Cofactor expansion by 2x2 sub-determinants of the upper and lower row pairs.
  const float(&m)[4][4] = a.m;
  const float s0 = m[0][0] * m[1][1] - m[1][0] * m[0][1];
  const float s1 = m[0][0] * m[1][2] - m[1][0] * m[0][2];
  const float s2 = m[0][0] * m[1][3] - m[1][0] * m[0][3];
  const float s3 = m[0][1] * m[1][2] - m[1][1] * m[0][2];
  const float s4 = m[0][1] * m[1][3] - m[1][1] * m[0][3];
  const float s5 = m[0][2] * m[1][3] - m[1][2] * m[0][3];
  const float c5 = m[2][2] * m[3][3] - m[3][2] * m[2][3];
  const float c4 = m[2][1] * m[3][3] - m[3][1] * m[2][3];
  const float c3 = m[2][1] * m[3][2] - m[3][1] * m[2][2];
  const float c2 = m[2][0] * m[3][3] - m[3][0] * m[2][3];
  const float c1 = m[2][0] * m[3][2] - m[3][0] * m[2][2];
  const float c0 = m[2][0] * m[3][1] - m[3][0] * m[2][1];
  const float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
  Matrix r;
  if (det == 0.0f || !std::isfinite(det)) return r;
  const float k = 1.0f / det;
  r.m[0][0] = (m[1][1] * c5 - m[1][2] * c4 + m[1][3] * c3) * k;
  r.m[0][1] = (-m[0][1] * c5 + m[0][2] * c4 - m[0][3] * c3) * k;
  r.m[0][2] = (m[3][1] * s5 - m[3][2] * s4 + m[3][3] * s3) * k;
  r.m[0][3] = (-m[2][1] * s5 + m[2][2] * s4 - m[2][3] * s3) * k;
  r.m[1][0] = (-m[1][0] * c5 + m[1][2] * c2 - m[1][3] * c1) * k;
  r.m[1][1] = (m[0][0] * c5 - m[0][2] * c2 + m[0][3] * c1) * k;
  r.m[1][2] = (-m[3][0] * s5 + m[3][2] * s2 - m[3][3] * s1) * k;
  r.m[1][3] = (m[2][0] * s5 - m[2][2] * s2 + m[2][3] * s1) * k;
  r.m[2][0] = (m[1][0] * c4 - m[1][1] * c2 + m[1][3] * c0) * k;
  r.m[2][1] = (-m[0][0] * c4 + m[0][1] * c2 - m[0][3] * c0) * k;
  r.m[2][2] = (m[3][0] * s4 - m[3][1] * s2 + m[3][3] * s0) * k;
  r.m[2][3] = (-m[2][0] * s4 + m[2][1] * s2 - m[2][3] * s0) * k;
  r.m[3][0] = (-m[1][0] * c3 + m[1][1] * c1 - m[1][2] * c0) * k;
  r.m[3][1] = (m[0][0] * c3 - m[0][1] * c1 + m[0][2] * c0) * k;
  r.m[3][2] = (-m[3][0] * s3 + m[3][1] * s1 - m[3][2] * s0) * k;
  r.m[3][3] = (m[2][0] * s3 - m[2][1] * s1 + m[2][2] * s0) * k;
  return r;
}

Matrix NormalTransform(const Matrix& a) {
  const float(&m)[4][4] = a.m;
  Matrix r;
  // Entry (i, j) is the cofactor of m[i][j]: the 2x2 determinant of the other rows and columns.
  for (int i = 0; i < 3; ++i) {
    const int i1 = (i + 1) % 3, i2 = (i + 2) % 3;
    for (int j = 0; j < 3; ++j) {
      const int j1 = (j + 1) % 3, j2 = (j + 2) % 3;
      r.m[i][j] = m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1];
    }
  }
  const float det = m[0][0] * r.m[0][0] + m[0][1] * r.m[0][1] + m[0][2] * r.m[0][2];
  if (det < 0.0f) {
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) r.m[i][j] = -r.m[i][j];
  }
  for (int k = 0; k < 3; ++k) r.m[3][k] = r.m[k][3] = 0.0f;
  r.m[3][3] = 1.0f;
  return r;
}

Matrix RigidInverse(const Matrix& a) {
  // The inverse rotation is the transpose; the inverse translation is -t times it.
  Matrix r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = a.m[j][i];
  for (int j = 0; j < 3; ++j)
    r.m[3][j] = -(a.m[3][0] * r.m[0][j] + a.m[3][1] * r.m[1][j] + a.m[3][2] * r.m[2][j]);
  r.m[3][3] = 1.0f;
  return r;
}

void Translate(Matrix& m, const Vector4& v) {
  for (int j = 0; j < 4; ++j) m.m[3][j] += v.x * m.m[0][j] + v.y * m.m[1][j] + v.z * m.m[2][j];
}

Vector4 Transform(const Vector4& p, const Matrix& m) {
  const float in[4] = {p.x, p.y, p.z, p.w};
  float out[4];
  for (int j = 0; j < 4; ++j)
    out[j] = in[0] * m.m[0][j] + in[1] * m.m[1][j] + in[2] * m.m[2][j] + in[3] * m.m[3][j];
  return {out[0], out[1], out[2], out[3]};
}

}  // namespace orvane
