#pragma once
// All GPU memory: vertex, index and constant buffers, textures, render targets, depth buffers
// and the screen's back buffer. Textures are stored top row first: texture coordinate (0, 0)
// is the top-left texel.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/ResourceDesc.h"

namespace orvane {

class Adapter;

struct GpuResource {
  ResourceDesc desc;  // after defaulting
  uint32_t object = 0;  // the GL texture or buffer
  uint32_t resourceFormat = 0;  // DXGI numbers from the format table
  uint32_t viewFormat = 0;
  uint32_t targetFormat = 0;
  ResourceKind kind = ResourceKind::kBuffer;
  Adapter* adapter = nullptr;

  uint32_t Width() const { return desc.width; }
  uint32_t Height() const { return desc.height; }
  // Elements of a buffer (vertices, indices), texels of a row of a texture.
  uint32_t ElementCount() const { return desc.width; }
};

// Creates the resource with the initial data laid out as InitialDataLayout says (none: left
// undefined). An unknown format is fatal; a record that cannot be made is reported and gives
// null. Immutable resources without initial data are reported and created zero-filled.
GpuResource* CreateResource(Adapter* adapter, const ResourceDesc& desc, const void* initialData);
void DestroyResource(GpuResource* resource);
// Releases the object and creates it again at the new size, without initial data.
void ResizeResource(GpuResource* resource, uint32_t width, uint32_t height);

// The texture sampled by shaders (0 for buffers). A resource that follows the window is
// recreated on resize, so ask each time rather than keep the value.
uint32_t GetShaderView(GpuResource* resource);

// Dynamic buffers: the old contents are discarded and the whole buffer is open for writing
// until UnmapResource. Other resources give null.
void* MapResource(GpuResource* resource);
void UnmapResource(GpuResource* resource);
// Writes bytes into a buffer that is not immutable.
void UpdateResource(GpuResource* resource, size_t offset, const void* data, size_t size);

// One mip level of one array slice (cube face), top row first, in the pixel layout of the
// format's upload (BGRA stays BGRA; depth-stencil reads as packed 24-bit depth over 8-bit
// stencil; 32-bit float depth as floats). Block-compressed textures read as RGBA8.
// A depth (or depth-stencil) mask the size of `like` in `mask`, made again when the size or the
// format differs (the old one destroyed); null when it cannot be made. For passes that reject
// pixels by a depth or stencil test.
GpuResource* FitDepthMask(Adapter* adapter, GpuResource*& mask, const GpuResource& like,
                          FormatCode format = kFormatDepth32F);

std::vector<uint8_t> ReadTexture(const GpuResource& resource, uint32_t mip = 0, uint32_t slice = 0);

}  // namespace orvane
