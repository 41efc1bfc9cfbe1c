// The player and the frame loop on llvmpipe: swap targets, the end of the demo with its music,
// and window events pushed into SDL's queue.

#include "app/Player.h"

#include <SDL.h>
#include <sndfile.h>

#include "app/MainLoop.h"
#include "graph/OperatorRegistry.h"
#include "render/Screen.h"
#include "render/RenderFixture.h"
#include "support/TempFolder.h"

namespace orvane {
namespace {

// "TestFrameCounter": counts the frames that evaluated it; output "Count".
class FrameCounterOp final : public Operator {
public:
  static inline int evaluations = 0;
  FrameCounterOp() : Operator(kCategoryScalar) {
    AddOutput("Count", kPortFloat, std::make_unique<CountFunction>());
  }
  class CountFunction final : public Function {
  public:
    void Evaluate(float, const PortList&, Player& player) override { player.scalar = static_cast<float>(++evaluations); }
  };
};
const OperatorRegistration<FrameCounterOp> kCounter{"TestFrameCounter"};

class PlayerTest : public test::RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
    FrameCounterOp::evaluations = 0;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    currentScreen->Resize(64, 64);
  }

  // A demo whose FinalOutput reads the frame counter, with `seconds` of music (none for 0).
  void WriteDemo(double seconds) {
    std::string text =
        "operator { type: FinalOutput; connection { source: 1; sourceProp: Count; target: 0; targetProp: In; } }\n"
        "operator[] { type: TestFrameCounter; }\n";
    if (seconds > 0) {
      text += "MusicPath: \"sound\\\\music.wav\";\n";
      std::filesystem::create_directories("sound");
      SF_INFO info{};
      info.samplerate = 1000;
      info.channels = 1;
      info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
      SNDFILE* file = sf_open("sound/music.wav", SFM_WRITE, &info);
      std::vector<short> samples(static_cast<size_t>(seconds * 1000), 100);
      sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
      sf_close(file);
    }
    folder_.Write("demo.opr", text);
  }

  void SetupPlayer() {
    PlayerOptions options;
    options.output = MusicChannel::Output::Silent;
    options.clock = [this] { return now_ += step_; };
    player_.Setup(adapter(), currentScreen, &draw(), options);
  }

  static void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }
  // Lets SDL deliver what the window system had for it, then empties the queue.
  static void DrainEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  static SDL_Event Key(SDL_Keycode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    return event;
  }
  static SDL_Event Window(Uint8 what, int a = 0, int b = 0) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    event.window.data1 = a;
    event.window.data2 = b;
    return event;
  }

  testing::TempFolder folder_;
  std::filesystem::path previous_;
  double now_ = 100.0;
  double step_ = 0.0;  // how far the clock moves each time it is read
  Player player_;
};

TEST_F(PlayerTest, SetupBuildsTheGraphAndRunsTheLoadTimePass) {
  WriteDemo(2.0);
  SetupPlayer();
  ASSERT_EQ(player_.operators.size(), 2u);
  EXPECT_EQ(FrameCounterOp::evaluations, 2);  // the load-time pass: FinalOutput, then the counter
  ASSERT_NE(player_.music, nullptr);
  EXPECT_TRUE(player_.music->IsActive());
  ASSERT_NE(player_.images[0], nullptr);
  ASSERT_NE(player_.images[1], nullptr);
  EXPECT_EQ(player_.imageIndex, 0);
  EXPECT_EQ(player_.quad.indexCount, 6u);
}

TEST_F(PlayerTest, FramesTakeTheSwapTargetsInTurn) {
  WriteDemo(0);
  SetupPlayer();
  GpuResource* taken[3];
  for (GpuResource*& image : taken) {
    player_.RenderFrame(0.0f);
    image = player_.image;
  }
  EXPECT_EQ(taken[0], player_.images[0]);
  EXPECT_EQ(taken[1], player_.images[1]);
  EXPECT_EQ(taken[2], player_.images[0]);
}

TEST_F(PlayerTest, WithoutMusicTheFirstFrameEndsTheDemo) {
  WriteDemo(0);
  SetupPlayer();
  EXPECT_EQ(player_.music, nullptr);
  EXPECT_FALSE(player_.Frame());
  EXPECT_EQ(FrameCounterOp::evaluations, 2);  // the graph was not evaluated
}

TEST_F(PlayerTest, TheMusicIsTheClockAndItsEndTheDemosEnd) {
  WriteDemo(1.0);
  SetupPlayer();
  now_ += 0.25;
  ASSERT_TRUE(player_.Frame());
  EXPECT_EQ(FrameCounterOp::evaluations, 3);
  now_ += 1.0;  // past the end of the music
  EXPECT_FALSE(player_.Frame());
  EXPECT_EQ(FrameCounterOp::evaluations, 3);
}

