#pragma once
// The pixels a light pass can light: where its scene drew, within a light's reach. Before the
// lights, a mark goes into a depth-stencil mask the size of the lit target: stencil 1 on drawn
// pixels, with the scene's depth. The lights pass only on stencil 1, so that no light is shaded
// on an empty pixel and a light covering the whole screen costs only the pixels the scene
// covers; a point light's volume, drawn by its far side, passes only where that side is not in
// front of the scene, so that surfaces beyond the volume are not shaded either.

namespace orvane {

class Adapter;
class DrawContext;
class ShaderPass;
struct GpuResource;

class LightCoverage {
public:
  LightCoverage() = default;
  ~LightCoverage();
  LightCoverage(const LightCoverage&) = delete;
  LightCoverage& operator=(const LightCoverage&) = delete;

  // The mask for a lit target of that size, made (again) when the size changes; null when the
  // mask or its shader cannot be made: the lights then run on every pixel as before.
  GpuResource* Fit(Adapter* adapter, const GpuResource& lit);
  // Marks the bound targets' depth and stencil (the mask) from the G-buffer's albedo target and
  // the scene's depth.
  void Mark(DrawContext& draw, GpuResource* albedo, GpuResource* depth);

private:
  ShaderPass* pass_ = nullptr;
  GpuResource* mask_ = nullptr;
  bool tried_ = false;
};

}  // namespace orvane
