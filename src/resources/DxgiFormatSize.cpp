#include "resources/DxgiFormatSize.h"

#include <array>

namespace orvane {

namespace {

struct DxgiRange {
  std::uint32_t first;
  std::uint32_t last;
  DxgiLayout layout;
};

constexpr DxgiLayout Texels(std::uint32_t bits) { return {DxgiLayoutKind::Texels, bits}; }
constexpr DxgiLayout Blocks(std::uint32_t bytes) { return {DxgiLayoutKind::Blocks4x4, bytes * 8}; }
constexpr DxgiLayout Pairs(std::uint32_t bytes) { return {DxgiLayoutKind::Pairs2x1, bytes * 8}; }

// DXGI_FORMAT numbers by range. Formats not listed (R1_UNORM, planar video formats, palettes,
// numbers DXGI leaves unassigned) have no size rule here.
constexpr std::array kDxgiRanges = {
    DxgiRange{1, 4, Texels(128)},     // R32G32B32A32
    DxgiRange{5, 8, Texels(96)},      // R32G32B32
    DxgiRange{9, 22, Texels(64)},     // R16G16B16A16, R32G32, R32G8X24 and depth forms
    DxgiRange{23, 47, Texels(32)},    // R10G10B10A2 .. R24G8 and depth forms
    DxgiRange{48, 59, Texels(16)},    // R8G8, R16, D16
    DxgiRange{60, 65, Texels(8)},     // R8, A8
    DxgiRange{67, 67, Texels(32)},    // R9G9B9E5_SHAREDEXP
    DxgiRange{68, 69, Pairs(4)},      // R8G8_B8G8, G8R8_G8B8
    DxgiRange{70, 72, Blocks(8)},     // BC1
    DxgiRange{73, 78, Blocks(16)},    // BC2, BC3
    DxgiRange{79, 81, Blocks(8)},     // BC4
    DxgiRange{82, 84, Blocks(16)},    // BC5
    DxgiRange{85, 86, Texels(16)},    // B5G6R5, B5G5R5A1
    DxgiRange{87, 93, Texels(32)},    // B8G8R8A8, B8G8R8X8, R10G10B10_XR_BIAS_A2
    DxgiRange{94, 99, Blocks(16)},    // BC6H, BC7
    DxgiRange{100, 101, Texels(32)},  // AYUV, Y410
    DxgiRange{102, 102, Texels(64)},  // Y416
    DxgiRange{107, 107, Pairs(4)},    // YUY2
    DxgiRange{108, 109, Pairs(8)},    // Y210, Y216
    DxgiRange{115, 115, Texels(16)},  // B4G4R4A4
};
static_assert(kDxgiRanges.size() == 20, "every DXGI range needs a size rule");

}  // namespace

DxgiLayout DxgiFormatLayout(std::uint32_t dxgiFormat) {
  for (const DxgiRange& range : kDxgiRanges) {
    if (dxgiFormat >= range.first && dxgiFormat <= range.last) return range.layout;
  }
  return {};
}

SurfaceSize LayoutSurfaceSize(DxgiLayout layout, std::uint64_t width, std::uint64_t height) {
  const std::uint64_t bytesPerUnit = layout.bits / 8;
  switch (layout.kind) {
    case DxgiLayoutKind::Texels:
      return {(width * layout.bits + 7) / 8, height};
    case DxgiLayoutKind::Blocks4x4:
      return {((width + 3) / 4) * bytesPerUnit, (height + 3) / 4};
    case DxgiLayoutKind::Pairs2x1:
      return {((width + 1) / 2) * bytesPerUnit, height};
    case DxgiLayoutKind::None:
      break;
  }
  return {};
}

std::optional<SurfaceSize> DxgiSurfaceSize(std::uint32_t dxgiFormat, std::uint64_t width,
                                           std::uint64_t height) {
  const DxgiLayout layout = DxgiFormatLayout(dxgiFormat);
  if (layout.kind == DxgiLayoutKind::None) return std::nullopt;
  return LayoutSurfaceSize(layout, width, height);
}

}  // namespace orvane
