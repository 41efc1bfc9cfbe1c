#pragma once
// What a written frame is made of when it is more than one back buffer: sub-frames drawn at N
// times the output size (supersampling) and several evaluations over the shutter interval (motion
// blur). The back buffer holds display values (tone mapping encodes linear light with the sRGB
// curve); each sub-frame is decoded to linear light, filtered down to the output size, weighted
// and summed, and the sum is encoded again. Alpha is averaged as it is.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "app/DownFilter.h"

namespace orvane {

// The sRGB transfer curve and its inverse, for values in [0, 1].
float DisplayToLinear(float display);
float LinearToDisplay(float linear);

class FrameAccumulator {
public:
  // Frames of width × height; sub-frames at factor × that size.
  FrameAccumulator(int width, int height, int factor);

  // Starts a new frame.
  void Clear();
  // Adds `weight` times the sub-frame (RGBA 8-bit, top row first, factor × the size). A
  // sub-frame of the wrong size is ignored.
  void Add(std::span<const uint8_t> rgba, float weight);
  // The frame so far, RGBA 8-bit display values.
  std::vector<uint8_t> Resolve() const;

private:
  int width_;
  int height_;
  std::optional<DownFilter> filter_;  // none at factor 1
  std::vector<float> sum_;            // linear RGBA
};

}  // namespace orvane
