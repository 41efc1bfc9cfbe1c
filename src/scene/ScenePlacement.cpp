#include "scene/ScenePlacement.h"

#include <algorithm>
#include <cmath>

namespace orvane {
namespace {

struct Vec3 {
  float x, y, z;
};

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

bool IsFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// Unit vector along v, scaled first by its largest component so that neither tiny nor huge
// vectors under- or overflow; none for a zero or non-finite vector.
std::optional<Vec3> Normalised(const Vec3& v) {
  const float largest = std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
  if (!(largest > 0.0f) || !std::isfinite(largest)) return std::nullopt;
  const Vec3 s{v.x / largest, v.y / largest, v.z / largest};
  const float r = 1.0f / std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
  return Vec3{s.x * r, s.y * r, s.z * r};
}

void SetRow(Matrix& m, int row, float x, float y, float z, float w) {
  m.m[row][0] = x;
  m.m[row][1] = y;
  m.m[row][2] = z;
  m.m[row][3] = w;
}

// Rows 0-2 zero, row 3 the parent's origin (or the world origin if that is not finite).
Matrix CollapsedAt(const Matrix& parent) {
  Matrix m;
  const bool finiteOrigin = std::isfinite(parent.m[3][0]) && std::isfinite(parent.m[3][1]) &&
                            std::isfinite(parent.m[3][2]) && std::isfinite(parent.m[3][3]);
  if (finiteOrigin) {
    SetRow(m, 3, parent.m[3][0], parent.m[3][1], parent.m[3][2], parent.m[3][3]);
  } else {
    SetRow(m, 3, 0.0f, 0.0f, 0.0f, 1.0f);
  }
  return m;
}

}  // namespace

bool IsFinite(const Matrix& m) {
  for (const auto& row : m.m) {
    for (float value : row) {
      if (!std::isfinite(value)) return false;
    }
  }
  return true;
}

Matrix EulerRotation(const Vector4& degrees) {
  const float ax = degrees.x * kRadiansPerDegree;
  const float ay = degrees.y * kRadiansPerDegree;
  const float az = degrees.z * kRadiansPerDegree;
  const float sx = std::sin(ax), cx = std::cos(ax);
  const float sy = std::sin(ay), cy = std::cos(ay);
  const float sz = std::sin(az), cz = std::cos(az);
  Matrix r;
  SetRow(r, 0, cy * cz, cy * sz, -sy, 0.0f);
  SetRow(r, 1, sx * sy * cz - cx * sz, sx * sy * sz + cx * cz, sx * cy, 0.0f);
  SetRow(r, 2, cx * sy * cz + sx * sz, cx * sy * sz - sx * cz, cx * cy, 0.0f);
  SetRow(r, 3, 0.0f, 0.0f, 0.0f, 1.0f);
  return r;
}

Matrix PlaceUnder(const Matrix& parent, const Vector4& translation, const Vector4& degrees, const Vector4& scale) {
  Matrix local = EulerRotation(degrees);
  const float scales[3] = {scale.x, scale.y, scale.z};
  for (int row = 0; row < 3; ++row) {
    for (float& value : local.m[row]) value *= scales[row];
  }
  SetRow(local, 3, translation.x, translation.y, translation.z, 1.0f);
  const Matrix placed = Multiply(local, parent);
  return IsFinite(placed) ? placed : CollapsedAt(parent);
}

std::optional<Matrix> LookAlongFrame(const Vector4& eye, const Vector4& direction) {
  const Vec3 position{eye.x, eye.y, eye.z};
  const std::optional<Vec3> forward = Normalised({direction.x, direction.y, direction.z});
  if (!forward || !IsFinite(position)) return std::nullopt;
  std::optional<Vec3> right = Normalised(Cross({0.0f, 1.0f, 0.0f}, *forward));
  if (!right) right = Normalised(Cross({0.0f, 0.0f, 1.0f}, *forward));
  if (!right) return std::nullopt;
  const Vec3 up = Cross(*forward, *right);
  Matrix frame;
  SetRow(frame, 0, right->x, right->y, right->z, 0.0f);
  SetRow(frame, 1, up.x, up.y, up.z, 0.0f);
  SetRow(frame, 2, forward->x, forward->y, forward->z, 0.0f);
  SetRow(frame, 3, position.x, position.y, position.z, 0.0f);
  return frame;
}

std::optional<Matrix> PerspectiveProjection(float fovDegrees, float aspect, float zNear, float zFar) {
  if (!std::isfinite(fovDegrees) || !std::isfinite(aspect) || !(aspect > 0.0f)) return std::nullopt;
  // At multiples of 180 degrees the cotangent below is infinite or zero; in floats it comes out as
  // a huge or tiny number instead, so these are refused by value.
  if (std::fmod(fovDegrees, 180.0f) == 0.0f) return std::nullopt;
  const float f = std::tan(1.5707964f - fovDegrees * kRadiansPerDegree / 2.0f);
  const float q = zFar / (zFar - zNear);
  Matrix p;
  p.m[0][0] = f / aspect;
  p.m[1][1] = f;
  p.m[2][2] = q;
  p.m[2][3] = 1.0f;
  p.m[3][2] = -q * zNear;
  if (!IsFinite(p)) return std::nullopt;
  return p;
}

}  // namespace orvane
