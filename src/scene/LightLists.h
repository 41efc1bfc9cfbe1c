#pragma once
// The lights of a frame. Directional and point light operators append their records while their
// scene is evaluated; every light pass of the frame draws what the lists hold after its own scene
// ran. The lists are emptied (not freed) at the start of every frame.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/Matrix.h"

namespace orvane {

struct DirLightRecord {
  Vector4 direction;  // the way the light travels, world space, w 0; no world transform applies
  Vector4 color;      // R, G, B, 0
  int32_t enabled = 1;
};

struct PointLightRecord {
  Vector4 position;  // world space, w as the world transform made it
  Vector4 color;     // R, G, B, 0
  float radius = 5.0f;
  float brightness = 1.0f;
  int32_t enabled = 1;
};

using DirLightList = std::vector<DirLightRecord>;
using PointLightList = std::vector<PointLightRecord>;

// Room reserved when the program starts, so that ordinary frames never allocate.
inline constexpr std::size_t kDirLightReserve = 10;
inline constexpr std::size_t kPointLightReserve = 100;

// The process-wide lists.
extern DirLightList dirLightList;
extern PointLightList pointLightList;

void ClearLightLists();

// Whether a light pass draws the record: enabled, finite, with a non-zero direction or a
// positive radius. Anything else would only spread non-finite values over the lit image.
bool IsDrawable(const DirLightRecord& light);
bool IsDrawable(const PointLightRecord& light);

}  // namespace orvane
