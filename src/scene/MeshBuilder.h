#pragma once
// Builds the built-in meshes on the CPU (boxes, quads, spheres, domes, cylinders, prisms) and
// uploads them once as immutable geometry: 32-byte vertices (position, normal, uv) with 16-bit
// indices, three per triangle.

#include <cstdint>
#include <vector>

namespace orvane {

class Adapter;
struct Geometry;

struct Float3 {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct Float2 {
  float u = 0.0f, v = 0.0f;
};

class MeshBuilder {
public:
  static constexpr float kPi = 3.1415927f;

  struct Vertex {
    Float3 position;
    Float3 normal;
    Float2 uv;
  };

  void AddTriangle(uint16_t a, uint16_t b, uint16_t c);
  // Appends a vertex and returns its index.
  uint16_t AddVertex(const Float3& position, const Float3& normal, const Float2& uv);
  // The index of an existing vertex within 0.001 of `position` on every axis (its normal and
  // uv stay), or else of a new vertex.
  uint16_t AddVertexShared(const Float3& position, const Float3& normal, const Float2& uv);

  // A rectangle from `corner` along edges `p` and `q`, facing normalize(q) x normalize(p).
  void AddQuadFace(const Float3& corner, const Float3& p, const Float3& q);
  // A horizontal rectangle facing +Y.
  void AddQuad(const Float3& centre, float width, float depth);
  void AddBox(const Float3& centre, const Float3& size);
  void AddSphere(const Float3& centre, float radius, int segments);
  // The half of a sphere with z >= 0.
  void AddDome(const Float3& centre, float radius);
  void AddCylinder(const Float3& centre, float radius, float height);
  void AddPrism(const Float3& centre, float radius, float height);

  // Creates immutable buffers with the adapter's default layout, fills `geometry` and empties
  // the builder.
  void Upload(Adapter* adapter, Geometry& geometry);

  const std::vector<Vertex>& vertices() const { return vertices_; }
  const std::vector<uint16_t>& indices() const { return indices_; }
  uint16_t VertexCount() const { return static_cast<uint16_t>(vertices_.size()); }

private:
  // A triangle of three new vertices (the caps of cylinders and prisms).
  void AddCapTriangle(const Vertex& a, const Vertex& b, const Vertex& c);

  std::vector<Vertex> vertices_;
  std::vector<uint16_t> indices_;
};

}  // namespace orvane
