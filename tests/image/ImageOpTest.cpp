// The "Image" operator on llvmpipe: target size and viewport, clearing, recreation on a size
// change, and sizes that cannot make a target.

#include <cmath>
#include <limits>

#include "ImageTestSupport.h"
#include "image/operators/ImageOp.h"

namespace orvane {
namespace {

using test::Rgba;
using test::kSize;

constexpr Rgba kClearColor{0.1f, 0.2f, 0.3f, 0.4f};
constexpr Rgba kPaintColor{0.9f, 0.8f, 0.7f, 1.0f};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

class ImageOpTest : public test::ImageRenderTest {
protected:
  // 1: Image over 2: TestPaint; 3: ToneMapping of the image.
  testing::LoadedGraph graph{test::GraphText({"Image;" + test::Link(2, "SceneOut", 1, "ImageIn"), "TestPaint;",
                                              "ToneMapping;" + test::Link(1, "ImageOut", 3, "ImageIn")})};

  void SetUp() override {
    ImageRenderTest::SetUp();
    PrepareSwapTargets(graph.player);
    SetColor("Clear", kClearColor);
    SetColor("Color", kPaintColor);
  }
  void SetColor(const std::string& prefix, const Rgba& c) {
    Operator& op = graph.op(prefix == "Clear" ? 1 : 2);
    test::SetInput(op, (prefix + ".R").c_str(), c.r);
    test::SetInput(op, (prefix + ".G").c_str(), c.g);
    test::SetInput(op, (prefix + ".B").c_str(), c.b);
    test::SetInput(op, (prefix + ".A").c_str(), c.a);
  }
  void SetSize(float x, float y) {
    test::SetInput(graph.op(1), "Size.X", x);
    test::SetInput(graph.op(1), "Size.Y", y);
  }
  ImageOp::ImageFunction& image() { return static_cast<ImageOp::ImageFunction&>(*graph.output(1).function); }
  test::TestPaintOp& paint() { return static_cast<test::TestPaintOp&>(graph.op(2)); }
  void Evaluate(size_t op = 1) { graph.output(op).Evaluate(0.0f, graph.player); }
};

struct SizeCase {
  float sizeX, sizeY;
  uint32_t width, height;  // of the target
  TargetRect viewport;     // while the scene draws
  bool painted;            // the scene's colour covers the target's top-left pixel
};

TEST_F(ImageOpTest, TheSizeChoosesTheTargetAndTheViewport) {
  const int32_t screen = static_cast<int32_t>(kSize);
  const SizeCase cases[] = {
      {0, 0, kSize, kSize, {0, 0, screen, screen}, true},  // screen-sized, viewport left alone
      {0, 256, kSize, kSize, {0, 0, 0, 256}, false},       // screen-sized, but an empty viewport
      {32, 16, 32, 16, {0, 0, 32, 16}, true},
      {20.7f, 10.2f, 20, 10, {0, 0, 20, 10}, true},  // truncated
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.sizeX << " x " << c.sizeY);
    SetSize(c.sizeX, c.sizeY);
    Evaluate();
    ASSERT_NE(image().target, nullptr);
    EXPECT_EQ(image().target->Width(), c.width);
    EXPECT_EQ(image().target->Height(), c.height);
    EXPECT_EQ((image().target->desc.options & kOptionFollowWindow) != 0, c.sizeX == 0 || c.sizeY == 0);
    const TargetRect& seen = paint().seenRect;
    EXPECT_EQ(seen.left, c.viewport.left);
    EXPECT_EQ(seen.top, c.viewport.top);
    EXPECT_EQ(seen.right, c.viewport.right);
    EXPECT_EQ(seen.bottom, c.viewport.bottom);
    // The scene drew into the target, which stays the image; the viewport is restored.
    EXPECT_EQ(paint().seenImage, image().target);
    EXPECT_EQ(graph.player.image, image().target);
    EXPECT_EQ(graph.player.rect.right, screen);
    EXPECT_EQ(graph.player.rect.bottom, screen);

    const auto pixels = ReadImage(image().target);
    const Rgba expected = c.painted ? kPaintColor : kClearColor;
    test::ExpectColorNear(pixels.front(), expected, 1e-3f);
    test::ExpectColorNear(pixels.back(), expected, 1e-3f);
  }
}

TEST_F(ImageOpTest, ClearsOnlyAboveOneHalf) {
  constexpr Rgba kOther{0.6f, 0.5f, 0.4f, 0.3f};
  test::SetInput(paint(), "Pattern", test::kPaintNothing);
  const struct {
    float clear;
    bool cleared;
  } cases[] = {{0.5f, false}, {0.51f, true}, {0.0f, false}, {1.0f, true}, {kNaN, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clear);
    SetColor("Clear", kClearColor);
    test::SetInput(graph.op(1), "Clear", 1.0f);
    Evaluate();
    SetColor("Clear", kOther);
    test::SetInput(graph.op(1), "Clear", c.clear);
    Evaluate();
    test::ExpectColorNear(ReadImage(image().target)[100], c.cleared ? kOther : kClearColor, 1e-3f);
  }
}

TEST_F(ImageOpTest, OnlyAChangedSizeRecreatesTheTarget) {
  SetSize(512.0f, 512.0f);
  Evaluate();
  GpuResource* first = image().target;
  ASSERT_NE(first, nullptr);
  Evaluate();
  EXPECT_EQ(image().target, first);
  SetSize(512.0001f, 512.0f);
  Evaluate();
  ASSERT_NE(image().target, nullptr);
  EXPECT_NE(image().target, first);
  EXPECT_EQ(image().target->Width(), 512u);
  EXPECT_EQ(image().lastWidth, 512.0001f);
}

TEST_F(ImageOpTest, SizesThatMakeNoTargetLeaveNoImageAndDoNotCrash) {
  const std::pair<float, float> sizes[] = {{0.5f, 0.5f}, {-5.0f, 7.0f}, {kNaN, kNaN}, {kInfinity, 4.0f},
                                           {1e10f, 1e10f}, {3.0f, -kInfinity}};
  for (const auto& [x, y] : sizes) {
    SCOPED_TRACE(::testing::Message() << x << " x " << y);
    SetSize(x, y);
    for (int frame = 0; frame < 2; ++frame) {
      graph.player.imageIndex = 0;
      Evaluate(3);  // tone mapping pulls the image
      EXPECT_EQ(graph.player.rect.right, static_cast<int32_t>(kSize));
      if (image().target == nullptr) {
        EXPECT_EQ(graph.player.image, nullptr);
        EXPECT_EQ(graph.player.imageIndex, 0);
      }
    }
  }
  // A usable size afterwards works as before.
  SetSize(8.0f, 8.0f);
  Evaluate();
  ASSERT_NE(image().target, nullptr);
  test::ExpectColorNear(ReadImage(image().target).front(), kPaintColor, 1e-3f);
}

}  // namespace
}  // namespace orvane
