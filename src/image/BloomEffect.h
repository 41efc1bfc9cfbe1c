#pragma once
// Bloom, the part of the post-effects object that makes bright parts of an image glow: the light
// above a threshold is extracted into a half-size target, blurred vertically and horizontally
// over "gBloomRadius", and added to the image with its own intensity and saturation.

#include <cstdint>

#include "render/TargetSet.h"

namespace orvane {

class Adapter;
class Screen;
class ShaderPass;
struct GpuResource;

struct BloomTargetSize {
  uint32_t width = 0;
  uint32_t height = 0;
};

// Half the screen's size, rounded down, but never below one pixel: a window smaller than 2 x 2
// still gets targets it can draw into.
BloomTargetSize BloomTargetSizeFor(int32_t screenWidth, int32_t screenHeight);

struct BloomEffect {
  float extractThreshold = 0.25f;
  float bloomIntensity = 2.0f;
  float bloomSaturation = 1.5f;
  float baseIntensity = 1.0f;
  float baseSaturation = 1.0f;
  float radius = 50.0f;      // in pixels of an output frame
  float pixelScale = 1.0f;  // drawn pixels per output pixel (supersampled capture): the blur reaches that much further
  ShaderPass* extractPass = nullptr;
  ShaderPass* blurVerticalPass = nullptr;
  ShaderPass* blurHorizontalPass = nullptr;
  ShaderPass* combinePass = nullptr;
  GpuResource* glowTarget = nullptr;  // half the start-up screen; kept after resizes
  GpuResource* blurTarget = nullptr;
};

// Loads the passes and makes the two work targets at half the screen's present size.
void InitBloom(BloomEffect& bloom, Adapter* adapter, const Screen* screen);
void DestroyBloom(BloomEffect& bloom);

// Extract, blur twice and combine, from `source` into `destination` within the viewport.
void DrawBloom(BloomEffect& bloom, Adapter& adapter, const Screen* screen, GpuResource* source,
               GpuResource* destination, const TargetRect& viewport);

}  // namespace orvane
