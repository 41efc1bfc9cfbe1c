#include "scene/ViewportRegion.h"

#include "render/Screen.h"

namespace orvane {

RegionConstants RegionOf(const TargetRect& viewport, const Screen* screen) {
  RegionConstants region;
  if (screen == nullptr || screen->width <= 0 || screen->height <= 0) return region;
  const auto width = static_cast<float>(screen->width);
  const auto height = static_cast<float>(screen->height);
  region.scale[0] = static_cast<float>(viewport.right - viewport.left) / width;
  region.scale[1] = static_cast<float>(viewport.bottom - viewport.top) / height;
  region.offset[0] = static_cast<float>(viewport.left) / width;
  region.offset[1] = static_cast<float>(viewport.top) / height;
  return region;
}

}  // namespace orvane
