#include "render/GpuResource.h"

#include <epoxy/gl.h>

#include <algorithm>

#include "render/Adapter.h"
#include "render/Diagnostics.h"
#include "render/LiveObjects.h"
#include "render/DrawContext.h"
#include "render/detail/GlTables.h"

namespace orvane {
namespace {

bool IsTexture(const GpuResource& r) { return r.kind != ResourceKind::kBuffer; }
uint32_t Usage(const ResourceDesc& d) { return d.flags & kResourceUsageMask; }

GLbitfield BufferStorageFlags(uint32_t usage) {
  if (usage == kUsageImmutable) return 0;
  if (usage == kUsageDynamic) return GL_DYNAMIC_STORAGE_BIT | GL_MAP_WRITE_BIT;
  if (usage == kUsageReadback) return GL_DYNAMIC_STORAGE_BIT | GL_MAP_READ_BIT;
  return GL_DYNAMIC_STORAGE_BIT;
}

void CreateBuffer(GpuResource& r, const void* data) {
  const size_t bytes = InitialDataLayout(r.desc).front().size;
  glCreateBuffers(1, &r.object);
  glNamedBufferStorage(r.object, static_cast<GLsizeiptr>(bytes), data,
                       BufferStorageFlags(Usage(r.desc)));
}

void AllocateTexture(const GpuResource& r) {
  const ResourceDesc& d = r.desc;
  const GLenum format = detail::GlFormatOf(d.format).internalFormat;
  const auto mips = static_cast<GLsizei>(d.mipLevels);
  const auto w = static_cast<GLsizei>(d.width), h = static_cast<GLsizei>(d.height);
  const auto slices = static_cast<GLsizei>(d.arraySize), depth = static_cast<GLsizei>(d.depth);
  switch (r.kind) {
    case ResourceKind::kTexture1D: glTextureStorage1D(r.object, mips, format, w); break;
    case ResourceKind::kTexture1DArray:
      glTextureStorage2D(r.object, mips, format, w, slices);
      break;
    case ResourceKind::kTexture2D:
    case ResourceKind::kCubeMap: glTextureStorage2D(r.object, mips, format, w, h); break;
    case ResourceKind::kTexture2DArray:
      glTextureStorage3D(r.object, mips, format, w, h, slices);
      break;
    case ResourceKind::kTexture3D: glTextureStorage3D(r.object, mips, format, w, h, depth); break;
    case ResourceKind::kBuffer: break;
  }
}

// One sub-resource from the caller's data into its mip level and slice.
void UploadLevel(const GpuResource& r, const SubresourceData& s, const uint8_t* data) {
  const ResourceDesc& d = r.desc;
  const detail::GlFormat& f = detail::GlFormatOf(d.format);
  const auto mip = static_cast<GLint>(s.mip);
  const auto slice = static_cast<GLint>(s.slice);
  const auto w = static_cast<GLsizei>(MipExtent(d.width, s.mip));
  const auto h = static_cast<GLsizei>(MipExtent(d.height, s.mip));
  const auto z = static_cast<GLsizei>(MipExtent(d.depth, s.mip));
  const auto size = static_cast<GLsizei>(s.size);
  const uint8_t* p = data + s.offset;
  switch (r.kind) {
    case ResourceKind::kTexture1D:
      glTextureSubImage1D(r.object, mip, 0, w, f.transferFormat, f.transferType, p);
      break;
    case ResourceKind::kTexture1DArray:
      glTextureSubImage2D(r.object, mip, 0, slice, w, 1, f.transferFormat, f.transferType, p);
      break;
    case ResourceKind::kTexture2D:
      if (f.compressed)
        glCompressedTextureSubImage2D(r.object, mip, 0, 0, w, h, f.internalFormat, size, p);
      else
        glTextureSubImage2D(r.object, mip, 0, 0, w, h, f.transferFormat, f.transferType, p);
      break;
    case ResourceKind::kTexture2DArray:
    case ResourceKind::kCubeMap:
      if (f.compressed)
        glCompressedTextureSubImage3D(r.object, mip, 0, 0, slice, w, h, 1, f.internalFormat, size,
                                      p);
      else
        glTextureSubImage3D(r.object, mip, 0, 0, slice, w, h, 1, f.transferFormat, f.transferType,
                            p);
      break;
    case ResourceKind::kTexture3D:
      if (slice == 0)
        glTextureSubImage3D(r.object, mip, 0, 0, 0, w, h, z, f.transferFormat, f.transferType, p);
      break;
    case ResourceKind::kBuffer: break;
  }
}

void CreateTexture(GpuResource& r, const void* data) {
  glCreateTextures(detail::GlTextureTarget(r.kind), 1, &r.object);
  AllocateTexture(r);
  if (!data) return;
  for (const SubresourceData& s : InitialDataLayout(r.desc))
    UploadLevel(r, s, static_cast<const uint8_t*>(data));
}

void CreateObject(GpuResource& r, const void* data) {
  if (IsTexture(r))
    CreateTexture(r, data);
  else
    CreateBuffer(r, data);
}

void ReleaseObject(GpuResource& r) {
  if (!r.object) return;
  if (IsTexture(r)) {
    r.adapter->drawContext->ForgetTexture(r.object);
    glDeleteTextures(1, &r.object);
  } else {
    r.adapter->drawContext->ForgetBuffer(r.object);
    glDeleteBuffers(1, &r.object);
  }
  r.object = 0;
}

}  // namespace

GpuResource* CreateResource(Adapter* adapter, const ResourceDesc& desc, const void* initialData) {
  auto* r = new GpuResource;
  r->desc = desc;
  const ResourceError error = ResolveResourceDesc(r->desc);
  if (error != ResourceError::kNone) {
    DebugPrint("CreateResource: %s\n", ResourceErrorText(error));
    delete r;
    return nullptr;
  }
  const FormatInfo& format = RequireFormat(r->desc.format);
  r->resourceFormat = format.resourceDxgi;
  r->viewFormat = format.viewDxgi;
  r->targetFormat = format.targetDxgi;
  r->kind = KindOf(r->desc);
  r->adapter = adapter;
  detail::CountResource(1);
  if (r->desc.options & kOptionExternal) return r;
  std::vector<uint8_t> zeros;
  if (Usage(r->desc) == kUsageImmutable && !initialData) {
    DebugPrint("CreateResource: immutable resource without initial data, created zero-filled\n");
    zeros.assign(InitialDataSize(r->desc), 0);
    initialData = zeros.data();
  }
  CreateObject(*r, initialData);
  if (IsTexture(*r) && (r->desc.options & kOptionFollowWindow)) adapter->resizable.push_back(r);
  return r;
}

void DestroyResource(GpuResource* resource) {
  if (!resource) return;
  auto& list = resource->adapter->resizable;
  list.erase(std::remove(list.begin(), list.end(), resource), list.end());
  if (!(resource->desc.options & kOptionExternal)) ReleaseObject(*resource);
  detail::CountResource(-1);
  delete resource;
}

void ResizeResource(GpuResource* resource, uint32_t width, uint32_t height) {
  if (!resource || (resource->desc.options & kOptionExternal)) return;
  ReleaseObject(*resource);
  resource->desc.width = width;
  resource->desc.height = height;
  std::vector<uint8_t> zeros;
  if (Usage(resource->desc) == kUsageImmutable) zeros.assign(InitialDataSize(resource->desc), 0);
  CreateObject(*resource, zeros.empty() ? nullptr : zeros.data());
}

uint32_t GetShaderView(GpuResource* resource) {
  return resource && IsTexture(*resource) ? resource->object : 0;
}

void* MapResource(GpuResource* resource) {
  if (!resource || IsTexture(*resource) || Usage(resource->desc) != kUsageDynamic) return nullptr;
  const size_t bytes = InitialDataLayout(resource->desc).front().size;
  return glMapNamedBufferRange(resource->object, 0, static_cast<GLsizeiptr>(bytes),
                               GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT);
}

void UnmapResource(GpuResource* resource) {
  if (resource && !IsTexture(*resource)) glUnmapNamedBuffer(resource->object);
}

void UpdateResource(GpuResource* resource, size_t offset, const void* data, size_t size) {
  if (!resource || IsTexture(*resource)) return;
  const size_t bytes = InitialDataLayout(resource->desc).front().size;
  if (Usage(resource->desc) == kUsageImmutable || offset > bytes || size > bytes - offset) {
    DebugPrint("UpdateResource: immutable buffer or bytes outside it\n");
    return;
  }
  glNamedBufferSubData(resource->object, static_cast<GLintptr>(offset),
                       static_cast<GLsizeiptr>(size), data);
}

GpuResource* FitDepthMask(Adapter* adapter, GpuResource*& mask, const GpuResource& like, FormatCode format) {
  if (mask && mask->Width() == like.Width() && mask->Height() == like.Height() && mask->desc.format == format)
    return mask;
  if (mask) DestroyResource(mask);
  ResourceDesc desc;
  desc.flags = kResourceTexture | kUsageDefault | kResourceDepthStencil;
  desc.format = format;
  desc.width = like.Width();
  desc.height = like.Height();
  mask = CreateResource(adapter, desc, nullptr);
  return mask;
}

std::vector<uint8_t> ReadTexture(const GpuResource& r, uint32_t mip, uint32_t slice) {
  if (!IsTexture(r) || mip >= r.desc.mipLevels || slice >= r.desc.arraySize) return {};
  const detail::GlFormat& f = detail::GlFormatOf(r.desc.format);
  GLenum format = f.transferFormat, type = f.transferType;
  uint32_t bytesPerPixel = r.desc.bitsPerElement / 8;
  if (f.compressed) {
    format = GL_RGBA;
    type = GL_UNSIGNED_BYTE;
    bytesPerPixel = 4;
  }
  const uint32_t w = MipExtent(r.desc.width, mip);
  const uint32_t h = r.desc.height ? MipExtent(r.desc.height, mip) : 1;
  const uint32_t z = r.kind == ResourceKind::kTexture3D ? MipExtent(r.desc.depth, mip) : 1;
  std::vector<uint8_t> pixels(size_t{w} * h * z * bytesPerPixel);
  const bool layered = r.kind == ResourceKind::kTexture2DArray || r.kind == ResourceKind::kCubeMap;
  const auto yOffset = static_cast<GLint>(r.kind == ResourceKind::kTexture1DArray ? slice : 0);
  const auto zOffset = static_cast<GLint>(layered ? slice : 0);
  glGetTextureSubImage(r.object, static_cast<GLint>(mip), 0, yOffset, zOffset,
                       static_cast<GLsizei>(w), static_cast<GLsizei>(h), static_cast<GLsizei>(z),
                       format, type, static_cast<GLsizei>(pixels.size()), pixels.data());
  return pixels;
}

}  // namespace orvane
