#include "app/FrameAccumulator.h"

#include <algorithm>
#include <cmath>

namespace orvane {
namespace {

const ChannelDecode& DisplayDecode() {
  static const ChannelDecode table = [] {
    ChannelDecode decode{};
    for (int code = 0; code < 256; ++code) {
      const float value = static_cast<float>(code) / 255.0f;
      for (size_t c = 0; c < 3; ++c) decode[c][static_cast<size_t>(code)] = DisplayToLinear(value);
      decode[3][static_cast<size_t>(code)] = value;
    }
    return decode;
  }();
  return table;
}

uint8_t Quantise(float value) {
  return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

float DisplayToLinear(float display) {
  return display <= 0.04045f ? display / 12.92f : std::pow((display + 0.055f) / 1.055f, 2.4f);
}

float LinearToDisplay(float linear) {
  if (!(linear > 0.0f)) return 0.0f;
  return linear <= 0.0031308f ? linear * 12.92f : 1.055f * std::pow(linear, 1.0f / 2.4f) - 0.055f;
}

FrameAccumulator::FrameAccumulator(int width, int height, int factor)
    : width_(width), height_(height), sum_(static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
  if (factor > 1) filter_.emplace(width, height, factor);
}

void FrameAccumulator::Clear() { std::fill(sum_.begin(), sum_.end(), 0.0f); }

void FrameAccumulator::Add(std::span<const uint8_t> rgba, float weight) {
  const ChannelDecode& decode = DisplayDecode();
  if (filter_) {
    filter_->Accumulate(rgba, decode, weight, sum_);
    return;
  }
  if (rgba.size() != sum_.size()) return;
  for (size_t i = 0; i < sum_.size(); ++i) sum_[i] += weight * decode[i % 4][rgba[i]];
}

std::vector<uint8_t> FrameAccumulator::Resolve() const {
  std::vector<uint8_t> rgba(sum_.size());
  for (size_t i = 0; i < sum_.size(); ++i) {
    rgba[i] = Quantise(i % 4 == 3 ? sum_[i] : LinearToDisplay(sum_[i]));
  }
  return rgba;
}

}  // namespace orvane
