// Particles on llvmpipe: each point becomes a round, camera-facing sprite in the G-buffer that
// glows in its colour, and the vertex stream hands every frame's positions to its draw.

#include <gtest/gtest.h>

#include <cmath>

#include "scene/SceneGraphRenderTest.h"

namespace orvane {
namespace {

using test::Rgba;
using testing::SceneDocument;

class ParticleRenderTest : public test::SceneGraphRenderTest {
protected:
  // One particle at a time from the origin of a point-sized plane emitter, one world unit wide,
  // rising at `speed`, coloured (1, 0.5, 0.25).
  int OneParticle(float rate, float speed) {
    SceneDocument doc;
    const int particles = doc.Add("Particles", {{1, "Rate: " + std::to_string(rate)},
                                 {4, "StartSpeed: " + std::to_string(speed)},
                                 {5, "GravityModifier: 0"},
                                 {6, "Lifetime: 100"},
                                 {7, "StartSizeMin: 1"},
                                 {8, "StartSizeMax: 1"},
                                 {11, "StartColor1.R: 1"},
                                 {12, "StartColor1.G: 0.5"},
                                 {13, "StartColor1.B: 0.25"},
                                 {14, "StartColor2.R: 1"},
                                 {15, "StartColor2.G: 0.5"},
                                 {16, "StartColor2.B: 0.25"},
                                 {17, "Emitter: 2"},
                                 {18, "EmitterParam.X: 0"},
                                 {19, "EmitterParam.Y: 0"},
                                 {20, "EmitterParam.Z: 0"},
                                 {21, "EmitterParam.W: 0"}});
    Load(doc);
    return particles;
  }

  struct Blob {
    int pixels = 0;
    float x = 0, y = 0;  // centroid
  };
  static Blob Covered(const std::vector<Rgba>& albedo) {
    Blob blob;
    for (uint32_t y = 0; y < kSize; ++y) {
      for (uint32_t x = 0; x < kSize; ++x) {
        if (At(albedo, x, y).a < 0.5f) continue;
        ++blob.pixels;
        blob.x += static_cast<float>(x) + 0.5f;
        blob.y += static_cast<float>(y) + 0.5f;
      }
    }
    if (blob.pixels > 0) {
      blob.x /= static_cast<float>(blob.pixels);
      blob.y /= static_cast<float>(blob.pixels);
    }
    return blob;
  }
};

TEST_F(ParticleRenderTest, APointBecomesARoundGlowingSpriteFacingTheCamera) {
  const int particles = OneParticle(1.0f, 0.0f);
  for (float time : {-10.0f, 0.0f, 1.5f}) Frame(particles, time);
  const auto albedo = ReadTarget(test::kAlbedo);
  const auto normal = ReadTarget(test::kNormal);
  const auto emissive = ReadTarget(test::kEmissive);

  // One unit at eight units' distance with 45 degrees: about 9.7 pixels across, centred.
  const Blob blob = Covered(albedo);
  EXPECT_NEAR(blob.x, 32.0f, 0.5f);
  EXPECT_NEAR(blob.y, 32.0f, 0.5f);
  EXPECT_GT(blob.pixels, 40);
  EXPECT_LT(blob.pixels, 80);  // round with a dissolving rim: less than the 94 of its square
  for (uint32_t y = 0; y < kSize; ++y) {
    for (uint32_t x = 0; x < kSize; ++x) {
      if (std::hypot(x + 0.5f - 32.0f, y + 0.5f - 32.0f) > 6.0f) {
        EXPECT_LT(At(albedo, x, y).a, 0.5f) << x << "," << y;
      }
    }
  }
  // Glows in its colour at the centre, less towards the rim; faces the eye; eight units away.
  const Rgba centre = At(emissive, 32, 32);
  EXPECT_NEAR(centre.r, 1.0f, 0.1f);
  EXPECT_NEAR(centre.g, 0.5f, 0.05f);
  EXPECT_NEAR(centre.b, 0.25f, 0.03f);
  EXPECT_LT(At(emissive, 35, 32).r, centre.r);
  EXPECT_LT(At(normal, 32, 32).b, -0.95f);
  EXPECT_NEAR(At(normal, 32, 32).a, 8.0f, 0.05f);
}

// Every frame writes the next copy of the ring: the sprite drawn is always this frame's.
TEST_F(ParticleRenderTest, EachFrameDrawsThePositionsOfThatFrame) {
  const int particles = OneParticle(0.5f, 0.5f);
  Frame(particles, -10.0f);
  Frame(particles, 0.0f);
  float previous = 0.0f;
  for (int frame = 0; frame < 7; ++frame) {
    const float time = 2.5f + 0.25f * static_cast<float>(frame);
    Frame(particles, time);
    const Blob blob = Covered(ReadTarget(test::kAlbedo));
    ASSERT_GT(blob.pixels, 20) << time;
    // Rises 0.125 units a frame: 32 / (8 tan 22.5) pixels per unit.
    const float expected = 32.0f - 0.5f * (time - 2.5f) * 32.0f / (8.0f * std::tan(22.5f * 3.14159265f / 180.0f));
    EXPECT_NEAR(blob.y, expected, 0.6f) << time;
    if (frame > 0) {
      EXPECT_LT(blob.y, previous);
    }
    previous = blob.y;
  }
}

TEST_F(ParticleRenderTest, ManyParticlesDrawWithoutDisturbingTheRestOfTheFrame) {
  SceneDocument doc;
  const int particles = doc.Add("Particles", {{1, "Rate: inf"}, {9, "Seed: 5"}, {10, "RandomVelPower: 4"}});
  const int cube = doc.Add("Cube");
  const int group = doc.Add("Group", {}, {{particles, "SceneOut", "InScene"}, {cube, "OutScene", "InScene"}});
  Load(doc);
  for (float time : {-10.0f, 0.0f, 0.5f, 1.0f}) Frame(group, time);
  const auto albedo = ReadTarget(test::kAlbedo);
  EXPECT_GT(At(albedo, 32, 32).a, 0.5f) << "the cube";
  // Sprites reach well beyond the cube.
  EXPECT_GT(Covered(albedo).pixels, 400);
}

}  // namespace
}  // namespace orvane
