#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

using LwFloat3 = std::array<float, 3>;

inline constexpr std::int32_t kLwNoSurface = -1;

struct LwSurface {
  std::string name;
  std::string sourceName;
  float smoothingAngle = 0.0f;  // radians; 0 when the surface has no SMAN
};

struct LwPolygon {
  std::uint32_t surfaceTag = 0;           // index into LwObject::tags, from PTAG SURF
  std::int32_t surface = kLwNoSurface;    // index into LwObject::surfaces, after resolution
  std::uint32_t smoothingGroup = 0;
  std::uint32_t partTag = 0;
  LwFloat3 faceNormal{};
  std::uint32_t type = 0;                 // the POLS type code, e.g. "FACE"
  std::uint16_t flags = 0;                // top 6 bits of the vertex-count word
  std::uint16_t vertexCount = 0;          // at most 1023
  std::uint32_t firstVertex = 0;          // into LwLayer::polygonVertices
};

struct LwPolygonVertex {
  std::uint32_t point = 0;
  LwFloat3 normal{};
};

struct LwNormalOverride {
  std::uint32_t point = 0;
  std::uint32_t polygon = 0;
  LwFloat3 normal{};
};

struct LwLayer {
  std::uint16_t number = 0;
  std::uint16_t flags = 0;
  LwFloat3 pivot{};
  std::string name;
  std::array<float, 6> boundingBox{};
  std::vector<LwFloat3> points;
  std::vector<LwPolygon> polygons;
  std::vector<LwPolygonVertex> polygonVertices;           // all polygons of the layer, in order
  std::vector<std::vector<std::uint32_t>> pointPolygons;  // per point: polygons using it, in order
  std::vector<LwNormalOverride> normalOverrides;
};

// A LightWave object (LWO2): layers in file order, the tag strings and the surfaces.
struct LwObject {
  std::vector<LwLayer> layers;
  std::vector<std::string> tags;
  std::vector<LwSurface> surfaces;

  const LwSurface* SurfaceOf(const LwPolygon& polygon) const {
    if (polygon.surface < 0 || static_cast<std::size_t>(polygon.surface) >= surfaces.size()) {
      return nullptr;
    }
    return &surfaces[static_cast<std::size_t>(polygon.surface)];
  }
};

}  // namespace orvane
