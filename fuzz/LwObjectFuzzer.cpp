// Feeds arbitrary bytes to the LightWave object reader and checks that every polygon corner
// names a point of its layer and every polygon's vertices lie inside the layer's vertex array.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "scene/lwobject/LwReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto object = orvane::ParseLwObject(std::span(data, size));
  if (!object) return 0;
  for (const orvane::LwLayer& layer : object->layers) {
    for (const orvane::LwPolygon& polygon : layer.polygons) {
      if (std::size_t{polygon.firstVertex} + polygon.vertexCount > layer.polygonVertices.size()) {
        std::abort();
      }
      if (polygon.surface != orvane::kLwNoSurface && !object->SurfaceOf(polygon)) std::abort();
    }
    for (const orvane::LwPolygonVertex& corner : layer.polygonVertices) {
      if (corner.point >= layer.points.size()) std::abort();
    }
  }
  return 0;
}
