// Tone mapping, FXAA and grain on llvmpipe, fed by an "Image" over a painted test scene, and the
// swap targets a chain of effects alternates between.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

#include "ImageTestSupport.h"
#include "image/PostEffects.h"
#include "render/ShaderPass.h"

namespace orvane {
namespace {

using test::Rgba;
using test::kSize;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

bool Finite(const Rgba& p) {
  return std::isfinite(p.r) && std::isfinite(p.g) && std::isfinite(p.b) && std::isfinite(p.a);
}

float Mean(const std::vector<Rgba>& pixels) {
  double sum = 0.0;
  for (const Rgba& p : pixels) sum += static_cast<double>(p.g);
  return static_cast<float>(sum / static_cast<double>(pixels.size()));
}

float Deviation(const std::vector<Rgba>& pixels) {
  const double mean = static_cast<double>(Mean(pixels));
  double sum = 0.0;
  for (const Rgba& p : pixels) sum += (static_cast<double>(p.g) - mean) * (static_cast<double>(p.g) - mean);
  return static_cast<float>(std::sqrt(sum / static_cast<double>(pixels.size())));
}

float MeanAbsoluteDifference(const std::vector<Rgba>& a, const std::vector<Rgba>& b) {
  double sum = 0.0;
  for (size_t i = 0; i < a.size(); ++i) sum += static_cast<double>(std::fabs(a[i].g - b[i].g));
  return static_cast<float>(sum / static_cast<double>(a.size()));
}

enum Op : size_t { kImage = 1, kPaint, kToneMapping, kFxaa, kGrain, kToneMappingAgain, kUnconnected };

class PostEffectsTest : public test::ImageRenderTest {
protected:
  // The painted image goes to each effect; a second tone mapping follows the first; a last one
  // has no input connected.
  testing::LoadedGraph graph{test::GraphText({
      "Image;" + test::Link(kPaint, "SceneOut", kImage, "ImageIn"),
      "TestPaint;",
      "ToneMapping;" + test::Link(kImage, "ImageOut", kToneMapping, "ImageIn"),
      "FXAA;" + test::Link(kImage, "ImageOut", kFxaa, "ImageIn"),
      "Grain;" + test::Link(kImage, "ImageOut", kGrain, "ImageIn"),
      "ToneMapping;" + test::Link(kToneMapping, "ImageOut", kToneMappingAgain, "ImageIn"),
      "ToneMapping;",
  })};
  Player& player = graph.player;

