#include "image/PostEffects.h"

#include <cmath>

#include "image/FullScreenPass.h"
#include "render/Adapter.h"
#include "render/DrawContext.h"
#include "render/FormatCode.h"
#include "render/GpuResource.h"
#include "render/RenderState.h"
#include "render/ResourceDesc.h"
#include "resources/ResourceLoader.h"
#include "render/RenderStateDesc.h"
#include "render/Sampler.h"
#include "render/ShaderPass.h"

namespace orvane {

PostEffects* postEffects = nullptr;

namespace {

// Border on U and V, so that displaced lines show black beyond the image; wrap on W.
SamplerDesc GrainSamplerDesc() {
  SamplerDesc desc = StandardSamplerDesc();
  desc.mode = SamplerMode(kFilterMinMagLinear, kAddressBorder, kAddressBorder, kAddressWrap);
  return desc;
}

void DestroyPass(ShaderPass*& pass) {
  if (pass) DestroyShaderPass(pass);
  pass = nullptr;
}

// The edge pass writes every pixel of the viewport as it is, and its depth: 0 on an edge, 1
// elsewhere.
RenderStateDesc FxaaEdgeStateDesc() {
  RenderStateDesc desc = DefaultRenderStateDesc();
  desc.depthComparison = kCompareAlways;
  return desc;
}

// The full search draws at depth 0 and passes only where the edge pass left 0; the mask is kept.
RenderStateDesc FxaaSearchStateDesc() {
  RenderStateDesc desc = DefaultRenderStateDesc();
  desc.flags &= ~kStateDepthWrite;
  desc.depthComparison = kCompareGreaterEqual;
  return desc;
}

// Whether the viewport's pixels fall on the source region's texels one for one, at whole texels.
bool CoversTexelForTexel(const GpuResource& source, const RegionConstants& region, const TargetRect& viewport) {
  const auto whole = [](float x) { return std::abs(x - std::round(x)) < 1e-3f; };
  const float width = static_cast<float>(source.Width()), height = static_cast<float>(source.Height());
  const float regionWidth = region.scale[0] * width, regionHeight = region.scale[1] * height;
  return std::abs(regionWidth - static_cast<float>(viewport.right - viewport.left)) < 1e-3f &&
         std::abs(regionHeight - static_cast<float>(viewport.bottom - viewport.top)) < 1e-3f &&
         whole(region.offset[0] * width) && whole(region.offset[1] * height);
}

ShaderPass* LoadFxaaEdgePass(Adapter* adapter, const char* entry) {
  ShaderPass* pass = CreateShaderPass(adapter);
  LoadShaderPass("fxaa", {.vertex = "mainVS", .pixel = entry}, pass, false);
  SetState(pass, GetRenderState(adapter, FxaaEdgeStateDesc()));
  return pass;
}

}  // namespace

PostEffects::PostEffects(Adapter* adapter_, Screen* screen_, const Camera* camera_)
    : adapter(adapter_), screen(screen_), camera(camera_) {
  if (adapter == nullptr) {
    InitSsao(ssao, nullptr, screen, camera);  // the samples and camera values alone
    return;
  }
  const RenderStateDesc defaultState = DefaultRenderStateDesc();
  const RenderStateDesc fxaaSearchState = FxaaSearchStateDesc();
  fxaa.pass = LoadFullScreenPass(adapter, "fxaa", {.vertex = "mainVS", .pixel = "mainPS"}, &fxaaSearchState);
  fxaa.edgePass = LoadFxaaEdgePass(adapter, "edgePS");
  fxaa.edgeExactPass = LoadFxaaEdgePass(adapter, "edgeExactPS");
  toneMapping.pass =
      LoadFullScreenPass(adapter, "toneMapping", {.vertex = "mainVS", .pixel = "mainPS"}, &defaultState);
  InitSsao(ssao, adapter, screen, camera);
  InitBloom(bloom, adapter, screen);
  grain.pass = LoadFullScreenPass(adapter, "grain", {.vertex = "VS", .pixel = "PS"}, nullptr);
}

PostEffects::~PostEffects() {
  DestroyPass(grain.pass);
  DestroyBloom(bloom);
  DestroySsao(ssao);
  DestroyPass(toneMapping.pass);
  DestroyPass(fxaa.edgePass);
  DestroyPass(fxaa.edgeExactPass);
  DestroyPass(fxaa.pass);
  if (fxaa.edgeMask) DestroyResource(fxaa.edgeMask);
  fxaa.edgeMask = nullptr;
}

void PostEffects::ToneMap(GpuResource* source, GpuResource* destination, const TargetRect& viewport) {
  if (toneMapping.pass == nullptr) return;
  ShaderPass& pass = *toneMapping.pass;
  SetTexture(&pass, 0, source, GetSampler(adapter, StandardSamplerDesc()));
  const RegionConstants region = RegionOf(viewport, screen);
  WriteConstants(pass, {{"gExposure", &toneMapping.exposure},
                        {"gRegionScale", region.scale},
                        {"gRegionOffset", region.offset}});
  DrawFullScreenPass(*adapter, pass, destination, viewport, "TONE MAPPING");
}

void PostEffects::Fxaa(GpuResource* source, GpuResource* destination, const TargetRect& viewport) {
  if (fxaa.pass == nullptr) return;
  ShaderPass& pass = *fxaa.pass;
  SetTexture(&pass, 0, source, GetSampler(adapter, StandardSamplerDesc()));
  const RegionConstants region = RegionOf(viewport, screen);
  WriteConstants(pass, {{"gRegionScale", region.scale}, {"gRegionOffset", region.offset}});
  ShaderPass* edgePass = source && CoversTexelForTexel(*source, region, viewport) ? fxaa.edgeExactPass : fxaa.edgePass;
  GpuResource* mask = nullptr;
  if (destination && edgePass && edgePass->HasStage(kStagePixel))
    mask = FitDepthMask(adapter, fxaa.edgeMask, *destination);
  if (mask == nullptr || !adapter->drawContext) {
    DrawFullScreenPass(*adapter, pass, destination, viewport, "FXAA");  // the search everywhere
    return;
  }
  SetTexture(edgePass, 0, source, GetSampler(adapter, StandardSamplerDesc()));
  WriteConstants(*edgePass, {{"gRegionScale", region.scale}, {"gRegionOffset", region.offset}});
  adapter->BeginEvent("FXAA");
  DrawContext& draw = *adapter->drawContext;
  TargetSet targets = FullScreenTargets(destination, viewport);
  targets.depth = mask;
  // The edge pass writes every colour and depth value of the viewport: only a viewport smaller
  // than the destination leaves pixels to clear.
  const bool wholeDestination = viewport.left <= 0 && viewport.top <= 0 &&
                                viewport.right >= static_cast<int32_t>(destination->Width()) &&
                                viewport.bottom >= static_cast<int32_t>(destination->Height());
  targets.clearFlags = wholeDestination ? 0u : kClearColor;
  draw.SetTargets(targets);
  adapter->BeginEvent("FXAA EDGES");
  draw.DrawFullScreen(*edgePass, 3);
  adapter->EndEvent();
  draw.DrawFullScreen(pass, 3);
  draw.UnbindResources(pass);
  draw.UnbindTargets();
  adapter->EndEvent();
}

void PostEffects::SetPixelScale(float scale) {
  bloom.pixelScale = scale;
  grain.pixelScale = scale;
}

void PostEffects::Grain(GpuResource* source, GpuResource* destination, const TargetRect& viewport,
                        float time, float glitch) {
  if (grain.pass == nullptr) return;
  ShaderPass& pass = *grain.pass;
  const RegionConstants region = RegionOf(viewport, screen);
  const float screenSize[2] = {static_cast<float>(viewport.right - viewport.left),
                               static_cast<float>(viewport.bottom - viewport.top)};
  WriteConstants(pass, {{"gStrength", &grain.strength},
                        {"gFadeIn", &grain.fadeIn},
                        {"gTime", &time},
                        {"gRegionScale", region.scale},
                        {"gRegionOffset", region.offset},
                        {"gScreenSize", screenSize},
                        {"gGlitch", &glitch},
                        {"gPixelScale", &grain.pixelScale}});
  SetTexture(&pass, 0, source, GetSampler(adapter, GrainSamplerDesc()));
  DrawFullScreenPass(*adapter, pass, destination, viewport, nullptr);
}

void PostEffects::Ssao(GpuResource* source, GpuResource* normals, GpuResource* destination,
                       const Matrix& projection, const TargetRect& viewport) {
  if (adapter == nullptr) return;
  DrawSsao(ssao, *adapter, screen, {source, normals, destination, projection, viewport});
}

void PostEffects::Bloom(GpuResource* source, GpuResource* destination, const TargetRect& viewport) {
  if (adapter == nullptr) return;
  DrawBloom(bloom, *adapter, screen, source, destination, viewport);
}

PostEffects* CreatePostEffects(Adapter* adapter, Screen* screen, const Camera* camera) {
  DestroyPostEffects();
  postEffects = new PostEffects(adapter, screen, camera);
  return postEffects;
}

void DestroyPostEffects() {
  delete postEffects;
  postEffects = nullptr;
}

}  // namespace orvane
