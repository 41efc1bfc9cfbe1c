#include "scene/LightLists.h"

#include <cmath>

namespace orvane {
namespace {

template <class List>
List Reserved(std::size_t count) {
  List list;
  list.reserve(count);
  return list;
}

bool IsFinite(const Vector4& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

}  // namespace

DirLightList dirLightList = Reserved<DirLightList>(kDirLightReserve);
PointLightList pointLightList = Reserved<PointLightList>(kPointLightReserve);

void ClearLightLists() {
  dirLightList.clear();
  pointLightList.clear();
}

bool IsDrawable(const DirLightRecord& light) {
  const Vector4& d = light.direction;
  const bool hasDirection = d.x != 0.0f || d.y != 0.0f || d.z != 0.0f;
  return light.enabled != 0 && IsFinite(d) && IsFinite(light.color) && hasDirection;
}

bool IsDrawable(const PointLightRecord& light) {
  return light.enabled != 0 && IsFinite(light.position) && IsFinite(light.color) &&
         std::isfinite(light.radius) && light.radius > 0.0f && std::isfinite(light.brightness);
}

}  // namespace orvane
