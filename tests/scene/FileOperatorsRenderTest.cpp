// Texture and LightWave mesh operators on llvmpipe: an image file's top row lands at the top of
// a textured quad, objects are read once per path, and missing files draw nothing while the rest
// of the frame still renders.

#include <gtest/gtest.h>

#include <string>

#include "resources/PngBuilder.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneGraphRenderTest.h"
#include "support/TempFolder.h"

namespace orvane {
namespace {

using test::Rgba;
using testing::SceneDocument;

const std::string kCube = std::string(ORVANE_SHARED_DIR) + "/external-samples/lwo/simple_cube.lwo";

// 4x4 RGB: the top two rows red, the bottom two green.
std::string RedOverGreenPng() {
  std::vector<uint8_t> rows;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      rows.insert(rows.end(), {static_cast<uint8_t>(y < 2 ? 255 : 0), static_cast<uint8_t>(y < 2 ? 0 : 255), 0});
    }
  }
  const auto bytes = test::PngBuilder(4, 4, 8, 2).Build(rows, 12);
  return {bytes.begin(), bytes.end()};
}

class FileOperatorsRenderTest : public test::SceneGraphRenderTest {
protected:
  // A white material with the texture of `file` on a quad turned to face the camera (its far
  // edge, texture row 0, upwards), three units wide.
  int TexturedQuad(const std::string& file) {
    SceneDocument doc;
    const int texture = doc.Add("Texture", {{0, test::Quoted("Filepath", file)}});
    const int quad = doc.Add("Quad");
    const int material = doc.Add("Material", {{4, "Color.R: 1"}, {5, "Color.G: 1"}, {6, "Color.B: 1"}},
                                 {{quad, "OutScene", "sceneIn"}, {texture, "TexOut", "AlbedoTex"}});
    const int turned = doc.Add("Transform",
                               {{4, "Rotation.X: -90"}, {7, "Scale.X: 3"}, {8, "Scale.Y: 3"}, {9, "Scale.Z: 3"}},
                               {{material, "SceneOut", "InScene"}});
    Load(doc);
    return turned;
  }

  testing::TempFolder folder;
};

TEST_F(FileOperatorsRenderTest, TheFirstRowOfAnImageIsTheTopOfItsTexture) {
  const int quad = TexturedQuad((folder / "red-over-green.png").string());
  folder.Write("red-over-green.png", RedOverGreenPng());
  Frame(quad);
  const auto albedo = ReadTarget(test::kAlbedo);
  // A quarter of the quad from its top, and a quarter from its bottom.
  test::ExpectColorNear(At(albedo, 32, 24), {1, 0, 0, 1}, 0.02f);
  test::ExpectColorNear(At(albedo, 32, 39), {0, 1, 0, 1}, 0.02f);
}

TEST_F(FileOperatorsRenderTest, AMissingTextureLeavesNoImageAndTheMeshDrawsWhite) {
  const int quad = TexturedQuad((folder / "absent.png").string());
  Frame(quad);
  test::ExpectColorNear(At(ReadTarget(test::kAlbedo), 32, 32), {1, 1, 1, 1}, 0.02f);

  // As a graph's last image operator: the register holds no image, never an earlier one.
  Player& player = graph->player;
  player.image = player.images[0];
  graph->output(1).Evaluate(0.0f, player);
  EXPECT_EQ(player.image, nullptr);
}

TEST_F(FileOperatorsRenderTest, AMalformedTextureIsTriedOnceAndDrawsNothingFromIt) {
  folder.Write("broken.png", "\x89PNG\r\n\x1a\n not really");
  const int quad = TexturedQuad((folder / "broken.png").string());
  Frame(quad);
  Frame(quad);
  test::ExpectColorNear(At(ReadTarget(test::kAlbedo), 32, 32), {1, 1, 1, 1}, 0.02f);
}

TEST_F(FileOperatorsRenderTest, TwoMeshOperatorsOnOnePathShareOneReadObject) {
  SceneDocument doc;
  const int first = doc.Add("LWO", {{0, test::Quoted("Filepath", kCube)}});
  const int second = doc.Add("LWO", {{0, test::Quoted("Filepath", kCube)}});
  const int moved = doc.Add("Transform", {{2, "Position.Y: -2.5"}}, {{second, "SceneOut", "InScene"}});
  const int group = doc.Add("Group", {}, {{first, "SceneOut", "InScene"}, {moved, "OutScene", "InScene"}});
  Load(doc);
  const size_t readsBefore = LoaderFileReads();
  Frame(group);
  Frame(group);
  EXPECT_EQ(LoaderFileReads() - readsBefore, 1u) << "one read for both operators and both frames";
  const auto albedo = ReadTarget(test::kAlbedo);
  // The box spans x -1.45 ... 1.25, y 0 ... 1.9, z -1.2 ... 0.9.
  EXPECT_GT(At(albedo, 31, 21).a, 0.5f) << "the first box";
  EXPECT_GT(At(albedo, 31, 50).a, 0.5f) << "the second, moved down";
  EXPECT_LT(At(albedo, 5, 5).a, 0.5f);
}

TEST_F(FileOperatorsRenderTest, MissingAndMalformedMeshFilesDrawNothingBesideOtherMeshes) {
  // A points chunk that claims more bytes than the file has.
  folder.Write("broken.lwo", std::string_view("FORM\0\0\0\x10LWO2PNTS\0\0\0\xff", 16));
  for (const std::string& file : {(folder / "absent.lwo").string(), (folder / "broken.lwo").string()}) {
    SCOPED_TRACE(file);
    SceneDocument doc;
    const int mesh = doc.Add("LWO", {{0, test::Quoted("Filepath", file)}});
    const int cube = doc.Add("Cube");
    const int moved = doc.Add("Transform", {{1, "Position.X: 2.5"}}, {{cube, "OutScene", "InScene"}});
    const int group = doc.Add("Group", {}, {{mesh, "SceneOut", "InScene"}, {moved, "OutScene", "InScene"}});
    Load(doc);
    Frame(group);
    Frame(group);
    const auto albedo = ReadTarget(test::kAlbedo);
    EXPECT_LT(At(albedo, 32, 32).a, 0.5f);
    EXPECT_GT(At(albedo, 56, 32).a, 0.5f) << "the cube beside it";
  }
}

}  // namespace
}  // namespace orvane
