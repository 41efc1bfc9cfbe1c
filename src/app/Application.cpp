#include "app/Application.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/Config.h"
#include "app/BenchmarkReport.h"
#include "app/FrameAccumulator.h"
#include "app/FrameProfile.h"
#include "app/FrameSink.h"
#include "app/MainLoop.h"
#include "app/PlaybackSession.h"
#include "app/StopSignal.h"
#include "app/Player.h"
#include "app/RenderSchedule.h"
#include "image/PostEffects.h"
#include "render/Adapter.h"
#include "render/Camera.h"
#include "render/GpuProfiler.h"
#include "render/GpuResource.h"
#include "render/Screen.h"
#include "render/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/LightVolume.h"

namespace orvane {
namespace {

DisplayConfig EffectiveDisplay(const CommandLine& line) {
  DisplayConfig config = ReadDisplayConfigFile();
  if (line.fullscreen) config.fullscreen = *line.fullscreen;
  if (line.vsync) config.vsync = *line.vsync;
  if (line.size) {
    config.width = line.size->width;
    config.height = line.size->height;
  }
  return config.Sanitized();
}

// Window, screen and the process-wide render objects (post effects, light volume), released in the
// fixed order on scope exit: the player must be gone by then.
class Stage {
public:
  Stage(const DisplayConfig& config, bool headless) {
    UseOffscreenVideoWhenHeadless(headless);
    ScreenParams params;
    params.flags = (config.fullscreen ? kScreenFullScreen : 0u) | (config.vsync ? kScreenVsync : 0u);
    params.width = config.width;
    params.height = config.height;
    window_ = OpenWindow(params);
    if (window_ == nullptr) return;
    screen_ = CreateScreen(window_, params);
    camera_.frame = LookAtFrame({0, 0, -8, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
    camera_.nearPlane = 0.125f;
    camera_.farPlane = 2048.0f;
    camera_.fieldOfView = 45.0f;
    camera_.mode = kProjectionPerspective;
    UpdateProjection(camera_, static_cast<float>(screen_->width), static_cast<float>(screen_->height));
    CreatePostEffects(screen_->adapter, screen_, &camera_);
    CreateLightVolume(screen_->adapter);
  }
  ~Stage() {
    DestroyPostEffects();
    DestroyLightVolume();
    ReleaseLoaderCaches();
    if (screen_) {
      screen_->Destroy();
      delete screen_;
      currentScreen = nullptr;
    }
    CloseWindow(window_);
    SDL_Quit();
  }
  Stage(const Stage&) = delete;
  Stage& operator=(const Stage&) = delete;

  bool ready() const { return screen_ != nullptr; }
  Screen& screen() { return *screen_; }

private:
  SDL_Window* window_ = nullptr;
  Screen* screen_ = nullptr;
  Camera camera_;
};

// --loop A:B: both within the music, which then plays that range again and again.
bool ApplyLoopOption(const CommandLine& line, Player& player) {
  if (!line.loop) return true;
  const double length = player.music ? player.music->DurationSeconds() : 0.0;
  if (line.loop->end > length) {
    std::fprintf(stderr, "orvane: --loop %g:%g is not within the music (%.3f seconds)\n", line.loop->start,
                 line.loop->end, length);
    return false;
  }
  player.music->SetLoop(line.loop->start, line.loop->end);
  return true;
}

double Seconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int RunPlayback(const CommandLine& line) {
  CatchStopSignals();
  Stage stage(EffectiveDisplay(line), line.headless);
  if (!stage.ready()) {
    std::fprintf(stderr, "orvane: cannot open a window; try --headless or --render OUT\n");
    return 1;
  }
  Screen& screen = stage.screen();
  PlayerOptions options;
  options.from = std::max(line.from.value_or(0.0), 0.0);
  auto player = std::make_unique<Player>();
  player->Setup(screen.adapter, &screen, screen.adapter->drawContext.get(), options);
  if (!ApplyLoopOption(line, *player)) return 2;
  // In development mode the end of the music pauses there, so that one can go back.
  if (line.dev && player->music) player->music->HoldAtEnd(true);
  {
    PlaybackSession session(line, *player, screen);
    RunMainLoop(*player, screen, session.active() ? &session : nullptr);
    if (line.profile) std::fputs(session.FinishProfile().c_str(), stdout);
  }
  player->Release();
  player->music.reset();
  player.reset();
  return StopSignal() != 0 ? StopExitStatus() : 0;
}

namespace {

// A player without a window or sound device, on the configured size, for the frames FROM..TO.
struct OfflineRun {
  explicit OfflineRun(const CommandLine& line)
      : output(OutputSize(line)), factor(SupersampleFactor(line, output)), stage(DrawnDisplay(output, factor), true) {}

  static DisplayConfig OutputSize(const CommandLine& line) {
    DisplayConfig display = EffectiveDisplay(line);
    display.fullscreen = false;
    display.vsync = false;
    return display;
  }

  // The supersampling factor asked for, or 0 when the drawn size would be larger than any target.
  static int SupersampleFactor(const CommandLine& line, const DisplayConfig& output) {
    const int factor = line.supersample;
    const bool fits = output.width <= DisplayConfig::kMaxSize / factor && output.height <= DisplayConfig::kMaxSize / factor;
    return fits ? factor : 0;
  }

  // Operators see the drawn size as the screen: what follows the screen's size scales by itself.
  static DisplayConfig DrawnDisplay(DisplayConfig display, int factor) {
    display.width *= std::max(factor, 1);
    display.height *= std::max(factor, 1);
    return display;
  }

  // False, with the message printed, when no player could be made or the span is unusable.
  bool Start(const CommandLine& line) {
    if (factor == 0) {
      std::fprintf(stderr, "orvane: --supersample %d makes frames of %dx%d, more than a target may have (%d)\n",
                   line.supersample, output.width * line.supersample, output.height * line.supersample,
                   DisplayConfig::kMaxSize);
      exitStatus = 2;
      return false;
    }
    if (!stage.ready()) {
      std::fprintf(stderr, "orvane: cannot make an offscreen OpenGL context for rendering\n");
      return false;
    }
    Screen& screen = stage.screen();
    if (postEffects) postEffects->SetPixelScale(static_cast<float>(factor));
    PlayerOptions options;
    options.output = MusicChannel::Output::Silent;
    options.playMusic = false;
    player = std::make_unique<Player>();
    player->Setup(screen.adapter, &screen, screen.adapter->drawContext.get(), options);
    schedule.fps = line.fps;
    schedule.from = line.from.value_or(0.0);
    const double musicLength = player->music ? player->music->DurationSeconds() : 0.0;
    schedule.to = line.to.value_or(player->music ? musicLength : schedule.from + 1.0 / line.fps);
    const auto count = schedule.FrameCount();
    if (!count) {
      std::fprintf(stderr, "orvane: %.3f to %.3f seconds at %.3f fps is more frames than a render may have\n",
                   schedule.from, schedule.to, schedule.fps);
      exitStatus = 2;
      return false;
    }
    frames = *count;
    if (line.profile) screen.adapter->profiler = std::make_unique<GpuProfiler>();
    return true;
  }

  // The graph at `time` into the back buffer, its CPU phases and GPU groups measured when
  // profiling.
  void RenderAt(double time) {
    Adapter& adapter = *stage.screen().adapter;
    profile.BeginPhase("cpu:evaluate");
    adapter.BeginFrame();
    if (adapter.profiler) adapter.profiler->BeginFrame();
    player->RenderFrame(static_cast<float>(time));
    if (adapter.profiler) adapter.profiler->EndFrame();
  }

  void EndFrame() {
    profile.EndCpuFrame();
    if (GpuProfiler* profiler = stage.screen().adapter->profiler.get()) {
      for (const GpuFrameTiming& timing : profiler->Collect(false)) profile.AddGpuFrame(timing);
    }
  }

  std::string ProfileTable() {
    if (GpuProfiler* profiler = stage.screen().adapter->profiler.get()) {
      for (const GpuFrameTiming& timing : profiler->Collect(true)) profile.AddGpuFrame(timing);
    }
    return profile.Table();
  }

  ~OfflineRun() {
    if (stage.ready()) stage.screen().adapter->profiler.reset();
    if (player) player->Release();
    player.reset();
  }

  DisplayConfig output;  // the size of the written frames
  int factor;            // drawn at factor × the output size
  Stage stage;
  std::unique_ptr<Player> player;
  RenderSchedule schedule;
  int64_t frames = 0;
  int exitStatus = 1;
  FrameProfile profile;
};

}  // namespace

namespace {

// The frames before FROM that state needs, drawn with every evaluation a written frame has, and
// never read back.
void RunPreroll(OfflineRun& run, double seconds, int evaluations) {
  const int64_t frames = run.schedule.PrerollFrames(seconds);
  for (int64_t k = 0; k < frames && StopSignal() == 0; ++k) {
    const double time = run.schedule.PrerollTime(seconds, k);
    for (int index = 0; index < evaluations; ++index) run.RenderAt(time + run.schedule.ShutterOffset(index, evaluations));
    run.EndFrame();
  }
}

// Frame k as it is written: the back buffer itself, or its evaluations over the shutter decoded,
// filtered down and averaged when there is more than one back-buffer pixel or evaluation to it.
std::vector<uint8_t> CaptureFrame(OfflineRun& run, int64_t frame, int evaluations, FrameAccumulator* accumulator) {
  const GpuResource& backBuffer = *run.stage.screen().backBuffer;
  if (accumulator == nullptr) {
    run.RenderAt(run.schedule.TimeOf(frame));
    run.profile.BeginPhase("cpu:readback");
    return ReadTexture(backBuffer);
  }
  accumulator->Clear();
  for (int index = 0; index < evaluations; ++index) {
    run.RenderAt(run.schedule.SubframeTime(frame, index, evaluations));
    run.profile.BeginPhase("cpu:readback");
    const std::vector<uint8_t> subframe = ReadTexture(backBuffer);
    run.profile.BeginPhase("cpu:filter");
    accumulator->Add(subframe, 1.0f / static_cast<float>(evaluations));
  }
  return accumulator->Resolve();
}

}  // namespace

int RunOfflineRender(const CommandLine& line) {
  CatchStopSignals();
  OfflineRun run(line);
  if (!run.Start(line)) return run.exitStatus;
  Player& player = *run.player;

  FrameFormat format{run.output.width, run.output.height, line.fps};
  SoundTrack sound;
  if (player.music) {
    std::error_code ignored;
    sound.music = std::filesystem::absolute(player.music->path(), ignored);
    sound.from = run.schedule.from;
    sound.duration = static_cast<double>(run.frames) / line.fps;
  }
  std::string error;
  std::unique_ptr<FrameSink> sink = OpenFrameSink(line.renderOut, format, sound, error);
  if (!sink) {
    std::fprintf(stderr, "orvane: %s\n", error.c_str());
    return 1;
  }
  std::optional<FrameAccumulator> accumulator;
  if (run.factor > 1 || line.motionBlur > 1) accumulator.emplace(format.width, format.height, run.factor);

  RunPreroll(run, line.preroll, line.motionBlur);
  // On a terminal the progress line rewrites itself; into a log it adds a line now and then.
  const bool terminal = isatty(STDERR_FILENO) != 0;
  const double reportInterval = terminal ? 0.25 : 5.0;
  const double start = Seconds();
  double lastReport = start;
  int64_t written = 0;
  for (int64_t frame = 0; frame < run.frames && StopSignal() == 0; ++frame) {
    const std::vector<uint8_t> pixels = CaptureFrame(run, frame, line.motionBlur, accumulator ? &*accumulator : nullptr);
    run.profile.BeginPhase("cpu:write");
    if (!sink->Write(pixels)) {
      std::fprintf(stderr, "\norvane: %s\n", sink->error().c_str());
      return 1;
    }
    run.EndFrame();
    ++written;
    const double now = Seconds();
    if (now - lastReport > reportInterval || frame + 1 == run.frames) {
      std::fprintf(stderr, terminal ? "\r%s   " : "%s\n", ProgressText(frame + 1, run.frames, now - start).c_str());
      lastReport = now;
    }
  }
  if (terminal) std::fprintf(stderr, "\n");
  // After a stop the output ends with the frames written so far (the video's sound cut to match).
  if (!sink->Finish()) {
    std::fprintf(stderr, "orvane: %s\n", sink->error().c_str());
    return 1;
  }
  std::fprintf(stderr, "orvane: wrote %lld frames to %s\n", static_cast<long long>(written), line.renderOut.c_str());
  if (line.profile) std::fputs(run.ProfileTable().c_str(), stdout);
  return StopSignal() != 0 ? StopExitStatus() : 0;
}

int RunBenchmark(const CommandLine& line) {
  CatchStopSignals();
  OfflineRun run(line);
  if (!run.Start(line)) return run.exitStatus;
  Screen& screen = run.stage.screen();
  std::vector<double> frameMs;
  frameMs.reserve(static_cast<size_t>(std::min<int64_t>(run.frames, 1'000'000)));
  const double start = Seconds();
  for (int64_t frame = 0; frame < run.frames && StopSignal() == 0; ++frame) {
    const double begin = Seconds();
    run.RenderAt(run.schedule.TimeOf(frame));
    // A frame counts until the GPU has finished it.
    run.profile.BeginPhase("cpu:wait");
    screen.adapter->WaitForGpu();
    frameMs.push_back((Seconds() - begin) * 1000.0);
    run.EndFrame();
  }
  const double seconds = Seconds() - start;
  std::printf("%s", BenchmarkReport(frameMs, seconds, screen.width, screen.height, screen.adapter->RendererName()).c_str());
  if (line.profile) std::fputs(run.ProfileTable().c_str(), stdout);
  std::fflush(stdout);
  return StopSignal() != 0 ? StopExitStatus() : 0;
}

}  // namespace orvane
