#include "scene/lwobject/LwNormals.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

LwFloat3 Subtract(const LwFloat3& a, const LwFloat3& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

LwFloat3 Cross(const LwFloat3& a, const LwFloat3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

float Dot(const LwFloat3& a, const LwFloat3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// A polygon whose corners are collinear (or not finite) has no direction: its normal stays
// zero rather than becoming NaN and spreading into its neighbours' smoothed normals.
LwFloat3 NormalizeOrZero(const LwFloat3& v) {
  const float length = std::sqrt(Dot(v, v));
  if (!(length > 0.0f) || !std::isfinite(length)) return {};
  return {v[0] / length, v[1] / length, v[2] / length};
}

bool HasFace(const LwPolygon& polygon) { return polygon.vertexCount >= 3; }

float SmoothingAngle(const LwObject& object, const LwPolygon& polygon) {
  const LwSurface* surface = object.SurfaceOf(polygon);
  return surface ? surface->smoothingAngle : 0.0f;
}

// Angle between two unit face normals, with rounding kept inside acos's domain.
float AngleBetween(const LwFloat3& a, const LwFloat3& b) {
  return std::acos(std::clamp(Dot(a, b), -1.0f, 1.0f));
}

}  // namespace

void ResolveLwSurfaces(const LwObject& object, LwLayer& layer) {
  for (LwPolygon& polygon : layer.polygons) {
    polygon.surface = kLwNoSurface;
    if (polygon.surfaceTag >= object.tags.size()) continue;
    const std::string& tag = object.tags[polygon.surfaceTag];
    const auto found = std::find_if(object.surfaces.begin(), object.surfaces.end(),
                                    [&](const LwSurface& surface) { return surface.name == tag; });
    if (found != object.surfaces.end()) {
      polygon.surface = static_cast<std::int32_t>(found - object.surfaces.begin());
    }
  }
}

void BuildLwAdjacency(LwLayer& layer) {
  layer.pointPolygons.assign(layer.points.size(), {});
  for (std::uint32_t p = 0; p < layer.polygons.size(); ++p) {
    const LwPolygon& polygon = layer.polygons[p];
    for (std::uint32_t v = 0; v < polygon.vertexCount; ++v) {
      auto& users = layer.pointPolygons[layer.polygonVertices[polygon.firstVertex + v].point];
      // A polygon that passes through a point twice is listed once.
      if (users.empty() || users.back() != p) users.push_back(p);
    }
  }
}

void ComputeLwFaceNormals(LwLayer& layer) {
  for (LwPolygon& polygon : layer.polygons) {
    polygon.faceNormal = {};
    if (!HasFace(polygon)) continue;
    const auto corner = [&](std::uint32_t v) -> const LwFloat3& {
      return layer.points[layer.polygonVertices[polygon.firstVertex + v].point];
    };
    const LwFloat3& p0 = corner(0);
    polygon.faceNormal = NormalizeOrZero(
        Cross(Subtract(corner(1), p0), Subtract(corner(polygon.vertexCount - 1u), p0)));
  }
}

// Each corner starts from its polygon's face normal; when the polygon's surface has a
// smoothing angle, the face normals of the other polygons at that point in the same smoothing
// group whose faces meet this one at no more than that angle are added. The sum is left
// unnormalised.
void SmoothLwNormals(const LwObject& object, LwLayer& layer) {
  for (std::uint32_t p = 0; p < layer.polygons.size(); ++p) {
    const LwPolygon& polygon = layer.polygons[p];
    const float angle = SmoothingAngle(object, polygon);
    for (std::uint32_t v = 0; v < polygon.vertexCount; ++v) {
      LwPolygonVertex& corner = layer.polygonVertices[polygon.firstVertex + v];
      LwFloat3 normal = polygon.faceNormal;
      if (angle > 0.0f && HasFace(polygon)) {
        for (const std::uint32_t q : layer.pointPolygons[corner.point]) {
          const LwPolygon& other = layer.polygons[q];
          if (q == p || !HasFace(other) || other.smoothingGroup != polygon.smoothingGroup) continue;
          if (AngleBetween(other.faceNormal, polygon.faceNormal) > angle) continue;
          for (std::size_t i = 0; i < 3; ++i) normal[i] += other.faceNormal[i];
        }
      }
      corner.normal = normal;
    }
  }
}

void ApplyLwNormalOverrides(LwLayer& layer) {
  for (const LwNormalOverride& entry : layer.normalOverrides) {
    if (entry.polygon >= layer.polygons.size()) continue;
    const LwPolygon& polygon = layer.polygons[entry.polygon];
    for (std::uint32_t v = 0; v < polygon.vertexCount; ++v) {
      LwPolygonVertex& corner = layer.polygonVertices[polygon.firstVertex + v];
      if (corner.point == entry.point) corner.normal = entry.normal;
    }
  }
}

}  // namespace orvane
