#include "scene/ReplicaFrame.h"

#include <cmath>

#include "scene/ScenePlacement.h"

namespace orvane {
namespace {

Vector4 Cross(const Vector4& a, const Vector4& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0f};
}

std::optional<Vector4> Normalised(const Vector4& v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (!(length > 0.0f) || !std::isfinite(length)) return std::nullopt;
  return Vector4{v.x / length, v.y / length, v.z / length, 0.0f};
}

void SetRow(Matrix& m, int row, const Vector4& v, float scale, float w) {
  m.m[row][0] = v.x * scale;
  m.m[row][1] = v.y * scale;
  m.m[row][2] = v.z * scale;
  m.m[row][3] = w;
}

Vector4 Row(const Matrix& m, int row) { return {m.m[row][0], m.m[row][1], m.m[row][2], 0.0f}; }

}  // namespace

float ReplicaUniform(std::mt19937& generator) {
  return static_cast<float>(generator()) * (1.0f / 4294967296.0f);
}

std::optional<Matrix> ReplicaAxes(const Vector4& facing) {
  const std::optional<Vector4> n = Normalised(facing);
  if (!n) return std::nullopt;
  const Vector4 up = std::fabs(n->y) > 0.999999f ? Vector4{1.0f, 0.0f, 0.0f, 0.0f} : Vector4{0.0f, 1.0f, 0.0f, 0.0f};
  const std::optional<Vector4> t = Normalised(Cross(*n, up));
  if (!t) return std::nullopt;
  const std::optional<Vector4> b = Normalised(Cross(*t, *n));
  if (!b) return std::nullopt;
  Matrix axes = Identity();
  SetRow(axes, 0, *t, 1.0f, 0.0f);
  SetRow(axes, 1, *b, 1.0f, 0.0f);
  SetRow(axes, 2, *n, -1.0f, 0.0f);
  return axes;
}

Matrix ReplicaLocal(const Matrix& axes, float size, const Vector4& position, const Vector4& degrees) {
  Matrix frame;
  for (int row = 0; row < 3; ++row) SetRow(frame, row, Row(axes, row), size, 0.0f);
  SetRow(frame, 3, position, 1.0f, 1.0f);
  return Multiply(EulerRotation(degrees), frame);
}

}  // namespace orvane
