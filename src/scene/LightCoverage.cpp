#include "scene/LightCoverage.h"

#include "render/DrawContext.h"
#include "render/FormatCode.h"
#include "render/GpuResource.h"
#include "render/RenderState.h"
#include "render/RenderStateDesc.h"
#include "render/ResourceDesc.h"
#include "render/Sampler.h"
#include "render/SamplerDesc.h"
#include "render/ShaderPass.h"
#include "resources/ResourceLoader.h"

namespace orvane {
namespace {

// Depth and stencil 1 written wherever the shader does not discard, colour never.
RenderStateDesc MarkStateDesc() {
  RenderStateDesc desc = DefaultRenderStateDesc();
  desc.flags = kStateDepthTest | kStateDepthWrite | kStateStencil;
  desc.depthComparison = kCompareAlways;
  desc.writeDisable[0] = 0xF;
  desc.stencilReadMask = 0xFF;
  desc.stencilWriteMask = 0xFF;
  desc.stencilReference = 1;
  desc.front = {kStencilReplace, kStencilReplace, kStencilReplace, kCompareAlways};
  desc.back = desc.front;
  return desc;
}

}  // namespace

LightCoverage::~LightCoverage() {
  if (pass_) DestroyShaderPass(pass_);
  if (mask_) DestroyResource(mask_);
}

GpuResource* LightCoverage::Fit(Adapter* adapter, const GpuResource& lit) {
  if (!tried_) {
    tried_ = true;
    pass_ = CreateShaderPass(adapter);
    if (LoadShaderPass("lightCoverage", {.vertex = "VS", .pixel = "PS"}, pass_, false)) {
      SetState(pass_, GetRenderState(adapter, MarkStateDesc()));
    } else {
      DestroyShaderPass(pass_);
      pass_ = nullptr;
    }
  }
  if (pass_ == nullptr) return nullptr;
  return FitDepthMask(adapter, mask_, lit, kFormatDepth24Stencil8);
}

void LightCoverage::Mark(DrawContext& draw, GpuResource* albedo, GpuResource* depth) {
  if (pass_ == nullptr) return;
  Sampler* point = GetSampler(pass_->adapter, MakeSamplerDesc(kFilterPoint, kAddressWrap));
  SetTexture(pass_, 0, albedo, point);
  SetTexture(pass_, 1, depth, point);
  draw.DrawFullScreen(*pass_, 3);
  draw.UnbindResources(*pass_);
}

}  // namespace orvane
