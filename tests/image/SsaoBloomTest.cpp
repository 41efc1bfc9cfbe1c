// Ambient occlusion and bloom on llvmpipe: a cube on a floor drawn into the G-buffer for SSAO,
// a bright spot for bloom, and what a person would see in the results.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "ImageTestSupport.h"
#include "image/PostEffects.h"
#include "render/Camera.h"
#include "render/ConstantBuffer.h"
#include "render/Screen.h"
#include "scene/GBuffer.h"
#include "scene/RuntimeRandom.h"
#include "scene/ScenePlayer.h"

namespace orvane {
namespace {

using test::kSize;
using test::Rgba;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

bool Finite(const Rgba& p) {
  return std::isfinite(p.r) && std::isfinite(p.g) && std::isfinite(p.b) && std::isfinite(p.a);
}

// A float constant as the pass's next draw reads it.
float ConstantOf(ShaderPass* pass, const char* name) {
  const ConstantBuffer* buffer = pass ? pass->constantBuffers[0] : nullptr;
  if (buffer == nullptr) return kNaN;
  const ConstantBuffer::Variable* variable = buffer->FindVariable(name);
  if (variable == nullptr) return kNaN;
  float value;
  std::memcpy(&value, buffer->contents().data() + variable->offset, sizeof value);
  return value;
}

// --- SSAO ------------------------------------------------------------------------------------

enum SsaoOp : size_t { kGrey = 1, kGreyImage, kSsao, kOtherSsao, kQuad, kFloor, kCube, kRaisedCube, kScene, kSplit };

// A grey image (the "lit" picture, so that the result shows the occlusion alone), two SSAO
// operators over it, and a unit cube standing on an 8 x 8 floor.
std::string SsaoGraph() {
  return test::GraphText({
      "TestPaint; input[1] { Color.R: 0.5; } input[2] { Color.G: 0.5; } input[3] { Color.B: 0.5; }",
      "Image;" + test::Link(kGrey, "SceneOut", kGreyImage, "ImageIn"),
      "SSAO; input[1] { Radius: 1; }" + test::Link(kGreyImage, "ImageOut", kSsao, "ImageIn"),
      "SSAO; input[1] { Radius: 0; }" + test::Link(kGreyImage, "ImageOut", kOtherSsao, "ImageIn"),
      "Quad;",
      "Transform; input[7] { Scale.X: 8; } input[9] { Scale.Z: 8; }" + test::Link(kQuad, "OutScene", kFloor, "InScene"),
      "Cube;",
      "Transform; input[2] { Position.Y: 0.5; }" + test::Link(kCube, "OutScene", kRaisedCube, "InScene"),
      "Group;" + test::Link(kFloor, "OutScene", kScene, "InScene", 0) +
          test::Link(kRaisedCube, "OutScene", kScene, "InScene", 1),
      "SplitGBuffer;" + test::Link(kScene, "OutScene", kSplit, "InImage"),
  });
}

class SsaoTest : public test::ImageRenderTest {
protected:
  void SetUp() override {
    ImageRenderTest::SetUp();
    depth = MakeDepth(kSize, kSize);
    graph = std::make_unique<testing::LoadedGraph>(SsaoGraph());
    test::PrepareScenePlayer(player(), adapter(), draw(), depth.get(), kSize);
    PrepareSwapTargets(player());
    // Looking down at the cube from the front and above.
    player().camera = LookAtFrame({0, 4, -6, 0}, {0, 0.5f, 0, 0}, {0, 1, 0, 0});
  }
  Player& player() { return graph->player; }

  // Draws the scene into the G-buffer, then runs an SSAO operator and reads its image.
  std::vector<Rgba> Run(size_t ssao) {
    player().BeginScene();
    graph->output(kScene).Evaluate(0.0f, player());
    player().imageIndex = 0;
    graph->output(ssao).Evaluate(0.0f, player());
    return ReadImage(player().image);
  }

  // The pixel a world point is seen at.
  std::pair<uint32_t, uint32_t> PixelOf(const Vector4& world) {
    const Vector4 clip = Transform(world, Multiply(RigidInverse(player().camera), player().projection));
    const float x = (clip.x / clip.w + 1.0f) * 0.5f * kSize;
    const float y = (1.0f - clip.y / clip.w) * 0.5f * kSize;
    return {static_cast<uint32_t>(x), static_cast<uint32_t>(y)};
  }
  float Brightness(const std::vector<Rgba>& pixels, const Vector4& world) {
    const auto [x, y] = PixelOf(world);
    return At(pixels, x, y).g;
  }

