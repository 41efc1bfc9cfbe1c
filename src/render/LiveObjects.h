#pragma once
// How many GPU objects of each kind the render layer holds right now: what a long run or a
// stress test watches for growth.

#include <cstdint>

namespace orvane {

class Adapter;

struct LiveGpuObjects {
  int64_t resources = 0;     // buffers, textures and targets (GpuResource)
  int64_t shaderPasses = 0;  // program pipelines with their programs
  int64_t framebuffers = 0;  // framebuffer objects of the adapter's draw context (0 without one)
  bool operator==(const LiveGpuObjects&) const = default;
};

LiveGpuObjects CountLiveGpuObjects(const Adapter* adapter);

namespace detail {
// Kept by the creating and destroying functions.
void CountResource(int delta);
void CountShaderPass(int delta);
}  // namespace detail

}  // namespace orvane
