// What the player shows, frame after frame, for small documents played through the real player
// on llvmpipe: the frame image that starts each frame, a graph that leaves no image, a light pass
// inside a smaller image, normals under non-uniform scale, and a texture the load-time pass leaves
// alone.

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "image/PostEffects.h"
#include "render/Adapter.h"
#include "render/Camera.h"
#include "render/GpuResource.h"
#include "render/RenderFixture.h"
#include "render/Screen.h"
#include "scene/LightVolume.h"
#include "scene/SceneDocument.h"
#include "support/TempFolder.h"

namespace orvane {
namespace {

using testing::SceneDocument;
using Inputs = std::vector<std::pair<int, std::string>>;

// "TestNoImage": shows its image input while `show` is set, and otherwise leaves no image.
class NoImageOp final : public Operator {
public:
  static inline bool show = true;
  NoImageOp() : Operator(kCategoryImage) {
    AddInertInput("In", kPortImage);
    AddOutput("OutImage", kPortImage, std::make_unique<SwitchFunction>());
  }
  class SwitchFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override {
      if (show) {
        sources[0]->Evaluate(time, player);
      } else {
        player.image = nullptr;
      }
    }
  };
};
const OperatorRegistration<NoImageOp> kNoImage{"TestNoImage"};

const Inputs kMatteWhite{{4, "Color.R: 1"},    {5, "Color.G: 1"},    {6, "Color.B: 1"},    {7, "Specular.R: 0"},
                         {8, "Specular.G: 0"}, {9, "Specular.B: 0"}, {10, "Metalness: 0"}, {11, "Roughness: 1"}};

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
  int At(int x, int y, int channel = 0) const { return rgba[static_cast<size_t>((y * width + x) * 4 + channel)]; }
  int Brightest() const {
    int brightest = 0;
    for (size_t i = 0; i < rgba.size(); ++i) brightest = i % 4 == 3 ? brightest : std::max<int>(brightest, rgba[i]);
    return brightest;
  }
  int CountAbove(int level) const {
    int count = 0;
    for (size_t i = 0; i < rgba.size(); i += 4) count += rgba[i] > level ? 1 : 0;
    return count;
  }
};

class PlayerPictureTest : public test::RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
    camera_.frame = LookAtFrame({0, 0, -8, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
    CreatePostEffects(adapter(), currentScreen, &camera_);
    CreateLightVolume(adapter());
    NoImageOp::show = true;
  }
  void TearDown() override {
    player_.Release();
    player_.operators.clear();
    DestroyPostEffects();
    DestroyLightVolume();
    std::filesystem::current_path(previous_);
    currentScreen->Resize(64, 64);
  }

  void Play(const SceneDocument& doc, int width, int height) {
    folder_.Write("demo.opr", doc.text());
    currentScreen->Resize(width, height);
    PlayerOptions options;
    options.output = MusicChannel::Output::Silent;
    options.playMusic = false;
    player_.Setup(adapter(), currentScreen, &draw(), options);
  }

  Picture FrameAt(float time) {
    adapter()->BeginFrame();
    player_.RenderFrame(time);
    return {currentScreen->width, currentScreen->height, ReadTexture(*currentScreen->backBuffer)};
  }

  // A white cube (moved by `position`) seen by a camera at (0, 0, -8), lit head-on by one
  // directional light; returns the light pass.
  static int LitCube(SceneDocument& doc, const Inputs& position = {}) {
    const int cube = doc.Add("Cube");
    const int white = doc.Add("Material", kMatteWhite, {{cube, "OutScene", "sceneIn"}});
    const int moved = doc.Add("Transform", position, {{white, "SceneOut", "InScene"}});
    const int camera = doc.Add("Camera", {{1, "Position.X: 0"}, {2, "Position.Y: 0"}, {3, "Position.Z: -8"},
                                          {4, "Direction.X: 0"}, {5, "Direction.Y: 0"}, {6, "Direction.Z: 1"}},
                               {{moved, "OutScene", "InScene"}});
    const int light = doc.Add("DirLight", {{1, "Direction.X: 0"}, {2, "Direction.Y: 1"}, {3, "Direction.Z: 0"}},
                              {{camera, "OutScene", "InScene"}});
    return doc.Add("LightPass", {}, {{light, "OutScene", "SceneIn"}});
  }

  testing::TempFolder folder_;
  std::filesystem::path previous_;
  Camera camera_;
  Player player_;
};

// Without an Image operator, the light pass copies into the frame's own image: what the load-time
// pass or an earlier frame left there (a cube lit where it stood before the transform) must not
// show.
TEST_F(PlayerPictureTest, NothingFromTheLoadTimePassOrEarlierFramesShowsThrough) {
  SceneDocument doc;
  const int pass = LitCube(doc, {{1, "Position.X: 2.5"}});
  doc.Show(doc.Add("ToneMapping", {}, {{pass, "ImageOut", "ImageIn"}}), "ImageOut");
  Play(doc, 128, 72);
  for (float time : {0.0f, 0.1f, 0.2f}) {
    SCOPED_TRACE(time);
    const Picture frame = FrameAt(time);
    EXPECT_GT(frame.At(93, 36), 150);  // the moved cube, lit
    EXPECT_EQ(frame.At(64, 36), 0);    // where the cube stood before it was moved: nothing
    EXPECT_EQ(frame.At(30, 36), 0);
  }
}

