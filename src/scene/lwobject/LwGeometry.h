#pragma once

#include <array>
#include <vector>

#include "scene/lwobject/LwObject.h"

namespace orvane {

struct Geometry;

// One vertex of a mesh-file geometry: 32 bytes, position, normal, texture coordinates (always
// zero: UV maps of the file are not read).
struct LwVertex {
  LwFloat3 position{};
  LwFloat3 normal{};
  std::array<float, 2> uv{};
};
static_assert(sizeof(LwVertex) == 32);

// The layer's polygons as a non-indexed triangle list, polygon by polygon. A triangle gives its
// three corners; a polygon of n > 3 corners is split into the fan (0, i, i + 1), which keeps
// its winding; polygons of fewer than three corners give nothing.
std::vector<LwVertex> LwTriangleVertices(const LwLayer& layer);

// Fills `geometry`'s vertex slot 0 with the layer's triangle list: one immutable vertex buffer
// of 256-bit elements on the current adapter, no index buffer. False when the layer has no
// triangles or the buffer cannot be made. The caller sets the geometry up and finishes it.
bool BuildLwGeometry(Geometry& geometry, const LwLayer& layer);

}  // namespace orvane
