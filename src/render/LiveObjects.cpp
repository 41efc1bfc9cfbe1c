#include "render/LiveObjects.h"

#include <atomic>

#include "render/Adapter.h"
#include "render/DrawContext.h"

namespace orvane {
namespace {

std::atomic<int64_t> liveResources{0};
std::atomic<int64_t> liveShaderPasses{0};

}  // namespace

LiveGpuObjects CountLiveGpuObjects(const Adapter* adapter) {
  LiveGpuObjects counts;
  counts.resources = liveResources.load();
  counts.shaderPasses = liveShaderPasses.load();
  if (adapter && adapter->drawContext) counts.framebuffers = static_cast<int64_t>(adapter->drawContext->FramebufferCount());
  return counts;
}

namespace detail {
void CountResource(int delta) { liveResources += delta; }
void CountShaderPass(int delta) { liveShaderPasses += delta; }
}  // namespace detail

}  // namespace orvane
