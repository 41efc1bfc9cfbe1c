#include "scene/MeshBuilder.h"

#include <cmath>
#include <cstring>

#include "render/Adapter.h"
#include "render/Geometry.h"
#include "render/GpuResource.h"

namespace orvane {
namespace {

Float3 Add(const Float3& a, const Float3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Float3 Sub(const Float3& a, const Float3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Float3 Scale(const Float3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
Float3 Negate(const Float3& a) { return {-a.x, -a.y, -a.z}; }
Float3 Cross(const Float3& a, const Float3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Float3 Normalize(const Float3& a) {
  const float length = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
  return length > 0.0f ? Scale(a, 1.0f / length) : a;
}

// A point on the circle of `radius` around the Y axis at angle `a`, at height `y`.
Float3 OnCircle(float radius, float a, float y) { return {radius * std::cos(a), y, radius * std::sin(a)}; }

constexpr float kTwoThirdsPi = 2.0943952f;
constexpr int kCylinderSegments = 32;
constexpr int kDomeSteps = 16;

}  // namespace

void MeshBuilder::AddTriangle(uint16_t a, uint16_t b, uint16_t c) {
  indices_.insert(indices_.end(), {a, b, c});
}

uint16_t MeshBuilder::AddVertex(const Float3& position, const Float3& normal, const Float2& uv) {
  vertices_.push_back({position, normal, uv});
  return static_cast<uint16_t>(vertices_.size() - 1);
}

uint16_t MeshBuilder::AddVertexShared(const Float3& position, const Float3& normal, const Float2& uv) {
  for (size_t i = 0; i < vertices_.size(); ++i) {
    const Float3& existing = vertices_[i].position;
    if (std::fabs(existing.x - position.x) < 0.001f && std::fabs(existing.y - position.y) < 0.001f &&
        std::fabs(existing.z - position.z) < 0.001f) {
      return static_cast<uint16_t>(i);
    }
  }
  return AddVertex(position, normal, uv);
}

void MeshBuilder::AddQuadFace(const Float3& corner, const Float3& p, const Float3& q) {
  const Float3 normal = Cross(Normalize(q), Normalize(p));
  const uint16_t base = AddVertex(corner, normal, {0, 1});
  AddVertex(Add(corner, q), normal, {0, 0});
  AddVertex(Add(Add(corner, q), p), normal, {1, 0});
  AddVertex(Add(corner, p), normal, {1, 1});
  AddTriangle(base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2));
  AddTriangle(base, static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 3));
}

void MeshBuilder::AddQuad(const Float3& centre, float width, float depth) {
  const float hw = width / 2.0f;
  const float hd = depth / 2.0f;
  const Float3 up{0, 1, 0};
  const uint16_t base = AddVertex(Add(centre, {-hw, 0, -hd}), up, {0, 1});
  AddVertex(Add(centre, {-hw, 0, hd}), up, {0, 0});
  AddVertex(Add(centre, {hw, 0, hd}), up, {1, 0});
  AddVertex(Add(centre, {hw, 0, -hd}), up, {1, 1});
  AddTriangle(base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2));
  AddTriangle(base, static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 3));
}

void MeshBuilder::AddBox(const Float3& centre, const Float3& size) {
  const Float3 x{size.x, 0, 0};
  const Float3 y{0, size.y, 0};
  const Float3 z{0, 0, size.z};
  const Float3 low = Sub(centre, Scale(size, 0.5f));
  const Float3 high = Add(centre, Scale(size, 0.5f));
  AddQuadFace(low, x, y);                   // -Z
  AddQuadFace(low, z, x);                   // -Y
  AddQuadFace(low, y, z);                   // -X
  AddQuadFace(high, Negate(x), Negate(z));  // +Y
  AddQuadFace(high, Negate(y), Negate(x));  // +Z
  AddQuadFace(high, Negate(z), Negate(y));  // +X
}

void MeshBuilder::AddSphere(const Float3& centre, float radius, int segments) {
  if (segments < 0) return;
  const auto s = static_cast<float>(segments);
  for (int i = 0; i <= segments; ++i) {
    const float theta = static_cast<float>(i) * kPi / s;
    for (int j = 0; j <= segments; ++j) {
      const float phi = static_cast<float>(j) * 2.0f * kPi / s;
      const Float3 p{radius * std::sin(theta) * std::cos(phi), -radius * std::cos(theta),
                     radius * std::sin(theta) * std::sin(phi)};
      AddVertex(Add(centre, p), Normalize(p), {static_cast<float>(j) / s, 1.0f - static_cast<float>(i) / s});
      if (i >= 1 && j >= 1) {
        const int n = static_cast<int>(vertices_.size());
        AddTriangle(static_cast<uint16_t>(n - 1), static_cast<uint16_t>(n - segments - 2),
                    static_cast<uint16_t>(n - segments - 3));
        AddTriangle(static_cast<uint16_t>(n - 2), static_cast<uint16_t>(n - 1),
                    static_cast<uint16_t>(n - segments - 3));
      }
    }
  }
}

void MeshBuilder::AddDome(const Float3& centre, float radius) {
  const float step = kPi / static_cast<float>(kDomeSteps);
  for (int i = 0; i <= kDomeSteps; ++i) {
    const float theta = static_cast<float>(i) * step;
    for (int j = 0; j <= kDomeSteps; ++j) {
      const float phi = static_cast<float>(j) * step;
      const Float3 p{radius * std::sin(theta) * std::cos(phi), -radius * std::cos(theta),
                     radius * std::sin(theta) * std::sin(phi)};
      AddVertex(Add(centre, p), Normalize(p),
                {static_cast<float>(j) / kDomeSteps, 1.0f - static_cast<float>(i) / kDomeSteps});
      if (i >= 1 && j >= 1) {
        const int n = static_cast<int>(vertices_.size());
        AddTriangle(static_cast<uint16_t>(n - 1), static_cast<uint16_t>(n - 18), static_cast<uint16_t>(n - 19));
        AddTriangle(static_cast<uint16_t>(n - 2), static_cast<uint16_t>(n - 1), static_cast<uint16_t>(n - 19));
      }
    }
  }
}

void MeshBuilder::AddCapTriangle(const Vertex& a, const Vertex& b, const Vertex& c) {
  const uint16_t first = AddVertex(a.position, a.normal, a.uv);
  AddVertex(b.position, b.normal, b.uv);
  AddVertex(c.position, c.normal, c.uv);
  AddTriangle(first, static_cast<uint16_t>(first + 1), static_cast<uint16_t>(first + 2));
}

void MeshBuilder::AddCylinder(const Float3& centre, float radius, float height) {
  const float hh = height / 2.0f;
  const float step = kPi / 16.0f;
  const auto segments = static_cast<float>(kCylinderSegments);
  for (int i = 0; i < kCylinderSegments; ++i) {
    const float a0 = static_cast<float>(i) * step;
    const float a1 = static_cast<float>(i + 1) * step;
    const Float3 n0{std::cos(a0), 0, std::sin(a0)};
    const Float3 n1{std::cos(a1), 0, std::sin(a1)};
    const float u0 = static_cast<float>(i) / segments;
    const float u1 = static_cast<float>(i + 1) / segments;
    const uint16_t lo0 = AddVertexShared(Add(centre, OnCircle(radius, a0, -hh)), n0, {u0, 0});
    const uint16_t lo1 = AddVertexShared(Add(centre, OnCircle(radius, a1, -hh)), n1, {u1, 0});
    const uint16_t hi0 = AddVertexShared(Add(centre, OnCircle(radius, a0, hh)), n0, {u0, 1});
    const uint16_t hi1 = AddVertexShared(Add(centre, OnCircle(radius, a1, hh)), n1, {u1, 1});
    AddTriangle(lo0, hi0, hi1);
    AddTriangle(lo0, hi1, lo1);
  }
  const Float3 down{0, -1, 0};
  const Float3 up{0, 1, 0};
  for (int i = 0; i < kCylinderSegments; ++i) {
    const float a0 = static_cast<float>(i) * step;
    const float a1 = static_cast<float>(i + 1) * step;
    const float u0 = static_cast<float>(i) / segments;
    const float u1 = static_cast<float>(i + 1) / segments;
    AddCapTriangle({Add(centre, OnCircle(radius, a0, -hh)), down, {u0, 0}},
                   {Add(centre, OnCircle(radius, a1, -hh)), down, {u0, 1}},
                   {Add(centre, {0, -hh, 0}), down, {u1, 0}});
  }
  for (int i = 0; i < kCylinderSegments; ++i) {
    const float a0 = static_cast<float>(i) * step;
    const float a1 = static_cast<float>(i + 1) * step;
    const float u0 = static_cast<float>(i) / segments;
    const float u1 = static_cast<float>(i + 1) / segments;
    AddCapTriangle({Add(centre, OnCircle(radius, a0, hh)), up, {u0, 0}}, {Add(centre, {0, hh, 0}), up, {u1, 0}},
                   {Add(centre, OnCircle(radius, a1, hh)), up, {u0, 1}});
  }
}

void MeshBuilder::AddPrism(const Float3& centre, float radius, float height) {
  const float hh = height / 2.0f;
  for (int k = 0; k < 3; ++k) {
    const float a0 = static_cast<float>(k) * kTwoThirdsPi;
    const float a1 = static_cast<float>(k + 1) * kTwoThirdsPi;
    const float middle = (a0 + a1) / 2.0f;
    const Float3 normal = Normalize({std::cos(middle), 0, std::sin(middle)});
    const float u0 = static_cast<float>(k) / 3.0f;
    const float u1 = static_cast<float>(k + 1) / 3.0f;
    const uint16_t lo0 = AddVertex(Add(centre, OnCircle(radius, a0, -hh)), normal, {u0, 0});
    const uint16_t lo1 = AddVertex(Add(centre, OnCircle(radius, a1, -hh)), normal, {u1, 0});
    const uint16_t hi0 = AddVertex(Add(centre, OnCircle(radius, a0, hh)), normal, {u0, 1});
    const uint16_t hi1 = AddVertex(Add(centre, OnCircle(radius, a1, hh)), normal, {u1, 1});
    AddTriangle(lo0, hi0, hi1);
    AddTriangle(lo0, hi1, lo1);
  }
  const Float3 down{0, -1, 0};
  const Float3 up{0, 1, 0};
  for (int i = 1; i <= 3; ++i) {
    const float b0 = static_cast<float>(i - 1) * kTwoThirdsPi;
    const float b1 = static_cast<float>(i) * kTwoThirdsPi;
    const float u0 = static_cast<float>(i - 1) / 3.0f;
    const float u1 = static_cast<float>(i) / 3.0f;
    AddCapTriangle({Add(centre, OnCircle(radius, b0, -hh)), down, {u0, 0}},
                   {Add(centre, OnCircle(radius, b1, -hh)), down, {u0, 1}},
                   {Add(centre, {0, -hh, 0}), down, {u1, 0}});
  }
  for (int i = 1; i <= 3; ++i) {
    const float b0 = static_cast<float>(i - 1) * kTwoThirdsPi;
    const float b1 = static_cast<float>(i) * kTwoThirdsPi;
    const float u0 = static_cast<float>(i - 1) / 3.0f;
    const float u1 = static_cast<float>(i) / 3.0f;
    AddCapTriangle({Add(centre, OnCircle(radius, b0, hh)), up, {u0, 0}}, {Add(centre, {0, hh, 0}), up, {u1, 0}},
                   {Add(centre, OnCircle(radius, b1, hh)), up, {u0, 1}});
  }
}

void MeshBuilder::Upload(Adapter* adapter, Geometry& geometry) {
  static_assert(sizeof(Vertex) == 32, "vertices upload as 32-byte records");
  ResourceDesc indexDesc;
  indexDesc.flags = kResourceIndexBuffer | kUsageImmutable;
  indexDesc.bitsPerElement = 16;
  indexDesc.width = static_cast<uint32_t>(indices_.size());
  ResourceDesc vertexDesc;
  vertexDesc.flags = kResourceVertexBuffer | kUsageImmutable;
  vertexDesc.bitsPerElement = 256;
  vertexDesc.width = static_cast<uint32_t>(vertices_.size());

  geometry.adapter = adapter;
  geometry.index = CreateResource(adapter, indexDesc, indices_.data());
  geometry.vertices[0] = CreateResource(adapter, vertexDesc, vertices_.data());
  SetupGeometry(adapter->defaultLayouts[0], geometry, kPrimitiveTriangles | kGeometryIndex16);
  FinishGeometry(geometry);
  vertices_.clear();
  indices_.clear();
}

}  // namespace orvane
