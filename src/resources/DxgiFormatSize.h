#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace orvane {

// How many bytes a DXGI format needs for a surface, for the formats whose layout the readers
// know: plain texels of a fixed bit count, 4 x 4 compressed blocks, and 2 x 1 packed pairs.
// Planar video formats and unknown numbers have no size rule.
enum class DxgiLayoutKind : std::uint8_t { None, Texels, Blocks4x4, Pairs2x1 };

struct DxgiLayout {
  DxgiLayoutKind kind = DxgiLayoutKind::None;
  std::uint32_t bits = 0;  // per texel (Texels) or bytes*8 per block or pair
};

DxgiLayout DxgiFormatLayout(std::uint32_t dxgiFormat);

struct SurfaceSize {
  std::uint64_t rowPitch = 0;    // bytes of one row of texels or of blocks
  std::uint64_t rowCount = 0;    // rows of texels or of blocks
  std::uint64_t SliceBytes() const { return rowPitch * rowCount; }
};

// Size of one 2D surface of a given layout.
SurfaceSize LayoutSurfaceSize(DxgiLayout layout, std::uint64_t width, std::uint64_t height);

// Size of one 2D surface (one depth slice of one mip level); none for formats without a rule.
std::optional<SurfaceSize> DxgiSurfaceSize(std::uint32_t dxgiFormat, std::uint64_t width,
                                           std::uint64_t height);

}  // namespace orvane
