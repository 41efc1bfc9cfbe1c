#include "app/FrameAccumulator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "app/DownFilter.h"
#include "app/RenderSchedule.h"

namespace orvane {
namespace {

// RGBA 8-bit, width × height, every pixel from `shade(x, y)` (grey, opaque).
std::vector<uint8_t> Image(int width, int height, const std::function<uint8_t(int, int)>& shade) {
  std::vector<uint8_t> rgba;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t v = shade(x, y);
      rgba.insert(rgba.end(), {v, v, v, 255});
    }
  }
  return rgba;
}

double MeanLinear(const std::vector<uint8_t>& rgba) {
  double sum = 0.0;
  for (size_t i = 0; i < rgba.size(); i += 4) sum += static_cast<double>(DisplayToLinear(static_cast<float>(rgba[i]) / 255.0f));
  return sum / static_cast<double>(rgba.size() / 4);
}

TEST(DownFilter, KernelIsAWindowedSinc) {
  EXPECT_FLOAT_EQ(Lanczos2(0.0f), 1.0f);
  for (float x : {1.0f, -1.0f, 2.0f, 2.5f, -3.0f}) EXPECT_NEAR(Lanczos2(x), 0.0f, 1e-6f) << x;
  EXPECT_LT(Lanczos2(1.5f), 0.0f);  // the negative lobe that keeps edges sharp
  EXPECT_FLOAT_EQ(Lanczos2(0.7f), Lanczos2(-0.7f));
}

TEST(FrameAccumulator, DisplayCodesSurviveDecodingAndEncoding) {
  for (int code = 0; code < 256; ++code) {
    const float value = static_cast<float>(code) / 255.0f;
    EXPECT_EQ(std::lround(LinearToDisplay(DisplayToLinear(value)) * 255.0f), code);
  }
  // One sub-frame at factor 1 comes back byte for byte, alpha included.
  const std::vector<uint8_t> image = Image(5, 3, [](int x, int y) { return static_cast<uint8_t>(x * 50 + y * 7); });
  FrameAccumulator accumulator(5, 3, 1);
  accumulator.Add(image, 1.0f);
  EXPECT_EQ(accumulator.Resolve(), image);
}

TEST(FrameAccumulator, AveragesInLinearLight) {
  // Black and white averaged are half the light: display value 188, not 128.
  FrameAccumulator accumulator(2, 2, 1);
  accumulator.Add(Image(2, 2, [](int, int) { return 0; }), 0.5f);
  accumulator.Add(Image(2, 2, [](int, int) { return 255; }), 0.5f);
  const std::vector<uint8_t> mixed = accumulator.Resolve();
  EXPECT_EQ(mixed[0], 188);
  EXPECT_EQ(mixed[3], 255);
  accumulator.Clear();
  accumulator.Add(Image(2, 2, [](int, int) { return 90; }), 1.0f);
  EXPECT_EQ(accumulator.Resolve()[0], 90);  // a new frame starts from nothing
}

TEST(FrameAccumulator, SupersampledFlatAreasAndMeansStay) {
  for (int factor : {2, 3, 4}) {
    FrameAccumulator flat(6, 4, factor);
    flat.Add(Image(6 * factor, 4 * factor, [](int, int) { return 137; }), 1.0f);
    for (size_t i = 0; i < 6 * 4 * 4; i += 4) ASSERT_EQ(flat.Resolve()[i], 137) << factor;

    // A vertical stripe pattern: the mean light is kept, and no pixel leaves [0, 255] wrapped.
    const int w = 16, h = 8;
    const std::vector<uint8_t> source =
        Image(w * factor, h * factor, [&](int x, int) { return (x / (factor + 1)) % 2 ? 230 : 20; });
    FrameAccumulator stripes(w, h, factor);
    stripes.Add(source, 1.0f);
    EXPECT_NEAR(MeanLinear(stripes.Resolve()), MeanLinear(source), 0.02) << factor;
  }
}

TEST(FrameAccumulator, SupersampledEdgeIsGraded) {
  // A diagonal hard edge drawn at 4x: the output has in-between values along it, where the plain
  // 1x edge only has black and white.
  const int size = 16, factor = 4;
  FrameAccumulator accumulator(size, size, factor);
  accumulator.Add(Image(size * factor, size * factor, [](int x, int y) { return 2 * x > 3 * y ? 255 : 0; }), 1.0f);
  int between = 0;
  const std::vector<uint8_t> result = accumulator.Resolve();
  for (size_t i = 0; i < result.size(); i += 4) between += result[i] > 20 && result[i] < 235;
  EXPECT_GE(between, size);
}

TEST(FrameAccumulator, WrongSizedSubframesAreIgnored) {
  FrameAccumulator accumulator(4, 4, 2);
  accumulator.Add(std::vector<uint8_t>(7, 255), 1.0f);
  accumulator.Add(Image(4, 4, [](int, int) { return 255; }), 1.0f);  // 1x where 2x is expected
  EXPECT_EQ(accumulator.Resolve(), std::vector<uint8_t>(4 * 4 * 4, 0));
}

TEST(RenderSchedule, SubframesSpanHalfTheFrameInterval) {
  const RenderSchedule schedule{2.0, 3.0, 25.0};
  EXPECT_DOUBLE_EQ(schedule.SubframeTime(5, 0, 4), 2.2);
  EXPECT_DOUBLE_EQ(schedule.SubframeTime(5, 1, 4), 2.2 + 0.005);
  EXPECT_DOUBLE_EQ(schedule.SubframeTime(5, 3, 4), 2.2 + 0.015);  // the last one before half a frame
  EXPECT_DOUBLE_EQ(schedule.SubframeTime(5, 0, 1), schedule.TimeOf(5));
}

TEST(RenderSchedule, PrerollFramesLieOnTheFrameGrid) {
  const std::tuple<double, double, int64_t> cases[] = {
      // seconds, fps, frames
      {0.0, 30.0, 0}, {2.0, 30.0, 60}, {0.1, 30.0, 3}, {0.01, 30.0, 1}, {1.0 / 3.0, 30.0, 10}, {2.05, 10.0, 21},
  };
  for (const auto& [seconds, fps, frames] : cases) {
    EXPECT_EQ((RenderSchedule{5.0, 6.0, fps}).PrerollFrames(seconds), frames) << seconds << " " << fps;
  }
  // The first preroll frame of a 2-second preroll at 30 fps is 2 seconds before FROM.
  const RenderSchedule schedule{5.0, 6.0, 30.0};
  EXPECT_DOUBLE_EQ(schedule.TimeOf(-schedule.PrerollFrames(2.0)), 3.0);
  EXPECT_EQ(schedule.PrerollTime(2.0, 0), schedule.TimeOf(-60));  // whole frames: the written grid
  EXPECT_EQ(schedule.PrerollTime(2.0, 59), schedule.TimeOf(-1));
  // A fraction of a frame: FROM - S + k / FPS, the first exactly S before FROM.
  ASSERT_EQ(schedule.PrerollFrames(0.05), 2);
  EXPECT_DOUBLE_EQ(schedule.PrerollTime(0.05, 0), 4.95);
  EXPECT_DOUBLE_EQ(schedule.PrerollTime(0.05, 1), 4.95 + 1.0 / 30.0);
}

}  // namespace
}  // namespace orvane
