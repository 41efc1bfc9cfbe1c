#include "image/FullScreenPass.h"

#include "render/Adapter.h"
#include "render/ConstantBuffer.h"
#include "render/Diagnostics.h"
#include "render/DrawContext.h"
#include "render/RenderState.h"
#include "render/Screen.h"
#include "render/ShaderPass.h"
#include "resources/ResourceLoader.h"

namespace orvane {
namespace {

constexpr float kMinLod = -1e-37f;
constexpr float kMaxLod = 1e37f;
constexpr uint32_t kMaxAnisotropy = 8;

SamplerDesc LinearSamplerDesc(uint32_t address) {
  SamplerDesc desc;
  desc.mode = SamplerMode(kFilterMinMagLinear, address, address, address);
  desc.minLod = kMinLod;
  desc.maxLod = kMaxLod;
  desc.maxAnisotropy = kMaxAnisotropy;
  return desc;
}

}  // namespace

RegionConstants RegionOf(const TargetRect& viewport, const Screen* screen) {
  RegionConstants region;
  if (screen == nullptr || screen->width <= 0 || screen->height <= 0) return region;
  const auto width = static_cast<float>(screen->width);
  const auto height = static_cast<float>(screen->height);
  region.scale[0] = static_cast<float>(viewport.right - viewport.left) / width;
  region.scale[1] = static_cast<float>(viewport.bottom - viewport.top) / height;
  region.offset[0] = static_cast<float>(viewport.left) / width;
  region.offset[1] = static_cast<float>(viewport.top) / height;
  return region;
}

SamplerDesc StandardSamplerDesc() { return LinearSamplerDesc(kAddressWrap); }

SamplerDesc ClampedSamplerDesc() { return LinearSamplerDesc(kAddressClamp); }

ShaderPass* LoadFullScreenPass(Adapter* adapter, const char* name, const ShaderEntries& entries,
                               const RenderStateDesc* state) {
  DebugPrint("LoadShader %s\n", name);
  ShaderPass* pass = CreateShaderPass(adapter);
  LoadShaderPass(name, entries, pass, false);
  if (state) SetState(pass, GetRenderState(adapter, *state));
  return pass;
}

void WriteConstants(ShaderPass& pass, std::initializer_list<NamedConstant> constants) {
  ConstantBuffer* buffer = pass.constantBuffers[0];
  if (buffer == nullptr) return;
  buffer->BeginUpdate();
  for (const NamedConstant& constant : constants) buffer->SetConstant(constant.name, constant.value);
  buffer->EndUpdate();
}

TargetSet FullScreenTargets(GpuResource* destination, const TargetRect& viewport) {
  TargetSet targets;
  targets.color[0] = destination;
  targets.clearFlags = kClearColor | kClearDepthStencil;
  targets.rect = viewport;
  targets.clearDepth = 1.0f;
  return targets;
}

void DrawFullScreenPass(Adapter& adapter, ShaderPass& pass, GpuResource* destination,
                        const TargetRect& viewport, const char* label, uint32_t vertexCount) {
  if (destination == nullptr || !adapter.drawContext) return;
  if (label) adapter.BeginEvent(label);
  DrawContext& draw = *adapter.drawContext;
  draw.SetTargets(FullScreenTargets(destination, viewport));
  draw.DrawFullScreen(pass, vertexCount);
  draw.UnbindResources(pass);
  draw.UnbindTargets();
  if (label) adapter.EndEvent();
}

}  // namespace orvane
