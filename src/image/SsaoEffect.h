#pragma once
// Screen-space ambient occlusion, the part of the post-effects object that darkens an image where
// the G-buffer's geometry occludes itself: occlusion from the normal target (view-space normal and
// depth) with 14 sample offsets turned by a 4x4 noise texture, a blur that keeps edges, and a
// combine with the image. The noise and the offsets come from the process's rand() generator,
// drawn once at start-up, so every run gets the same ones.

#include <array>
#include <cstdint>

#include "render/Matrix.h"
#include "render/TargetSet.h"

namespace orvane {

class Adapter;
class Screen;
class ShaderPass;
struct Camera;
struct GpuResource;

inline constexpr int kSsaoOffsetCount = 14;
inline constexpr uint32_t kSsaoNoiseSize = 4;

// What start-up draws from the generator, in its order: the noise texels (byte after byte, texel
// after texel), then the length of each offset.
struct SsaoSamples {
  std::array<uint8_t, kSsaoNoiseSize * kSsaoNoiseSize * 4> noise{};
  std::array<Vector4, kSsaoOffsetCount> offsets{};
};

// Draws 64 noise bytes and 14 lengths from the generator as it stands.
SsaoSamples DrawSsaoSamples();

// The far plane's upper-right corner in view space for the viewport's aspect:
// (h * width / height, h, far, 0) with h = tan(fov / 2) * far. An empty viewport counts as square.
Vector4 FrustumCorner(float fovDegrees, float farPlane, const TargetRect& viewport);

struct SsaoEffect {
  float radius = 0.2f;
  float fadeEnd = 8.0f;
  float fadeStart = 0.3f;
  float power = 1.0f;
  float surfaceEpsilon = 0.08f;
  ShaderPass* aoPass = nullptr;
  ShaderPass* blurVerticalPass = nullptr;
  ShaderPass* blurHorizontalPass = nullptr;
  ShaderPass* combinePass = nullptr;
  GpuResource* aoTarget = nullptr;    // screen-sized, follows the window
  GpuResource* noise = nullptr;       // 4 x 4
  GpuResource* blurTarget = nullptr;  // screen-sized, follows the window
  std::array<Vector4, kSsaoOffsetCount> offsets{};
  Vector4 frustumCorner;  // of the latest run
  float farPlane = 0.0f;  // the start-up camera's
  float fov = 0.0f;       // the start-up camera's, vertical, degrees
};

// Loads the passes, makes the targets at the screen's size and the noise texture, and draws the
// samples from the generator (restarted at 1, its state at the start of a run). Without an
// adapter only the samples and the camera values are kept.
void InitSsao(SsaoEffect& ssao, Adapter* adapter, const Screen* screen, const Camera* camera);
void DestroySsao(SsaoEffect& ssao);

// The four passes, from `source` and the G-buffer's `normals` into `destination`.
struct SsaoRun {
  GpuResource* source = nullptr;
  GpuResource* normals = nullptr;
  GpuResource* destination = nullptr;
  Matrix projection;
  TargetRect viewport;
};
void DrawSsao(SsaoEffect& ssao, Adapter& adapter, const Screen* screen, const SsaoRun& run);

}  // namespace orvane
