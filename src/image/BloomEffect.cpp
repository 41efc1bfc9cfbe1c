#include "image/BloomEffect.h"

#include <algorithm>

#include "image/FullScreenPass.h"
#include "render/Adapter.h"
#include "render/GpuResource.h"
#include "render/Sampler.h"
#include "render/Screen.h"
#include "render/ShaderPass.h"

namespace orvane {
namespace {

GpuResource* MakeHalfTarget(Adapter* adapter, const BloomTargetSize& size) {
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceRenderTarget | kResourceShaderView;
  desc.format = kFormatRGBA8;
  desc.width = size.width;
  desc.height = size.height;
  return CreateResource(adapter, desc, nullptr);
}

TargetRect FullRect(const GpuResource* target) {
  if (target == nullptr) return {};
  return {0, 0, static_cast<int32_t>(target->Width()), static_cast<int32_t>(target->Height())};
}

void DestroyPass(ShaderPass*& pass) {
  if (pass) DestroyShaderPass(pass);
  pass = nullptr;
}

void DestroyTarget(GpuResource*& resource) {
  if (resource) DestroyResource(resource);
  resource = nullptr;
}

void Blur(Adapter& adapter, ShaderPass* pass, float radius, GpuResource* from, GpuResource* to, Sampler* sampler) {
  if (pass == nullptr) return;
  WriteConstants(*pass, {{"gBloomRadius", &radius}});
  SetTexture(pass, 0, from, sampler);
  DrawFullScreenPass(adapter, *pass, to, FullRect(to), nullptr);
}

}  // namespace

BloomTargetSize BloomTargetSizeFor(int32_t screenWidth, int32_t screenHeight) {
  return {static_cast<uint32_t>(std::max(screenWidth / 2, 1)), static_cast<uint32_t>(std::max(screenHeight / 2, 1))};
}

void InitBloom(BloomEffect& bloom, Adapter* adapter, const Screen* screen) {
  if (adapter == nullptr) return;
  bloom.extractPass = LoadFullScreenPass(adapter, "bloom", {.vertex = "VS", .pixel = "PSExtract"}, nullptr);
  bloom.blurVerticalPass = LoadFullScreenPass(adapter, "bloomBlur", {.vertex = "VS", .pixel = "PSVertical"}, nullptr);
  bloom.blurHorizontalPass =
      LoadFullScreenPass(adapter, "bloomBlur", {.vertex = "VS", .pixel = "PSHorizontal"}, nullptr);
  bloom.combinePass = LoadFullScreenPass(adapter, "bloom", {.vertex = "VS", .pixel = "PSBloom"}, nullptr);
  const BloomTargetSize size = screen ? BloomTargetSizeFor(screen->width, screen->height) : BloomTargetSize{1, 1};
  bloom.glowTarget = MakeHalfTarget(adapter, size);
  bloom.blurTarget = MakeHalfTarget(adapter, size);
}

void DestroyBloom(BloomEffect& bloom) {
  DestroyTarget(bloom.blurTarget);
  DestroyTarget(bloom.glowTarget);
  DestroyPass(bloom.combinePass);
  DestroyPass(bloom.blurHorizontalPass);
  DestroyPass(bloom.blurVerticalPass);
  DestroyPass(bloom.extractPass);
}

void DrawBloom(BloomEffect& bloom, Adapter& adapter, const Screen* screen, GpuResource* source,
               GpuResource* destination, const TargetRect& viewport) {
  adapter.BeginEvent("BLOOM");
  const RegionConstants region = RegionOf(viewport, screen);
  Sampler* standard = GetSampler(&adapter, StandardSamplerDesc());
  Sampler* clamped = GetSampler(&adapter, ClampedSamplerDesc());
  if (bloom.extractPass) {
    WriteConstants(*bloom.extractPass, {{"gExtractThreshold", &bloom.extractThreshold},
                                        {"gExtractRegionScale", region.scale},
                                        {"gExtractRegionOffset", region.offset}});
  }
  if (bloom.combinePass) {
    WriteConstants(*bloom.combinePass, {{"gBloomIntensity", &bloom.bloomIntensity},
                                        {"gBloomSaturation", &bloom.bloomSaturation},
                                        {"gBaseIntensity", &bloom.baseIntensity},
                                        {"gBaseSaturation", &bloom.baseSaturation},
                                        {"gBloomRegionScale", region.scale},
                                        {"gBloomRegionOffset", region.offset}});
  }
  if (bloom.extractPass) {
    SetTexture(bloom.extractPass, 0, source, standard);
    DrawFullScreenPass(adapter, *bloom.extractPass, bloom.glowTarget, FullRect(bloom.glowTarget), nullptr);
  }
  const float radius = bloom.radius * bloom.pixelScale;
  Blur(adapter, bloom.blurVerticalPass, radius, bloom.glowTarget, bloom.blurTarget, clamped);
  Blur(adapter, bloom.blurHorizontalPass, radius, bloom.blurTarget, bloom.glowTarget, clamped);
  if (bloom.combinePass) {
    SetTexture(bloom.combinePass, 0, source, GetSampler(&adapter, PointSamplerDesc()));
    SetTexture(bloom.combinePass, 1, bloom.glowTarget, standard);
    DrawFullScreenPass(adapter, *bloom.combinePass, destination, viewport, nullptr);
  }
  adapter.EndEvent();
}

}  // namespace orvane
