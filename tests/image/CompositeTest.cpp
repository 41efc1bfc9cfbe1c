// Compositing and routing operators on llvmpipe: MaskImage, Blend and Sprite drawing into the
// current image, ImageShader, ImageEval and ImageGroup, fed by painted test images.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

#include "ImageTestSupport.h"
#include "graph/Port.h"
#include "image/operators/ImageOp.h"
#include "render/ConstantBuffer.h"
#include "scene/MeshBuilder.h"
#include "support/TempFolder.h"

namespace orvane {
namespace {

using test::kSize;
using test::Rgba;

// Records the order in which its instances are evaluated.
std::vector<int> gEvaluationOrder;

class TestOrderOp final : public Operator {
public:
  TestOrderOp() : Operator(kCategoryImage) {
    AddFloatInput("Tag", 0.0f);
    AddOutput("ImageOut", kPortImage, std::make_unique<OrderFunction>());
  }
  class OrderFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override {
      gEvaluationOrder.push_back(static_cast<int>(EvaluateFloat(sources, 0, time, player)));
    }
  };
};
const OperatorRegistration<TestOrderOp> kOrderRegistration{"TestOrder"};

std::string Solid(const Rgba& c) {
  std::ostringstream text;
  text << "TestPaint; input[1] { Color.R: " << c.r << "; } input[2] { Color.G: " << c.g << "; } input[3] { Color.B: "
       << c.b << "; } input[4] { Color.A: " << c.a << "; }";
  return text.str();
}

enum Ops : size_t {
  kPaintA = 1, kImageA, kPaintB, kImageB, kBlend, kMask, kBlendHalf, kMaskHalf, kSpriteTexturePaint, kSpriteTexture,
  kSprite, kSpriteNoTexture, kShader, kEval, kOrder1, kOrder2, kOrder3, kGroup, kEmptyGroup
};

constexpr Rgba kA{0.2f, 0.4f, 0.6f, 1.0f};
constexpr Rgba kB{0.5f, 0.5f, 0.5f, 1.0f};

class CompositeTest : public test::ImageRenderTest {
protected:
  void SetUp() override {
    ImageRenderTest::SetUp();
    graph = std::make_unique<testing::LoadedGraph>(test::GraphText({
        Solid(kA),
        "Image;" + test::Link(kPaintA, "SceneOut", kImageA, "ImageIn"),
        Solid(kB),
        "Image;" + test::Link(kPaintB, "SceneOut", kImageB, "ImageIn"),
        "Blend;" + test::Link(kImageA, "ImageOut", kBlend, "ImageA") + test::Link(kImageB, "ImageOut", kBlend, "ImageB", 1),
        "MaskImage;" + test::Link(kImageA, "ImageOut", kMask, "ImageIn") + test::Link(kImageB, "ImageOut", kMask, "Mask", 1),
        "Blend;" + test::Link(kImageB, "ImageOut", kBlendHalf, "ImageB"),
        "MaskImage;" + test::Link(kImageB, "ImageOut", kMaskHalf, "Mask"),
        Solid({1, 0, 0, 1}),
        "Image; input[6] { Size.X: 16; } input[7] { Size.Y: 8; }" +
            test::Link(kSpriteTexturePaint, "SceneOut", kSpriteTexture, "ImageIn"),
        // Scale 1080 / 64: on the 64-pixel-high test screen the sprite keeps its 16 x 8 texels.
        "Sprite; input[8] { Scale.X: 16.875; } input[9] { Scale.Y: 16.875; }" +
            test::Link(kImageB, "ImageOut", kSprite, "ImageIn") + test::Link(kSpriteTexture, "ImageOut", kSprite, "Texture", 1),
        "Sprite;" + test::Link(kImageB, "ImageOut", kSpriteNoTexture, "ImageIn"),
        "ImageShader;" + test::Link(kImageA, "ImageOut", kShader, "ImageIn"),
        "ImageEval; input[1] { Start: 2; } input[2] { End: 5; }" + test::Link(kImageA, "ImageOut", kEval, "ImageIn"),
        "TestOrder; input[0] { Tag: 1; }",
        "TestOrder; input[0] { Tag: 2; }",
        "TestOrder; input[0] { Tag: 3; }",
        "ImageGroup;" + test::Link(kOrder2, "ImageOut", kGroup, "InImage", 0) +
            test::Link(kOrder1, "ImageOut", kGroup, "InImage", 1) + test::Link(kOrder3, "ImageOut", kGroup, "InImage", 2),
        "ImageGroup;",
    }));
    PrepareSwapTargets(player());
    MeshBuilder builder;
    builder.AddQuadFace({0, 0, 0}, {1, 0, 0}, {0, -1, 0});
    builder.Upload(adapter(), player().quad);
    destination = MakeTarget(kSize, kSize);
    gEvaluationOrder.clear();
  }
  Player& player() { return graph->player; }
  void Set(size_t op, const char* input, float value) { test::SetInput(graph->op(op), input, value); }
  // The target an "Image" operator draws into.
  GpuResource* TargetOf(size_t image) {
    return static_cast<ImageOp::ImageFunction&>(*graph->op(image).outputs[0].function).target;
  }
  int PaintCount(size_t paint) { return static_cast<test::TestPaintOp&>(graph->op(paint)).evaluations; }

