// Development mode's moving through time on llvmpipe: key events pushed into SDL's queue reach the
// real frame loop, and the music's clock (driven by the test) decides each frame's time.

#include <SDL.h>
#include <sndfile.h>

#include <cmath>
#include <map>

#include "app/MainLoop.h"
#include "app/PlaybackSession.h"
#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "render/RenderFixture.h"
#include "render/Screen.h"
#include "support/TempFolder.h"

namespace orvane {
namespace {

// "TestTimeProbe": remembers the time of every evaluation after the load-time pass.
class TimeProbeOp final : public Operator {
public:
  static inline std::vector<float> times;
  TimeProbeOp() : Operator(kCategoryScalar) { AddOutput("Time", kPortFloat, std::make_unique<ProbeFunction>()); }
  class ProbeFunction final : public Function {
  public:
    void Evaluate(float time, const PortList&, Player& player) override {
      if (time != Player::kLoadTimePassTime) times.push_back(time);
      player.scalar = time;
    }
  };
};
const OperatorRegistration<TimeProbeOp> kProbe{"TestTimeProbe", "Records the times it is evaluated at (tests)."};

constexpr double kFrame = 1.0 / 64.0;  // the clock's step per frame: exact in binary

// Runs the real frame loop with a development session; before frame i it pushes the keys the
// script names, after each frame the clock moves one step, and after the last frame Escape.
class ScriptedHooks final : public LoopHooks {
public:
  ScriptedHooks(PlaybackSession& session, std::map<int, std::vector<SDL_Event>> script, int frames, double& now)
      : session_(session), script_(std::move(script)), frames_(frames), now_(now) {
    PushFor(0);
  }
  bool TakeEvent(const SDL_Event& event) override { return session_.TakeEvent(event); }
  void BeforeFrame() override { session_.BeforeFrame(); }
  void Phase(const char* name) override { session_.Phase(name); }
  void DrawOverWindow() override { session_.DrawOverWindow(); }
  void AfterFrame() override {
    session_.AfterFrame();
    now_ += kFrame;
    ++frame_;
    if (frame_ >= frames_) {
      SDL_Event escape{};
      escape.type = SDL_KEYDOWN;
      escape.key.keysym.sym = SDLK_ESCAPE;
      SDL_PushEvent(&escape);
    } else {
      PushFor(frame_);
    }
  }

private:
  void PushFor(int frame) {
    for (SDL_Event event : script_[frame]) SDL_PushEvent(&event);
  }
  PlaybackSession& session_;
  std::map<int, std::vector<SDL_Event>> script_;
  int frames_;
  int frame_ = 0;
  double& now_;
};

SDL_Event Key(SDL_Keycode key, bool shift = false) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  event.key.keysym.mod = shift ? KMOD_LSHIFT : KMOD_NONE;
  return event;
}

class DevPlaybackTest : public test::RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
    TimeProbeOp::times.clear();
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    WriteDemo(30.0);
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  void WriteDemo(double seconds) {
    folder_.Write("demo.opr",
                  "operator { type: FinalOutput; connection { source: 1; sourceProp: Time; target: 0; targetProp: In; } }\n"
                  "operator[] { type: TestTimeProbe; }\n"
                  "MusicPath: \"music.wav\";\n");
    SF_INFO info{};
    info.samplerate = 1000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open("music.wav", SFM_WRITE, &info);
    std::vector<short> samples(static_cast<size_t>(seconds * 1000), 100);
    sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
  }

  // Plays `frames` frames in development mode (with `extra` options) through the frame loop.
  std::vector<float> Play(int frames, std::map<int, std::vector<SDL_Event>> script, CommandLine line = {}) {
    line.dev = true;
    PlayerOptions options;
    options.output = MusicChannel::Output::Silent;
    options.clock = [this] { return now_; };
    options.from = line.from.value_or(0.0);
    player_ = std::make_unique<Player>();
    player_->Setup(adapter(), currentScreen, &draw(), options);
    if (line.loop) player_->music->SetLoop(line.loop->start, line.loop->end);
    player_->music->HoldAtEnd(true);
    PlaybackSession session(line, *player_, *currentScreen);
    ScriptedHooks hooks(session, std::move(script), frames, now_);
    RunMainLoop(*player_, *currentScreen, &hooks);
    return TimeProbeOp::times;
  }