  test::ResourcePtr depth;
  std::unique_ptr<testing::LoadedGraph> graph;
};

TEST_F(SsaoTest, DarkensTheFloorNextToTheCubeAndLeavesOpenFloorAlone) {
  const auto pixels = Run(kSsao);
  // In front of the cube's foot, and beside it.
  EXPECT_LT(Brightness(pixels, {0.0f, 0.0f, -0.58f, 1.0f}), 0.45f);
  EXPECT_LT(Brightness(pixels, {0.6f, 0.0f, 0.0f, 1.0f}), 0.45f);
  // Open floor two units away, and the top of the cube, are as lit as before.
  for (const Vector4& open : {Vector4{2.5f, 0, -2.5f, 1}, Vector4{-2.5f, 0, -2.0f, 1}, Vector4{0, 1.0f, 0, 1}}) {
    EXPECT_NEAR(Brightness(pixels, open), 0.5f, 0.015f);
  }
  // No halo: the floor seen just above the cube lies far behind it and stays open.
  const auto normals = ReadImage(player().gbuffer->targets[1]);
  const uint32_t column = PixelOf({0.0f, 0.0f, 3.0f, 1.0f}).first;
  uint32_t edge = 0;  // the first row of the cube's top below the floor behind it
  for (uint32_t row = 1; row < kSize && edge == 0; ++row) {
    const float above = At(normals, column, row - 1).a;
    if (above > 0.0f && At(normals, column, row).a < above - 1.0f) edge = row;
  }
  ASSERT_GT(edge, 3u);
  for (uint32_t row = edge - 3; row < edge; ++row) EXPECT_NEAR(At(pixels, column, row).g, 0.5f, 0.015f) << row;
  // Nothing drawn (above the floor's far edge) stays as it was; every pixel keeps its alpha.
  EXPECT_NEAR(At(pixels, 32, 1).g, 0.5f, 1e-3f);
  for (const Rgba& p : pixels) {
    ASSERT_TRUE(Finite(p));
    EXPECT_LE(p.g, 0.5f + 1e-3f);
    EXPECT_NEAR(p.a, 1.0f, 1e-3f);
  }
}

TEST_F(SsaoTest, ShowsNoFourByFourPatternOnTheOpenFloor) {
  const auto pixels = Run(kSsao);
  // A row of open floor in front of the cube: after the blur, neighbours differ by far less than
  // the noise would make them.
  const auto [left, row] = PixelOf({-3.0f, 0.0f, -2.5f, 1.0f});
  const auto [right, unused] = PixelOf({3.0f, 0.0f, -2.5f, 1.0f});
  float largest = 0.0f;
  for (uint32_t x = left + 1; x < right; ++x) largest = std::max(largest, std::fabs(At(pixels, x, row).g - At(pixels, x - 1, row).g));
  EXPECT_LT(largest, 0.01f);
}

TEST_F(SsaoTest, WithinAViewportOnlyItsPixelsAreDrawn) {
  const auto full = Run(kSsao);
  player().rect = {16, 16, 48, 48};
  const auto part = Run(kSsao);
  for (uint32_t y = 0; y < kSize; ++y) {
    for (uint32_t x = 0; x < kSize; ++x) {
      const bool inside = x >= 16 && x < 48 && y >= 16 && y < 48;
      const Rgba& p = At(part, x, y);
      ASSERT_TRUE(Finite(p));
      if (!inside) {
        ASSERT_EQ(p.a, 0.0f) << x << "," << y;  // cleared, never drawn
      } else {
        ASSERT_GT(p.g, 0.25f) << x << "," << y;  // no black seeping in from beyond the edges
        ASSERT_LE(p.g, 0.5f + 1e-3f) << x << "," << y;
      }
    }
  }
}

TEST_F(SsaoTest, EachOperatorDrawsWithItsOwnRadius) {
  const float before = Brightness(Run(kSsao), {0.0f, 0.0f, -0.58f, 1.0f});
  EXPECT_LT(before, 0.45f);
  EXPECT_FLOAT_EQ(ConstantOf(postEffects->ssao.aoPass, "gOcclusionRadius"), 1.0f);
  const auto open = Run(kOtherSsao);
  EXPECT_FLOAT_EQ(ConstantOf(postEffects->ssao.aoPass, "gOcclusionRadius"), 0.0f);
  for (const Rgba& p : open) EXPECT_NEAR(p.g, 0.5f, 1e-3f);  // radius 0 occludes nothing
  // The first operator's radius is back for its next run: the other one's did not stick.
  EXPECT_FLOAT_EQ(Brightness(Run(kSsao), {0.0f, 0.0f, -0.58f, 1.0f}), before);
}

TEST_F(SsaoTest, SendsItsConstantsAndReadsTheSplitNormalTarget) {
  Run(kSsao);
  const SsaoEffect& ssao = postEffects->ssao;
  const float values[][2] = {{ConstantOf(ssao.aoPass, "gOcclusionFadeStart"), 0.3f},
                             {ConstantOf(ssao.aoPass, "gOcclusionFadeEnd"), 8.0f},
                             {ConstantOf(ssao.aoPass, "gOcclusionPower"), 1.0f},
                             {ConstantOf(ssao.aoPass, "gSurfaceEpsilon"), 0.08f}};
  for (const auto& value : values) EXPECT_FLOAT_EQ(value[0], value[1]);
  // The square test viewport: the corner's x equals its y.
  EXPECT_FLOAT_EQ(ssao.frustumCorner.x, ssao.frustumCorner.y);
  EXPECT_FLOAT_EQ(ssao.frustumCorner.z, 1000.0f);

  graph->output(kSplit, 1).Evaluate(0.0f, player());  // "Normal"
  EXPECT_EQ(player().image, player().gbuffer->targets[1]);
  ASSERT_NE(ssao.aoPass, nullptr);
  EXPECT_EQ(ssao.aoPass->textures[kStagePixel].at(0), player().image);
  EXPECT_EQ(ssao.aoPass->textures[kStagePixel].at(1), ssao.noise);
  for (size_t output = 0; output < 4; ++output) {
    graph->output(kSplit, output).Evaluate(0.0f, player());
    EXPECT_EQ(player().image, player().gbuffer->targets[output]);
    EXPECT_EQ(graph->op(kSplit).outputs[output].name, GBuffer::kTargetNames[output]);
  }
}

TEST_F(SsaoTest, TheNoiseTextureHoldsTheDrawnTexels) {
  RuntimeSrand(1);
  const SsaoSamples samples = DrawSsaoSamples();
  const std::vector<uint8_t> texels = ReadTexture(*postEffects->ssao.noise);
  ASSERT_EQ(texels.size(), samples.noise.size());
  EXPECT_TRUE(std::equal(texels.begin(), texels.end(), samples.noise.begin()));
  for (size_t i = 0; i < samples.offsets.size(); ++i) EXPECT_EQ(postEffects->ssao.offsets[i].x, samples.offsets[i].x);
}

TEST_F(SsaoTest, NonFiniteParametersGiveNoNonFinitePixels) {
  for (float value : {kNaN, kInfinity, -kInfinity}) {
    SCOPED_TRACE(value);
    for (const char* input : {"Radius", "FadeStart", "FadeEnd", "Power", "SurfaceEpsilon"}) {
      test::SetInput(graph->op(kSsao), input, value);
    }
    const auto pixels = Run(kSsao);
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), Finite));
  }
}

