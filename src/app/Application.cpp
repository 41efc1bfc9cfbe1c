#include "app/Application.h"

#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/Config.h"
#include "app/FrameSink.h"
#include "app/MainLoop.h"
#include "app/Player.h"
#include "app/RenderSchedule.h"
#include "image/PostEffects.h"
#include "render/Adapter.h"
#include "render/Camera.h"
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

double Seconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int RunPlayback(const CommandLine& line) {
  Stage stage(EffectiveDisplay(line), line.headless);
  if (!stage.ready()) {
    std::fprintf(stderr, "orvane: cannot open a window; try --headless or --render OUT\n");
    return 1;
  }
  Screen& screen = stage.screen();
  auto player = std::make_unique<Player>();
  player->Setup(screen.adapter, &screen, screen.adapter->drawContext.get());
  RunMainLoop(*player, screen);
  player->Release();
  player->music.reset();
  player.reset();
  return 0;
}

int RunOfflineRender(const CommandLine& line) {
  DisplayConfig display = EffectiveDisplay(line);
  display.fullscreen = false;
  display.vsync = false;
  Stage stage(display, true);
  if (!stage.ready()) {
    std::fprintf(stderr, "orvane: cannot make an offscreen OpenGL context for rendering\n");
    return 1;
  }
  Screen& screen = stage.screen();
  PlayerOptions options;
  options.output = MusicChannel::Output::Silent;
  options.playMusic = false;
  auto player = std::make_unique<Player>();
  player->Setup(screen.adapter, &screen, screen.adapter->drawContext.get(), options);

  RenderSchedule schedule;
  schedule.fps = line.fps;
  schedule.from = line.from.value_or(0.0);
  const double musicLength = player->music ? player->music->DurationSeconds() : 0.0;
  schedule.to = line.to.value_or(player->music ? musicLength : schedule.from + 1.0 / line.fps);
  const auto frames = schedule.FrameCount();
  if (!frames) {
    std::fprintf(stderr, "orvane: %.3f to %.3f seconds at %.3f fps is more frames than a render may have\n",
                 schedule.from, schedule.to, schedule.fps);
    return 2;
  }

  FrameFormat format{screen.width, screen.height, line.fps};
  SoundTrack sound;
  if (player->music) {
    std::error_code ignored;
    sound.music = std::filesystem::absolute(player->music->path(), ignored);
    sound.from = schedule.from;
    sound.duration = static_cast<double>(*frames) / line.fps;
  }
  std::string error;
  std::unique_ptr<FrameSink> sink = OpenFrameSink(line.renderOut, format, sound, error);
  if (!sink) {
    std::fprintf(stderr, "orvane: %s\n", error.c_str());
    return 1;
  }

  // On a terminal the progress line rewrites itself; into a log it adds a line now and then.
  const bool terminal = isatty(STDERR_FILENO) != 0;
  const double reportInterval = terminal ? 0.25 : 5.0;
  const double start = Seconds();
  double lastReport = start;
  for (int64_t frame = 0; frame < *frames; ++frame) {
    screen.adapter->BeginFrame();
    player->RenderFrame(static_cast<float>(schedule.TimeOf(frame)));
    const std::vector<uint8_t> pixels = ReadTexture(*screen.backBuffer);
    if (!sink->Write(pixels)) {
      std::fprintf(stderr, "\norvane: %s\n", sink->error().c_str());
      return 1;
    }
    const double now = Seconds();
    if (now - lastReport > reportInterval || frame + 1 == *frames) {
      std::fprintf(stderr, terminal ? "\r%s   " : "%s\n", ProgressText(frame + 1, *frames, now - start).c_str());
      lastReport = now;
    }
  }
  if (terminal) std::fprintf(stderr, "\n");
  if (!sink->Finish()) {
    std::fprintf(stderr, "orvane: %s\n", sink->error().c_str());
    return 1;
  }
  std::fprintf(stderr, "orvane: wrote %lld frames to %s\n", static_cast<long long>(*frames), line.renderOut.c_str());
  player->Release();
  player.reset();
  return 0;
}

}  // namespace orvane
