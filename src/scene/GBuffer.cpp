#include "scene/GBuffer.h"

#include "render/GpuResource.h"

namespace orvane {

GBuffer::GBuffer(Adapter* adapter, uint32_t width, uint32_t height) {
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceRenderTarget | kResourceShaderView;
  desc.format = kFormatRGBA16F;
  desc.options = kOptionFollowWindow;
  desc.width = width;
  desc.height = height;
  for (GpuResource*& target : targets) target = CreateResource(adapter, desc, nullptr);
}

GBuffer::~GBuffer() {
  for (GpuResource* target : targets) {
    if (target) DestroyResource(target);
  }
}

}  // namespace orvane
