#include "image/FullScreenPass.h"

#include "render/Adapter.h"
#include "render/ConstantBuffer.h"
#include "render/Diagnostics.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"
#include "render/RenderState.h"
#include "render/Screen.h"
#include "render/ShaderPass.h"
#include "resources/ResourceLoader.h"

namespace orvane {

SamplerDesc StandardSamplerDesc() { return MakeSamplerDesc(kFilterMinMagLinear, kAddressWrap); }

SamplerDesc ClampedSamplerDesc() { return MakeSamplerDesc(kFilterMinMagLinear, kAddressClamp); }

SamplerDesc PointSamplerDesc() { return MakeSamplerDesc(kFilterPoint, kAddressWrap); }

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

void DrawIntoImage(Adapter& adapter, ShaderPass& pass, GpuResource* image) {
  if (image == nullptr) return;
  DrawIntoImage(adapter, pass, image,
                {0, 0, static_cast<int32_t>(image->Width()), static_cast<int32_t>(image->Height())});
}

void DrawIntoImage(Adapter& adapter, ShaderPass& pass, GpuResource* image, const TargetRect& rect) {
  if (image == nullptr || !adapter.drawContext) return;
  TargetSet targets;
  targets.color[0] = image;
  targets.rect = rect;
  DrawContext& draw = *adapter.drawContext;
  draw.SetTargets(targets);
  draw.DrawFullScreen(pass, 3);
  draw.UnbindResources(pass);
  draw.UnbindTargets();
}

}  // namespace orvane