TEST_F(SsaoTest, WorkTargetsFollowTheWindowWhileBloomTargetsKeepTheirSize) {
  const SsaoEffect& ssao = postEffects->ssao;
  const BloomEffect& bloom = postEffects->bloom;
  EXPECT_EQ(ssao.aoTarget->Width(), kSize);
  EXPECT_EQ(bloom.glowTarget->Width(), kSize / 2);
  currentScreen->Resize(80, 48);
  EXPECT_EQ(ssao.aoTarget->Width(), 80u);
  EXPECT_EQ(ssao.blurTarget->Height(), 48u);
  EXPECT_EQ(bloom.glowTarget->Width(), kSize / 2);
  EXPECT_EQ(bloom.blurTarget->Height(), kSize / 2);
  currentScreen->Resize(1, 1);  // the smallest window: nothing breaks
  EXPECT_EQ(ssao.aoTarget->Width(), 1u);
  currentScreen->Resize(static_cast<int32_t>(kSize), static_cast<int32_t>(kSize));
}

// --- Bloom -----------------------------------------------------------------------------------

enum BloomOps : size_t { kBloom = 1 };

class BloomTest : public test::ImageRenderTest {
protected:
  testing::LoadedGraph graph{test::GraphText({"Bloom; input[6] { Radius: 16; }"})};
  Player& player = graph.player;

  void SetUp() override {
    ImageRenderTest::SetUp();
    PrepareSwapTargets(player);
    // Black, with a bright 4 x 4 spot in the middle.
    std::vector<Rgba> pixels(kSize * kSize, Rgba{0, 0, 0, 1});
    for (uint32_t y = 30; y < 34; ++y)
      for (uint32_t x = 30; x < 34; ++x) pixels[y * kSize + x] = {1, 1, 1, 1};
    ResourceDesc desc;
    desc.flags = kResourceTexture | kUsageImmutable | kResourceShaderView;
    desc.format = kFormatRGBA32F;
    desc.width = kSize;
    desc.height = kSize;
    spot.reset(CreateResource(adapter(), desc, pixels.data()));
  }
  void Set(const char* input, float value) { test::SetInput(graph.op(kBloom), input, value); }
  // Bloom over the spot: its input is unconnected, so it takes the current image.
  std::vector<Rgba> Run() {
    player.image = spot.get();
    player.imageIndex = 0;
    graph.output(kBloom).Evaluate(0.0f, player);
    return ReadImage(player.image);
  }

