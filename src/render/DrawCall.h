#pragma once
// One draw of a geometry with a shader pass.

#include <cstdint>

namespace orvane {

class ShaderPass;
struct Geometry;

// Elements first ... end-1 of the geometry (indices when indexed, else vertices).
struct DrawRange {
  uint32_t first = 0;
  uint32_t end = 0;
};

struct DrawCall {
  uint32_t instanceCount = 0;
  uint8_t instanced = 0;  // bit 0
  ShaderPass* pass = nullptr;
  Geometry* geometry = nullptr;
  const DrawRange* range = nullptr;
};

}  // namespace orvane
