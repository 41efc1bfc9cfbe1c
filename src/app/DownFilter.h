#pragma once
// Reduces an image drawn at N times the output width and height to the output size with a
// windowed-sinc (Lanczos, two lobes) filter, separably: rows first, then columns. Edges come out
// clean where a plain box would leave them soft and aliasing where point sampling would. The
// weights of each output pixel are normalised, so a flat area keeps its value to the last bit of
// float precision and the image's mean stays where it was.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace orvane {

// Per channel (R, G, B, A), the value each 8-bit code stands for in the space the filter works in.
using ChannelDecode = std::array<std::array<float, 256>, 4>;

// The Lanczos kernel with two lobes: sinc(x)·sinc(x/2) for |x| < 2, else 0 (x in output pixels).
float Lanczos2(float x);

class DownFilter {
public:
  DownFilter(int outputWidth, int outputHeight, int factor);

  // Adds `weight` times the filtered image to `destination` (outputWidth × outputHeight RGBA
  // floats, top row first). `source` is RGBA 8-bit at factor × the output size, decoded per
  // channel through `decode`.
  void Accumulate(std::span<const uint8_t> source, const ChannelDecode& decode, float weight,
                  std::span<float> destination);

  int factor() const { return factor_; }

private:
  // The source pixels that make one output pixel along an axis: first index and weights.
  struct Taps {
    int first = 0;
    std::vector<float> weights;
  };
  static std::vector<Taps> MakeTaps(int outputSize, int factor);

  int outputWidth_;
  int outputHeight_;
  int factor_;
  std::vector<Taps> columns_;
  std::vector<Taps> rows_;
  std::vector<float> filteredRows_;  // outputWidth × (outputHeight · factor) RGBA, between passes
};

}  // namespace orvane
