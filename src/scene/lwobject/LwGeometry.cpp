#include "scene/lwobject/LwGeometry.h"

#include "render/Adapter.h"
#include "render/Geometry.h"
#include "render/GpuResource.h"

namespace orvane {

std::vector<LwVertex> LwTriangleVertices(const LwLayer& layer) {
  std::vector<LwVertex> vertices;
  for (const LwPolygon& polygon : layer.polygons) {
    if (polygon.vertexCount < 3) continue;
    const auto corner = [&](std::uint32_t v) {
      const LwPolygonVertex& entry = layer.polygonVertices[polygon.firstVertex + v];
      return LwVertex{layer.points[entry.point], entry.normal, {0.0f, 0.0f}};
    };
    for (std::uint32_t v = 1; v + 1 < polygon.vertexCount; ++v) {
      vertices.push_back(corner(0));
      vertices.push_back(corner(v));
      vertices.push_back(corner(v + 1));
    }
  }
  return vertices;
}

bool BuildLwGeometry(Geometry& geometry, const LwLayer& layer) {
  const std::vector<LwVertex> vertices = LwTriangleVertices(layer);
  if (vertices.empty()) return false;
  ResourceDesc desc;
  desc.flags = kResourceVertexBuffer | kUsageImmutable;
  desc.bitsPerElement = sizeof(LwVertex) * 8;
  desc.width = static_cast<std::uint32_t>(vertices.size());
  GpuResource* buffer = CreateResource(currentAdapter, desc, vertices.data());
  if (!buffer) return false;
  geometry.vertices[0] = buffer;
  return true;
}

}  // namespace orvane
