#pragma once
// The camera frame (camera-to-world, left-handed) and its projection with depth 0 at the near
// plane and 1 at the far plane.

#include <cstdint>

#include "render/Matrix.h"

namespace orvane {

enum : int32_t { kProjectionPerspective = 1, kProjectionPixels = 2 };

struct Camera {
  Matrix frame;       // rows: right, up, forward, position
  Matrix projection;  // rebuilt by UpdateProjection
  float nearPlane = 0.0f;
  float farPlane = 0.0f;
  float fieldOfView = 0.0f;  // vertical, degrees
  int32_t mode = 0;          // kProjectionPerspective, kProjectionPixels; others leave it alone
};

// Rows: right = normalise(cross(normalise(up), forward)), up = cross(forward, right),
// forward = normalise(focus - eye), position = eye; fourth components 0.
Matrix LookAtFrame(const Vector4& eye, const Vector4& focus, const Vector4& up);

// Fills camera.projection for a target of width x height pixels. Perspective: left-handed,
// vertical field of view. Pixels: orthographic over pixel coordinates, origin top-left, y down.
void UpdateProjection(Camera& camera, float width, float height);

}  // namespace orvane
