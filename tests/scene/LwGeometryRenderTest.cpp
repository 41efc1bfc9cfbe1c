#include <gtest/gtest.h>

#include <string>

#include "render/RenderFixture.h"
#include "resources/ResourceLoader.h"
#include "scene/lwobject/LwGeometry.h"

namespace orvane {
namespace {

class LwGeometryRenderTest : public test::RenderTest {
 protected:
  void TearDown() override { ReleaseLoaderCaches(); }
};

TEST_F(LwGeometryRenderTest, FirstLayerOfALoadedMeshBecomesAVertexBuffer) {
  const struct {
    const char* file;
    std::uint32_t vertices;  // 3 per triangle after splitting polygons into fans
  } cases[] = {
      {"simple_cube.lwo", 36},      // 6 quads
      {"rifle.lwo", 1716},          // 572 triangles
      {"hierarchy.lwo", 3 * 6 * 2}, // first layer only: 6 quads
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const LwObject* object = LoadMesh(std::string(ORVANE_SHARED_DIR) + "/external-samples/lwo/" + c.file);
    ASSERT_NE(object, nullptr);
    test::OwnedGeometry owned;
    ASSERT_TRUE(BuildLwGeometry(owned.geometry, object->layers[0]));
    ASSERT_NE(owned.geometry.vertices[0], nullptr);
    EXPECT_EQ(owned.geometry.vertices[0]->ElementCount(), c.vertices);
    EXPECT_EQ(owned.geometry.vertices[0]->desc.bitsPerElement, 256u);
    EXPECT_EQ(owned.geometry.index, nullptr);
  }
}

}  // namespace
}  // namespace orvane
