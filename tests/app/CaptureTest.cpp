// Offline capture as users run it: the orvane program renders small documents on llvmpipe with
// --supersample, --motion-blur and --preroll, and the written PNG frames are checked for what a
// person would see.

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "app/FrameAccumulator.h"
#include "scene/SceneDocument.h"
#include "support/TempFolder.h"

namespace orvane {
namespace {

using testing::SceneDocument;
using Inputs = std::vector<std::pair<int, std::string>>;

// Black and unlit, glowing white: what it shows does not depend on the lights.
const Inputs kGlowingWhite{{4, "Color.R: 0"},     {5, "Color.G: 0"},     {6, "Color.B: 0"},     {7, "Specular.R: 0"},
                           {8, "Specular.G: 0"},  {9, "Specular.B: 0"},  {10, "Metalness: 0"},  {11, "Roughness: 1"},
                           {12, "Emissive.R: 1"}, {13, "Emissive.G: 1"}, {14, "Emissive.B: 1"}};

struct Frame {
  int width = 0, height = 0;
  std::vector<float> light;  // linear red channel
  float At(int x, int y) const { return light[static_cast<size_t>(y * width + x)]; }
  double Mean() const { return std::accumulate(light.begin(), light.end(), 0.0) / static_cast<double>(light.size()); }
  std::vector<uint8_t> bytes;
};

Frame ReadFrame(const std::filesystem::path& file) {
  Frame frame;
  int channels = 0;
  stbi_uc* pixels = stbi_load(file.c_str(), &frame.width, &frame.height, &channels, 4);
  if (pixels == nullptr) return frame;
  const size_t count = static_cast<size_t>(frame.width * frame.height);
  frame.bytes.assign(pixels, pixels + count * 4);
  for (size_t i = 0; i < count; ++i) frame.light.push_back(DisplayToLinear(static_cast<float>(pixels[i * 4]) / 255.0f));
  stbi_image_free(pixels);
  return frame;
}

class CaptureTest : public ::testing::Test {
protected:
  // The scene below a camera at (0, 0, -8) looking along +Z, a light pass showing emission.
  static void ShowScene(SceneDocument& doc, int scene) {
    const int camera = doc.Add("Camera", {{1, "Position.X: 0"}, {2, "Position.Y: 0"}, {3, "Position.Z: -8"},
                                          {4, "Direction.X: 0"}, {5, "Direction.Y: 0"}, {6, "Direction.Z: 1"}},
                               {{scene, "OutScene", "InScene"}});
    const int light = doc.Add("DirLight", {}, {{camera, "OutScene", "InScene"}});
    doc.Show(doc.Add("LightPass", {}, {{light, "OutScene", "SceneIn"}}), "ImageOut");
  }

  // A glowing cube of the given transform inputs; returns the transform.
  static int GlowingCube(SceneDocument& doc, const Inputs& transform) {
    const int cube = doc.Add("Cube");
    const int white = doc.Add("Material", kGlowingWhite, {{cube, "OutScene", "sceneIn"}});
    return doc.Add("Transform", transform, {{white, "SceneOut", "InScene"}});
  }

  // Renders the document into `name` with the options; the frames written, in order.
  std::vector<Frame> Render(const SceneDocument& doc, const std::string& name, const std::string& options) {
    const auto demo = folder_ / (name + "-demo");
    folder_.Write(std::filesystem::path(name + "-demo") / "demo.opr", doc.text());
    const auto out = folder_ / name;
    const std::string command = std::string("\"") + ORVANE_BINARY + "\" \"" + demo.string() + "\" --render \"" +
                                out.string() + "\" " + options + " 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::vector<Frame> frames;
    for (int index = 0;; ++index) {
      char file[32];
      std::snprintf(file, sizeof file, "frame_%06d.png", index);
      if (!std::filesystem::exists(out / file)) break;
      frames.push_back(ReadFrame(out / file));
    }
    return frames;
  }

