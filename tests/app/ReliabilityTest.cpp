// Long runs in small: a thousand window resizes through injected events, and a thousand seeks
// through the bundled example. No crash, no GL error, no growth of live GPU objects, and the same
// frame for the same time.

#include <SDL.h>
#include <sndfile.h>

#include <map>
#include <random>

#include "app/MainLoop.h"
#include "app/Player.h"
#include "image/PostEffects.h"
#include "render/Camera.h"
#include "render/LiveObjects.h"
#include "render/RenderFixture.h"
#include "render/Screen.h"
#include "scene/LightVolume.h"
#include "support/TempFolder.h"

namespace orvane {

// How gtest shows the counts in a failure.
void PrintTo(const LiveGpuObjects& counts, std::ostream* out) {
  *out << counts.resources << " resources, " << counts.shaderPasses << " passes, " << counts.framebuffers
       << " framebuffers";
}

namespace {

SDL_Event WindowEvent(Uint8 what, int width = 0, int height = 0) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = what;
  event.window.data1 = width;
  event.window.data2 = height;
  return event;
}

// Pushes the events of the next step after each frame, checks for GL errors, and ends the loop
// with Escape after the last step.
class ResizeScript final : public LoopHooks {
public:
  explicit ResizeScript(std::vector<std::vector<SDL_Event>> steps) : steps_(std::move(steps)) { Push(); }
  bool TakeEvent(const SDL_Event&) override { return false; }
  void BeforeFrame() override {}
  void Phase(const char*) override {}
  void DrawOverWindow() override {}
  void AfterFrame() override {
    if (const uint32_t error = currentAdapter->TakeGlError(); error != 0) errors.push_back(error);
    if (step_ == kWarmUpSteps) warmedUp = CountLiveGpuObjects(currentAdapter);
    ++step_;
    Push();
  }

  static constexpr size_t kWarmUpSteps = 8;
  std::vector<uint32_t> errors;
  LiveGpuObjects warmedUp;

private:
  void Push() {
    if (step_ >= steps_.size()) {
      SDL_Event escape{};
      escape.type = SDL_KEYDOWN;
      escape.key.keysym.sym = SDLK_ESCAPE;
      SDL_PushEvent(&escape);
      return;
    }
    for (SDL_Event event : steps_[step_]) SDL_PushEvent(&event);
  }
  std::vector<std::vector<SDL_Event>> steps_;
  size_t step_ = 0;
};

// 1,000 steps: mostly sizes up to 640x360 (llvmpipe on two cores), every 50th an extreme one
// (up to 4096x2304, down to 1x1), every 50th a minimise and restore.
std::vector<std::vector<SDL_Event>> ResizeSteps() {
  const std::pair<int, int> extremes[] = {{4096, 2304}, {1, 1}, {4096, 1}, {1, 2304}, {1920, 1080}};
  std::mt19937 random(11);
  std::uniform_int_distribution<int> width(1, 640), height(1, 360);
  std::vector<std::vector<SDL_Event>> steps;
  for (int step = 0; step < 1000; ++step) {
    if (step % 50 == 0) {
      const auto [w, h] = extremes[(step / 50) % std::size(extremes)];
      steps.push_back({WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, w, h)});
    } else if (step % 50 == 25) {
      steps.push_back({WindowEvent(SDL_WINDOWEVENT_MINIMIZED), WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 0, 0)});
      steps.push_back({WindowEvent(SDL_WINDOWEVENT_RESTORED), WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 320, 180)});
      ++step;
    } else {
      steps.push_back({WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, width(random), height(random))});
    }
  }
  return steps;
}

class ReliabilityTest : public test::RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    previous_ = std::filesystem::current_path();
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    currentScreen->Resize(64, 64);
  }

  testing::TempFolder folder_;
  std::filesystem::path previous_;
};

TEST_F(ReliabilityTest, AThousandResizesLeaveNoErrorAndNoGrowth) {
  std::filesystem::current_path(folder_.path());
  folder_.Write("demo.opr", "operator { type: FinalOutput; }\nMusicPath: \"music.wav\";\n");
  SF_INFO info{};
  info.samplerate = 1000;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open("music.wav", SFM_WRITE, &info);
  const std::vector<short> samples(10'000, 0);
  sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(file);

  Player player;
  PlayerOptions options;
  options.output = MusicChannel::Output::Silent;
  options.clock = [] { return 1.0; };  // time stands still: the music never ends
  player.Setup(adapter(), currentScreen, &draw(), options);
  ResizeScript script(ResizeSteps());
  const int64_t frames = RunMainLoop(player, *currentScreen, &script);
  EXPECT_GE(frames, 1000);
  EXPECT_TRUE(script.errors.empty()) << script.errors.size() << " GL errors, first " << script.errors.front();
  EXPECT_EQ(CountLiveGpuObjects(adapter()), script.warmedUp);
  player.Release();
}

TEST_F(ReliabilityTest, AThousandSeeksThroughTheExampleGiveTheSameFrameForTheSameTime) {
  std::filesystem::current_path(std::filesystem::path(ORVANE_SOURCE_DIR) / "examples/first-light");
  currentScreen->Resize(64, 36);
  Camera camera;
  camera.frame = LookAtFrame({0, 0, -8, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
  CreatePostEffects(adapter(), currentScreen, &camera);
  CreateLightVolume(adapter());
  {
    Player player;
    PlayerOptions options;
    options.output = MusicChannel::Output::Silent;
    options.clock = [] { return 1.0; };  // only seeks move the time
    player.Setup(adapter(), currentScreen, &draw(), options);
    ASSERT_NE(player.music, nullptr);
    const double length = player.music->DurationSeconds();
    std::vector<double> times;
    for (int i = 0; i < 24; ++i) times.push_back(length * i / 24.0);
    std::mt19937 random(5);
    std::uniform_int_distribution<size_t> pick(0, times.size() - 1);
    std::map<size_t, std::vector<uint8_t>> firstFrames;
    LiveGpuObjects warmedUp;
    int mismatches = 0;
    for (int seek = 0; seek < 1000; ++seek) {
      const size_t which = pick(random);
      player.music->Seek(times[which]);
      adapter()->BeginFrame();
      ASSERT_TRUE(player.Frame());
      std::vector<uint8_t> frame = ReadTexture(*currentScreen->backBuffer);
      const auto [first, inserted] = firstFrames.emplace(which, frame);
      if (!inserted && first->second != frame) ++mismatches;
      if (seek == 24) warmedUp = CountLiveGpuObjects(adapter());
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(CountLiveGpuObjects(adapter()), warmedUp);
    EXPECT_EQ(adapter()->TakeGlError(), 0u);
    player.Release();
    player.operators.clear();
  }
  DestroyPostEffects();
  DestroyLightVolume();
}

}  // namespace
}  // namespace orvane
