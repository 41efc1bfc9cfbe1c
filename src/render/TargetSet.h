#pragma once
// What DrawContext::SetTargets binds: up to four colour targets and a depth target, the
// rectangle that is both viewport and scissor, and what to clear.

#include <cstdint>

namespace orvane {

struct GpuResource;

enum : uint32_t { kClearColor = 1u << 0, kClearDepthStencil = 1u << 1 };

struct TargetRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct TargetSet {
  GpuResource* depth = nullptr;
  GpuResource* color[4] = {};  // used up to the first null
  uint32_t clearFlags = 0;
  TargetRect rect;
  int32_t face = 0;  // cube face (array slice) rendered into when a colour target is a cube map
  float clearDepth = 1.0f;
  float clearColor[4] = {};
  uint8_t clearStencil = 0;
};

}  // namespace orvane