  testing::TempFolder folder_;
};

// Where a straight edge crosses each row, from the light the row holds (the covered width), and
// how far those positions stray from the best straight line through them: the stair steps.
double StairSteps(const Frame& frame, float white) {
  std::vector<double> position;
  for (int y = 0; y < frame.height; ++y) {
    double covered = 0.0;
    for (int x = 0; x < frame.width; ++x) covered += static_cast<double>(std::clamp(frame.At(x, y) / white, 0.0f, 1.0f));
    position.push_back(covered);
  }
  const double n = static_cast<double>(position.size());
  double sy = 0, sxy = 0, sx = 0, sxx = 0;
  for (size_t i = 0; i < position.size(); ++i) {
    const double x = static_cast<double>(i);
    sx += x, sy += position[i], sxx += x * x, sxy += x * position[i];
  }
  const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
  const double offset = (sy - slope * sx) / n;
  double squares = 0.0;
  for (size_t i = 0; i < position.size(); ++i) {
    const double miss = position[i] - (offset + slope * static_cast<double>(i));
    squares += miss * miss;
  }
  return std::sqrt(squares / n);
}

TEST_F(CaptureTest, SupersamplingSmoothsStairStepsAndKeepsTheMeanColour) {
  // A large glowing slab whose right edge crosses every row at a slant.
  SceneDocument doc;
  ShowScene(doc, GlowingCube(doc, {{1, "Position.X: -5"}, {6, "Rotation.Z: 17"}, {7, "Scale.X: 10"},
                                   {8, "Scale.Y: 10"}, {9, "Scale.Z: 0.1"}}));
  const std::vector<Frame> plain = Render(doc, "plain", "--size 96x54");
  const std::vector<Frame> smooth = Render(doc, "smooth", "--size 96x54 --supersample 4");
  ASSERT_EQ(plain.size(), 1u);
  ASSERT_EQ(smooth.size(), 1u);
  ASSERT_EQ(smooth[0].width, 96);
  ASSERT_EQ(smooth[0].height, 54);
  const float white = *std::max_element(plain[0].light.begin(), plain[0].light.end());
  ASSERT_GT(white, 0.5f);
  const double plainSteps = StairSteps(plain[0], white);
  const double smoothSteps = StairSteps(smooth[0], white);
  EXPECT_GT(plainSteps, 0.2);  // whole pixels: a staircase
  EXPECT_LT(smoothSteps, 0.4 * plainSteps);
  EXPECT_NEAR(smooth[0].Mean(), plain[0].Mean(), 0.01 * plain[0].Mean() + 0.002);
}

// Column range [first, last] of the pixels above `level` on row y, or (-1, -1).
std::pair<int, int> LitColumns(const Frame& frame, int y, float level) {
  int first = -1, last = -1;
  for (int x = 0; x < frame.width; ++x) {
    if (frame.At(x, y) > level) {
      if (first < 0) first = x;
      last = x;
    }
  }
  return {first, last};
}

TEST_F(CaptureTest, MotionBlurSpreadsAMovingObjectOverHalfAFrameOfTravel) {
  // A glowing cube moving right at 8 units a second (about 4.4 pixels in half a frame at 10 fps
  // and 128x72), below one that stands still.
  SceneDocument doc;
  const int moving = GlowingCube(
      doc, {{1, "Position.X: 0; track { before: 1; after: 1; key { time: 0; value: -4; shape: 0; } "
                "key[] { time: 1; value: 4; shape: 0; } }"},
            {2, "Position.Y: -1.2"}});
  const int still = GlowingCube(doc, {{2, "Position.Y: 1.2"}});
  const int both = doc.Add("Group", {}, {{moving, "OutScene", "InScene"}, {still, "OutScene", "InScene"}});
  ShowScene(doc, both);
  const std::string range = "--size 128x72 --fps 10 --from 0.4 --to 0.5";
  const std::vector<Frame> sharp = Render(doc, "sharp", range);
  const std::vector<Frame> blurred = Render(doc, "blurred", range + " --motion-blur 8");
  ASSERT_EQ(sharp.size(), 1u);
  ASSERT_EQ(blurred.size(), 1u);
  const Frame& a = sharp[0];
  const Frame& b = blurred[0];

  const double pixelsPerUnit = 72.0 / (2.0 * 8.0 * std::tan(22.5 * 3.14159265 / 180.0));  // at the cube's front face, roughly
  const double travel = 8.0 * 0.5 / 10.0 * pixelsPerUnit * 8.0 / 7.5;
  const int movingRow = 36 + static_cast<int>(std::lround(1.2 * pixelsPerUnit));
  const auto [sharpFirst, sharpLast] = LitColumns(a, movingRow, 0.02f);
  const auto [blurFirst, blurLast] = LitColumns(b, movingRow, 0.02f);
  ASSERT_GE(sharpFirst, 0);
  EXPECT_NEAR(blurFirst, sharpFirst, 1);  // the shutter opens at the frame's time
  EXPECT_NEAR(blurLast - sharpLast, travel * 7.0 / 8.0, 1.5);
  // The same light, spread out: the row's sum stays, its peak is no brighter.
  double sharpSum = 0, blurSum = 0;
  for (int x = 0; x < a.width; ++x) {
    sharpSum += static_cast<double>(a.At(x, movingRow));
    blurSum += static_cast<double>(b.At(x, movingRow));
  }
  EXPECT_NEAR(blurSum, sharpSum, 0.05 * sharpSum);

  // The cube that stands still is the same picture.
  const int stillRow = 36 - static_cast<int>(std::lround(1.2 * pixelsPerUnit));
  for (int y = stillRow - 4; y <= stillRow + 4; ++y) {
    for (int x = 0; x < a.width; ++x) {
      const size_t i = static_cast<size_t>((y * a.width + x) * 4);
      ASSERT_NEAR(a.bytes[i], b.bytes[i], 1) << x << "," << y;
    }
  }
}

// Particles from a sphere shell, seen by the default camera. At 20 frames per second and rates of
// 16 or 200 a second every emission time on the chunk's preroll start (0.25 s) falls on the same
// beat as in the long render.
SceneDocument ParticleScene(const std::string& rate, const std::string& lifetime, const std::string& seed) {
  SceneDocument doc;
  const int particles = doc.Add("Particles", {{1, "Rate: " + rate}, {4, "StartSpeed: 2"}, {5, "GravityModifier: 1"},
                                              {6, "Lifetime: " + lifetime}, {7, "StartSizeMin: 0.3"},
                                              {8, "StartSizeMax: 0.3"}, {9, "Seed: " + seed},
                                              {14, "StartColor2.R: 0.1"}, {15, "StartColor2.G: 0.1"},
                                              {16, "StartColor2.B: 10.1"}, {17, "Emitter: 1"},
                                              {18, "EmitterParam.X: 0.2"}, {19, "EmitterParam.Y: 1"}});
  const int camera = doc.Add("Camera", {{1, "Position.X: 0"}, {2, "Position.Y: 0"}, {3, "Position.Z: -8"},
                                        {4, "Direction.X: 0"}, {5, "Direction.Y: 0"}, {6, "Direction.Z: 1"}},
                             {{particles, "SceneOut", "InScene"}});
  const int light = doc.Add("DirLight", {}, {{camera, "OutScene", "InScene"}});
  const int pass = doc.Add("LightPass", {}, {{light, "OutScene", "SceneIn"}});
  doc.Show(doc.Add("ToneMapping", {}, {{pass, "ImageOut", "ImageIn"}}), "ImageOut");
  return doc;
}

int LargestDifference(const Frame& a, const Frame& b) {
  int largest = a.bytes.size() == b.bytes.size() ? 0 : 255;
  for (size_t i = 0; i < std::min(a.bytes.size(), b.bytes.size()); ++i) {
    largest = std::max(largest, std::abs(static_cast<int>(a.bytes[i]) - static_cast<int>(b.bytes[i])));
  }
  return largest;
}

// One render of 0..2 s against two chunks, the second with a preroll longer than a particle
// lives (0.75 s), so that it starts 0.25 s after the long render did. With "Seed" and a system that
// empties now and then (16 a second, living 0.1 s) the frames are the same; a steady crowd (200 a
// second, living 0.5 s) holds other individuals (the system's removal order depends on its whole
// history), but as many, as old and as bright.
TEST_F(CaptureTest, ChunksWithAPrerollMatchOneLongRender) {
  struct Case {
    std::string name, rate, lifetime, seed;
    bool exact;
  };
  const Case cases[] = {
      {"sparse-seeded", "16", "0.1", "7", true},
      {"crowd-seeded", "200", "0.5", "7", false},
      {"crowd-free", "200", "0.5", "0", false},
  };
  const std::string size = "--size 64x36 --fps 20 ";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SceneDocument doc = ParticleScene(c.rate, c.lifetime, c.seed);
    const std::vector<Frame> whole = Render(doc, c.name + "-whole", size + "--from 0 --to 2");
    const std::vector<Frame> first = Render(doc, c.name + "-first", size + "--from 0 --to 1");
    const std::vector<Frame> second = Render(doc, c.name + "-second", size + "--from 1 --to 2 --preroll 0.75");
    const std::vector<Frame> cold = Render(doc, c.name + "-cold", size + "--from 1 --to 2");
    ASSERT_EQ(whole.size(), 40u);
    ASSERT_EQ(first.size(), 20u);
    ASSERT_EQ(second.size(), 20u);
    ASSERT_EQ(cold.size(), 20u);
    for (size_t k = 0; k < 20; ++k) EXPECT_EQ(LargestDifference(first[k], whole[k]), 0) << k;
    double wholeLight = 0.0, chunkLight = 0.0;
    for (size_t k = 0; k < 20; ++k) {
      const Frame& expected = whole[20 + k];
      wholeLight += expected.Mean();
      chunkLight += second[k].Mean();
      if (c.exact) {
        EXPECT_EQ(LargestDifference(second[k], expected), 0) << k;
      }
    }
    ASSERT_GT(wholeLight, 0.0);  // particles are there to compare
    // A crowd of other individuals: a frame's light varies with where they overlap, a second's
    // light does not.
    EXPECT_NEAR(chunkLight, wholeLight, 0.2 * wholeLight);
    // Without the preroll the chunk starts empty, where the long render has its crowd.
    EXPECT_EQ(cold[0].Mean(), 0.0);
    if (!c.exact) {
      EXPECT_GT(whole[20].Mean(), 0.001);
    }
  }
}

}  // namespace
}  // namespace orvane