  // Fills the destination with a colour, makes it current and evaluates the operator into it.
  std::vector<Rgba> DrawInto(size_t op, const Rgba& background = {0, 0, 0, 0}, float time = 0.0f) {
    draw().SetTargets(Targets(destination.get(), nullptr, background));
    draw().UnbindTargets();
    player().image = destination.get();
    graph->output(op).Evaluate(time, player());
    return ReadImage(destination.get());
  }

  std::unique_ptr<testing::LoadedGraph> graph;
  test::ResourcePtr destination;
};

TEST_F(CompositeTest, BlendColourModesGiveTheExpectedColours) {
  struct Case {
    float mode;
    Rgba expected;
  };
  const Case cases[] = {{0.0f, {0.5f, 0.5f, 0.5f, 1}},  // Normal: B
                        {1.0f, {0.7f, 0.9f, 1.1f, 1}},  // Add
                        {2.9f, {0.1f, 0.2f, 0.3f, 1}},  // Mul: 2.9 truncates to 2
                        {3.0f, {0.3f, 0.1f, 0.1f, 1}},  // Diff
                        {7.0f, {0.5f, 0.5f, 0.5f, 1}}}; // unknown: Normal
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Set(kBlend, "Color", c.mode);
    const auto pixels = DrawInto(kBlend);
    test::ExpectColorNear(At(pixels, 10, 50), c.expected, 2e-3f);
    EXPECT_EQ(player().image, destination.get());
  }
}

TEST_F(CompositeTest, BlendAlphaModes) {
  // A half transparent, B a quarter opaque.
  Set(kPaintA, "Color.A", 0.5f);
  Set(kPaintB, "Color.A", 0.25f);
  const float cases[][2] = {{0.0f, 0.625f}, {1.0f, 0.5f}, {2.0f, 0.25f}, {3.0f, 1.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    Set(kBlend, "Alpha", c[0]);
    EXPECT_NEAR(At(DrawInto(kBlend), 40, 20).a, c[1], 2e-3f);
  }
  // Normal colour over A as far as B covers it: a quarter of the way from A to B.
  Set(kBlend, "Alpha", 0.0f);
  test::ExpectColorNear(At(DrawInto(kBlend), 40, 20), {0.275f, 0.425f, 0.575f, 0.625f}, 2e-3f);
}

TEST_F(CompositeTest, MaskKeepsTheImageWhereTheChosenChannelPasses) {
  struct Case {
    float r, a, threshold, invert;
    bool kept;
  };
  // The mask B is 0.5 in red, green and blue and opaque.
  const Case cases[] = {{1, 0, 0.4f, 0, true},  {1, 0, 0.6f, 0, false}, {1, 0, 0.6f, 1, true},
                        {0, 1, 0.6f, 0, true},  {0, 1, 0.6f, 1, false}, {0, 0, 0.0f, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.r << " " << c.a << " " << c.threshold << " " << c.invert);
    Set(kMask, "ChannelMask.R", c.r);
    Set(kMask, "ChannelMask.A", c.a);
    Set(kMask, "Threshold", c.threshold);
    Set(kMask, "Invert", c.invert);
    const auto pixels = DrawInto(kMask, {1, 1, 1, 1});
    test::ExpectColorNear(At(pixels, 5, 5), c.kept ? kA : Rgba{0, 0, 0, 0}, 2e-3f);
    EXPECT_EQ(player().image, destination.get());
  }
}

TEST_F(CompositeTest, AnUnconnectedImageInputDrawsNothingAndLeavesTheLastInputsImage) {
  const Rgba background{0.9f, 0.8f, 0.7f, 1.0f};
  for (size_t op : {kBlendHalf, kMaskHalf}) {
    SCOPED_TRACE(op);
    const auto pixels = DrawInto(op, background);
    test::ExpectColorNear(At(pixels, 30, 30), background, 1e-4f);  // nothing drawn
    EXPECT_EQ(player().image, TargetOf(kImageB));  // the connected input ran and left its image
  }
}

TEST_F(CompositeTest, ASpriteKeepsItsTexelSizeOnA1080ScaledScreenForEachPivot) {
  struct Case {
    float pivot;
    uint32_t left;
  };
  // The 16 x 8 texture at the centre: pixels 28 to 35 high, and 16 wide from `left`.
  const Case cases[] = {{0.0f, 24}, {1.0f, 16}, {2.0f, 32}, {5.0f, 24}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pivot);
    Set(kSprite, "Pivot", c.pivot);
    DrawInto(kSprite);
    // The sprite goes over the image the sprite's input left (B), which stays current.
    EXPECT_EQ(player().image, TargetOf(kImageB));
    const auto drawn = ReadImage(player().image);
    for (uint32_t y = 20; y < 44; ++y) {
      for (uint32_t x = 8; x < 56; ++x) {
        const bool inside = x >= c.left && x < c.left + 16 && y >= 28 && y < 36;
        ASSERT_NEAR(At(drawn, x, y).r, inside ? 1.0f : 0.5f, 2e-3f) << x << "," << y;
        ASSERT_NEAR(At(drawn, x, y).g, inside ? 0.0f : 0.5f, 2e-3f) << x << "," << y;
      }
    }
  }
}