  testing::TempFolder folder_;
  std::filesystem::path previous_;
  double now_ = 100.0;
  std::unique_ptr<Player> player_;
};

TEST_F(DevPlaybackTest, SpacePausesAndResumesTheClock) {
  const auto times = Play(8, {{2, {Key(SDLK_SPACE)}}, {5, {Key(SDLK_SPACE)}}});
  ASSERT_EQ(times.size(), 8u);
  const double expected[] = {0, 1, 2, 2, 2, 2, 3, 4};  // in frames: paused at 2, on from 2
  for (size_t i = 0; i < 8; ++i) EXPECT_NEAR(times[i], expected[i] * kFrame, 1e-6) << i;
}

TEST_F(DevPlaybackTest, ArrowsAndHomeSeekOnTheNextFrame) {
  struct Case {
    SDL_Event key;
    double expected;  // time of the frame after the key, the key pressed at 5 s + 2 frames
  };
  const Case cases[] = {
      {Key(SDLK_RIGHT), 6.0 + 2 * kFrame},      {Key(SDLK_LEFT), 4.0 + 2 * kFrame},
      {Key(SDLK_RIGHT, true), 15.0 + 2 * kFrame}, {Key(SDLK_LEFT, true), 0.0},  // clamped at the start
      {Key(SDLK_HOME), 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key.key.keysym.sym);
    TimeProbeOp::times.clear();
    CommandLine line;
    line.from = 5.0;
    const auto times = Play(4, {{2, {c.key}}}, line);
    ASSERT_EQ(times.size(), 4u);
    EXPECT_NEAR(times[0], 5.0, 1e-6);  // --from: the first frame is there
    EXPECT_NEAR(times[2], c.expected, 1e-5);
    EXPECT_NEAR(times[3], c.expected + kFrame, 1e-5);  // and runs on smoothly from there
  }
}

TEST_F(DevPlaybackTest, BracketsMarkALoopAndBackspaceClearsIt) {
  // Loop from frame 2 to frame 6; after it is cleared the time runs on past its end.
  const auto times = Play(16, {{2, {Key(SDLK_LEFTBRACKET)}}, {6, {Key(SDLK_RIGHTBRACKET)}}, {11, {Key(SDLK_BACKSPACE)}}});
  ASSERT_EQ(times.size(), 16u);
  const int expected[] = {0, 1, 2, 3, 4, 5, 2, 3, 4, 5, 2, 3, 4, 5, 6, 7};
  for (size_t i = 0; i < 16; ++i) EXPECT_NEAR(times[i], expected[i] * kFrame, 1e-6) << i;
}

TEST_F(DevPlaybackTest, TheLoopOptionRepeatsItsRange) {
  CommandLine line;
  line.from = 1.0;
  line.loop = CommandLine::Range{1.0, 1.0 + 4 * kFrame};
  const auto times = Play(10, {}, line);
  ASSERT_EQ(times.size(), 10u);
  for (size_t i = 0; i < 10; ++i) EXPECT_NEAR(times[i], 1.0 + static_cast<double>(i % 4) * kFrame, 1e-6) << i;
  // The time between jumps never goes backwards.
  for (size_t i = 1; i < 10; ++i) {
    if (i % 4 != 0) {
      EXPECT_GT(times[i], times[i - 1]);
    }
  }
}

TEST_F(DevPlaybackTest, TheEndOfTheMusicPausesThereInDevelopmentMode) {
  CommandLine line;
  line.from = 30.0 - 2 * kFrame;
  const auto times = Play(5, {}, line);
  ASSERT_EQ(times.size(), 5u);
  EXPECT_NEAR(times[4], 30.0, 1e-6);
  EXPECT_TRUE(player_->music->paused());
  EXPECT_TRUE(player_->music->IsActive());
}

}  // namespace
}  // namespace orvane