  void SetUp() override {
    ImageRenderTest::SetUp();
    PrepareSwapTargets(player);
  }
  void Paint(test::PaintPattern pattern, const Rgba& c) {
    Operator& paint = graph.op(kPaint);
    test::SetInput(paint, "Pattern", static_cast<float>(pattern));
    test::SetInput(paint, "Color.R", c.r);
    test::SetInput(paint, "Color.G", c.g);
    test::SetInput(paint, "Color.B", c.b);
    test::SetInput(paint, "Color.A", c.a);
  }
  void Set(size_t op, const char* input, float value) { test::SetInput(graph.op(op), input, value); }
  // Evaluates the effect at `time` from swap index 0 and reads what it left.
  std::vector<Rgba> Run(size_t op, float time = 0.0f) {
    player.imageIndex = 0;
    graph.output(op).Evaluate(time, player);
    return ReadImage(player.image);
  }
  Rgba ToneMapped(const Rgba& light, float exposure) {
    Paint(test::kPaintSolid, light);
    Set(kToneMapping, "Exposure", exposure);
    return At(Run(kToneMapping), 32, 32);
  }
  std::vector<Rgba> Source() {
    graph.output(kImage).Evaluate(0.0f, player);
    return ReadImage(player.image);
  }
};

TEST_F(PostEffectsTest, ToneMappingBrightensMonotonicallyWithExposureAndKeepsBlack) {
  const float exposures[] = {0.125f, 0.25f, 0.5f, 1.0f, 2.0f, 4.0f, 8.0f, 64.0f};
  float previous = 0.0f;
  for (float exposure : exposures) {
    SCOPED_TRACE(exposure);
    const Rgba grey = ToneMapped({0.18f, 0.18f, 0.18f, 1.0f}, exposure);
    EXPECT_GT(grey.r, previous);
    EXPECT_LE(grey.r, 1.0f);
    EXPECT_NEAR(grey.g, grey.r, 2e-3f);  // grey stays grey
    EXPECT_NEAR(grey.b, grey.r, 2e-3f);
    EXPECT_NEAR(grey.a, 1.0f, 1e-3f);
    previous = grey.r;
    test::ExpectColorNear(ToneMapped({0, 0, 0, 1}, exposure), {0, 0, 0, 1}, 1e-4f);
  }
  EXPECT_GT(previous, 0.98f);  // a lot of light rolls off to white
  test::ExpectColorNear(ToneMapped({0.18f, 0.18f, 0.18f, 1.0f}, 0.0f), {0, 0, 0, 1}, 1e-4f);
}

TEST_F(PostEffectsTest, ToneMappingGivesDisplayValues) {
  // Mid-grey light lands in the middle of the display range, as the sRGB curve puts it; a linear
  // output would be about 0.2 there. A tenth of the light stays well visible.
  const float mid = ToneMapped({0.18f, 0.18f, 0.18f, 1.0f}, 1.0f).r;
  EXPECT_GT(mid, 0.4f);
  EXPECT_LT(mid, 0.6f);
  const float dark = ToneMapped({0.018f, 0.018f, 0.018f, 1.0f}, 1.0f).r;
  EXPECT_GT(dark, 0.04f);
  EXPECT_LT(dark, 0.2f);
  // Bright coloured light keeps its hue order while rolling off.
  const Rgba warm = ToneMapped({4.0f, 1.0f, 0.25f, 1.0f}, 1.0f);
  EXPECT_GT(warm.r, warm.g);
  EXPECT_GT(warm.g, warm.b);
  EXPECT_LE(warm.r, 1.0f);
}

TEST_F(PostEffectsTest, ToneMappingTurnsNonFiniteLightIntoFiniteValues) {
  Paint(test::kPaintNonFinite, {});
  // Filtering turns infinities into NaN on some drivers, so either may reach the pass: both must
  // leave display values, and NaN none at all.
  const auto pixels = Run(kToneMapping);
  for (const Rgba& p : pixels) {
    ASSERT_TRUE(Finite(p));
    EXPECT_GE(std::min({p.r, p.g, p.b, p.a}), 0.0f);
    EXPECT_LE(std::max({p.r, p.g, p.b, p.a}), 1.0f);
  }
  test::ExpectColorNear(At(pixels, 56, 8), {0, 0, 0, 0}, 1e-4f);
  for (float exposure : {kNaN, kInfinity, -kInfinity, -1.0f}) {
    SCOPED_TRACE(exposure);
    const Rgba p = ToneMapped({0.5f, 0.5f, 0.5f, 1.0f}, exposure);
    EXPECT_TRUE(Finite(p));
    EXPECT_GE(p.r, 0.0f);
    EXPECT_LE(p.r, 1.0f);
  }
}

TEST_F(PostEffectsTest, EffectsWithinAViewportSampleThePixelsTheyCover) {
  Paint(test::kPaintRamp, {1, 1, 1, 1});
  player.rect = {16, 16, 48, 48};
  const auto pixels = Run(kToneMapping);
  test::ExpectColorNear(At(pixels, 15, 30), {0, 0, 0, 0}, 1e-4f);  // outside: cleared
  test::ExpectColorNear(At(pixels, 48, 30), {0, 0, 0, 0}, 1e-4f);
  EXPECT_LT(At(pixels, 16, 30).r, 0.1f);  // the ramp starts black at the viewport's left
  for (uint32_t x = 17; x < 48; ++x) EXPECT_GT(At(pixels, x, 30).r, At(pixels, x - 1, 30).r) << x;
  EXPECT_NEAR(At(pixels, 47, 30).a, 31.5f / 32.0f, 1e-3f);  // the ramp's alpha at the last pixel
}

TEST_F(PostEffectsTest, FxaaSoftensHardDiagonalEdgesAndLeavesFlatAreas) {
  // Steps of 2.5 pixels, and long steps of 10 that only a walk along the edge can smooth.
  for (float slope : {0.4f, 0.1f}) {
    SCOPED_TRACE(slope);
    Paint(test::kPaintDiagonal, {1, 1, 1, 1});
    Set(kPaint, "Slope", slope);
    const auto source = Source();
    const auto smoothed = Run(kFxaa);
    const auto between = [](const Rgba& p) { return p.g > 0.05f && p.g < 0.95f; };
    EXPECT_EQ(std::count_if(source.begin(), source.end(), between), 0);
    EXPECT_GE(std::count_if(smoothed.begin(), smoothed.end(), between), 40);

    // Columns away from the image's sides; the edge's row there is slope x + 12 (pixel centres).
    // Far from it nothing changes; next to it the steps become ramps whose coverage follows the
    // line far better than the steps do.
    double hardError = 0.0;
    double smoothError = 0.0;
    for (uint32_t x = 4; x < kSize - 4; ++x) {
      const float edge = slope * (static_cast<float>(x) + 0.5f) + 12.0f;
      float hardCoverage = 0.0f;
      float smoothCoverage = 0.0f;
      for (uint32_t y = 0; y < kSize; ++y) {
        hardCoverage += At(source, x, y).g;
        smoothCoverage += At(smoothed, x, y).g;
        if (std::fabs(static_cast<float>(y) + 0.5f - edge) > 3.0f) {
          test::ExpectColorNear(At(smoothed, x, y), At(source, x, y), 1e-3f);
        }
      }
      hardError += static_cast<double>(std::fabs(hardCoverage - edge));
      smoothError += static_cast<double>(std::fabs(smoothCoverage - edge));
    }
    EXPECT_LT(smoothError, 0.5 * hardError);
  }
}

TEST_F(PostEffectsTest, FxaaThroughTheEdgeMaskEqualsTheSearchEverywhere) {
  // The search skips what the edge pass finds flat; where it looks, it must find what it would
  // have found without the mask. Also within a viewport, so the mask follows the region, and with
  // the edge pass for any viewport as well as the one reading texels for a 1:1 viewport.
  FxaaEffect& fxaa = postEffects->fxaa;
  ASSERT_TRUE(fxaa.edgePass != nullptr && fxaa.edgePass->HasStage(kStagePixel));
  ASSERT_TRUE(fxaa.edgeExactPass != nullptr && fxaa.edgeExactPass->HasStage(kStagePixel));
  const TargetRect whole = player.rect;
  for (const TargetRect viewport : {whole, TargetRect{8, 4, 56, 60}}) {
    for (float slope : {0.4f, 0.1f, 1.7f}) {
      SCOPED_TRACE(::testing::Message() << slope << " " << viewport.left);
      Paint(test::kPaintDiagonal, {1, 1, 1, 1});
      Set(kPaint, "Slope", slope);
      player.rect = viewport;
      const auto exactMask = Run(kFxaa);
      ShaderPass* const exactPass = std::exchange(fxaa.edgeExactPass, fxaa.edgePass);
      const auto anyViewportMask = Run(kFxaa);
      ShaderPass* const edgePass = std::exchange(fxaa.edgePass, nullptr);
      fxaa.edgeExactPass = nullptr;
      const auto searchedEverywhere = Run(kFxaa);
      fxaa.edgePass = edgePass;
      fxaa.edgeExactPass = exactPass;
      player.rect = whole;
      for (const auto* masked : {&exactMask, &anyViewportMask}) {
        ASSERT_EQ(masked->size(), searchedEverywhere.size());
        for (size_t i = 0; i < masked->size(); ++i) test::ExpectColorNear((*masked)[i], searchedEverywhere[i], 1e-3f);
      }
    }
  }
}

TEST_F(PostEffectsTest, GrainChangesWithTimeAndKeepsTheMean) {
  Paint(test::kPaintSolid, {0.5f, 0.5f, 0.5f, 1.0f});
  Set(kGrain, "Strength", 4.0f);
  const auto first = Run(kGrain, 1.0f);
  const auto second = Run(kGrain, 2.0f);
  const auto again = Run(kGrain, 1.0f);
  for (const auto* pixels : {&first, &second}) {
    EXPECT_NEAR(Mean(*pixels), 0.5f, 0.01f);
    EXPECT_GT(Deviation(*pixels), 0.02f);  // visible
    EXPECT_LT(Deviation(*pixels), 0.1f);   // not a snowstorm
    EXPECT_NEAR(pixels->front().a, 1.0f, 1e-4f);
  }
  EXPECT_GT(MeanAbsoluteDifference(first, second), 0.02f);
  EXPECT_LT(MeanAbsoluteDifference(first, again), 1e-5f);  // the same time gives the same frame
  // More strength, more grain; none leaves the picture as it is.
  Set(kGrain, "Strength", 8.0f);
  EXPECT_GT(Deviation(Run(kGrain, 1.0f)), 1.5f * Deviation(first));
  Set(kGrain, "Strength", 0.0f);
  EXPECT_LT(Deviation(Run(kGrain, 1.0f)), 1e-4f);
}

TEST_F(PostEffectsTest, GlitchTearsLinesOnlyWhenAsked) {
  Paint(test::kPaintRamp, {1, 1, 1, 1});
  Set(kGrain, "Strength", 0.0f);
  const auto source = Source();
  const auto tornRows = [&](const std::vector<Rgba>& pixels) {
    int rows = 0;
    for (uint32_t y = 0; y < kSize; ++y) {
      float difference = 0.0f;
      for (uint32_t x = 0; x < kSize; ++x) difference += std::fabs(At(pixels, x, y).g - At(source, x, y).g);
      rows += difference > 0.05f * kSize ? 1 : 0;
    }
    return rows;
  };
  EXPECT_EQ(tornRows(Run(kGrain, 1.0f)), 0);
  Set(kGrain, "Glitch", 1.0f);
  int torn = 0;
  for (float time : {1.0f, 1.25f, 1.5f, 1.75f}) torn += tornRows(Run(kGrain, time));
  EXPECT_GT(torn, 0);
  EXPECT_LT(torn, 4 * static_cast<int>(kSize));
}

TEST_F(PostEffectsTest, GrainStaysFiniteWithNonFiniteInputs) {
  Paint(test::kPaintSolid, {0.5f, 0.5f, 0.5f, 1.0f});
  for (float value : {kNaN, kInfinity, -kInfinity}) {
    SCOPED_TRACE(value);
    Set(kGrain, "Strength", value);
    Set(kGrain, "Glitch", value);
    const auto pixels = Run(kGrain, value);
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), Finite));
  }
}

