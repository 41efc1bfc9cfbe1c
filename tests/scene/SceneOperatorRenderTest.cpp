// Scene operators drawing on llvmpipe: graphs loaded from document text draw into the G-buffer,
// which is read back and compared with what a person would expect to see.

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "render/Camera.h"
#include "render/RenderFixture.h"
#include "render/RenderStateDesc.h"
#include "render/ResourceDesc.h"
#include "scene/GBuffer.h"
#include "scene/SceneDocument.h"
#include "scene/ScenePlayer.h"
#include "scene/SceneProbeOp.h"
#include "scene/SceneRenderer.h"
#include "support/GraphFixture.h"

namespace orvane {
namespace {

using test::Rgba;
using testing::LoadedGraph;
using testing::ProbeOp;
using testing::SceneDocument;
using Inputs = std::vector<std::pair<int, std::string>>;

constexpr uint32_t kSize = 64;
constexpr int kPixels = static_cast<int>(kSize * kSize);

// ---------------------------------------------------------------------------------------------
// Reference placement, written out from the elementary rotations: Scale * Rx * Ry * Rz * Translate.

Matrix Rows3(float a0, float a1, float a2, float b0, float b1, float b2, float c0, float c1, float c2) {
  Matrix m = Identity();
  const float values[3][3] = {{a0, a1, a2}, {b0, b1, b2}, {c0, c1, c2}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m.m[i][j] = values[i][j];
  return m;
}

Matrix ReferencePlacement(const Vector4& t, const Vector4& degrees, const Vector4& s, bool zyxOrder = false) {
  const float k = 3.14159265f / 180.0f;
  const float sx = std::sin(degrees.x * k), cx = std::cos(degrees.x * k);
  const float sy = std::sin(degrees.y * k), cy = std::cos(degrees.y * k);
  const float sz = std::sin(degrees.z * k), cz = std::cos(degrees.z * k);
  const Matrix rx = Rows3(1, 0, 0, 0, cx, sx, 0, -sx, cx);
  const Matrix ry = Rows3(cy, 0, -sy, 0, 1, 0, sy, 0, cy);
  const Matrix rz = Rows3(cz, sz, 0, -sz, cz, 0, 0, 0, 1);
  const Matrix rotation = zyxOrder ? Multiply(Multiply(rz, ry), rx) : Multiply(Multiply(rx, ry), rz);
  Matrix translate = Identity();
  translate.m[3][0] = t.x;
  translate.m[3][1] = t.y;
  translate.m[3][2] = t.z;
  return Multiply(Multiply(Rows3(s.x, 0, 0, 0, s.y, 0, 0, 0, s.z), rotation), translate);
}

// What a convex mesh covers: the convex hull of its projected corners. Pixels whose centre lies
// within a pixel of the outline are left undecided (rasterisation rules and float rounding).
enum class Cover { kOutside, kInside, kEdge };

struct ScreenPoint {
  float x, y;
};

float CrossZ(const ScreenPoint& o, const ScreenPoint& a, const ScreenPoint& b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

std::vector<ScreenPoint> ConvexHull(std::vector<ScreenPoint> points) {
  std::sort(points.begin(), points.end(), [](auto& a, auto& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  std::vector<ScreenPoint> hull(2 * points.size());
  size_t k = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    while (k >= 2 && CrossZ(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  for (size_t i = points.size() - 1, t = k + 1; i > 0; --i) {
    while (k >= t && CrossZ(hull[k - 2], hull[k - 1], points[i - 1]) <= 0) --k;
    hull[k++] = points[i - 1];
  }
  hull.resize(k - 1);
  return hull;
}

using CoverMap = std::array<Cover, kPixels>;

// Adds the box of unit size placed by `world` to `map`.
void AddBoxSilhouette(CoverMap& map, const Matrix& world, const Matrix& camera, const Matrix& projection) {
  const Matrix toClip = Multiply(Multiply(world, RigidInverse(camera)), projection);
  std::vector<ScreenPoint> corners;
  for (int i = 0; i < 8; ++i) {
    const Vector4 corner{(i & 1) ? 0.5f : -0.5f, (i & 2) ? 0.5f : -0.5f, (i & 4) ? 0.5f : -0.5f, 1.0f};
    const Vector4 clip = Transform(corner, toClip);
    // Top row first: y = +1 in normalised device coordinates is row 0.
    corners.push_back({(clip.x / clip.w + 1.0f) * 0.5f * kSize, (1.0f - clip.y / clip.w) * 0.5f * kSize});
  }
  const std::vector<ScreenPoint> hull = ConvexHull(corners);
  for (int y = 0; y < static_cast<int>(kSize); ++y) {
    for (int x = 0; x < static_cast<int>(kSize); ++x) {
      const ScreenPoint p{x + 0.5f, y + 0.5f};
      float nearest = std::numeric_limits<float>::max();  // signed distance to the outline
      for (size_t i = 0; i < hull.size(); ++i) {
        const ScreenPoint& a = hull[i];
        const ScreenPoint& b = hull[(i + 1) % hull.size()];
        nearest = std::min(nearest, CrossZ(a, b, p) / std::hypot(b.x - a.x, b.y - a.y));
      }
      Cover& cover = map[static_cast<size_t>(y) * kSize + static_cast<size_t>(x)];
      const Cover box = nearest > 1.0f ? Cover::kInside : nearest < -1.0f ? Cover::kOutside : Cover::kEdge;
      if (box == Cover::kInside || (box == Cover::kEdge && cover == Cover::kOutside)) cover = box;
    }
  }
}

CoverMap EmptyMap() {
  CoverMap map;
  map.fill(Cover::kOutside);
  return map;
}

// Pixels where a coverage differs from the map, undecided ones aside.
int Mismatches(const std::vector<bool>& covered, const CoverMap& map) {
  int count = 0;
  for (size_t i = 0; i < map.size(); ++i) {
    if (map[i] != Cover::kEdge && covered[i] != (map[i] == Cover::kInside)) ++count;
  }
  return count;
}

int Differences(const CoverMap& a, const CoverMap& b) {
  int count = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != Cover::kEdge && b[i] != Cover::kEdge && a[i] != b[i]) ++count;
  }
  return count;
}

// ---------------------------------------------------------------------------------------------

class SceneOperatorRenderTest : public test::RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    depth = MakeDepth(kSize, kSize);
    startCamera = LookAtFrame({0, 0, -8, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
    startProjection = FrameProjection(kSize, kSize);
  }

  // Loads the graph and gives its player what the application gives it at start-up.
  Player& Load(const SceneDocument& doc) {
    graph = std::make_unique<LoadedGraph>(doc.text());
    Player& player = graph->player;
    test::PrepareScenePlayer(player, adapter(), draw(), depth.get(), kSize);
    return player;
  }

  // One frame: the scene reset, then output 0 of operator `root`.
  void Frame(int root, float time = 0.0f) {
    graph->player.BeginScene();
    graph->output(static_cast<size_t>(root)).Evaluate(time, graph->player);
  }

  std::vector<Rgba> ReadTarget(size_t index) {
    auto copy = MakeTarget(kSize, kSize);
    const RenderStateDesc plainCopy;
    Player& player = graph->player;
    player.renderer->Copy(copy.get(), player.gbuffer->targets[index], player.rect, nullptr, plainCopy, true);
    return ReadPixels(*copy);
  }
  std::vector<bool> Coverage() {
    std::vector<bool> covered;
    for (const Rgba& pixel : ReadTarget(0)) covered.push_back(pixel.a > 0.5f);
    return covered;
  }
  static Rgba At(const std::vector<Rgba>& pixels, uint32_t x, uint32_t y) { return pixels[y * kSize + x]; }

  CoverMap BoxMap(const Matrix& world) {
    CoverMap map = EmptyMap();
    AddBoxSilhouette(map, world, startCamera, startProjection);
    return map;
  }

  test::ResourcePtr depth;
  Matrix startCamera, startProjection;
  std::unique_ptr<LoadedGraph> graph;
};

TEST_F(SceneOperatorRenderTest, TheDefaultCameraLooksAtACubeCornerOn) {
  SceneDocument doc;
  const int cube = doc.Add("Cube");
  const int camera = doc.Add("Camera", {}, {{cube, "OutScene", "InScene"}});
  Load(doc);
  Frame(camera);

  CoverMap map = EmptyMap();
  AddBoxSilhouette(map, Identity(), graph->player.camera, graph->player.projection);
  EXPECT_EQ(Mismatches(Coverage(), map), 0);
  // Three faces meet in the middle: the top one above it, the +X face to the lower left and the
  // +Z face to the lower right; all of them face the camera.
  const auto normals = ReadTarget(1);
  const Rgba top = At(normals, 32, 26), left = At(normals, 27, 35), right = At(normals, 37, 35);
  EXPECT_GT(top.g, 0.5f);
  EXPECT_LT(left.r, -0.3f);
  EXPECT_GT(right.r, 0.3f);
  for (const Rgba& n : {top, left, right}) EXPECT_LT(n.b, -0.3f);
  // The background is untouched in every target.
  for (size_t target = 0; target < 4; ++target) {
    const auto pixels = ReadTarget(target);
    for (uint32_t corner : {0u, kSize - 1}) {
      test::ExpectColorNear(At(pixels, corner, corner), {});
      test::ExpectColorNear(At(pixels, kSize - 1 - corner, corner), {});
    }
  }
}

TEST_F(SceneOperatorRenderTest, TransformsPlaceTheCubeAsAPersonWouldExpect) {
  struct Case {
    const char* what;
    Vector4 position, rotation, scale;
  };
  const Case cases[] = {
      {"unchanged, scaled", {}, {}, {3, 3, 3, 0}},
      {"turned 45 degrees in the picture plane", {}, {0, 0, 45, 0}, {2, 2, 2, 0}},
      {"turned about X, then Y", {}, {30, 45, 0, 0}, {2.5f, 2.5f, 2.5f, 0}},
      {"turned about all three axes", {}, {40, 20, 60, 0}, {2.5f, 2.5f, 2.5f, 0}},
      {"moved right and up", {1.0f, 0.8f, 0, 0}, {}, {1.5f, 1.5f, 1.5f, 0}},
      {"stretched and turned", {0, 0, 1, 0}, {0, 30, 0, 0}, {3, 1, 2, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SceneDocument doc;
    const int cube = doc.Add("Cube");
    const float values[9] = {c.position.x, c.position.y, c.position.z, c.rotation.x, c.rotation.y,
                             c.rotation.z, c.scale.x,    c.scale.y,    c.scale.z};
    const char* const names[9] = {"Position.X", "Position.Y", "Position.Z", "Rotation.X", "Rotation.Y",
                                  "Rotation.Z", "Scale.X",    "Scale.Y",    "Scale.Z"};
    Inputs inputs;
    for (int i = 0; i < 9; ++i) inputs.push_back({i + 1, std::string(names[i]) + ": " + std::to_string(values[i])});
    const int transform = doc.Add("Transform", inputs, {{cube, "OutScene", "InScene"}});
    Load(doc);
    Frame(transform);
    const CoverMap expected = BoxMap(ReferencePlacement(c.position, c.rotation, c.scale));
    EXPECT_EQ(Mismatches(Coverage(), expected), 0);
    if (c.rotation.x != 0 && c.rotation.y != 0) {
      // The case tells the rotation order apart: Z, Y, X would cover visibly other pixels.
      const CoverMap otherOrder = BoxMap(ReferencePlacement(c.position, c.rotation, c.scale, true));
      EXPECT_GT(Differences(expected, otherOrder), 20);
    }
  }
}

TEST_F(SceneOperatorRenderTest, MovingUpAndRightMovesThePictureUpAndRight) {
  SceneDocument doc;
  const int cube = doc.Add("Cube");
  const int transform = doc.Add("Transform", {{1, "Position.X: 1.5"}, {2, "Position.Y: 1.5"}}, {{cube, "OutScene", "InScene"}});
  Load(doc);
  Frame(transform);
  const auto covered = Coverage();
  float sumX = 0, sumY = 0, count = 0;
  for (uint32_t i = 0; i < covered.size(); ++i) {
    if (!covered[i]) continue;
    sumX += static_cast<float>(i % kSize);
    sumY += static_cast<float>(i / kSize);
    ++count;
  }
  ASSERT_GT(count, 20);
  EXPECT_GT(sumX / count, 40.0f);  // right half
  EXPECT_LT(sumY / count, 24.0f);  // top half: rows run from the top
}

TEST_F(SceneOperatorRenderTest, AnInnerTransformMovesInTheOuterOnesTurnedFrame) {
  SceneDocument doc;
  const int cube = doc.Add("Cube");
  const int inner = doc.Add("Transform", {{1, "Position.X: 1.5"}}, {{cube, "OutScene", "InScene"}});
  const int outer = doc.Add("Transform", {{6, "Rotation.Z: 90"}, {7, "Scale.X: 1.5"}, {8, "Scale.Y: 1.5"}, {9, "Scale.Z: 1.5"}},
                            {{inner, "OutScene", "InScene"}});
  Load(doc);
  Frame(outer);
  const Matrix world = Multiply(ReferencePlacement({1.5f, 0, 0, 0}, {}, {1, 1, 1, 0}),
                                ReferencePlacement({}, {0, 0, 90, 0}, {1.5f, 1.5f, 1.5f, 0}));
  EXPECT_EQ(Mismatches(Coverage(), BoxMap(world)), 0);
  EXPECT_TRUE(Coverage()[10 * kSize + 32]);  // above the middle, not to its right
}

TEST_F(SceneOperatorRenderTest, TwoMeshesUnderTwoTransformsDoNotAffectEachOther) {
  SceneDocument doc;
  const int cube = doc.Add("Cube");
  const int red = doc.Add("Material", {{4, "Color.R: 1"}, {5, "Color.G: 0"}, {6, "Color.B: 0"}}, {{cube, "OutScene", "sceneIn"}});
  const int left = doc.Add("Transform", {{1, "Position.X: -1.5"}, {4, "Rotation.X: 30"}}, {{red, "SceneOut", "InScene"}});
  const int right = doc.Add("Transform", {{1, "Position.X: 1.5"}}, {{cube, "OutScene", "InScene"}});
  const int group = doc.Add("Group", {}, {{left, "OutScene", "InScene"}, {right, "OutScene", "InScene"}});
  Load(doc);
  Frame(group);

  CoverMap map = EmptyMap();
  AddBoxSilhouette(map, ReferencePlacement({-1.5f, 0, 0, 0}, {30, 0, 0, 0}, {1, 1, 1, 0}), startCamera, startProjection);
  AddBoxSilhouette(map, ReferencePlacement({1.5f, 0, 0, 0}, {}, {1, 1, 1, 0}), startCamera, startProjection);
  EXPECT_EQ(Mismatches(Coverage(), map), 0);
  // The camera looks along +Z with +X to the right: the red cube is on the left.
  const auto albedo = ReadTarget(0);
  test::ExpectColorNear(At(albedo, 14, 32), {1, 0, 0, 1}, 2e-3f);
  test::ExpectColorNear(At(albedo, 50, 32), {0.2f, 0.2f, 0.2f, 1}, 2e-3f);
  test::ExpectColorNear(At(albedo, 32, 32), {});
}

TEST_F(SceneOperatorRenderTest, AGroupDrawsItsMembersInConnectionOrder) {
  // Three materials on the same cube: with equal depths the member drawn last shows.
  const std::array<const char*, 3> colors{"R", "G", "B"};
  for (bool reversed : {false, true}) {
    SCOPED_TRACE(reversed ? "reversed" : "in order");
    SceneDocument doc;
    const int cube = doc.Add("Cube");
    std::vector<SceneDocument::Link> members;
    for (size_t i = 0; i < colors.size(); ++i) {
      Inputs color{{4, "Color.R: 0"}, {5, "Color.G: 0"}, {6, "Color.B: 0"}};
      color[i].second = std::string("Color.") + colors[i] + ": 1";
      members.push_back({doc.Add("Material", color, {{cube, "OutScene", "sceneIn"}}), "SceneOut", "InScene"});
    }
    if (reversed) std::reverse(members.begin(), members.end());
    const int scaled = doc.Add("Transform", {{7, "Scale.X: 3"}, {8, "Scale.Y: 3"}},
                               {{doc.Add("Group", {}, members), "OutScene", "InScene"}});
    Load(doc);
    Frame(scaled);
    test::ExpectColorNear(At(ReadTarget(0), 32, 32), reversed ? Rgba{1, 0, 0, 1} : Rgba{0, 0, 1, 1}, 2e-3f);
  }
}

TEST_F(SceneOperatorRenderTest, ACameraInAGroupTurnsTheViewForLaterMembersAndLaterFrames) {
  SceneDocument doc;
  const int cube = doc.Add("Cube");
  const int green = doc.Add("Material", {{4, "Color.R: 0"}, {5, "Color.G: 1"}, {6, "Color.B: 0"}}, {{cube, "OutScene", "sceneIn"}});
  const int greyOnRight = doc.Add("Transform", {{1, "Position.X: 2"}}, {{cube, "OutScene", "InScene"}});
  const int greenOnRight = doc.Add("Transform", {{1, "Position.X: 2"}}, {{green, "SceneOut", "InScene"}});
  // From the other side: +X now shows on the left.
  const int camera = doc.Add("Camera", {{1, "Position.X: 0"}, {2, "Position.Y: 0"}, {3, "Position.Z: 8"}, {4, "Direction.X: 0"},
                                        {5, "Direction.Y: 0"}, {6, "Direction.Z: -1"}});
  const int group = doc.Add("Group", {}, {{greyOnRight, "OutScene", "InScene"}, {camera, "OutScene", "InScene"},
                                          {greenOnRight, "OutScene", "InScene"}});
  Load(doc);
  Frame(group);
  auto albedo = ReadTarget(0);
  test::ExpectColorNear(At(albedo, 53, 32), {0.2f, 0.2f, 0.2f, 1}, 2e-3f);
  test::ExpectColorNear(At(albedo, 11, 32), {0, 1, 0, 1}, 2e-3f);

  // The next frame starts with the camera of the last one: both cubes on the left.
  Frame(group, 1.0f);
  albedo = ReadTarget(0);
  test::ExpectColorNear(At(albedo, 53, 32), {});
  test::ExpectColorNear(At(albedo, 11, 32), {0, 1, 0, 1}, 2e-3f);
}

TEST_F(SceneOperatorRenderTest, MaterialColoursFactorsAndTexturesReachTheGBuffer) {
  // 2x2 textures: display-encoded (255, 128, 0) and grey 128 as a colour file gives them (sRGB),
  // and linear 0.5 as an image of the image chain holds it (float).
  const auto makeTexture = [&](FormatCode format, const void* texels) {
    ResourceDesc desc;
    desc.flags = kResourceTexture | kResourceShaderView | kUsageDefault;
    desc.format = format;
    desc.width = desc.height = 2;
    return test::ResourcePtr(CreateResource(adapter(), desc, texels));
  };
  std::array<uint8_t, 16> orangeTexels{}, greyTexels{};
  for (size_t i = 0; i < orangeTexels.size(); i += 4) orangeTexels[i] = 255, orangeTexels[i + 1] = 128, orangeTexels[i + 3] = 255;
  for (size_t i = 0; i < greyTexels.size(); i += 4) greyTexels[i] = greyTexels[i + 1] = greyTexels[i + 2] = 128, greyTexels[i + 3] = 255;
  std::array<float, 16> halfTexels;
  halfTexels.fill(0.5f);
  const test::ResourcePtr textures[] = {makeTexture(kFormatRGBA8Srgb, orangeTexels.data()),
                                        makeTexture(kFormatRGBA8Srgb, greyTexels.data()),
                                        makeTexture(kFormatRGBA32F, halfTexels.data())};
  enum TextureName { kOrange, kGrey, kHalf };
  const float decoded = 0.21586f;  // 128 / 255 in linear light
  const float stored = 128.0f / 255.0f;

  struct Bound {
    TextureName texture;
    const char* port;
  };
  struct Case {
    const char* what;
    Inputs inner;
    std::vector<Bound> innerTextures, outerTextures;
    Rgba albedo, material, emissive;
  };
  const Inputs shiny{{4, "Color.R: 1"},       {5, "Color.G: 0.5"},      {6, "Color.B: 0.25"},   {7, "Specular.R: 0.04"},
                     {8, "Specular.G: 0.04"}, {9, "Specular.B: 0.04"}, {10, "Metalness: 0.8"}, {11, "Roughness: 0.3"},
                     {12, "Emissive.R: 0"},   {13, "Emissive.G: 0.5"},  {14, "Emissive.B: 2"}};
  const Inputs white{{4, "Color.R: 1"}, {5, "Color.G: 1"}, {6, "Color.B: 1"}};
  const Inputs glowing{{12, "Emissive.R: 1"}, {13, "Emissive.G: 1"}, {14, "Emissive.B: 1"}};
  const Rgba defaultMaterial{0.6f, 0.5f, 0.01f, 1};
  const Case cases[] = {
      {"defaults", {}, {}, {}, {0.2f, 0.2f, 0.2f, 1}, defaultMaterial, {0, 0, 0, 1}},
      {"colours and factors", shiny, {}, {}, {1, 0.5f, 0.25f, 1}, {0.3f, 0.8f, 0.04f, 1}, {0, 0.5f, 2, 1}},
      {"albedo texture, decoded once", white, {{kOrange, "AlbedoTex"}}, {}, {1, decoded, 0, 1}, defaultMaterial, {0, 0, 0, 1}},
      {"outer texture not inherited", white, {}, {{kOrange, "AlbedoTex"}}, {1, 1, 1, 1}, defaultMaterial, {0, 0, 0, 1}},
      {"a linear image as emission is not decoded", glowing, {{kHalf, "EmissiveTex"}}, {}, {0.2f, 0.2f, 0.2f, 1},
       defaultMaterial, {0.5f, 0.5f, 0.5f, 1}},
      {"a colour file as emission is decoded", glowing, {{kGrey, "EmissiveTex"}}, {}, {0.2f, 0.2f, 0.2f, 1},
       defaultMaterial, {decoded, decoded, decoded, 1}},
      {"roughness and metalness maps are data", {}, {{kGrey, "RoughnessTex"}, {kGrey, "MetalnessTex"}}, {},
       {0.2f, 0.2f, 0.2f, 1}, {0.6f * stored, 0.5f * stored, 0.01f, 1}, {0, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SceneDocument doc;
    const int cube = doc.Add("Cube");
    int probes[3];
    for (int& probe : probes) probe = doc.Add("TestProbe");
    const auto links = [&](int scene, const char* port, const std::vector<Bound>& bound) {
      std::vector<SceneDocument::Link> result{{scene, port, "sceneIn"}};
      for (const Bound& b : bound) result.push_back({probes[b.texture], "OutImage", b.port});
      return result;
    };
    const int inner = doc.Add("Material", c.inner, links(cube, "OutScene", c.innerTextures));
    const int outer = doc.Add("Material", {}, links(inner, "SceneOut", c.outerTextures));
    const int scaled = doc.Add("Transform", {{7, "Scale.X: 3"}, {8, "Scale.Y: 3"}}, {{outer, "SceneOut", "InScene"}});
    Load(doc);
    for (int i = 0; i < 3; ++i) dynamic_cast<ProbeOp&>(graph->op(static_cast<size_t>(probes[i]))).texture = textures[i].get();
    Frame(scaled);
    test::ExpectColorNear(At(ReadTarget(0), 32, 32), c.albedo, 3e-3f);
    test::ExpectColorNear(At(ReadTarget(2), 32, 32), c.material, 3e-3f);
    test::ExpectColorNear(At(ReadTarget(3), 32, 32), c.emissive, 3e-3f);
  }
}

TEST_F(SceneOperatorRenderTest, ACubeWithAConnectedSizeStillDrawsTheUnitBoxAndEvaluatesItsSource) {
  SceneDocument doc;
  const int size = doc.Add("TestProbe", {{0, "Tag: size"}, {1, "Value: 5"}});
  const int cube = doc.Add("Cube", {{1, "Size.Y: 3"}}, {{size, "OutFloat", "Size.X"}});
  const int scaled = doc.Add("Transform", {{7, "Scale.X: 2"}, {8, "Scale.Y: 2"}, {9, "Scale.Z: 2"}}, {{cube, "OutScene", "InScene"}});
  Load(doc);
  ProbeOp::Log().clear();
  const CoverMap unitBox = BoxMap(ReferencePlacement({}, {}, {2, 2, 2, 0}));
  for (float time : {0.0f, 1.0f}) {
    Frame(scaled, time);
    EXPECT_EQ(Mismatches(Coverage(), unitBox), 0);
  }
  EXPECT_EQ(ProbeOp::Tags(), (std::vector<std::string>{"size", "size"}));
}

TEST_F(SceneOperatorRenderTest, EveryBuiltInMeshFacesTheDefaultCameraInTheMiddle) {
  struct Case {
    const char* type;
    int minCovered, maxCovered;
  };
  // Seen from 6.93 away, one unit is 11.15 pixels across in the middle. The unit sphere spans a
  // disc of radius 11.3 pixels (400 pixels); the dome the nearer part of it. The quad, 35.3
  // degrees below the view, shows 0.58 square units (72 pixels); the cylinder about 3.45 (430);
  // the prism about 2.3 (280).
  const Case cases[] = {{"Sphere", 370, 410}, {"Dome", 250, 380}, {"Quad", 62, 82}, {"Cylinder", 390, 470}, {"Prism", 240, 320}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    SceneDocument doc;
    const int mesh = doc.Add(c.type);
    const int camera = doc.Add("Camera", {}, {{mesh, "OutScene", "InScene"}});
    Load(doc);
    Frame(camera);
    const auto covered = Coverage();
    const int count = static_cast<int>(std::count(covered.begin(), covered.end(), true));
    EXPECT_GE(count, c.minCovered);
    EXPECT_LE(count, c.maxCovered);
    EXPECT_TRUE(covered[32 * kSize + 32]);
    EXPECT_FALSE(covered[0]);
    EXPECT_LT(At(ReadTarget(1), 32, 32).b, -0.2f);  // the surface in the middle faces the camera
  }
}

TEST_F(SceneOperatorRenderTest, DegenerateCamerasAndTransformsLeaveLaterDrawsIntact) {
  SceneDocument doc;
  const int cube = doc.Add("Cube");
  const int red = doc.Add("Material", {{4, "Color.R: 1"}, {5, "Color.G: 0"}, {6, "Color.B: 0"}}, {{cube, "OutScene", "sceneIn"}});
  const int lost = doc.Add("Transform", {{1, "Position.X: nan"}, {7, "Scale.X: inf"}}, {{red, "SceneOut", "InScene"}});
  const int blind = doc.Add("Camera", {{4, "Direction.X: 0"}, {5, "Direction.Y: 0"}, {6, "Direction.Z: 0"}, {7, "FOV: nan"}});
  const int big = doc.Add("Transform", {{7, "Scale.X: 3"}, {8, "Scale.Y: 3"}, {9, "Scale.Z: 3"}}, {{cube, "OutScene", "InScene"}});
  const int group = doc.Add("Group", {}, {{blind, "OutScene", "InScene"}, {lost, "OutScene", "InScene"}, {big, "OutScene", "InScene"}});
  Load(doc);
  for (float time : {0.0f, 1.0f}) {
    Frame(group, time);
    EXPECT_EQ(Mismatches(Coverage(), BoxMap(ReferencePlacement({}, {}, {3, 3, 3, 0}))), 0);
    for (size_t target = 0; target < 4; ++target) {
      for (const Rgba& pixel : ReadTarget(target)) {
        ASSERT_TRUE(std::isfinite(pixel.r) && std::isfinite(pixel.g) && std::isfinite(pixel.b) && std::isfinite(pixel.a));
      }
    }
    test::ExpectColorNear(At(ReadTarget(0), 32, 32), {0.2f, 0.2f, 0.2f, 1}, 2e-3f);  // no red anywhere in the middle
  }
}

}  // namespace
}  // namespace orvane
