// Live reload and the overlay on llvmpipe: a demo folder whose copy shader overrides the built-in
// one, changed on disk while the player runs.

#include "app/LiveReload.h"

#include <SDL.h>

#include "app/PlaybackSession.h"
#include "app/Player.h"
#include "render/RenderFixture.h"
#include "render/Screen.h"
#include "resources/ResourceLoader.h"
#include "support/TempFolder.h"

namespace orvane {
namespace {

constexpr const char* kShaderFile = "data/shaders/copyPS.ps";

// A copy pixel shader that paints every pixel one colour ("1, 0, 0").
std::string SolidCopyShader(const std::string& rgb) {
  return "#version 450 core\n"
         "layout(binding = 0) uniform sampler2D gSource;\n"
         "layout(location = 0) in vec2 vUv;\n"
         "layout(location = 0) out vec4 outColor;\n"
         "void main() { outColor = vec4(" + rgb + ", 1.0); }\n";
}

class LiveReloadTest : public test::RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
    ReleaseLoaderCaches();  // the built-in copy shader must not come from an earlier test's cache
    std::filesystem::create_directories("data/shaders");
    folder_.Write(kShaderFile, SolidCopyShader("1.0, 0.0, 0.0"));
    folder_.Write("demo.opr", "operator { type: FinalOutput; }\n");
    PlayerOptions options;
    options.output = MusicChannel::Output::Silent;
    player_.Setup(adapter(), currentScreen, &draw(), options);
  }
  void TearDown() override {
    player_.Release();
    std::filesystem::current_path(previous_);
    ReleaseLoaderCaches();
  }

  // The colour of the frame's top-left pixel, RGB 8-bit.
  std::array<int, 3> FrameColor() {
    player_.RenderFrame(0.0f);
    const std::vector<uint8_t> pixels = ReadTexture(*currentScreen->backBuffer);
    return {pixels[0], pixels[1], pixels[2]};
  }

  // What one check printed on stderr.
  static std::string CheckPrints(LiveReload& reload) {
    ::testing::internal::CaptureStderr();
    reload.CheckNow();
    return ::testing::internal::GetCapturedStderr();
  }

  testing::TempFolder folder_;
  std::filesystem::path previous_;
  Player player_;
};

TEST_F(LiveReloadTest, AShaderThatCompilesReplacesTheOldOne) {
  LiveReload reload(player_);
  EXPECT_EQ(FrameColor(), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(CheckPrints(reload), "");  // nothing changed
  folder_.Write(kShaderFile, SolidCopyShader("0.0, 1.0, 0.0 "));
  EXPECT_EQ(CheckPrints(reload), "orvane: reloaded data/shaders/copyPS.ps\n");
  EXPECT_EQ(FrameColor(), (std::array<int, 3>{0, 255, 0}));
  EXPECT_EQ(reload.rebuilds(), 1u);
}

TEST_F(LiveReloadTest, AShaderThatFailsKeepsTheLastGoodVersionAndSaysWhere) {
  LiveReload reload(player_);
  std::string broken = SolidCopyShader("0.0, 0.0, 1.0");
  broken.insert(broken.find("void main"), "this is no glsl;\n");  // line 5
  folder_.Write(kShaderFile, broken);
  const std::string printed = CheckPrints(reload);
  EXPECT_TRUE(printed.starts_with("orvane: data/shaders/copyPS.ps:5: ")) << printed;
  EXPECT_TRUE(printed.ends_with(" (kept the last good version)\n")) << printed;
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
  EXPECT_EQ(FrameColor(), (std::array<int, 3>{255, 0, 0}));
  ASSERT_FALSE(reload.messages().empty());
  EXPECT_EQ("orvane: " + reload.messages().back() + "\n", printed);  // shown in the overlay too
  // A document reload while the file is still broken keeps the last good shader as well.
  folder_.Write("demo.opr", "operator { type: FinalOutput; }\n\n");
  EXPECT_EQ(CheckPrints(reload), "orvane: reloaded demo.opr\n");
  EXPECT_EQ(FrameColor(), (std::array<int, 3>{255, 0, 0}));
}

TEST_F(LiveReloadTest, AChangedDocumentIsReloadedAndAnUnusableOneIgnored) {
  LiveReload reload(player_);
  ASSERT_EQ(player_.operators.size(), 1u);
  folder_.Write("demo.opr",
                "operator { type: FinalOutput; connection { source: 1; sourceProp: FloatOut; target: 0; targetProp: In; } }\n"
                "operator[] { type: Sin; }\n");
  EXPECT_EQ(CheckPrints(reload), "orvane: reloaded demo.opr\n");
  EXPECT_EQ(player_.operators.size(), 2u);
  folder_.Write("demo.opr", "");
  EXPECT_EQ(CheckPrints(reload), "orvane: demo.opr:0: cannot be read or is empty (kept the last good version)\n");
  EXPECT_EQ(player_.operators.size(), 2u);
}

TEST(ParseCompileError, LineAndMessageOfTheLog) {
  struct Case {
    const char* log;
    int line;
    const char* message;
  };
  const Case cases[] = {
      {"0:5(1): error: syntax error, unexpected NEW_IDENTIFIER\n", 5, "syntax error, unexpected NEW_IDENTIFIER"},
      {"ERROR: 0:12: 'x' : undeclared identifier\nERROR: 1 compilation errors.", 12, "'x' : undeclared identifier"},
      {"link failed", 0, "link failed"},
      {"", 0, "does not compile"},
  };
  for (const Case& c : cases) {
    const CompileError error = ParseCompileError(c.log);
    EXPECT_EQ(error.line, c.line) << c.log;
    EXPECT_EQ(error.message, c.message) << c.log;
  }
}

// The overlay draws into the window between the blit and the swap: the back buffer (what
// --render writes and screenshots take) never holds it.
TEST_F(LiveReloadTest, TheOverlayNeverReachesTheCapturedFrame) {
  CommandLine line;
  line.dev = true;
  PlaybackSession session(line, player_, *currentScreen);
  ASSERT_NE(session.overlay(), nullptr);
  for (const bool visible : {true, false}) {
    SCOPED_TRACE(visible);
    session.overlay()->visible = visible;
    player_.RenderFrame(0.0f);
    const std::vector<uint8_t> frame = ReadTexture(*currentScreen->backBuffer);
    std::vector<uint8_t> window;
    int32_t width = 0, height = 0;
    // Two frames: a window of Dear ImGui that sizes itself shows from its second frame on.
    for (int shown = 0; shown < 2; ++shown) {
      currentScreen->Present([&] {
        session.DrawOverWindow();
        window = currentScreen->ReadWindow(width, height, false);
      });
    }
    EXPECT_EQ(ReadTexture(*currentScreen->backBuffer), frame);
    ASSERT_EQ(window.size(), frame.size());  // the window and the frame are both 64x64
    EXPECT_EQ(window != frame, visible);
  }
  EXPECT_EQ(adapter()->TakeGlError(), 0u);
}

}  // namespace
}  // namespace orvane
