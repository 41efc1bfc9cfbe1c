// Time of ambient occlusion and bloom at 1280x720 beside a plain full-screen copy of the same
// size, measured in the same run on the same device: the ratios are the figures to compare. The
// G-buffer's normal target holds a floor seen at a slant, so every pixel does the full work.
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "image/FullScreenPass.h"
#include "image/PostEffects.h"
#include "render/Adapter.h"
#include "render/Camera.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"
#include "render/Sampler.h"
#include "render/Screen.h"
#include "render/ShaderPass.h"
#include "render/Window.h"

namespace orvane {
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kRunsPerRound = 8;
constexpr int kRounds = 3;

// A floor below the eye: normal up (tilted towards the viewer), depth growing towards the top.
const char* const kFloorPS = R"(#version 450 core
layout(location = 0) out vec4 outNormal;
void main() {
  float row = gl_FragCoord.y / 720.0;
  outNormal = vec4(0.0, 0.8, -0.6, 2.0 + 30.0 * (1.0 - row) * (1.0 - row));
}
)";

const char* const kTriangleVS = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
void main() {
  vec2 corner = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  gl_Position = vec4(corner.x * 2.0 - 1.0, 1.0 - corner.y * 2.0, 0.0, 1.0);
}
)";

GpuResource* MakeImage(Adapter& adapter) {
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceRenderTarget | kResourceShaderView;
  desc.format = kFormatRGBA16F;
  desc.width = kWidth;
  desc.height = kHeight;
  return CreateResource(&adapter, desc, nullptr);
}

// Best seconds per run over the rounds.
template <class Work>
double BestSeconds(Adapter& adapter, Work&& work) {
  double best = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    adapter.WaitForGpu();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRunsPerRound; ++i) work();
    adapter.WaitForGpu();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    best = std::min(best, elapsed.count() / kRunsPerRound);
  }
  return best;
}

int Run() {
  UseOffscreenVideoWhenHeadless(false);
  ScreenParams params;
  params.width = kWidth;
  params.height = kHeight;
  SDL_Window* window = OpenWindow(params);
  if (!window) return 1;
  Screen* screen = CreateScreen(window, params);
  Adapter& adapter = *screen->adapter;

  Camera camera;
  camera.nearPlane = 0.125f;
  camera.farPlane = 2048.0f;
  camera.fieldOfView = 45.0f;
  camera.mode = kProjectionPerspective;
  UpdateProjection(camera, kWidth, kHeight);
  PostEffects* effects = CreatePostEffects(&adapter, screen, &camera);

  GpuResource* source = MakeImage(adapter);
  GpuResource* destination = MakeImage(adapter);
  GpuResource* normals = MakeImage(adapter);
  ShaderPass* floor = CreateShaderPass(&adapter);
  AddShader(floor, ShaderBlob::FromText(kTriangleVS, kStageVertex));
  AddShader(floor, ShaderBlob::FromText(kFloorPS, kStagePixel));
  const TargetRect viewport{0, 0, kWidth, kHeight};
  DrawFullScreenPass(adapter, *floor, normals, viewport, nullptr);
  ShaderPass* copy = LoadFullScreenPass(&adapter, "copy", {.vertex = "VS", .pixel = "PS"}, nullptr);

  const auto plain = [&] {
    SetTexture(copy, 0, source, GetSampler(&adapter, StandardSamplerDesc()));
    DrawFullScreenPass(adapter, *copy, destination, viewport, nullptr);
  };
  const auto ssao = [&] { effects->Ssao(source, normals, destination, camera.projection, viewport); };
  const auto bloom = [&] { effects->Bloom(source, destination, viewport); };
  plain();  // warm up: shader variants, framebuffers
  ssao();
  bloom();

  const double plainSeconds = BestSeconds(adapter, plain);
  const double ssaoSeconds = BestSeconds(adapter, ssao);
  const double bloomSeconds = BestSeconds(adapter, bloom);
  std::printf("image effects bench: %dx%d, best of %d rounds of %d runs, %s\n", kWidth, kHeight, kRounds,
              kRunsPerRound, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  std::printf("plain full-screen pass: %8.3f ms\n", plainSeconds * 1e3);
  std::printf("SSAO (4 passes):        %8.3f ms   %6.1f x the plain pass\n", ssaoSeconds * 1e3,
              ssaoSeconds / plainSeconds);
  std::printf("bloom (4 passes):       %8.3f ms   %6.1f x the plain pass\n", bloomSeconds * 1e3,
              bloomSeconds / plainSeconds);

  DestroyShaderPass(copy);
  DestroyShaderPass(floor);
  for (GpuResource* image : {source, destination, normals}) DestroyResource(image);
  DestroyPostEffects();
  delete screen;
  currentScreen = nullptr;
  CloseWindow(window);
  return 0;
}

}  // namespace
}  // namespace orvane

int main() { return orvane::Run(); }
