// The screen: presenting into the window, letterboxing, frames and debug groups.
#include "RenderFixture.h"

namespace orvane::test {
namespace {

const char* const kTopRedPS = R"(#version 450 core
layout(location = 0) in vec2 uv;
layout(location = 0) out vec4 outColor;
void main() { outColor = uv.y < 0.5 ? vec4(1, 0, 0, 1) : vec4(0, 0, 1, 1); }
)";

using ScreenTest = RenderTest;

struct Pixel {
  uint8_t r, g, b, a;
};

Pixel WindowPixel(const std::vector<uint8_t>& pixels, int32_t width, int32_t x, int32_t y) {
  const size_t i =
      (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
  return {pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
}

// Draws red over blue into the back buffer and presents it.
void PresentRedOverBlue(RenderTest& test, ShaderPass& pass, Screen& screen) {
  (void)test;
  TargetSet targets;
  targets.color[0] = screen.backBuffer;
  targets.rect = {0, 0, screen.width, screen.height};
  currentAdapter->drawContext->SetTargets(targets);
  currentAdapter->drawContext->DrawFullScreen(pass, 3);
  currentAdapter->drawContext->UnbindTargets();
  screen.Present();
}

TEST_F(ScreenTest, PresentedFrameHasItsTopRowAtTheTopOfTheWindow) {
  Screen& screen = *currentScreen;
  PassPtr pass = MakePass(kFullScreenVS, kTopRedPS);
  PresentRedOverBlue(*this, *pass, screen);
  int32_t width = 0, height = 0;
  const std::vector<uint8_t> pixels = screen.ReadWindow(width, height);
  ASSERT_EQ(width, 64);
  ASSERT_EQ(height, 64);
  for (int32_t x = 0; x < width; x += 7) {
    const Pixel top = WindowPixel(pixels, width, x, 0);
    const Pixel bottom = WindowPixel(pixels, width, x, height - 1);
    EXPECT_EQ(top.r, 255);
    EXPECT_EQ(top.b, 0);
    EXPECT_EQ(bottom.r, 0);
    EXPECT_EQ(bottom.b, 255);
  }
}

TEST_F(ScreenTest, PresentKeepsTheAspectRatioWithBlackBars) {
  Screen& screen = *currentScreen;
  screen.Resize(64, 32);  // the window stays 64x64
  PassPtr pass = MakePass(kFullScreenVS, kTopRedPS);
  PresentRedOverBlue(*this, *pass, screen);
  int32_t width = 0, height = 0;
  const std::vector<uint8_t> pixels = screen.ReadWindow(width, height);
  screen.Resize(64, 64);
  struct Row {
    int32_t y;
    Pixel expected;
  };
  for (const Row& row : {Row{2, {0, 0, 0, 255}}, Row{18, {255, 0, 0, 255}},
                         Row{45, {0, 0, 255, 255}}, Row{61, {0, 0, 0, 255}}}) {
    SCOPED_TRACE(row.y);
    const Pixel p = WindowPixel(pixels, width, 32, row.y);
    EXPECT_EQ(p.r, row.expected.r);
    EXPECT_EQ(p.g, row.expected.g);
    EXPECT_EQ(p.b, row.expected.b);
  }
}

TEST_F(ScreenTest, FramesAndDebugGroupsNestWithoutHarm) {
  Adapter& adapter = *currentAdapter;
  adapter.BeginFrame();
  adapter.BeginEvent("TONE MAPPING");
  adapter.BeginEvent("INNER");
  adapter.EndEvent();
  adapter.EndEvent();
  adapter.EndEvent();  // unpaired: ignored
  EXPECT_EQ(currentScreen->adapter, &adapter);
  EXPECT_EQ(currentScreen->colorFormat, kFormatRGBA8);
  EXPECT_EQ(currentScreen->depthFormat, kFormatDepth24Stencil8);
  EXPECT_EQ(currentScreen->backBuffer->resourceFormat, 28u);
  EXPECT_EQ(currentScreen->depthBuffer->viewFormat, 46u);
}

}  // namespace
}  // namespace orvane::test