TEST_F(PostEffectsTest, EffectsInARowAlternateTheSwapTargets) {
  struct Case {
    size_t op;
    int image;      // the swap target the result is in
    int nextIndex;  // the one taken next
  };
  // The second tone mapping pulls the first: two effects, the second in the other target.
  const Case cases[] = {{kToneMapping, 0, 1}, {kFxaa, 0, 1}, {kGrain, 0, 1}, {kToneMappingAgain, 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.op);
    Run(c.op);
    EXPECT_EQ(player.image, player.images[c.image]);
    EXPECT_EQ(player.imageIndex, c.nextIndex);
  }
  // A third effect writes the first target again.
  player.imageIndex = 0;
  graph.output(kToneMappingAgain).Evaluate(0.0f, player);
  graph.output(kFxaa).Evaluate(0.0f, player);
  EXPECT_EQ(player.image, player.images[0]);
}

TEST_F(PostEffectsTest, EachToneMappingDrawsWithItsOwnExposure) {
  Paint(test::kPaintSolid, {0.18f, 0.18f, 0.18f, 1.0f});
  Set(kToneMapping, "Exposure", 0.25f);
  Set(kToneMappingAgain, "Exposure", 4.0f);
  const Rgba alone = At(Run(kToneMapping), 32, 32);
  const Rgba chained = At(Run(kToneMappingAgain), 32, 32);
  // The first stage of the chain, left in the first target, used its own exposure.
  test::ExpectColorNear(At(ReadImage(player.images[0]), 32, 32), alone, 1e-4f);
  EXPECT_GT(chained.r, alone.r);
  EXPECT_FLOAT_EQ(postEffects->toneMapping.exposure, 4.0f);
}

