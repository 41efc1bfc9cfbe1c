#include <gtest/gtest.h>

#include "scene/LwoBuilder.h"
#include "scene/lwobject/LwGeometry.h"
#include "scene/lwobject/LwReader.h"

namespace orvane {
namespace {

using test::LwoBuilder;

TEST(LwGeometry, PolygonsBecomeTrianglesInFileOrder) {
  LwoBuilder builder;
  builder.Points({{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {2, 0, 0}});
  builder.Faces({{0, 1, 2, 3},  // quad: two triangles (0 1 2) (0 2 3)
                 {3, 2, 4},     // triangle
                 {0, 4},        // a line: nothing
                 {0, 1, 2, 3, 4}});  // pentagon: three triangles
  const auto object = ParseLwObject(builder.Build());
  ASSERT_NE(object, nullptr);
  const std::vector<LwVertex> vertices = LwTriangleVertices(object->layers[0]);
  const std::vector<std::uint32_t> expectedPoints = {0, 1, 2, 0, 2, 3, 3, 2, 4, 0, 1, 2, 0, 2, 3, 0, 3, 4};
  ASSERT_EQ(vertices.size(), expectedPoints.size());
  const LwLayer& layer = object->layers[0];
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    EXPECT_EQ(vertices[i].position, layer.points[expectedPoints[i]]) << "vertex " << i;
    EXPECT_EQ(vertices[i].uv, (std::array<float, 2>{0, 0}));
  }
  // The quad faces -z (clockwise seen from -z): its vertices carry that normal.
  EXPECT_EQ(vertices[0].normal, (LwFloat3{0, 0, -1}));
}

TEST(LwGeometry, SmoothedNormalsTravelWithTheirCorners) {
  LwoBuilder builder;
  builder.Tags({"S"});
  test::CubeGeometry(builder);
  builder.PolygonTags("SURF", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}});
  builder.Surface("S", 1.5708f);
  const auto object = ParseLwObject(builder.Build());
  ASSERT_NE(object, nullptr);
  const std::vector<LwVertex> vertices = LwTriangleVertices(object->layers[0]);
  ASSERT_EQ(vertices.size(), 36u);
  // First vertex: corner (0, 0, 0) of the -z face, joined by the -x and -y faces.
  EXPECT_EQ(vertices[0].position, (LwFloat3{0, 0, 0}));
  EXPECT_EQ(vertices[0].normal, (LwFloat3{-1, -1, -1}));
}

}  // namespace
}  // namespace orvane
