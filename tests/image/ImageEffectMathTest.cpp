// The arithmetic behind the image effects, without a GPU: ambient-occlusion samples and frustum
// corner, bloom's work-target size, sprite placement and choice indices.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "image/BloomEffect.h"
#include "image/ChoiceIndex.h"
#include "image/SpritePlacement.h"
#include "image/SsaoEffect.h"
#include "scene/RuntimeRandom.h"

namespace orvane {
namespace {

TEST(SsaoSamplesTest, TheFirstDrawsFromStateOneGiveTheseTexelsAndOffsets) {
  // By hand: state = state * 214013 + 2531011 from 1 gives 41, 18467, 6334, 26500, 19169, ...;
  // a byte is 255 * rand / 32767, truncated: 41 -> 0, 18467 -> 143, 6334 -> 49, 26500 -> 206.
  // Draws 65 and 66 (the first two lengths) are 288 and 30106.
  RuntimeSrand(1);
  const SsaoSamples samples = DrawSsaoSamples();
  const uint8_t firstTexels[8] = {0, 143, 49, 206, 149, 122, 89, 228};
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(samples.noise[i], firstTexels[i]) << i;
  // (1, 1, 1) normalised, times 288 / 32767 * 0.76 + 0.24.
  const float first = (288.0f / 32767.0f * 0.76f + 0.24f) / std::sqrt(3.0f);
  EXPECT_NEAR(samples.offsets[0].x, first, 1e-6f);
  EXPECT_NEAR(samples.offsets[0].y, first, 1e-6f);
  EXPECT_NEAR(samples.offsets[0].z, first, 1e-6f);
  // (-1, -1, -1) with 30106.
  const float second = (30106.0f / 32767.0f * 0.76f + 0.24f) / std::sqrt(3.0f);
  EXPECT_NEAR(samples.offsets[1].x, -second, 1e-6f);
  EXPECT_FLOAT_EQ(samples.offsets[1].w, 0.0f);
  // The generator has moved on by exactly 64 + 14 draws.
  RuntimeSrand(1);
  for (int i = 0; i < 78; ++i) RuntimeRand();
  const int next = RuntimeRand();
  RuntimeSrand(1);
  DrawSsaoSamples();
  EXPECT_EQ(RuntimeRand(), next);
}

TEST(SsaoSamplesTest, EveryRunDrawsTheSameSamplesWithLengthsInRange) {
  RuntimeSrand(1);
  const SsaoSamples first = DrawSsaoSamples();
  RuntimeSrand(1);
  const SsaoSamples second = DrawSsaoSamples();
  EXPECT_EQ(first.noise, second.noise);
  // The axis directions come last, in the order -X, +X, -Y, +Y, -Z, +Z.
  const float axes[6][3] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
  for (size_t i = 0; i < first.offsets.size(); ++i) {
    const Vector4& a = first.offsets[i];
    const Vector4& b = second.offsets[i];
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
    const float length = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    EXPECT_GE(length, 0.24f - 1e-6f) << i;
    EXPECT_LE(length, 1.0f + 1e-6f) << i;
    if (i >= 8) {
      const float* axis = axes[i - 8];
      EXPECT_NEAR(a.x, axis[0] * length, 1e-6f);
      EXPECT_NEAR(a.y, axis[1] * length, 1e-6f);
      EXPECT_NEAR(a.z, axis[2] * length, 1e-6f);
    }
  }
}

TEST(FrustumCornerTest, FollowsTheViewportsAspect) {
  const float h = std::tan(45.0f * 0.017453292f * 0.5f) * 2048.0f;
  struct Case {
    TargetRect viewport;
    float aspect;
  };
  const Case cases[] = {{{0, 0, 1920, 1080}, 1.7777778f},
                        {{0, 0, 1080, 1080}, 1.0f},
                        {{100, 50, 740, 530}, 640.0f / 480.0f},
                        {{0, 0, 64, 0}, 1.0f}};  // empty: square, never a division by zero
  for (const Case& c : cases) {
    const Vector4 corner = FrustumCorner(45.0f, 2048.0f, c.viewport);
    EXPECT_NEAR(corner.x, h * c.aspect, 1e-3f);
    EXPECT_NEAR(corner.y, h, 1e-3f);
    EXPECT_FLOAT_EQ(corner.z, 2048.0f);
    EXPECT_FLOAT_EQ(corner.w, 0.0f);
  }
}

TEST(BloomTargetSizeTest, IsHalfTheScreenRoundedDownAndNeverEmpty) {
  struct Case {
    int32_t width, height;
    uint32_t halfWidth, halfHeight;
  };
  const Case cases[] = {{1920, 1080, 960, 540}, {1919, 1079, 959, 539}, {1280, 720, 640, 360},
                        {3, 2, 1, 1},           {1, 1, 1, 1},           {0, 0, 1, 1}};
  for (const Case& c : cases) {
    const BloomTargetSize size = BloomTargetSizeFor(c.width, c.height);
    EXPECT_EQ(size.width, c.halfWidth) << c.width;
    EXPECT_EQ(size.height, c.halfHeight) << c.height;
  }
}

TEST(SpritePlacementTest, SizedForA1080PixelScreenAroundEachPivot) {
  struct Case {
    float viewportWidth, viewportHeight;
    int32_t pivot;
    float width, height, left;
  };
  // A 300 x 150 texture at the centre, scale 1: its pixel size on 1920 x 1080, two thirds of it
  // on 1280 x 720. "Left" puts the sprite left of the position, "Right" right of it.
  const Case cases[] = {
      {1920, 1080, kPivotCenter, 300, 150, 960 - 150}, {1920, 1080, kPivotLeft, 300, 150, 960 - 300},
      {1920, 1080, kPivotRight, 300, 150, 960},        {1280, 720, kPivotCenter, 200, 100, 640 - 100},
      {1280, 720, kPivotLeft, 200, 100, 640 - 200},    {1280, 720, kPivotRight, 200, 100, 640},
      {1920, 1080, 7, 300, 150, 960 - 150},  // any other choice is the centre
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.viewportWidth << " pivot " << c.pivot);
    SpriteInputs in;
    in.pivot = c.pivot;
    in.textureWidth = 300;
    in.textureHeight = 150;
    in.viewportWidth = c.viewportWidth;
    in.viewportHeight = c.viewportHeight;
    const SpriteRect rect = PlaceSprite(in);
    EXPECT_NEAR(rect.width, c.width, 1e-2f);
    EXPECT_NEAR(rect.height, c.height, 1e-2f);
    EXPECT_NEAR(rect.left, c.left, 1e-2f);
    EXPECT_NEAR(rect.top, c.viewportHeight / 2 - c.height / 2, 1e-2f);  // centred vertically
  }
}

TEST(SpritePlacementTest, PositionAndScaleMoveAndStretchIt) {
  SpriteInputs in;
  in.positionX = 0.5f;    // three quarters across
  in.positionY = -1.0f;   // the top edge
  in.scaleX = 2.0f;
  in.scaleY = 0.5f;
  in.textureWidth = 100;
  in.textureHeight = 100;
  in.viewportWidth = 1920;
  in.viewportHeight = 1080;
  const SpriteRect rect = PlaceSprite(in);
  EXPECT_NEAR(rect.width, 200.0f, 1e-2f);
  EXPECT_NEAR(rect.height, 50.0f, 1e-2f);
  EXPECT_NEAR(rect.left, 1440.0f - 100.0f, 1e-2f);
  EXPECT_NEAR(rect.top, -25.0f, 1e-2f);
}

TEST(SpritePlacementTest, TheMatrixTakesTheUnitQuadOntoTheRectangle) {
  const SpriteRect rect{100, 50, 200, 80};
  const Matrix m = SpriteMatrix(rect, 400, 200);
  // The quad's corners (0, 0) and (1, -1) are the rectangle's bottom-left and top-right.
  const Vector4 bottomLeft = Transform({0, 0, 0, 1}, m);
  const Vector4 topRight = Transform({1, -1, 0, 1}, m);
  const auto pixelX = [](const Vector4& clip) { return (clip.x / clip.w + 1.0f) * 0.5f * 400.0f; };
  const auto pixelY = [](const Vector4& clip) { return (1.0f - clip.y / clip.w) * 0.5f * 200.0f; };
  EXPECT_NEAR(pixelX(bottomLeft), 100.0f, 1e-3f);
  EXPECT_NEAR(pixelY(bottomLeft), 130.0f, 1e-3f);
  EXPECT_NEAR(pixelX(topRight), 300.0f, 1e-3f);
  EXPECT_NEAR(pixelY(topRight), 50.0f, 1e-3f);
  EXPECT_GE(bottomLeft.z, 0.0f);  // within the depth range
  EXPECT_LE(bottomLeft.z, 1.0f);
}

TEST(ChoiceIndexTest, TruncatesTowardZeroAndSaturates) {
  EXPECT_EQ(ChoiceIndex(2.9f), 2);  // Blend "Color" 2.9 is "Mul"
  EXPECT_EQ(ChoiceIndex(0.99f), 0);
  EXPECT_EQ(ChoiceIndex(-0.5f), 0);
  EXPECT_EQ(ChoiceIndex(-1.5f), -1);
  EXPECT_EQ(ChoiceIndex(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(ChoiceIndex(std::numeric_limits<float>::infinity()), std::numeric_limits<int32_t>::max());
}

}  // namespace
}  // namespace orvane
