#pragma once
// Where an output rectangle lies on the screen, as the full-screen passes that sample it need:
// "gRegionScale" and "gRegionOffset", the rectangle as fractions of the screen's size.

#include "render/TargetSet.h"

namespace orvane {

class Screen;

struct RegionConstants {
  float scale[2] = {1.0f, 1.0f};
  float offset[2] = {0.0f, 0.0f};
};

// Without a screen, or with an empty one, the region is the whole image.
RegionConstants RegionOf(const TargetRect& viewport, const Screen* screen);

}  // namespace orvane