// The load-time pass evaluates the operators one by one in document order. A texture loaded before a
// light pass must keep its pixels: the light pass draws into a swap target, not into the texture
// the operator before it left as the current image.
TEST_F(PlayerPictureTest, TheLoadTimePassLeavesALoadedTextureAlone) {
  // A green texture of the screen's size, drawn over all of it.
  std::vector<uint8_t> pixels(128 * 72 * 4, 0);
  for (size_t i = 0; i < pixels.size(); i += 4) pixels[i + 1] = pixels[i + 3] = 255;
  ASSERT_NE(stbi_write_png((folder_.path() / "green.png").c_str(), 128, 72, 4, pixels.data(), 128 * 4), 0);
  SceneDocument doc;
  const int texture = doc.Add("Texture", {{0, "Filepath: \"green.png\""}});
  const int pass = LitCube(doc);
  doc.Show(doc.Add("Sprite", {{8, "Scale.X: 15"}, {9, "Scale.Y: 15"}},
                   {{pass, "ImageOut", "ImageIn"}, {texture, "TexOut", "Texture"}}),
           "ImageOut");
  Play(doc, 128, 72);
  const Picture frame = FrameAt(0.0f);
  EXPECT_LT(frame.At(64, 36, 0), 40);   // the sprite's green over the white cube
  EXPECT_GT(frame.At(64, 36, 1), 200);
  EXPECT_LT(frame.At(64, 36, 2), 40);
}

TEST_F(PlayerPictureTest, AGraphThatLeavesNoImageShowsABlackFrame) {
  SceneDocument doc;
  const int pass = LitCube(doc);
  doc.Show(doc.Add("TestNoImage", {}, {{pass, "ImageOut", "In"}}), "OutImage");
  Play(doc, 64, 36);
  EXPECT_GT(FrameAt(0.0f).At(32, 18), 150);
  NoImageOp::show = false;
  for (float time : {0.1f, 0.2f}) {
    const Picture frame = FrameAt(time);
    EXPECT_EQ(frame.Brightest(), 0) << time;
  }
}

// A light pass drawn into an image smaller than the screen fills that image with the same picture
// at its size, which the player then stretches over the screen.
TEST_F(PlayerPictureTest, ALightPassInsideASmallerImageShowsTheSamePicture) {
  const auto render = [&](const Inputs& size) {
    SceneDocument doc;
    const int pass = LitCube(doc);
    doc.Show(doc.Add("Image", size, {{pass, "ImageOut", "ImageIn"}}), "ImageOut");
    Play(doc, 128, 72);
    FrameAt(0.0f);
    const Picture frame = FrameAt(0.1f);
    player_.Release();
    player_.operators.clear();
    return frame;
  };
  const Picture whole = render({});
  const Picture half = render({{6, "Size.X: 64"}, {7, "Size.Y: 36"}});
  EXPECT_GT(whole.At(64, 36), 200);
  EXPECT_GT(half.At(64, 36), 200);  // lit, not a dark silhouette
  EXPECT_EQ(half.At(10, 10), 0);
  const int litWhole = whole.CountAbove(128);
  const int litHalf = half.CountAbove(128);
  EXPECT_GT(litWhole, 80);
  EXPECT_NEAR(litHalf, litWhole, litWhole / 8);
}

// An ellipsoid (a sphere scaled by 3 along X) seen and lit from straight above. At x = 2 on its top
// ridge the true normal leans only 17 degrees from the light (cos 0.958); carried by the transform
// itself it would lean 70 degrees and show a dark ridge.
TEST_F(PlayerPictureTest, NormalsStayTrueUnderNonUniformScale) {
  SceneDocument doc;
  const int sphere = doc.Add("Sphere");
  const int white = doc.Add("Material", kMatteWhite, {{sphere, "OutScene", "sceneIn"}});
  const int stretched = doc.Add("Transform", {{7, "Scale.X: 3"}}, {{white, "SceneOut", "InScene"}});
  const int camera = doc.Add("Camera", {{1, "Position.X: 0"}, {2, "Position.Y: 10"}, {3, "Position.Z: 0"},
                                        {4, "Direction.X: 0"}, {5, "Direction.Y: -1"}, {6, "Direction.Z: 0"}},
                             {{stretched, "OutScene", "InScene"}});
  const int light = doc.Add("DirLight", {{1, "Direction.X: 0"}, {2, "Direction.Y: 0"}, {3, "Direction.Z: -1"}},
                            {{camera, "OutScene", "InScene"}});
  doc.Show(doc.Add("LightPass", {}, {{light, "OutScene", "SceneIn"}}), "ImageOut");
  Play(doc, 96, 96);
  const Picture frame = FrameAt(0.0f);
  const int top = frame.At(48, 48);
  EXPECT_GT(top, 200);
  // x = 2 lies about 0.52 of the half-width right of the centre, seen from 9.25 units away.
  for (int x : {72, 73, 74}) {
    EXPECT_GT(frame.At(x, 48), 0.9 * 0.958 * top) << x;
    EXPECT_LT(frame.At(x, 48), 1.05 * 0.958 * top) << x;
  }
}

}  // namespace
}  // namespace orvane
