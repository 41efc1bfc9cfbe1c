#pragma once
// The maths of the scene operators that place and view things: Euler rotations in degrees, the
// scale-rotate-translate placement under a parent transform, and the camera that looks along a
// direction with its perspective projection. Every result is finite, so that no later draw of
// the frame inherits a NaN.

#include <optional>

#include "render/Matrix.h"

namespace orvane {

inline constexpr float kRadiansPerDegree = 0.017453292f;

// Rotation by `degrees` about X, then Y, then Z, for row vectors (Rx * Ry * Rz); w of the rows 0.
Matrix EulerRotation(const Vector4& degrees);

// Scale(s) * EulerRotation(degrees) * Translate(t) * parent. Where that is not finite (non-finite
// inputs, or products beyond float range) the placement collapses to a point at the parent's
// origin: what it places disappears instead of carrying NaNs into the draws.
Matrix PlaceUnder(const Matrix& parent, const Vector4& translation, const Vector4& degrees, const Vector4& scale);

bool IsFinite(const Matrix& m);

// Camera frame at `eye` looking along `direction` with +Y up: rows right, up, forward, eye (w 0).
// A direction along the Y axis takes +Z as its up instead. None for a non-finite eye, or a zero
// or non-finite direction.
std::optional<Matrix> LookAlongFrame(const Vector4& eye, const Vector4& direction);

// Left-handed perspective for row vectors with depth 0 at zNear and 1 at zFar, for any vertical
// field of view in degrees: a negative one turns the picture by 180 degrees, as does one beyond
// 180. None where the aspect ratio is not a positive finite number or the matrix would not be
// finite: a field of view that is not finite or a multiple of 180 (0, 180, -180 ...), zNear equal
// to zFar, non-finite planes.
std::optional<Matrix> PerspectiveProjection(float fovDegrees, float aspect, float zNear, float zFar);

}  // namespace orvane
