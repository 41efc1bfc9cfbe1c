// The scene renderer on llvmpipe: meshes drawn with the player's scene state into the G-buffer,
// read back through the copy pass.

#include "scene/SceneRenderer.h"

#include "app/Player.h"
#include "render/Camera.h"
#include "render/RenderStateDesc.h"
#include "scene/GBuffer.h"
#include "scene/MeshBuilder.h"
#include "scene/ScenePlayer.h"
#include "render/RenderFixture.h"

namespace orvane {
namespace {

using test::Rgba;

constexpr uint32_t kSize = 64;

class SceneRendererTest : public test::RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    depth = MakeDepth(kSize, kSize);
    test::PrepareScenePlayer(player, adapter(), draw(), depth.get(), kSize);
    ASSERT_NE(player.renderer->gbufferPass, nullptr);
    ASSERT_TRUE(player.renderer->gbufferPass->HasStage(kStagePixel));
    ASSERT_TRUE(player.renderer->copyPass->HasStage(kStagePixel));
    MeshBuilder builder;
    builder.AddBox({}, {1, 1, 1});
    builder.Upload(adapter(), cube.geometry);
    player.BeginScene();
  }

  // A G-buffer target copied into a float target and read back.
  std::vector<Rgba> ReadTarget(size_t index) {
    auto copy = MakeTarget(kSize, kSize);
    RenderStateDesc state;  // no depth, no blending: a plain copy
    player.renderer->Copy(copy.get(), player.gbuffer->targets[index], player.rect, nullptr, state, true);
    return ReadPixels(*copy);
  }
  static Rgba At(const std::vector<Rgba>& pixels, uint32_t x, uint32_t y) { return pixels[y * kSize + x]; }

  void DrawScaledCube(float scale) {
    player.world = Identity();
    for (int axis = 0; axis < 3; ++axis) player.world.m[axis][axis] = scale;
    player.renderer->DrawMesh(cube.geometry, player);
  }

  Player player;
  test::ResourcePtr depth;
  test::OwnedGeometry cube;
};

TEST_F(SceneRendererTest, AnEmptySceneLeavesTheGBufferCleared) {
  for (size_t target = 0; target < 4; ++target) {
    for (const Rgba& pixel : ReadTarget(target)) test::ExpectColorNear(pixel, {0, 0, 0, 0});
  }
}

TEST_F(SceneRendererTest, TheDefaultMaterialReachesTheGBuffer) {
  DrawScaledCube(3.0f);
  const auto albedo = ReadTarget(0);
  const auto normal = ReadTarget(1);
  const auto material = ReadTarget(2);
  const auto emissive = ReadTarget(3);
  test::ExpectColorNear(At(albedo, 32, 32), {0.2f, 0.2f, 0.2f, 1.0f}, 2e-3f);
  test::ExpectColorNear(At(material, 32, 32), {0.6f, 0.5f, 0.01f, 1.0f}, 2e-3f);
  test::ExpectColorNear(At(emissive, 32, 32), {0, 0, 0, 1});
  // The front face looks at the camera: view-space normal -Z, 6.5 units away.
  const Rgba n = At(normal, 32, 32);
  EXPECT_NEAR(n.r, 0.0f, 1e-3f);
  EXPECT_NEAR(n.g, 0.0f, 1e-3f);
  EXPECT_NEAR(n.b, -1.0f, 1e-3f);
  EXPECT_NEAR(n.a, 6.5f, 0.01f);
  // Corners stay empty: the cube covers the middle only.
  test::ExpectColorNear(At(albedo, 1, 1), {0, 0, 0, 0});
}

TEST_F(SceneRendererTest, CoverageFollowsTheWorldMatrixAndTheProjection) {
  // The front face is 6.5 units away, where a 45-degree view is 5.39 units high: a box of 3
  // covers 3 / 5.39 of the 64 pixels.
  DrawScaledCube(3.0f);
  const auto albedo = ReadTarget(0);
  int covered = 0;
  for (uint32_t x = 0; x < kSize; ++x) covered += At(albedo, x, 32).a > 0.5f ? 1 : 0;
  EXPECT_NEAR(covered, 36, 1);
}

TEST_F(SceneRendererTest, MaterialColoursAndTexturesReachTheGBuffer) {
  const float red[4] = {1, 0, 0, 1};
  const float glow[4] = {0, 0.5f, 0, 0};
  std::copy(red, red + 4, player.baseColor);
  std::copy(glow, glow + 4, player.emissiveColor);
  player.roughness = 0.25f;
  player.metalness = 1.0f;
  DrawScaledCube(3.0f);
  test::ExpectColorNear(At(ReadTarget(0), 32, 32), {1, 0, 0, 1}, 2e-3f);
  test::ExpectColorNear(At(ReadTarget(2), 32, 32), {0.25f, 1.0f, 0.01f, 1.0f}, 2e-3f);
  test::ExpectColorNear(At(ReadTarget(3), 32, 32), {0, 0.5f, 0, 1}, 2e-3f);

  // The next frame starts from the default material again.
  player.BeginScene();
  EXPECT_EQ(player.baseColor[0], 0.2f);
  EXPECT_EQ(player.roughness, 0.6f);
  EXPECT_EQ(player.pass, player.renderer->gbufferPass);
}

TEST_F(SceneRendererTest, NearerMeshesHideFartherOnes) {
  const float far[4] = {0, 0, 1, 1};
  const float near[4] = {0, 1, 0, 1};
  std::copy(near, near + 4, player.baseColor);
  DrawScaledCube(2.0f);
  std::copy(far, far + 4, player.baseColor);
  DrawScaledCube(2.0f * 1.5f);  // larger: its front face is nearer to the camera
  test::ExpectColorNear(At(ReadTarget(0), 32, 32), {0, 0, 1, 1}, 2e-3f);
  DrawScaledCube(1.0f);  // smaller, behind: hidden
  test::ExpectColorNear(At(ReadTarget(0), 32, 32), {0, 0, 1, 1}, 2e-3f);
}

}  // namespace
}  // namespace orvane