  test::ResourcePtr spot;
};

TEST_F(BloomTest, SpreadsABrightSpotsLightSymmetricallyAroundIt) {
  const auto pixels = Run();
  // The spot's centre lies between pixels 31 and 32: pixel 31 - d mirrors pixel 32 + d.
  for (uint32_t d = 2; d <= 10; d += 2) {
    SCOPED_TRACE(d);
    const float leftGlow = At(pixels, 31 - d, 31).g;
    EXPECT_GT(leftGlow, 0.005f);  // light reaches the neighbourhood
    EXPECT_NEAR(At(pixels, 32 + d, 31).g, leftGlow, 0.1f * leftGlow);
    EXPECT_NEAR(At(pixels, 31, 31 - d).g, leftGlow, 0.1f * leftGlow);
    EXPECT_NEAR(At(pixels, 31, 32 + d).g, leftGlow, 0.1f * leftGlow);
    EXPECT_LT(At(pixels, 31 - d - 2, 31).g, leftGlow);  // and fades with distance
  }
  EXPECT_LT(At(pixels, 2, 2).g, 0.01f);  // far away nothing
  EXPECT_GT(At(pixels, 31, 31).g, 1.0f);  // the spot itself glows brighter
  // The glow is smooth: no blocks from the half-size targets.
  for (uint32_t x = 20; x < 31; ++x) EXPECT_LE(At(pixels, x, 31).g, At(pixels, x + 1, 31).g + 1e-3f) << x;
}

TEST_F(BloomTest, WithIntensityZeroAddsNothing) {
  Set("Intensity", 0.0f);
  const auto pixels = Run();
  for (uint32_t y = 0; y < kSize; ++y) {
    for (uint32_t x = 0; x < kSize; ++x) {
      const bool inSpot = x >= 30 && x < 34 && y >= 30 && y < 34;
      const float expected = inSpot ? 1.0f : 0.0f;
      ASSERT_NEAR(At(pixels, x, y).g, expected, 1e-3f) << x << "," << y;
    }
  }
}

TEST_F(BloomTest, BlurPassesReceiveOnlyTheRadius) {
  Set("Radius", 12.0f);
  Run();
  const BloomEffect& bloom = postEffects->bloom;
  for (ShaderPass* pass : {bloom.blurVerticalPass, bloom.blurHorizontalPass}) {
    ASSERT_NE(pass, nullptr);
    const auto& variables = pass->constantBuffers[0]->variables();
    ASSERT_EQ(variables.size(), 1u);
    EXPECT_EQ(variables.begin()->first, "gBloomRadius");
    EXPECT_FLOAT_EQ(ConstantOf(pass, "gBloomRadius"), 12.0f);
  }
  EXPECT_FLOAT_EQ(ConstantOf(bloom.extractPass, "gExtractThreshold"), 0.25f);
  EXPECT_FLOAT_EQ(ConstantOf(bloom.combinePass, "gBloomIntensity"), 2.0f);
  EXPECT_FLOAT_EQ(ConstantOf(bloom.combinePass, "gBloomSaturation"), 1.5f);
}

TEST_F(BloomTest, NonFiniteParametersGiveNoNonFinitePixels) {
  for (float value : {kNaN, kInfinity, -kInfinity}) {
    SCOPED_TRACE(value);
    for (const char* input : {"ExtractThreshold", "Intensity", "Saturation", "BaseIntensity", "BaseSaturation", "Radius"}) {
      Set(input, value);
    }
    const auto pixels = Run();
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), Finite));
  }
}

TEST_F(BloomTest, WorkTargetsAreHalfTheStartUpScreen) {
  currentScreen->Resize(1919, 1079);
  static const Camera camera;
  CreatePostEffects(adapter(), currentScreen, &camera);
  EXPECT_EQ(postEffects->bloom.glowTarget->Width(), 959u);
  EXPECT_EQ(postEffects->bloom.blurTarget->Height(), 539u);
  currentScreen->Resize(1, 1);  // smaller than 2 x 2: one-pixel targets, never empty ones
  CreatePostEffects(adapter(), currentScreen, &camera);
  EXPECT_EQ(postEffects->bloom.glowTarget->Width(), 1u);
  EXPECT_EQ(postEffects->bloom.glowTarget->Height(), 1u);
  currentScreen->Resize(static_cast<int32_t>(kSize), static_cast<int32_t>(kSize));
}

}  // namespace
}  // namespace orvane
