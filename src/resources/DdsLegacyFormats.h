#pragma once

#include <cstdint>
#include <optional>

namespace orvane {

// The pixel-format block of a DDS header (without its size field).
struct DdsPixelFormat {
  std::uint32_t flags = 0;
  std::uint32_t fourCC = 0;
  std::uint32_t bitCount = 0;
  std::uint32_t redMask = 0;
  std::uint32_t greenMask = 0;
  std::uint32_t blueMask = 0;
  std::uint32_t alphaMask = 0;
};

inline constexpr std::uint32_t kDdsPfAlphaPixels = 0x1;
inline constexpr std::uint32_t kDdsPfAlpha = 0x2;
inline constexpr std::uint32_t kDdsPfFourCC = 0x4;
inline constexpr std::uint32_t kDdsPfPalette8 = 0x20;
inline constexpr std::uint32_t kDdsPfRgb = 0x40;
inline constexpr std::uint32_t kDdsPfLuminance = 0x20000;
inline constexpr std::uint32_t kDdsPfBumpDuDv = 0x80000;

constexpr std::uint32_t MakeFourCC(char a, char b, char c, char d) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24;
}

// How the file's texels become the texels of the reported format while they are copied.
enum class DdsConversion : std::uint8_t {
  None,
  Expand888,    // 24-bit B,G,R texels become R,G,B,A with opaque alpha
  OpaqueAlpha,  // the file has no alpha channel: the reported format's alpha bits are set
  Palette8,     // 8-bit indices into the 256-entry R,G,B,A palette that follows the header
};

struct DdsLegacyMatch {
  std::uint32_t dxgiFormat = 0;
  DdsConversion conversion = DdsConversion::None;
  std::uint32_t fileBitsPerTexel = 0;  // for conversions: texel size in the file
  std::uint32_t opaqueAlphaMask = 0;   // for OpaqueAlpha: bits to set in each texel
};

// The first entry of the legacy table whose flags meet the file's flags and which matches: by
// code for four-character-code entries, by bit count for palette entries, else by bit count
// and all four masks. None when nothing matches.
std::optional<DdsLegacyMatch> MatchDdsLegacyFormat(const DdsPixelFormat& format);

}  // namespace orvane