TEST_F(PostEffectsTest, AnUnconnectedInputTakesTheCurrentImage) {
  Paint(test::kPaintSolid, {0.18f, 0.18f, 0.18f, 1.0f});
  // As at the start of a frame: the first swap target is the image, the second comes next.
  graph.output(kImage).Evaluate(0.0f, player);
  CopyImage(player.image, player.images[0]);
  player.image = player.images[0];
  player.imageIndex = 1;
  graph.output(kUnconnected).Evaluate(0.0f, player);
  EXPECT_EQ(player.image, player.images[1]);
  EXPECT_GT(At(ReadImage(player.image), 32, 32).r, 0.4f);
  // An image that is the next swap target itself is not drawn over: the other one is taken.
  player.image = player.images[0];
  player.imageIndex = 0;
  graph.output(kUnconnected).Evaluate(0.0f, player);
  EXPECT_EQ(player.image, player.images[1]);
}

TEST_F(PostEffectsTest, WithoutAnImageNothingIsDrawn) {
  for (size_t op : {kToneMapping, kFxaa, kGrain, kToneMappingAgain}) {
    SCOPED_TRACE(op);
    Set(kImage, "Size.X", 0.5f);  // no target can be made
    Set(kImage, "Size.Y", 0.5f);
    player.imageIndex = 0;
    graph.output(op).Evaluate(0.0f, player);
    EXPECT_EQ(player.image, nullptr);
    EXPECT_EQ(player.imageIndex, 0);
    player.image = nullptr;
    graph.output(kUnconnected).Evaluate(0.0f, player);
    EXPECT_EQ(player.image, nullptr);
  }
}

TEST_F(PostEffectsTest, WithoutThePostEffectsObjectTheImagePassesThrough) {
  DestroyPostEffects();
  graph.output(kToneMapping).Evaluate(0.0f, player);
  graph.output(kImage).Evaluate(0.0f, player);
  GpuResource* source = player.image;
  player.imageIndex = 0;
  graph.output(kGrain).Evaluate(0.0f, player);
  EXPECT_EQ(player.image, source);
  EXPECT_EQ(player.imageIndex, 0);
}

}  // namespace
}  // namespace orvane
