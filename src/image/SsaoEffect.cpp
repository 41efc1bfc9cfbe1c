#include "image/SsaoEffect.h"

#include <algorithm>
#include <cmath>

#include "image/FullScreenPass.h"
#include "render/Adapter.h"
#include "render/Camera.h"
#include "render/GpuResource.h"
#include "render/Sampler.h"
#include "render/Screen.h"
#include "render/ShaderPass.h"
#include "scene/RuntimeRandom.h"

namespace orvane {
namespace {

constexpr float kDegreesToRadians = 0.017453292f;

// The 8 cube corners, then the 6 axis directions: evenly spread over the sphere, so that any
// half of them (the side a normal faces) still samples every direction of that half.
constexpr float kOffsetDirections[kSsaoOffsetCount][3] = {
    {1, 1, 1},  {-1, -1, -1}, {-1, 1, 1}, {1, -1, -1}, {1, 1, -1}, {-1, -1, 1}, {-1, 1, -1},
    {1, -1, 1}, {-1, 0, 0},   {1, 0, 0},  {0, -1, 0},  {0, 1, 0},  {0, 0, -1},  {0, 0, 1}};

float UnitRand() { return static_cast<float>(RuntimeRand()) / static_cast<float>(kRuntimeRandMax); }

GpuResource* MakeWorkTarget(Adapter* adapter, const Screen* screen) {
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceRenderTarget | kResourceShaderView;
  desc.format = kFormatRGBA8;
  desc.options = kOptionFollowWindow;
  desc.width = screen ? static_cast<uint32_t>(std::max(screen->width, 1)) : 1u;
  desc.height = screen ? static_cast<uint32_t>(std::max(screen->height, 1)) : 1u;
  return CreateResource(adapter, desc, nullptr);
}

GpuResource* MakeNoiseTexture(Adapter* adapter, const SsaoSamples& samples) {
  ResourceDesc desc;
  desc.flags = kResourceTexture | kUsageImmutable | kResourceShaderView;
  desc.format = kFormatRGBA8;
  desc.width = kSsaoNoiseSize;
  desc.height = kSsaoNoiseSize;
  return CreateResource(adapter, desc, samples.noise.data());
}

void DestroyPass(ShaderPass*& pass) {
  if (pass) DestroyShaderPass(pass);
  pass = nullptr;
}

void DestroyTarget(GpuResource*& resource) {
  if (resource) DestroyResource(resource);
  resource = nullptr;
}

// One full-screen pass of the effect: register 0 and 1 with their samplers, the region constants.
void DrawStep(Adapter& adapter, ShaderPass* pass, GpuResource* first, Sampler* firstSampler, GpuResource* second,
              Sampler* secondSampler, const RegionConstants& region, GpuResource* target, const TargetRect& viewport) {
  if (pass == nullptr) return;
  SetTexture(pass, 0, first, firstSampler);
  SetTexture(pass, 1, second, secondSampler);
  WriteConstants(*pass, {{"gRegionScale", region.scale}, {"gRegionOffset", region.offset}});
  DrawFullScreenPass(adapter, *pass, target, viewport, nullptr);
}

}  // namespace

SsaoSamples DrawSsaoSamples() {
  SsaoSamples samples;
  for (uint8_t& byte : samples.noise) byte = static_cast<uint8_t>(UnitRand() * 255.0f);
  for (int i = 0; i < kSsaoOffsetCount; ++i) {
    const float* d = kOffsetDirections[i];
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const float scale = (UnitRand() * 0.76f + 0.24f) / length;
    samples.offsets[static_cast<size_t>(i)] = {d[0] * scale, d[1] * scale, d[2] * scale, 0.0f};
  }
  return samples;
}

Vector4 FrustumCorner(float fovDegrees, float farPlane, const TargetRect& viewport) {
  const float h = std::tan(fovDegrees * kDegreesToRadians * 0.5f) * farPlane;
  const int32_t width = viewport.right - viewport.left;
  const int32_t height = viewport.bottom - viewport.top;
  const float aspect = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
  return {h * aspect, h, farPlane, 0.0f};
}

void InitSsao(SsaoEffect& ssao, Adapter* adapter, const Screen* screen, const Camera* camera) {
  if (camera) {
    ssao.farPlane = camera->farPlane;
    ssao.fov = camera->fieldOfView;
  }
  RuntimeSrand(1);
  const SsaoSamples samples = DrawSsaoSamples();
  ssao.offsets = samples.offsets;
  if (adapter == nullptr) return;
  ssao.aoPass = LoadFullScreenPass(adapter, "ssao", {.vertex = "VS", .pixel = "PS"}, nullptr);
  ssao.blurVerticalPass = LoadFullScreenPass(adapter, "ssaoBlur", {.vertex = "VS", .pixel = "PSVertical"}, nullptr);
  ssao.blurHorizontalPass =
      LoadFullScreenPass(adapter, "ssaoBlur", {.vertex = "VS", .pixel = "PSHorizontal"}, nullptr);
  ssao.combinePass = LoadFullScreenPass(adapter, "ssaoBlur", {.vertex = "VS", .pixel = "PSCombine"}, nullptr);
  ssao.aoTarget = MakeWorkTarget(adapter, screen);
  ssao.noise = MakeNoiseTexture(adapter, samples);
  ssao.blurTarget = MakeWorkTarget(adapter, screen);
}

void DestroySsao(SsaoEffect& ssao) {
  DestroyTarget(ssao.blurTarget);
  DestroyTarget(ssao.noise);
  DestroyTarget(ssao.aoTarget);
  DestroyPass(ssao.combinePass);
  DestroyPass(ssao.blurHorizontalPass);
  DestroyPass(ssao.blurVerticalPass);
  DestroyPass(ssao.aoPass);
}

void DrawSsao(SsaoEffect& ssao, Adapter& adapter, const Screen* screen, const SsaoRun& run) {
  adapter.BeginEvent("SSAO");
  Sampler* standard = GetSampler(&adapter, StandardSamplerDesc());
  Sampler* clamped = GetSampler(&adapter, ClampedSamplerDesc());
  const RegionConstants region = RegionOf(run.viewport, screen);
  const TargetRect& v = run.viewport;
  ssao.frustumCorner = FrustumCorner(ssao.fov, ssao.farPlane, v);

  if (ShaderPass* pass = ssao.aoPass) {
    SetTexture(pass, 0, run.normals, clamped);
    SetTexture(pass, 1, ssao.noise, standard);
    const Matrix projection = Transpose(run.projection);
    const float screenSize[2] = {static_cast<float>(v.right - v.left), static_cast<float>(v.bottom - v.top)};
    WriteConstants(*pass, {{"gFrustumCorner", &ssao.frustumCorner},
                           {"gOffsets", ssao.offsets.data()},
                           {"gProj", &projection},
                           {"gScreenSize", screenSize},
                           {"gOcclusionFadeEnd", &ssao.fadeEnd},
                           {"gOcclusionFadeStart", &ssao.fadeStart},
                           {"gOcclusionRadius", &ssao.radius},
                           {"gSurfaceEpsilon", &ssao.surfaceEpsilon},
                           {"gOcclusionPower", &ssao.power},
                           {"gRegionScale", region.scale},
                           {"gRegionOffset", region.offset}});
    DrawFullScreenPass(adapter, *pass, ssao.aoTarget, v, nullptr, 4);
  }
  DrawStep(adapter, ssao.blurVerticalPass, ssao.aoTarget, standard, run.normals, standard, region, ssao.blurTarget, v);
  DrawStep(adapter, ssao.blurHorizontalPass, ssao.blurTarget, standard, run.normals, standard, region, ssao.aoTarget, v);
  DrawStep(adapter, ssao.combinePass, run.source, standard, ssao.aoTarget, standard, region, run.destination, v);
  adapter.EndEvent();
}

}  // namespace orvane