TEST_F(PlayerTest, TheLoopPresentsTheLastFrameOfTheDemo) {
  WriteDemo(0);
  SetupPlayer();
  EXPECT_EQ(RunMainLoop(player_, *currentScreen), 1);
}

TEST_F(PlayerTest, EscapeAndClosingEndTheLoopBeforeTheNextFrame) {
  WriteDemo(1.0);
  const SDL_Event quits[] = {Key(SDLK_ESCAPE), Window(SDL_WINDOWEVENT_CLOSE), SDL_Event{.type = SDL_QUIT}};
  SetupPlayer();
  for (const SDL_Event& quit : quits) {
    SCOPED_TRACE(quit.type);
    DrainEvents();
    Push(Key(SDLK_a));  // other keys do nothing
    Push(quit);
    EXPECT_EQ(RunMainLoop(player_, *currentScreen), 0);
  }
  EXPECT_EQ(FrameCounterOp::evaluations, 2);
}

TEST_F(PlayerTest, AResizeReachesTheNextFrame) {
  WriteDemo(1.0);
  step_ = 0.2;  // the music ends after a few frames
  SetupPlayer();
  DrainEvents();
  Push(Window(SDL_WINDOWEVENT_SIZE_CHANGED, 48, 24));
  Push(Window(SDL_WINDOWEVENT_SIZE_CHANGED, 0, 0));  // minimised: ignored
  EXPECT_GE(RunMainLoop(player_, *currentScreen), 2);
  EXPECT_EQ(currentScreen->width, 48);
  EXPECT_EQ(currentScreen->height, 24);
  EXPECT_EQ(player_.rect.right, 48);
  EXPECT_EQ(player_.rect.bottom, 24);
  EXPECT_FLOAT_EQ(player_.projection.m[0][0], player_.projection.m[1][1] / 2.0f);  // aspect 2
  EXPECT_EQ(player_.depth, currentScreen->depthBuffer);
  EXPECT_EQ(player_.images[0]->Width(), 48u);
}

// In full screen the window takes the display's size; the picture keeps the configured one and
// Present scales it with bars.
TEST_F(PlayerTest, InFullScreenTheConfiguredSizeStays) {
  WriteDemo(1.0);
  step_ = 0.2;
  SetupPlayer();
  DrainEvents();
  currentScreen->flags |= kScreenFullScreen;
  Push(Window(SDL_WINDOWEVENT_SIZE_CHANGED, 1920, 1200));
  const int64_t frames = RunMainLoop(player_, *currentScreen);
  currentScreen->flags &= ~kScreenFullScreen;
  EXPECT_GE(frames, 2);
  EXPECT_EQ(currentScreen->width, 64);
  EXPECT_EQ(currentScreen->height, 64);
  EXPECT_EQ(player_.images[0]->Width(), 64u);
  EXPECT_EQ(player_.rect.right, 64);
}

TEST(InterpretEvent, WhatEachEventAsks) {
  SDL_Event escape{};
  escape.type = SDL_KEYDOWN;
  escape.key.keysym.sym = SDLK_ESCAPE;
  EXPECT_TRUE(InterpretEvent(escape).quit);
  escape.key.keysym.sym = SDLK_SPACE;
  EXPECT_FALSE(InterpretEvent(escape).quit);
  SDL_Event size{};
  size.type = SDL_WINDOWEVENT;
  size.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
  size.window.data1 = 800;
  size.window.data2 = 600;
  const EventOutcome outcome = InterpretEvent(size);
  EXPECT_TRUE(outcome.resize);
  EXPECT_EQ(outcome.width, 800);
  EXPECT_EQ(outcome.height, 600);
  EXPECT_FALSE(outcome.quit);
}

TEST(FrameProjection, PerspectiveOfTheFrameStart) {
  const Matrix projection = FrameProjection(1600, 900);
  EXPECT_NEAR(projection.m[1][1], 2.4142137f, 1e-6f);
  EXPECT_NEAR(projection.m[0][0], 2.4142137f / (1600.0f / 900.0f), 1e-6f);
  EXPECT_EQ(projection.m[2][2], 1.0001f);
  EXPECT_EQ(projection.m[2][3], 1.0f);
  EXPECT_EQ(projection.m[3][2], -0.10001f);
  EXPECT_EQ(projection.m[3][3], 0.0f);
  const Matrix empty = FrameProjection(0, 0);  // no screen yet: square, never a division by zero
  EXPECT_EQ(empty.m[0][0], empty.m[1][1]);
}

}  // namespace
}  // namespace orvane
