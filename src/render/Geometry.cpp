#include "render/Geometry.h"

#include <array>

#include "render/Diagnostics.h"
#include "render/GpuResource.h"

namespace orvane {
namespace {

// Direct3D topology by primitive kind (flags bits 8-11); patch lists are counted apart.
constexpr std::array<uint32_t, 8> kTopologyByKind = {0, 1, 2, 4, 3, 5, 10, 12};
constexpr uint32_t kPatchKind = 8;
constexpr uint32_t kPatchListBase = 32;

}  // namespace

uint32_t TopologyOfFlags(uint32_t flags) {
  const uint32_t kind = (flags >> 8) & 0xFu;
  if (kind == kPatchKind) {
    const uint32_t points = flags & 0xFFu;
    return points >= 1 && points <= 32 ? kPatchListBase + points : 0;
  }
  return kind < kTopologyByKind.size() ? kTopologyByKind[kind] : 0;
}

uint32_t IndexFormatOfFlags(uint32_t flags) {
  if (flags & kGeometryIndex16) return 57;
  if (flags & kGeometryIndex32) return 42;
  return 0;
}

void SetupGeometry(VertexLayout* layout, Geometry& geometry, uint32_t flags) {
  geometry.layout = layout;
  geometry.flags = flags;
  geometry.firstIndex = 0;
  geometry.baseVertex = 0;
  geometry.indexCount = geometry.index ? geometry.index->ElementCount() : 0;
  geometry.vertexCount = geometry.vertices[0] ? geometry.vertices[0]->ElementCount() : 0;
}

void FinishGeometry(Geometry& geometry) {
  geometry.indexBuffer = geometry.index ? geometry.index->object : 0;
  bool present = true;
  for (size_t slot = 0; slot < 4; ++slot) {
    present = present && geometry.vertices[slot] != nullptr;
    geometry.vertexBuffers[slot] = present ? geometry.vertices[slot]->object : 0;
  }
  geometry.indexFormat = IndexFormatOfFlags(geometry.flags);
  geometry.topology = TopologyOfFlags(geometry.flags);
  if (geometry.topology == 0)
    DebugPrint("Geometry: invalid primitive flags 0x%X, not drawn\n", geometry.flags);
  if (geometry.index && geometry.indexFormat == 0)
    DebugPrint("Geometry: indices without an index size in flags 0x%X, not drawn\n",
               geometry.flags);
}

void ReleaseGeometry(Geometry& geometry) {
  DestroyResource(geometry.index);
  geometry.index = nullptr;
  for (GpuResource*& vertices : geometry.vertices) {
    DestroyResource(vertices);
    vertices = nullptr;
  }
  geometry.indexBuffer = 0;
  for (uint32_t& buffer : geometry.vertexBuffers) buffer = 0;
}

}  // namespace orvane
