#pragma once
// The placement of one replicate copy: a frame that faces away from the centre (or all alike),
// scaled, moved to its point and turned by a random rotation in its own frame first.

#include <optional>
#include <random>

#include "render/Matrix.h"

namespace orvane {

// One uniform number in [0, 1] from one 32-bit output: float(y) / 2^32. The float conversion
// rounds the largest outputs up to exactly 1.0, as documents were authored against.
float ReplicaUniform(std::mt19937& generator);

// Axes of a copy facing along `facing`: X the tangent T = normalize(N x up), Y the bitangent
// B = normalize(T x N), Z towards -N, with up = +Y, or +X where N is within 1e-6 of the Y axis
// (either way, so that copies straight below the centre keep their frame). None where `facing`
// has no direction (a copy at the centre facing outwards).
std::optional<Matrix> ReplicaAxes(const Vector4& facing);

// Rot(degrees) * F, where F has the rows size * T, size * B, -size * N and (position, 1): the
// random rotation turns the copy in its own frame.
Matrix ReplicaLocal(const Matrix& axes, float size, const Vector4& position, const Vector4& degrees);

}  // namespace orvane
