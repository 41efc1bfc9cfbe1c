#pragma once
// The system's own pixel-format codes. Bits 16-23 number type (1 unorm, 5 float, 7 unorm sRGB),
// bits 8-15 size class (2: 8-bit channels, 3: 16-bit, 4: 32-bit, 5: packed 24/8 depth,
// 0x11-0x13: block compression 1-3), bits 0-7 channel layout (1 R, 2 RG, 3 RGB, 4 RGBA,
// 5 depth, 6 depth-stencil, 7 BGRA). The DXGI numbers stay in the table because the file
// readers report DXGI formats.

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane {

using FormatCode = uint32_t;

enum : FormatCode {
  kFormatNone = 0,
  kFormatR8 = 0x10201,
  kFormatRGBA8 = 0x10204,
  kFormatBGRA8 = 0x10207,
  kFormatR16 = 0x10301,
  kFormatDepth24Stencil8 = 0x10506,
  kFormatBC1 = 0x11103,
  kFormatBC2 = 0x11204,
  kFormatBC3 = 0x11304,
  kFormatRG16F = 0x50302,
  kFormatRGBA16F = 0x50304,
  kFormatRGBA32F = 0x50404,
  kFormatDepth32F = 0x50405,
  kFormatBC1Srgb = 0x71103,
  kFormatBC2Srgb = 0x71204,
  kFormatBC3Srgb = 0x71304,
  kFormatRGBA8Srgb = 0x70204,
  kFormatBGRA8Srgb = 0x70207,
};

constexpr size_t kFormatCount = 18;

struct FormatInfo {
  FormatCode code;
  uint32_t resourceDxgi;  // DXGI format of the resource
  uint32_t viewDxgi;      // ... of its shader view
  uint32_t targetDxgi;    // ... of its target view
};

// Every known code, code 0 first; FormatIndex gives a code's position in this list.
std::span<const FormatInfo> FormatTable();
// Position of the code in FormatTable, or -1.
int FormatIndex(FormatCode code);
// The code's entry, or null.
const FormatInfo* FindFormat(FormatCode code);
// The code's entry; an unknown code ends the program: "Fatal error: Could not find format".
const FormatInfo& RequireFormat(FormatCode code);

uint32_t FormatBitsPerPixel(FormatCode code);
// 4 for the block-compressed codes, else 1.
uint32_t FormatBlockSize(FormatCode code);
// Bytes of one 4x4 block (8 for block compression 1, 16 for 2 and 3); 0 for other codes.
uint32_t FormatBlockBytes(FormatCode code);
bool FormatIsDepth(FormatCode code);
bool FormatHasStencil(FormatCode code);

}  // namespace orvane
