#include "render/ResourceDesc.h"

#include <algorithm>
#include <array>
#include <bit>

namespace orvane {
namespace {

constexpr std::array<const char*, 6> kResourceErrorTexts = {
    "no error",
    "bitsPerElement conflicts with the format",
    "no element size (neither bitsPerElement nor a format)",
    "width is 0",
    "texture without a format",
    "more mip levels than the size allows",
};
static_assert(kResourceErrorTexts.size() == static_cast<size_t>(ResourceError::kTooManyMips) + 1);

uint32_t MaxMipLevels(const ResourceDesc& d) {
  const uint32_t largest = std::max({d.width, d.height, d.depth, 1u});
  return static_cast<uint32_t>(std::bit_width(largest));
}

uint32_t CeilDiv(uint32_t a, uint32_t b) { return (a + b - 1) / b; }

SubresourceData UncompressedLevel(const ResourceDesc& d, uint32_t mip) {
  const uint64_t w = MipExtent(d.width, mip);
  const uint64_t h = d.height ? MipExtent(d.height, mip) : 1;
  const uint64_t z = d.depth ? MipExtent(d.depth, mip) : 1;
  SubresourceData level;
  level.mip = mip;
  level.rowPitch = static_cast<uint32_t>(d.bitsPerElement * w / 8);
  level.size = static_cast<size_t>((d.bitsPerElement * w * h * z + 7) / 8);
  return level;
}

SubresourceData CompressedLevel(const ResourceDesc& d, uint32_t mip) {
  const uint32_t blockBytes = FormatBlockBytes(d.format);
  const uint32_t blocksWide = std::max(1u, CeilDiv(MipExtent(d.width, mip), 4));
  const uint32_t blocksHigh = std::max(1u, CeilDiv(d.height ? MipExtent(d.height, mip) : 1, 4));
  SubresourceData level;
  level.mip = mip;
  level.rowPitch = blocksWide * blockBytes;
  level.size = static_cast<size_t>(level.rowPitch) * blocksHigh;
  return level;
}

}  // namespace

const char* ResourceErrorText(ResourceError error) {
  return kResourceErrorTexts[static_cast<size_t>(error)];
}

ResourceError ResolveResourceDesc(ResourceDesc& desc) {
  if (desc.flags & kResourceCubeMap) desc.arraySize = 6;
  if (desc.mipLevels == 0) desc.mipLevels = 1;
  if (desc.arraySize == 0) desc.arraySize = 1;
  RequireFormat(desc.format);
  const uint32_t formatBits = FormatBitsPerPixel(desc.format);
  if (desc.bitsPerElement == 0) desc.bitsPerElement = formatBits;
  if (formatBits != 0 && desc.bitsPerElement != formatBits) return ResourceError::kConflictingBits;
  if (desc.bitsPerElement == 0) return ResourceError::kNoElementSize;
  if (desc.width == 0) return ResourceError::kNoWidth;
  const bool texture = (desc.flags & kResourceTexture) != 0;
  if (texture && desc.format == kFormatNone) return ResourceError::kTextureWithoutFormat;
  if (texture && desc.mipLevels > MaxMipLevels(desc)) return ResourceError::kTooManyMips;
  if (!texture) desc.mipLevels = 1;
  return ResourceError::kNone;
}

ResourceKind KindOf(const ResourceDesc& d) {
  if (!(d.flags & kResourceTexture)) return ResourceKind::kBuffer;
  if (d.depth && d.height) return ResourceKind::kTexture3D;
  if (d.flags & kResourceCubeMap) return ResourceKind::kCubeMap;
  if (d.height) return d.arraySize > 1 ? ResourceKind::kTexture2DArray : ResourceKind::kTexture2D;
  return d.arraySize > 1 ? ResourceKind::kTexture1DArray : ResourceKind::kTexture1D;
}

uint32_t MipExtent(uint32_t extent, uint32_t mip) {
  if (extent == 0) return 0;
  return mip >= 32 ? 1u : std::max(1u, extent >> mip);
}

std::vector<SubresourceData> InitialDataLayout(const ResourceDesc& d) {
  std::vector<SubresourceData> layout;
  if (KindOf(d) == ResourceKind::kBuffer) {
    SubresourceData whole;
    whole.size = static_cast<size_t>((uint64_t{d.width} * d.bitsPerElement + 7) / 8);
    whole.rowPitch = static_cast<uint32_t>(whole.size);
    layout.push_back(whole);
    return layout;
  }
  const bool compressed = FormatBlockBytes(d.format) != 0;
  size_t position = 0;
  for (uint32_t slice = 0; slice < d.arraySize; ++slice) {
    for (uint32_t mip = 0; mip < d.mipLevels; ++mip) {
      SubresourceData level = compressed ? CompressedLevel(d, mip) : UncompressedLevel(d, mip);
      level.slice = slice;
      level.offset = position;
      position += level.size;
      layout.push_back(level);
    }
  }
  return layout;
}

size_t InitialDataSize(const ResourceDesc& d) {
  size_t total = 0;
  for (const SubresourceData& s : InitialDataLayout(d)) total += s.size;
  return total;
}

}  // namespace orvane
