#include "render/Camera.h"

#include <cmath>

namespace orvane {
namespace {

struct Vec3 {
  float x, y, z;
};

Vec3 Sub(const Vector4& a, const Vector4& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A zero vector stays zero rather than turning into NaNs that would poison every later product.
Vec3 Normalise(const Vec3& v) {
  const float lengthSquared = v.x * v.x + v.y * v.y + v.z * v.z;
  if (lengthSquared <= 0.0f) return v;
  const float r = 1.0f / std::sqrt(lengthSquared);
  return {v.x * r, v.y * r, v.z * r};
}

void SetRow(Matrix& m, int row, const Vec3& v) {
  m.m[row][0] = v.x;
  m.m[row][1] = v.y;
  m.m[row][2] = v.z;
  m.m[row][3] = 0.0f;
}

void PerspectiveProjection(Camera& camera, float width, float height) {
  const float half = camera.fieldOfView * 0.017453292f * 0.5f;
  const float c = std::tan(1.5707964f - half);
  const float aspect = width / height;
  const float q = camera.farPlane / (camera.farPlane - camera.nearPlane);
  Matrix& p = camera.projection;
  p = Matrix{};
  p.m[0][0] = c / aspect;
  p.m[1][1] = c;
  p.m[2][2] = q;
  p.m[2][3] = 1.0f;
  p.m[3][2] = -q * camera.nearPlane;
}

void PixelProjection(Camera& camera, float width, float height) {
  const float rx = 1.0f / width;
  const float ry = 1.0f / -height;
  const float rz = 1.0f / (camera.nearPlane - camera.farPlane);
  Matrix& p = camera.projection;
  p = Matrix{};
  p.m[0][0] = 2.0f * rx;
  p.m[1][1] = 2.0f * ry;
  p.m[2][2] = 2.0f * rz;
  p.m[3][0] = -rx * width;
  p.m[3][1] = -ry * height;
  p.m[3][2] = rz * (camera.nearPlane + camera.farPlane);
  p.m[3][3] = 1.0f;
}

}  // namespace

Matrix LookAtFrame(const Vector4& eye, const Vector4& focus, const Vector4& up) {
  const Vec3 z = Normalise(Sub(focus, eye));
  const Vec3 x = Normalise(Cross(Normalise({up.x, up.y, up.z}), z));
  const Vec3 y = Cross(z, x);
  Matrix frame;
  SetRow(frame, 0, x);
  SetRow(frame, 1, y);
  SetRow(frame, 2, z);
  SetRow(frame, 3, {eye.x, eye.y, eye.z});
  return frame;
}

void UpdateProjection(Camera& camera, float width, float height) {
  if (camera.mode == kProjectionPerspective) PerspectiveProjection(camera, width, height);
  if (camera.mode == kProjectionPixels) PixelProjection(camera, width, height);
}

}  // namespace orvane