TEST_F(CompositeTest, ASpriteIsTintedAndBlendedByItsColour) {
  Set(kSprite, "Color.G", 0.0f);
  Set(kSprite, "Color.A", 0.5f);
  DrawInto(kSprite);
  // Red at half alpha over grey 0.5.
  const Rgba tinted = At(ReadImage(player().image), 31, 31);
  EXPECT_NEAR(tinted.r, 0.75f, 3e-3f);
  EXPECT_NEAR(tinted.g, 0.25f, 3e-3f);
  EXPECT_NEAR(tinted.b, 0.25f, 3e-3f);
}

TEST_F(CompositeTest, ASpriteWithNonFiniteInputsLeavesNoNonFinitePixels) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (const char* input : {"Position.X", "Scale.Y", "Color.A", "Pivot"}) {
    SCOPED_TRACE(input);
    Set(kSprite, input, nan);
    DrawInto(kSprite);
    for (const Rgba& p : ReadImage(player().image)) {
      ASSERT_TRUE(std::isfinite(p.r) && std::isfinite(p.g) && std::isfinite(p.b) && std::isfinite(p.a));
    }
    Set(kSprite, input, 1.0f);
  }
}

TEST_F(CompositeTest, AnInvisibleSpriteDrawsNothingButEvaluatesItsInputs) {
  Set(kSprite, "Color.A", 0.0f);
  const int image = PaintCount(kPaintB);
  const int texture = PaintCount(kSpriteTexturePaint);
  DrawInto(kSprite);
  EXPECT_EQ(PaintCount(kPaintB), image + 1);
  EXPECT_EQ(PaintCount(kSpriteTexturePaint), texture + 1);
  test::ExpectColorNear(At(ReadImage(player().image), 31, 31), kB, 2e-3f);
  // Without a texture it draws nothing either; the image its input left stays current.
  DrawInto(kSpriteNoTexture);
  test::ExpectColorNear(At(ReadImage(player().image), 31, 31), kB, 2e-3f);
  EXPECT_NE(player().image, destination.get());
}

TEST_F(CompositeTest, AnImageShaderWithAnEmptyPathDoesNothing) {
  const int before = PaintCount(kPaintA);
  const auto pixels = DrawInto(kShader, {0.1f, 0.1f, 0.1f, 1});
  EXPECT_EQ(PaintCount(kPaintA), before);  // its input is not evaluated
  EXPECT_EQ(player().image, destination.get());
  test::ExpectColorNear(At(pixels, 3, 3), {0.1f, 0.1f, 0.1f, 1}, 1e-4f);
  EXPECT_TRUE(graph->output(kShader).function->dirty);  // tried again next time
}

TEST_F(CompositeTest, AnImageShaderThatFailsToLoadIsNeverRetried) {
  testing::TempFolder folder;
  const std::string path = (folder / "late.glsl").string();
  Port& filepath = graph->op(kShader).inputs[1];
  dynamic_cast<Text&>(*filepath.function->GetValue()).value = path;
  DrawInto(kShader);
  EXPECT_FALSE(graph->output(kShader).function->dirty);
  // The files appear afterwards: still nothing is drawn, and the input is never evaluated.
  std::ifstream example(ORVANE_SOURCE_DIR "/examples/image-shader/shaders/ripplesVS.vs");
  std::stringstream vs;
  vs << example.rdbuf();
  folder.Write("lateVS.vs", vs.str());
  folder.Write("latePS.ps", "#version 450 core\nlayout(location = 0) out vec4 c;\nvoid main() { c = vec4(1.0); }\n");
  const int before = PaintCount(kPaintA);
  const auto pixels = DrawInto(kShader);
  test::ExpectColorNear(At(pixels, 3, 3), {0, 0, 0, 0}, 1e-4f);
  EXPECT_EQ(PaintCount(kPaintA), before);
}

