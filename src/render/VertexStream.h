#pragma once
// A vertex buffer that the CPU rewrites every frame without waiting for the GPU. One buffer
// holds `segments` copies of `capacity` vertices and stays mapped for its whole life; each write
// takes the next copy while the GPU may still be reading the ones before, and a fence per copy
// makes the CPU wait only when it has run a whole ring of frames ahead.

#include <cstdint>
#include <vector>

namespace orvane {

class Adapter;
struct GpuResource;

class VertexStream {
public:
  VertexStream(Adapter* adapter, uint32_t vertexBytes, uint32_t capacity, uint32_t segments = 3);
  ~VertexStream();
  VertexStream(const VertexStream&) = delete;
  VertexStream& operator=(const VertexStream&) = delete;

  // The whole ring as one dynamic vertex buffer of segments * capacity vertices, for a
  // geometry's slot; it belongs to the stream. Null when the buffer could not be made.
  GpuResource* resource() const { return resource_; }
  // Opens the next copy for writing `capacity` vertices; null when there is no buffer.
  void* BeginWrite();
  // The first vertex of the copy opened last: the draw that reads it starts there.
  uint32_t firstVertex() const { return current_ * capacity_; }
  // Marks the copy opened last as in use by the draws issued so far.
  void EndDraw();

private:
  Adapter* adapter_ = nullptr;
  GpuResource* resource_ = nullptr;
  uint8_t* mapped_ = nullptr;
  uint32_t vertexBytes_ = 0;
  uint32_t capacity_ = 0;
  uint32_t current_ = 0;
  std::vector<void*> fences_;  // GL sync objects, one per copy; null when free
};

}  // namespace orvane
