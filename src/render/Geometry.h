#pragma once
// Vertex and index buffers joined with a vertex layout, a topology and draw counts: what
// DrawContext::Draw draws.

#include <cstdint>

namespace orvane {

class Adapter;
class VertexLayout;
struct GpuResource;

// Geometry flags: bits 8-11 primitive kind, bit 16 16-bit indices, bit 17 32-bit indices,
// bits 0-7 control points of a patch list.
enum : uint32_t {
  kPrimitivePoints = 0x100,
  kPrimitiveLines = 0x200,
  kPrimitiveTriangles = 0x300,
  kPrimitiveLineStrip = 0x400,
  kPrimitiveTriangleStrip = 0x500,
  kPrimitiveLinesAdjacency = 0x600,
  kPrimitiveTrianglesAdjacency = 0x700,
  kPrimitivePatches = 0x800,
  kGeometryIndex16 = 1u << 16,
  kGeometryIndex32 = 1u << 17,
};

struct Geometry {
  uint32_t indexFormat = 0;  // DXGI: 57 16-bit, 42 32-bit
  uint32_t indexBuffer = 0;  // GL buffers, filled by FinishGeometry
  uint32_t vertexBuffers[4] = {};
  uint32_t topology = 0;  // Direct3D numbering: 1 points ... 33-64 patch lists
  Adapter* adapter = nullptr;
  GpuResource* index = nullptr;  // owned; its presence makes draws indexed
  GpuResource* vertices[4] = {};  // owned, slot order
  VertexLayout* layout = nullptr;  // not owned
  uint32_t flags = 0;
  uint32_t indexCount = 0;
  uint32_t firstIndex = 0;
  uint32_t vertexCount = 0;
  uint32_t baseVertex = 0;
};

// Direct3D topology of geometry flags; 0 for an invalid kind or control-point count.
uint32_t TopologyOfFlags(uint32_t flags);
// Index format (DXGI) of geometry flags; 0 when neither index bit is set.
uint32_t IndexFormatOfFlags(uint32_t flags);

// Layout, flags, first index and base vertex 0, counts from the index and slot-0 resources.
void SetupGeometry(VertexLayout* layout, Geometry& geometry, uint32_t flags);
// Fills the buffer names, index format and topology from the resources and flags. An invalid
// primitive kind is reported; such geometry is never drawn.
void FinishGeometry(Geometry& geometry);
// Destroys the index and vertex resources.
void ReleaseGeometry(Geometry& geometry);

}  // namespace orvane
