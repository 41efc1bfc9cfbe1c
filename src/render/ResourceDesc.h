#pragma once
// The record a GpuResource is created from, its defaults, and the layout of the initial data a
// caller hands over: all mips of array slice 0, then all mips of slice 1, and so on.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/FormatCode.h"

namespace orvane {

enum : uint32_t {
  kResourceShaderView = 1u << 0,
  kResourceIndexBuffer = 1u << 1,
  kResourceVertexBuffer = 1u << 2,
  kResourceRenderTarget = 1u << 3,
  kResourceDepthStencil = 1u << 4,
  kResourceConstantBuffer = 1u << 5,
  kResourceUsageMask = 0xF00u,
  kUsageImmutable = 0x100u,  // initial data required, never written again
  kUsageDefault = 0x200u,
  kUsageDynamic = 0x300u,   // written by the CPU (MapResource)
  kUsageReadback = 0x400u,  // read by the CPU
  kResourceTexture = 1u << 16,
  kResourceCubeMap = 1u << 17,
};

enum : uint32_t {
  kOptionExternal = 1u << 1,      // nothing is created; the owner supplies the object
  kOptionFollowWindow = 1u << 2,  // recreated at the window's size on every resize
};

struct ResourceDesc {
  uint32_t flags = 0;
  FormatCode format = kFormatNone;  // 0 for plain buffers
  uint32_t options = 0;
  uint32_t bitsPerElement = 0;  // 0: the format's bits
  uint32_t width = 0;           // elements for buffers
  uint32_t height = 0;
  uint32_t depth = 0;       // 0 for 1D and 2D
  uint32_t arraySize = 0;   // 0 means 1; cube maps always 6
  uint32_t mipLevels = 0;   // 0 means 1
};

// Stable codes of what ResolveResourceDesc refuses.
enum class ResourceError {
  kNone,
  kConflictingBits,      // bitsPerElement differs from the format's bits
  kNoElementSize,        // neither bitsPerElement nor a format gives the element size
  kNoWidth,
  kTextureWithoutFormat,
  kTooManyMips,          // more mip levels than the largest dimension allows
};

const char* ResourceErrorText(ResourceError error);

// Settles the defaults in place: cube maps get 6 slices, 0 mips and slices become 1, 0 bits
// become the format's. An unknown format code is fatal.
ResourceError ResolveResourceDesc(ResourceDesc& desc);

// Kind of object a resolved record makes.
enum class ResourceKind {
  kBuffer,
  kTexture1D,
  kTexture1DArray,
  kTexture2D,
  kTexture2DArray,
  kCubeMap,
  kTexture3D
};
ResourceKind KindOf(const ResourceDesc& resolved);

// Width, height and depth of a mip level: halved per level, never below 1 (0 stays 0).
uint32_t MipExtent(uint32_t extent, uint32_t mip);

// Where one sub-resource's data sits in the caller's initial data.
struct SubresourceData {
  uint32_t slice = 0;
  uint32_t mip = 0;
  size_t offset = 0;
  uint32_t rowPitch = 0;  // bytes of one row (of 4x4 blocks for block-compressed formats)
  size_t size = 0;
};

// Sub-resources in data order, for a resolved record. Buffers have one entry of their size.
std::vector<SubresourceData> InitialDataLayout(const ResourceDesc& resolved);
// Total bytes of the initial data (the sum of InitialDataLayout's sizes).
size_t InitialDataSize(const ResourceDesc& resolved);

}  // namespace orvane
