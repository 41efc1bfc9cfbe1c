#include "app/DownFilter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvane {
namespace {

constexpr float kLobes = 2.0f;

float Sinc(float x) {
  if (std::fabs(x) < 1e-6f) return 1.0f;
  const float px = std::numbers::pi_v<float> * x;
  return std::sin(px) / px;
}

}  // namespace

float Lanczos2(float x) { return std::fabs(x) < kLobes ? Sinc(x) * Sinc(x / kLobes) : 0.0f; }

DownFilter::DownFilter(int outputWidth, int outputHeight, int factor)
    : outputWidth_(outputWidth),
      outputHeight_(outputHeight),
      factor_(factor),
      columns_(MakeTaps(outputWidth, factor)),
      rows_(MakeTaps(outputHeight, factor)),
      filteredRows_(static_cast<size_t>(outputWidth) * static_cast<size_t>(outputHeight) *
                    static_cast<size_t>(factor) * 4) {}

std::vector<DownFilter::Taps> DownFilter::MakeTaps(int outputSize, int factor) {
  const int sourceSize = outputSize * factor;
  std::vector<Taps> taps(static_cast<size_t>(outputSize));
  for (int out = 0; out < outputSize; ++out) {
    // Source pixel i has its centre at (i + 0.5) / factor in output pixels.
    const float centre = static_cast<float>(out) + 0.5f;
    const int first = std::max(0, static_cast<int>(std::floor((centre - kLobes) * static_cast<float>(factor))));
    const int last = std::min(sourceSize - 1, static_cast<int>(std::ceil((centre + kLobes) * static_cast<float>(factor))));
    Taps& tap = taps[static_cast<size_t>(out)];
    tap.first = first;
    float sum = 0.0f;
    for (int i = first; i <= last; ++i) {
      const float distance = (static_cast<float>(i) + 0.5f) / static_cast<float>(factor) - centre;
      tap.weights.push_back(Lanczos2(distance));
      sum += tap.weights.back();
    }
    for (float& weight : tap.weights) weight /= sum;
  }
  return taps;
}

void DownFilter::Accumulate(std::span<const uint8_t> source, const ChannelDecode& decode, float weight,
                            std::span<float> destination) {
  const size_t sourceWidth = static_cast<size_t>(outputWidth_) * static_cast<size_t>(factor_);
  const size_t sourceHeight = static_cast<size_t>(outputHeight_) * static_cast<size_t>(factor_);
  if (source.size() != sourceWidth * sourceHeight * 4 ||
      destination.size() != static_cast<size_t>(outputWidth_) * static_cast<size_t>(outputHeight_) * 4) {
    return;
  }
  // Rows: every source row to the output width.
  for (size_t y = 0; y < sourceHeight; ++y) {
    const uint8_t* row = source.data() + y * sourceWidth * 4;
    float* out = filteredRows_.data() + y * static_cast<size_t>(outputWidth_) * 4;
    for (const Taps& tap : columns_) {
      float sum[4] = {0, 0, 0, 0};
      const uint8_t* pixel = row + static_cast<size_t>(tap.first) * 4;
      for (float w : tap.weights) {
        for (int c = 0; c < 4; ++c) sum[c] += w * decode[static_cast<size_t>(c)][pixel[c]];
        pixel += 4;
      }
      for (int c = 0; c < 4; ++c) *out++ = sum[c];
    }
  }
  // Columns: the filtered rows to the output height, weighted into the destination.
  const size_t rowFloats = static_cast<size_t>(outputWidth_) * 4;
  std::vector<float> line(rowFloats);
  for (size_t y = 0; y < static_cast<size_t>(outputHeight_); ++y) {
    const Taps& tap = rows_[y];
    std::fill(line.begin(), line.end(), 0.0f);
    const float* in = filteredRows_.data() + static_cast<size_t>(tap.first) * rowFloats;
    for (float w : tap.weights) {
      for (size_t i = 0; i < rowFloats; ++i) line[i] += w * in[i];
      in += rowFloats;
    }
    float* out = destination.data() + y * rowFloats;
    for (size_t i = 0; i < rowFloats; ++i) out[i] += weight * line[i];
  }
}

}  // namespace orvane
