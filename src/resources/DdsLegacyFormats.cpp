#include "resources/DdsLegacyFormats.h"

#include <array>

namespace orvane {

namespace {

struct LegacyEntry {
  std::uint32_t dxgiFormat;
  DdsConversion conversion;
  DdsPixelFormat format;
};

constexpr LegacyEntry FourCC(std::uint32_t dxgi, std::uint32_t code) {
  return {dxgi, DdsConversion::None, {kDdsPfFourCC, code, 0, 0, 0, 0, 0}};
}

constexpr LegacyEntry Masks(std::uint32_t dxgi, std::uint32_t flags, std::uint32_t bits,
                            std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a,
                            DdsConversion conversion = DdsConversion::None) {
  return {dxgi, conversion, {flags, 0, bits, r, g, b, a}};
}

constexpr std::uint32_t kRgba = kDdsPfRgb | kDdsPfAlphaPixels;
constexpr std::uint32_t kLuminanceAlpha = kDdsPfLuminance | kDdsPfAlphaPixels;

// Legacy (pre-DX10) pixel formats and the DXGI formats they are read as. Order matters: the
// first match wins. Numeric four-character codes are Direct3D 9 format numbers.
constexpr std::array kLegacyFormats = {
    FourCC(71, MakeFourCC('D', 'X', 'T', '1')),   // BC1_UNORM
    FourCC(74, MakeFourCC('D', 'X', 'T', '3')),   // BC2_UNORM
    FourCC(77, MakeFourCC('D', 'X', 'T', '5')),   // BC3_UNORM
    FourCC(74, MakeFourCC('D', 'X', 'T', '2')),   // premultiplied alpha, read as BC2
    FourCC(77, MakeFourCC('D', 'X', 'T', '4')),   // premultiplied alpha, read as BC3
    FourCC(80, MakeFourCC('A', 'T', 'I', '1')),   // BC4_UNORM
    FourCC(80, MakeFourCC('B', 'C', '4', 'U')),
    FourCC(81, MakeFourCC('B', 'C', '4', 'S')),   // BC4_SNORM
    FourCC(83, MakeFourCC('A', 'T', 'I', '2')),   // BC5_UNORM
    FourCC(83, MakeFourCC('B', 'C', '5', 'U')),
    FourCC(84, MakeFourCC('B', 'C', '5', 'S')),   // BC5_SNORM
    FourCC(68, MakeFourCC('R', 'G', 'B', 'G')),   // R8G8_B8G8_UNORM
    FourCC(69, MakeFourCC('G', 'R', 'G', 'B')),   // G8R8_G8B8_UNORM
    FourCC(107, MakeFourCC('Y', 'U', 'Y', '2')),  // YUY2
    FourCC(11, 36),    // A16B16G16R16 -> R16G16B16A16_UNORM
    FourCC(13, 110),   // Q16W16V16U16 -> R16G16B16A16_SNORM
    FourCC(54, 111),   // R16F -> R16_FLOAT
    FourCC(34, 112),   // G16R16F -> R16G16_FLOAT
    FourCC(10, 113),   // A16B16G16R16F -> R16G16B16A16_FLOAT
    FourCC(41, 114),   // R32F -> R32_FLOAT
    FourCC(16, 115),   // G32R32F -> R32G32_FLOAT
    FourCC(2, 116),    // A32B32G32R32F -> R32G32B32A32_FLOAT
    Masks(87, kRgba, 32, 0xff0000, 0xff00, 0xff, 0xff000000),       // B8G8R8A8_UNORM
    Masks(88, kDdsPfRgb, 32, 0xff0000, 0xff00, 0xff, 0),             // B8G8R8X8_UNORM
    Masks(28, kRgba, 32, 0xff, 0xff00, 0xff0000, 0xff000000),        // R8G8B8A8_UNORM
    Masks(28, kDdsPfRgb, 32, 0xff, 0xff00, 0xff0000, 0, DdsConversion::OpaqueAlpha),
    Masks(24, kRgba, 32, 0x3ff, 0xffc00, 0x3ff00000, 0xc0000000),    // R10G10B10A2_UNORM
    Masks(35, kDdsPfRgb, 32, 0xffff, 0xffff0000, 0, 0),              // R16G16_UNORM
    Masks(41, kDdsPfRgb, 32, 0xffffffff, 0, 0, 0),                   // R32_FLOAT
    Masks(28, kDdsPfRgb, 24, 0xff0000, 0xff00, 0xff, 0, DdsConversion::Expand888),
    Masks(85, kDdsPfRgb, 16, 0xf800, 0x7e0, 0x1f, 0),                // B5G6R5_UNORM
    Masks(86, kRgba, 16, 0x7c00, 0x3e0, 0x1f, 0x8000),               // B5G5R5A1_UNORM
    Masks(86, kDdsPfRgb, 16, 0x7c00, 0x3e0, 0x1f, 0, DdsConversion::OpaqueAlpha),
    Masks(115, kRgba, 16, 0xf00, 0xf0, 0xf, 0xf000),                 // B4G4R4A4_UNORM
    Masks(61, kDdsPfLuminance, 8, 0xff, 0, 0, 0),                    // R8_UNORM
    Masks(56, kDdsPfLuminance, 16, 0xffff, 0, 0, 0),                 // R16_UNORM
    Masks(49, kLuminanceAlpha, 16, 0xff, 0, 0, 0xff00),              // R8G8_UNORM
    Masks(65, kDdsPfAlpha, 8, 0, 0, 0, 0xff),                        // A8_UNORM
    Masks(51, kDdsPfBumpDuDv, 16, 0xff, 0xff00, 0, 0),               // R8G8_SNORM
    Masks(31, kDdsPfBumpDuDv, 32, 0xff, 0xff00, 0xff0000, 0xff000000),  // R8G8B8A8_SNORM
    Masks(37, kDdsPfBumpDuDv, 32, 0xffff, 0xffff0000, 0, 0),         // R16G16_SNORM
    Masks(28, kDdsPfPalette8, 8, 0, 0, 0, 0, DdsConversion::Palette8),
};
static_assert(kLegacyFormats.size() == 42, "legacy format table changed: update its tests");

bool Matches(const LegacyEntry& entry, const DdsPixelFormat& file) {
  if ((entry.format.flags & file.flags) == 0) return false;
  if (entry.format.flags & kDdsPfFourCC) return entry.format.fourCC == file.fourCC;
  if (entry.format.flags & kDdsPfPalette8) return entry.format.bitCount == file.bitCount;
  return entry.format.bitCount == file.bitCount && entry.format.redMask == file.redMask &&
         entry.format.greenMask == file.greenMask && entry.format.blueMask == file.blueMask &&
         entry.format.alphaMask == file.alphaMask;
}

std::uint32_t OpaqueAlphaMask(std::uint32_t dxgiFormat) {
  return dxgiFormat == 86 ? 0x8000u : 0xff000000u;
}

}  // namespace

std::optional<DdsLegacyMatch> MatchDdsLegacyFormat(const DdsPixelFormat& format) {
  for (const LegacyEntry& entry : kLegacyFormats) {
    if (!Matches(entry, format)) continue;
    DdsLegacyMatch match{entry.dxgiFormat, entry.conversion, entry.format.bitCount, 0};
    if (entry.conversion == DdsConversion::OpaqueAlpha) {
      match.opaqueAlphaMask = OpaqueAlphaMask(entry.dxgiFormat);
    }
    return match;
  }
  return std::nullopt;
}

}  // namespace orvane
