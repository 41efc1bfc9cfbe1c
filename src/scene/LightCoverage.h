#pragma once
// The pixels a light pass can light: where its scene drew. Before the lights, a mark goes into
// the depth of a mask the size of the lit target (0 on drawn pixels, 1 elsewhere); the lights'
// state tests "greater or equal" against it, so that no light is shaded on an empty pixel, and
// a light volume covering the whole screen costs only the pixels the scene covers.

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
  // Marks the bound targets' depth (the mask) from the G-buffer's albedo target.
  void Mark(DrawContext& draw, GpuResource* albedo);

private:
  ShaderPass* pass_ = nullptr;
  GpuResource* mask_ = nullptr;
  bool tried_ = false;
};

}  // namespace orvane
