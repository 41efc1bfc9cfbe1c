// Ray marching on llvmpipe, with the example shader of examples/raymarching: a marched sphere and
// a mesh sphere crossing each other hide each other pixel by pixel as their depths say, and one
// light lights both alike.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "scene/SceneGraphRenderTest.h"

namespace orvane {
namespace {

using test::Rgba;
using testing::SceneDocument;

const std::string kBlob = std::string(ORVANE_SOURCE_DIR) + "/examples/raymarching/shaders/blob.glsl";

struct Hit {
  float depth;  // along the view axis
  Vector4 normal;
  float margin;  // how far inside the silhouette the ray passes: small at the edge
};

// The start-up camera looks from (0, 0, -8) along +Z with 45 degrees; pixel (x, y) of the 64x64
// output sees the ray (0, 0, -8) + t * (nx * k, ny * k, 1), t being the view depth.
std::optional<Hit> HitSphere(uint32_t x, uint32_t y, const Vector4& centre, float radius) {
  const float k = std::tan(22.5f * 3.14159265f / 180.0f);
  const float nx = (static_cast<float>(x) + 0.5f) / 32.0f - 1.0f;
  const float ny = 1.0f - (static_cast<float>(y) + 0.5f) / 32.0f;
  const Vector4 d{nx * k, ny * k, 1.0f, 0.0f};
  const Vector4 o{-centre.x, -centre.y, -8.0f - centre.z, 0.0f};
  const float a = d.x * d.x + d.y * d.y + 1.0f;
  const float b = 2.0f * (o.x * d.x + o.y * d.y + o.z * d.z);
  const float c = o.x * o.x + o.y * o.y + o.z * o.z - radius * radius;
  const float discriminant = b * b - 4.0f * a * c;
  if (discriminant < 0.0f) return std::nullopt;
  const float t = (-b - std::sqrt(discriminant)) / (2.0f * a);
  const Vector4 p{o.x + t * d.x, o.y + t * d.y, o.z + t * d.z, 0.0f};
  return Hit{t, {p.x / radius, p.y / radius, p.z / radius, 0.0f}, std::sqrt(discriminant) / a};
}

class RayMarchingRenderTest : public test::SceneGraphRenderTest {
protected:
  // A light pass over a group of the marched sphere at +0.5 and the mesh sphere at -0.5, with a
  // directional light travelling along +Z, towards what the camera sees.
  int CrossingSpheres(const std::string& shader) {
    SceneDocument doc;
    const int marched = doc.Add("RayMarching", {{0, test::Quoted("Filepath", shader)},
                                                {1, "Param1.X: 0.5"},
                                                {2, "Param1.Y: 0"},
                                                {3, "Param1.Z: 0"},
                                                {5, "Param2.X: 0"}});
    const int sphere = doc.Add("Sphere");
    const int moved = doc.Add("Transform", {{1, "Position.X: -0.5"}}, {{sphere, "OutScene", "InScene"}});
    const int group = doc.Add("Group", {}, {{marched, "SceneOut", "InScene"}, {moved, "OutScene", "InScene"}});
    const int light = doc.Add("DirLight", {{1, "Direction.X: 0"}, {2, "Direction.Y: 1"}, {3, "Direction.Z: 0"}}, {{group, "OutScene", "InScene"}});
    const int pass = doc.Add("LightPass", {}, {{light, "OutScene", "SceneIn"}});
    Load(doc);
    return pass;
  }
};

TEST_F(RayMarchingRenderTest, AMarchedAndAMeshSphereHideEachOtherByDepth) {
  const int pass = CrossingSpheres(kBlob);
  Frame(pass);
  const auto normals = ReadTarget(test::kNormal);
  const auto albedo = ReadTarget(test::kAlbedo);
  int meshNearer = 0, marchedNearer = 0, checked = 0;
  for (uint32_t y = 0; y < kSize; ++y) {
    for (uint32_t x = 0; x < kSize; ++x) {
      SCOPED_TRACE(::testing::Message() << x << "," << y);
      const std::optional<Hit> mesh = HitSphere(x, y, {-0.5f, 0, 0, 0}, 1.0f);
      const std::optional<Hit> marched = HitSphere(x, y, {0.5f, 0, 0, 0}, 1.0f);
      const Rgba n = At(normals, x, y);
      if (!mesh && !marched) {
        EXPECT_LT(At(albedo, x, y).a, 0.5f);
        continue;
      }
      // Silhouettes, and where the two surfaces meet, are left to the rasteriser.
      const bool edge = (mesh && mesh->margin < 0.12f) || (marched && marched->margin < 0.12f);
      if (edge || (mesh && marched && std::fabs(mesh->depth - marched->depth) < 0.06f)) continue;
      const Hit& nearest = !marched || (mesh && mesh->depth < marched->depth) ? *mesh : *marched;
      (&nearest == &*mesh ? meshNearer : marchedNearer) += mesh && marched ? 1 : 0;
      ++checked;
      EXPECT_GT(At(albedo, x, y).a, 0.5f);
      // Half floats, and the mesh's facets.
      EXPECT_NEAR(n.a, nearest.depth, 0.06f);
      EXPECT_GT(n.r * nearest.normal.x + n.g * nearest.normal.y + n.b * nearest.normal.z, 0.97f);
    }
  }
  EXPECT_GT(checked, 400);
  // Where both cover a pixel, each is in front somewhere: the test saw both orders.
  EXPECT_GT(meshNearer, 20);
  EXPECT_GT(marchedNearer, 20);
}

TEST_F(RayMarchingRenderTest, OneLightLightsBothSurfacesAlike) {
  Frame(CrossingSpheres(kBlob));
  const auto lit = ReadLit();
  // The front-most points of the two spheres, mirror images of each other.
  const Rgba mesh = At(lit, 26, 31);
  const Rgba marched = At(lit, 37, 31);
  EXPECT_GT(mesh.r, 0.05f);
  EXPECT_NEAR(marched.r, mesh.r, 0.05f * mesh.r);
  EXPECT_NEAR(marched.g, mesh.g, 0.05f * mesh.g);
  // The far side of each sphere, turned away from the light, stays darker.
  EXPECT_LT(At(lit, 3, 31).r, mesh.r);
  EXPECT_LT(At(lit, 60, 31).r, marched.r);
}

TEST_F(RayMarchingRenderTest, AMissingShaderDrawsNothingAndTheMeshStillDraws) {
  const int pass = CrossingSpheres(std::string(ORVANE_SOURCE_DIR) + "/examples/raymarching/shaders/none.glsl");
  for (float time : {0.0f, 1.0f}) {
    Frame(pass, time);
    const auto albedo = ReadTarget(test::kAlbedo);
    EXPECT_GT(At(albedo, 26, 31).a, 0.5f) << "the mesh sphere";
    EXPECT_LT(At(albedo, 45, 31).a, 0.5f) << "no marched sphere";
  }
  EXPECT_FALSE(graph->op(1).outputs[0].function->dirty) << "tried once, not again every frame";
}

TEST_F(RayMarchingRenderTest, AnEmptyPathIsRetriedAndAPathOnceTriedIsKept) {
  SceneDocument doc;
  const int marched = doc.Add("RayMarching", {{1, "Param1.X: 0"}, {2, "Param1.Y: 0"}, {3, "Param1.Z: 0"}, {5, "Param2.X: 0"}});
  Load(doc);
  Frame(marched);
  EXPECT_EQ(Covered(ReadTarget(test::kAlbedo)), 0);
  auto& function = *graph->output(static_cast<size_t>(marched)).function;
  EXPECT_TRUE(function.dirty) << "retried next frame";

  auto* path = dynamic_cast<Text*>(graph->input(static_cast<size_t>(marched), 0).function->GetValue());
  ASSERT_NE(path, nullptr);
  path->value = kBlob;
  Frame(marched);
  const int covered = Covered(ReadTarget(test::kAlbedo));
  EXPECT_GT(covered, 200);
  path->value = "elsewhere.glsl";
  Frame(marched);
  EXPECT_EQ(Covered(ReadTarget(test::kAlbedo)), covered) << "a path once loaded stays";
}

// The bundled example, examples/raymarching, as a player would load it from its folder: its
// light pass shows the marched blob in the middle, in its material's orange, and the rest of the
// scene around it.
TEST_F(RayMarchingRenderTest, TheBundledExampleDrawsItsBlobAmongItsMeshes) {
  const std::filesystem::path folder = std::filesystem::path(ORVANE_SOURCE_DIR) / "examples/raymarching";
  struct InFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    explicit InFolder(const std::filesystem::path& folder) { std::filesystem::current_path(folder); }
    ~InFolder() { std::filesystem::current_path(previous); }
  } inFolder(folder);
  std::stringstream text;
  text << std::ifstream(folder / "demo.opr").rdbuf();
  graph = std::make_unique<testing::LoadedGraph>(text.str());
  Player& player = graph->player;
  test::PrepareScenePlayer(player, adapter(), draw(), depthBuffer(), kSize);
  for (GpuResource*& image : player.images) image = MakeTarget(kSize, kSize).release();
  int lightPass = -1;
  for (size_t i = 0; i < player.operators.size(); ++i) {
    if (player.operators[i]->type == "LightPass") lightPass = static_cast<int>(i);
  }
  ASSERT_GE(lightPass, 0);
  for (float time : {-10.0f, 3.0f, 3.25f}) Frame(lightPass, time);

  const auto albedo = ReadTarget(test::kAlbedo);
  const auto lit = ReadLit();
  EXPECT_GT(Covered(albedo), 500);
  const Rgba blob = At(albedo, 32, 30);
  EXPECT_NEAR(blob.r, 0.9f, 0.05f);
  EXPECT_NEAR(blob.g, 0.35f, 0.05f);
  const Rgba shaded = At(lit, 30, 27);
  EXPECT_GT(shaded.r, shaded.g);
  EXPECT_GT(shaded.g, shaded.b);
}

}  // namespace
}  // namespace orvane
