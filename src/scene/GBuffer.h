#pragma once
// The deferred-shading G-buffer: four floating-point targets of the window's size, drawn by every
// mesh and read by the light, ambient-occlusion and split passes (what each channel holds is
// written in shaders/gbuffer.glsl).

#include <array>
#include <cstdint>
#include <string_view>

namespace orvane {

class Adapter;
struct GpuResource;

class GBuffer {
public:
  static constexpr std::array<std::string_view, 4> kTargetNames{"Albedo", "Normal", "Material", "Emissive"};

  GBuffer(Adapter* adapter, uint32_t width, uint32_t height);
  ~GBuffer();
  GBuffer(const GBuffer&) = delete;
  GBuffer& operator=(const GBuffer&) = delete;

  std::array<GpuResource*, 4> targets{};  // follow the window size
};

}  // namespace orvane
