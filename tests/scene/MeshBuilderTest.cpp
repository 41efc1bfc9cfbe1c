#include "scene/MeshBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <tuple>

namespace orvane {
namespace {

float Dot(const Float3& a, const Float3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Float3 Sub(const Float3& a, const Float3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Float3 Cross(const Float3& a, const Float3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct MeshCase {
  const char* name;
  std::function<void(MeshBuilder&)> build;
  size_t vertices, indices;
};

TEST(MeshBuilder, BuiltInMeshSizes) {
  const MeshCase cases[] = {
      {"box", [](MeshBuilder& b) { b.AddBox({}, {1, 1, 1}); }, 24, 36},
      {"quad", [](MeshBuilder& b) { b.AddQuad({}, 1, 1); }, 4, 6},
      {"quad face", [](MeshBuilder& b) { b.AddQuadFace({}, {1, 0, 0}, {0, -1, 0}); }, 4, 6},
      {"sphere", [](MeshBuilder& b) { b.AddSphere({}, 1, 32); }, 1089, 6144},
      {"light sphere", [](MeshBuilder& b) { b.AddSphere({}, 1, 6); }, 49, 216},
      {"sphere, no segments", [](MeshBuilder& b) { b.AddSphere({}, 1, -3); }, 0, 0},
      {"dome", [](MeshBuilder& b) { b.AddDome({}, 1); }, 289, 1536},
      {"cylinder", [](MeshBuilder& b) { b.AddCylinder({}, 1, 1); }, 256, 384},
      {"prism", [](MeshBuilder& b) { b.AddPrism({}, 1, 1); }, 30, 36},
  };
  for (const MeshCase& c : cases) {
    MeshBuilder builder;
    c.build(builder);
    EXPECT_EQ(builder.vertices().size(), c.vertices) << c.name;
    EXPECT_EQ(builder.indices().size(), c.indices) << c.name;
    for (uint16_t index : builder.indices()) ASSERT_LT(index, builder.vertices().size()) << c.name;
  }
}

struct Corner {
  Float3 p;
};

// Every triangle of a closed convex mesh around the origin winds clockwise seen from outside,
// the front-face convention: then (b - a) x (c - a) points away from the centre.
void ExpectOutwardClockwise(const MeshBuilder& builder, const char* name) {
  const auto& v = builder.vertices();
  const auto& idx = builder.indices();
  for (size_t t = 0; t < idx.size(); t += 3) {
    const Corner a{v[idx[t]].position}, b{v[idx[t + 1]].position}, c{v[idx[t + 2]].position};
    const Float3 geometric = Cross(Sub(b.p, a.p), Sub(c.p, a.p));
    if (Dot(geometric, geometric) < 1e-10f) continue;  // degenerate at a pole
    const Float3 centroid{(a.p.x + b.p.x + c.p.x) / 3, (a.p.y + b.p.y + c.p.y) / 3, (a.p.z + b.p.z + c.p.z) / 3};
    EXPECT_GT(Dot(geometric, centroid), 0.0f) << name << " triangle " << t / 3;
  }
}

TEST(MeshBuilder, TrianglesFaceOutwardsClockwise) {
  MeshBuilder box, sphere, cylinder, prism;
  box.AddBox({}, {1, 2, 3});
  sphere.AddSphere({}, 1, 8);
  cylinder.AddCylinder({}, 1, 1);
  prism.AddPrism({}, 1, 1);
  ExpectOutwardClockwise(box, "box");
  ExpectOutwardClockwise(sphere, "sphere");
  ExpectOutwardClockwise(cylinder, "cylinder");
  ExpectOutwardClockwise(prism, "prism");
}

TEST(MeshBuilder, BoxFacesInOrderWithOutwardNormals) {
  MeshBuilder builder;
  builder.AddBox({}, {1, 1, 1});
  const Float3 expected[] = {{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}};
  for (size_t face = 0; face < 6; ++face) {
    for (size_t corner = 0; corner < 4; ++corner) {
      const auto& vertex = builder.vertices()[face * 4 + corner];
      EXPECT_NEAR(vertex.normal.x, expected[face].x, 1e-6f);
      EXPECT_NEAR(vertex.normal.y, expected[face].y, 1e-6f);
      EXPECT_NEAR(vertex.normal.z, expected[face].z, 1e-6f);
      EXPECT_NEAR(std::fabs(vertex.position.x), 0.5f, 1e-6f);
      EXPECT_NEAR(std::fabs(vertex.position.y), 0.5f, 1e-6f);
    }
  }
}

TEST(MeshBuilder, ThePlayersQuadFacesTheCamera) {
  MeshBuilder builder;
  builder.AddQuadFace({}, {1, 0, 0}, {0, -1, 0});
  const auto& v = builder.vertices();
  for (const auto& vertex : v) EXPECT_EQ(vertex.normal.z, 1.0f);
  EXPECT_EQ(v[0].uv.v, 1.0f);  // corner (0, 0, 0)
  EXPECT_EQ(v[2].position.x, 1.0f);
  EXPECT_EQ(v[2].position.y, -1.0f);
  EXPECT_EQ(builder.indices(), (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
}

TEST(MeshBuilder, SphereSeamAndPoles) {
  MeshBuilder builder;
  builder.AddSphere({}, 1, 32);
  const auto& v = builder.vertices();
  for (int ring = 0; ring <= 32; ++ring) {
    const auto& first = v[static_cast<size_t>(ring * 33)];
    const auto& last = v[static_cast<size_t>(ring * 33 + 32)];
    EXPECT_NEAR(first.position.x, last.position.x, 1e-5f);
    EXPECT_NEAR(first.position.z, last.position.z, 1e-5f);
    EXPECT_EQ(first.uv.u, 0.0f);
    EXPECT_EQ(last.uv.u, 1.0f);
  }
  EXPECT_NEAR(v.front().position.y, -1.0f, 1e-6f);  // ring 0: the bottom pole, v = 1
  EXPECT_EQ(v.front().uv.v, 1.0f);
  EXPECT_NEAR(v.back().position.y, 1.0f, 1e-6f);
  EXPECT_EQ(v.back().uv.v, 0.0f);
}

TEST(MeshBuilder, DomeIsTheFrontHalf) {
  MeshBuilder builder;
  builder.AddDome({}, 1);
  for (const auto& vertex : builder.vertices()) EXPECT_GE(vertex.position.z, -1e-6f);
}

TEST(MeshBuilder, CylinderSidesShareTheirEdges) {
  MeshBuilder builder;
  builder.AddCylinder({}, 1, 1);
  std::set<uint16_t> side(builder.indices().begin(), builder.indices().begin() + 32 * 6);
  EXPECT_EQ(side.size(), 64u);
  EXPECT_EQ(*side.rbegin(), 63);
  // The last segment closes on the first one's vertices, which carry u = 0.
  const auto& idx = builder.indices();
  const size_t last = 31 * 6;
  EXPECT_EQ(builder.vertices()[idx[last + 2]].uv.u, 0.0f);  // hi1 of the last segment
  EXPECT_EQ(idx[last + 2], idx[1]);                          // ... is hi0 of the first
}

TEST(MeshBuilder, PrismSidesAreFlat) {
  MeshBuilder builder;
  builder.AddPrism({}, 1, 1);
  const std::tuple<float, float> expected[] = {
      {0.5f, 0.8660254f}, {-1.0f, 0.0f}, {0.5f, -0.8660254f}};  // 60, 180 and 300 degrees
  for (size_t side = 0; side < 3; ++side) {
    const auto& normal = builder.vertices()[side * 4].normal;
    EXPECT_NEAR(normal.x, std::get<0>(expected[side]), 1e-5f);
    EXPECT_NEAR(normal.y, 0.0f, 1e-6f);
    EXPECT_NEAR(normal.z, std::get<1>(expected[side]), 1e-5f);
  }
}

TEST(MeshBuilder, SharedVerticesAreFoundWithinATolerance) {
  MeshBuilder builder;
  const uint16_t a = builder.AddVertexShared({1, 2, 3}, {0, 1, 0}, {0.5f, 0.5f});
  EXPECT_EQ(builder.AddVertexShared({1.0005f, 2, 2.9995f}, {1, 0, 0}, {0, 0}), a);
  EXPECT_EQ(builder.vertices()[a].normal.y, 1.0f);  // the first vertex's attributes stay
  EXPECT_NE(builder.AddVertexShared({1.002f, 2, 3}, {0, 1, 0}, {0, 0}), a);
}

}  // namespace
}  // namespace orvane
