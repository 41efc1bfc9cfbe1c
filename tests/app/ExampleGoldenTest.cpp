// The bundled examples (first-light, showcase) rendered at a few moments and compared with stored
// frames, pixel by pixel with a small tolerance. To update the stored frames after an intended change of the picture:
//   ORVANE_UPDATE_GOLDEN=1 build/tests/app/example_golden_tests
// then look at tests/app/golden/*.png before committing them.

#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_image_write.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "app/Player.h"
#include "image/PostEffects.h"
#include "render/Camera.h"
#include "scene/LightVolume.h"
#include "render/Adapter.h"
#include "render/GpuResource.h"
#include "render/RenderFixture.h"
#include "render/Screen.h"

namespace orvane {
namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 90;
const std::filesystem::path kGoldenDir = std::filesystem::path(ORVANE_SOURCE_DIR) / "tests/app/golden";

struct Difference {
  double mean = 0.0;        // mean absolute difference per channel, 0-255
  double outliers = 0.0;    // share of pixels with a channel off by more than 24
};

Difference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  Difference difference;
  size_t outliers = 0;
  for (size_t pixel = 0; pixel < a.size() / 4; ++pixel) {
    int worst = 0;
    for (size_t channel = 0; channel < 3; ++channel) {
      const int delta = std::abs(a[pixel * 4 + channel] - b[pixel * 4 + channel]);
      difference.mean += delta;
      worst = std::max(worst, delta);
    }
    outliers += worst > 24 ? 1 : 0;
  }
  difference.mean /= static_cast<double>(a.size() / 4 * 3);
  difference.outliers = static_cast<double>(outliers) / static_cast<double>(a.size() / 4);
  return difference;
}

class ExampleGoldenTest : public test::RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(ORVANE_SOURCE_DIR) / "examples" / Example());
    currentScreen->Resize(kWidth, kHeight);
    camera_.frame = LookAtFrame({0, 0, -8, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
    CreatePostEffects(adapter(), currentScreen, &camera_);
    CreateLightVolume(adapter());
    PlayerOptions options;
    options.output = MusicChannel::Output::Silent;
    options.playMusic = false;
    player_.Setup(adapter(), currentScreen, &draw(), options);
  }
  void TearDown() override {
    player_.Release();
    player_.operators.clear();
    DestroyPostEffects();
    DestroyLightVolume();
    std::filesystem::current_path(previous_);
    currentScreen->Resize(64, 64);
  }

  virtual const char* Example() const { return "first-light"; }

  std::vector<uint8_t> RenderAt(float time) {
    adapter()->BeginFrame();
    player_.RenderFrame(time);
    return ReadTexture(*currentScreen->backBuffer);
  }

  // Renders the example at each time and compares the frame with "<example>-<time>.png".
  void ExpectStoredFrames(std::initializer_list<float> times) {
    const bool update = std::getenv("ORVANE_UPDATE_GOLDEN") != nullptr;
    for (const float time : times) {
      SCOPED_TRACE(time);
      const std::vector<uint8_t> frame = RenderAt(time);
      ASSERT_EQ(frame.size(), static_cast<size_t>(kWidth * kHeight * 4));
      char name[64];
      std::snprintf(name, sizeof name, "%s-%05.2f.png", Example(), static_cast<double>(time));
      const auto path = kGoldenDir / name;
      if (update) {
        std::filesystem::create_directories(kGoldenDir);
        ASSERT_NE(stbi_write_png(path.c_str(), kWidth, kHeight, 4, frame.data(), kWidth * 4), 0);
        continue;
      }
      int width = 0, height = 0, channels = 0;
      stbi_uc* stored = stbi_load(path.c_str(), &width, &height, &channels, 4);
      ASSERT_NE(stored, nullptr) << "no stored frame " << path << "; see the top of this file";
      const std::vector<uint8_t> expected(stored, stored + width * height * 4);
      stbi_image_free(stored);
      ASSERT_EQ(width, kWidth);
      ASSERT_EQ(height, kHeight);
      const Difference difference = Compare(frame, expected);
      EXPECT_LT(difference.mean, 1.5) << path;
      EXPECT_LT(difference.outliers, 0.01) << path;
    }
  }

  Camera camera_;  // the post effects keep a pointer to it
  Player player_;
  std::filesystem::path previous_;
};

TEST_F(ExampleGoldenTest, FramesMatchTheStoredOnes) { ExpectStoredFrames({2.0f, 9.25f, 17.5f, 24.2f, 33.0f}); }

TEST_F(ExampleGoldenTest, TheDemoIsNeitherBlackNorFlat) {
  // What a person would notice first: something lit is on screen, with contrast.
  const std::vector<uint8_t> frame = RenderAt(12.0f);
  double sum = 0.0, sumSquares = 0.0;
  for (size_t pixel = 0; pixel < frame.size() / 4; ++pixel) {
    const double luma = 0.2126 * frame[pixel * 4] + 0.7152 * frame[pixel * 4 + 1] + 0.0722 * frame[pixel * 4 + 2];
    sum += luma;
    sumSquares += luma * luma;
  }
  const double count = static_cast<double>(frame.size() / 4);
  const double mean = sum / count;
  const double deviation = std::sqrt(sumSquares / count - mean * mean);
  EXPECT_GT(mean, 12.0);
  EXPECT_LT(mean, 200.0);
  EXPECT_GT(deviation, 15.0);
}

// The showcase, once in each of its sections (dawn, rings, drop, break, sparks with the G-buffer
// flash, outro), in time order as a player would reach them.
class ShowcaseGoldenTest : public ExampleGoldenTest {
protected:
  const char* Example() const override { return "showcase"; }
};

TEST_F(ShowcaseGoldenTest, FramesMatchTheStoredOnes) {
  ExpectStoredFrames({10.0f, 22.0f, 36.0f, 47.0f, 56.0f, 72.1f, 88.0f});
}

}  // namespace
}  // namespace orvane