TEST_F(CompositeTest, TheExampleImageShaderFillsTheImageThenEvaluatesItsInput) {
  Port& filepath = graph->op(kShader).inputs[1];
  dynamic_cast<Text&>(*filepath.function->GetValue()).value =
      ORVANE_SOURCE_DIR "/examples/image-shader/shaders/ripples.glsl";
  const int before = PaintCount(kPaintA);
  // Unconnected input: what the shader drew is the result.
  graph->op(kShader).inputs[0].sources.clear();
  const auto pixels = DrawInto(kShader, {0, 0, 0, 0}, 1.0f);
  EXPECT_EQ(PaintCount(kPaintA), before);
  EXPECT_EQ(player().image, destination.get());
  float lowest = 1.0f, highest = 0.0f;
  for (const Rgba& p : pixels) {
    lowest = std::min(lowest, p.b);
    highest = std::max(highest, p.b);
    ASSERT_NEAR(p.a, 1.0f, 1e-4f);
  }
  EXPECT_GT(highest - lowest, 0.3f);  // rings, not a flat colour
  // The same time draws the same picture; another time moves the rings.
  const auto again = DrawInto(kShader, {0, 0, 0, 0}, 1.0f);
  const auto later = DrawInto(kShader, {0, 0, 0, 0}, 1.5f);
  EXPECT_NEAR(At(again, 20, 20).b, At(pixels, 20, 20).b, 1e-5f);
  float moved = 0.0f;
  for (size_t i = 0; i < pixels.size(); ++i) moved = std::max(moved, std::fabs(later[i].b - pixels[i].b));
  EXPECT_GT(moved, 0.1f);
}

TEST_F(CompositeTest, AnImageShaderEvaluatesItsInputAfterDrawing) {
  Port& filepath = graph->op(kShader).inputs[1];
  dynamic_cast<Text&>(*filepath.function->GetValue()).value =
      ORVANE_SOURCE_DIR "/examples/image-shader/shaders/ripples.glsl";
  const int before = PaintCount(kPaintA);
  DrawInto(kShader);
  EXPECT_EQ(PaintCount(kPaintA), before + 1);
  EXPECT_EQ(player().image, TargetOf(kImageA));
  test::ExpectColorNear(At(ReadImage(player().image), 5, 5), kA, 2e-3f);
}

TEST_F(CompositeTest, ImageEvalRunsItsInputOnlyInsideItsWindow) {
  struct Case {
    float time;
    bool runs;
  };
  const Case cases[] = {{-10.0f, false}, {1.99f, false}, {2.0f, true}, {3.5f, true}, {5.0f, true}, {5.01f, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    const int before = PaintCount(kPaintA);
    DrawInto(kEval, {}, c.time);
    EXPECT_EQ(PaintCount(kPaintA), before + (c.runs ? 1 : 0));
    if (!c.runs) {
      EXPECT_EQ(player().image, destination.get());  // the image as it was
    }
  }
}

TEST_F(CompositeTest, ImageGroupEvaluatesEveryConnectionInOrder) {
  DrawInto(kGroup);
  EXPECT_EQ(gEvaluationOrder, (std::vector<int>{2, 1, 3}));
  gEvaluationOrder.clear();
  DrawInto(kEmptyGroup);
  EXPECT_TRUE(gEvaluationOrder.empty());
  EXPECT_EQ(player().image, destination.get());
}

TEST(ImageGroupCycleTest, ACycleThroughALaterConnectionIsCutWhenTheGraphLoads) {
  // The group's second connection comes from an ImageEval that evaluates the group itself.
  testing::LoadedGraph graph(test::GraphText({
      "ImageGroup;" + test::Link(3, "ImageOut", 1, "InImage", 0) + test::Link(2, "SceneOut", 1, "InImage", 1),
      "ImageEval;" + test::Link(1, "OutImage", 2, "ImageIn"),
      "TestOrder; input[0] { Tag: 7; }",
  }));
  // Evaluated only once the cycle is gone, so that a loader that keeps it fails here rather than
  // overflowing the stack.
  ASSERT_EQ(graph.report.cutCycles.size(), 1u);
  gEvaluationOrder.clear();
  graph.output(1).Evaluate(0.0f, graph.player);
  EXPECT_EQ(gEvaluationOrder, (std::vector<int>{7}));
}

}  // namespace
}  // namespace orvane
