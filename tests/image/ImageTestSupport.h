#pragma once
// Shared by the image render tests: a player with two float swap targets on the 64x64 test
// screen, the post-effects object, "TestPaint" (a scene operator that paints a pattern into the
// current image) and read-back of any image as float pixels.

#include <string>
#include <vector>

#include "app/Player.h"
#include "graph/Operator.h"
#include "render/RenderFixture.h"
#include "support/GraphFixture.h"

namespace orvane::test {

constexpr uint32_t kSize = 64;

// Patterns of "TestPaint", drawn within the viewport (pixel coordinates from its top-left).
enum PaintPattern : int {
  kPaintNothing = -1,
  kPaintSolid = 0,      // the colour everywhere
  kPaintDiagonal = 1,   // the colour above the line y = Slope x + 12, opaque black below
  kPaintRamp = 2,       // the colour scaled by x / width
  kPaintNonFinite = 3,  // +infinity in the left half, NaN in the right half
};

class TestPaintOp final : public Operator {
public:
  TestPaintOp();
  ~TestPaintOp() override;

  class PaintFunction final : public Function {
  public:
    explicit PaintFunction(TestPaintOp& owner) : owner_(owner) {}
    void Evaluate(float time, const PortList& sources, Player& player) override;

  private:
    TestPaintOp& owner_;
  };

  // What the last evaluation saw.
  TargetRect seenRect;
  GpuResource* seenImage = nullptr;
  int evaluations = 0;
  ShaderPass* pass = nullptr;
};

class ImageRenderTest : public RenderTest {
protected:
  void SetUp() override;
  void TearDown() override;

  // Float swap targets owned by the player, the screen's viewport, swap index 0.
  static void PrepareSwapTargets(Player& player);
  // Any colour image as float pixels, top row first (half-float images through a copy).
  std::vector<Rgba> ReadImage(GpuResource* image);
  // Texel for texel, into the top-left corner of `destination`.
  void CopyImage(GpuResource* source, GpuResource* destination);
  static Rgba At(const std::vector<Rgba>& pixels, uint32_t x, uint32_t y) { return pixels[y * kSize + x]; }

  PassPtr copy_;
};

// Sets a float input of an operator by name.
void SetInput(Operator& op, const char* name, float value);

// A graph text: FinalOutput, then `operators` (each "type; connection..." body), numbered from 1.
std::string GraphText(const std::vector<std::string>& operators);
// Connection number `index` of an operator: from output `sourceProp` of operator `source` to input
// `targetProp` of `target`.
std::string Link(int source, const char* sourceProp, int target, const char* targetProp, int index = 0);

}  // namespace orvane::test
