#include "render/FormatCode.h"

#include <array>

#include "render/Diagnostics.h"

namespace orvane {
namespace {

constexpr std::array<FormatInfo, kFormatCount> kFormats = {{
    {kFormatNone, 0, 0, 0},
    {kFormatR8, 61, 61, 61},
    {kFormatRGBA8, 28, 28, 28},
    {kFormatBGRA8, 87, 87, 87},
    {kFormatR16, 56, 56, 56},
    {kFormatDepth24Stencil8, 44, 46, 45},
    {kFormatBC1, 71, 71, 71},
    {kFormatBC2, 74, 74, 74},
    {kFormatBC3, 77, 77, 77},
    {kFormatRG16F, 34, 34, 34},
    {kFormatRGBA16F, 10, 10, 10},
    {kFormatRGBA32F, 2, 2, 2},
    {kFormatDepth32F, 39, 41, 40},
    {kFormatBC1Srgb, 72, 72, 72},
    {kFormatBC2Srgb, 75, 75, 75},
    {kFormatBC3Srgb, 78, 78, 78},
    {kFormatRGBA8Srgb, 29, 29, 29},
    {kFormatBGRA8Srgb, 91, 91, 91},
}};

// Channels by layout code 0-7.
constexpr std::array<uint32_t, 8> kChannelsByLayout = {0, 1, 2, 3, 4, 1, 2, 4};

uint32_t SizeClass(FormatCode code) { return (code >> 8) & 0xFFu; }

bool IsBlockCompressed(FormatCode code) {
  const uint32_t sizeClass = SizeClass(code);
  return sizeClass >= 0x11 && sizeClass <= 0x13;
}

}  // namespace

std::span<const FormatInfo> FormatTable() { return kFormats; }

int FormatIndex(FormatCode code) {
  for (size_t i = 0; i < kFormats.size(); ++i)
    if (kFormats[i].code == code) return static_cast<int>(i);
  return -1;
}

const FormatInfo* FindFormat(FormatCode code) {
  const int index = FormatIndex(code);
  return index < 0 ? nullptr : &kFormats[static_cast<size_t>(index)];
}

const FormatInfo& RequireFormat(FormatCode code) {
  const FormatInfo* info = FindFormat(code);
  if (!info) FatalError("Fatal error: %s\n", "Could not find format");
  return *info;
}

uint32_t FormatBitsPerPixel(FormatCode code) {
  const uint32_t layout = code & 0xFFu;
  const uint32_t channels = layout < kChannelsByLayout.size() ? kChannelsByLayout[layout] : 0;
  switch (SizeClass(code)) {
    case 1: return 4 * channels;
    case 2: return 8 * channels;
    case 3: return 16 * channels;
    case 4: return 32 * channels;
    case 5: return 32;
    case 0x11: return 4;
    case 0x12:
    case 0x13: return 8;
    default: return 0;
  }
}

uint32_t FormatBlockSize(FormatCode code) { return IsBlockCompressed(code) ? 4 : 1; }

uint32_t FormatBlockBytes(FormatCode code) {
  if (!IsBlockCompressed(code)) return 0;
  return SizeClass(code) == 0x11 ? 8 : 16;
}

bool FormatIsDepth(FormatCode code) {
  const uint32_t layout = code & 0xFFu;
  return layout == 5 || layout == 6;
}

bool FormatHasStencil(FormatCode code) { return (code & 0xFFu) == 6; }

}  // namespace orvane
