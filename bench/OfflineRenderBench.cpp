// Offline rendering of a bundled example on whatever GPU (or CPU rasteriser) the process gets:
//  - the time from start to the first finished frame at 640x360, 1280x720 and 1920x1080;
//  - frames per second at 640x360 and 1280x720, and how a frame's time splits between evaluating
//    the graph with command submission (CPU), waiting for the GPU and reading the frame back;
//  - the time of each pass of a frame at 1280x720, with a plain full-screen pass (one texture
//    read, one RGBA16F write, the size of the screen) drawn in the same frames as the unit: each
//    pass's time as a multiple of a plain pass of its size.
//   bench_offline_render [DEMO_DIR] [FRAMES]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/Player.h"
#include "image/PostEffects.h"
#include "render/Adapter.h"
#include "render/Camera.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"
#include "render/PassProfiler.h"
#include "render/RenderStateDesc.h"
#include "render/Screen.h"
#include "render/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/LightVolume.h"
#include "scene/SceneRenderer.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace orvane;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr const char* kPlainLabel = "PLAIN PASS (reference)";

// A player on a screen of the given size, set up as the application does; the constructor's
// time is the start-up.
class Session {
public:
  Session(SDL_Window* window, int width, int height) {
    const auto start = Clock::now();
    ScreenParams params;
    params.width = width;
    params.height = height;
    screen_ = CreateScreen(window, params);
    Camera camera;
    camera.frame = LookAtFrame({0, 0, -8, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
    CreatePostEffects(screen_->adapter, screen_, &camera);
    CreateLightVolume(screen_->adapter);
    PlayerOptions options;
    options.output = MusicChannel::Output::Silent;
    options.playMusic = false;
    player_ = std::make_unique<Player>();
    player_->Setup(screen_->adapter, screen_, screen_->adapter->drawContext.get(), options);
    Render(0.0f);
    startup = SecondsSince(start);
  }
  ~Session() {
    player_->Release();
    player_.reset();
    DestroyPostEffects();
    DestroyLightVolume();
    ReleaseLoaderCaches();
    screen_->Destroy();
    delete screen_;
    currentScreen = nullptr;
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void Render(float time) {
    screen_->adapter->BeginFrame();
    player_->RenderFrame(time);
    screen_->adapter->WaitForGpu();
  }
  // The moment of frame `frame` of `frames` spread evenly over the demo.
  float TimeOf(int frame, int frames) const {
    const double duration = player_->music ? player_->music->DurationSeconds() : 10.0;
    return static_cast<float>(duration * (frame + 0.5) / frames);
  }
  // A plain full-screen pass: one texture read and one write per pixel, the target cleared
  // first as every post effect's is.
  void DrawPlainPass() {
    Adapter& adapter = *screen_->adapter;
    adapter.BeginEvent(kPlainLabel);
    RenderStateDesc plain;
    player_->renderer->Copy(player_->images[0], player_->images[1], {0, 0, screen_->width, screen_->height},
                            nullptr, plain, true);
    adapter.EndEvent();
  }

  Screen* screen() { return screen_; }
  Player& player() { return *player_; }
  double startup = 0.0;

private:
  Screen* screen_ = nullptr;
  std::unique_ptr<Player> player_;
};

struct Figures {
  double cpu = 0.0;       // seconds per frame: graph evaluation and command submission
  double gpu = 0.0;       // seconds per frame: waiting for the GPU to finish
  double readback = 0.0;  // seconds per frame: reading the back buffer
};

Figures MeasureFrames(Session& session, int frames) {
  Figures figures;
  Adapter& adapter = *session.screen()->adapter;
  for (int frame = 0; frame < frames; ++frame) {
    const auto frameStart = Clock::now();
    adapter.BeginFrame();
    session.player().RenderFrame(session.TimeOf(frame, frames));
    const auto submitted = Clock::now();
    adapter.WaitForGpu();
    const auto finished = Clock::now();
    const auto pixels = ReadTexture(*session.screen()->backBuffer);
    figures.cpu += std::chrono::duration<double>(submitted - frameStart).count();
    figures.gpu += std::chrono::duration<double>(finished - submitted).count();
    figures.readback += SecondsSince(finished);
    if (pixels.empty()) std::fprintf(stderr, "empty frame\n");
  }
  figures.cpu /= frames;
  figures.gpu /= frames;
  figures.readback /= frames;
  return figures;
}

void PrintPassProfile(Session& session, int frames) {
  PassProfiler profiler;
  DrawContext& draw = *session.screen()->adapter->drawContext;
  draw.AttachProfiler(&profiler);
  for (int frame = 0; frame < frames; ++frame) {
    session.Render(session.TimeOf(frame, frames));
    session.DrawPlainPass();
  }
  draw.AttachProfiler(nullptr);

  double plainPerPixel = 0.0;
  for (const PassTime& pass : profiler.Times())
    if (pass.label == kPlainLabel) plainPerPixel = pass.seconds / pass.count / (double(pass.width) * pass.height);
  std::printf("\npasses of a frame at %dx%d, mean of %d frames (each pass waited for alone)\n",
              session.screen()->width, session.screen()->height, frames);
  std::printf("%-34s %10s %10s %10s %12s\n", "pass", "size", "per frame", "ms/frame", "x plain pass");
  double total = 0.0;
  for (const PassTime& pass : profiler.Times()) {
    const double perFrame = pass.seconds / frames;
    const double plain = plainPerPixel * double(pass.width) * pass.height;
    if (pass.label != kPlainLabel) total += perFrame;
    std::printf("%-34s %4dx%-5d %10.1f %10.2f %12.2f\n", pass.label.c_str(), pass.width, pass.height,
                double(pass.count) / frames, perFrame * 1e3, plain > 0.0 ? perFrame / plain : 0.0);
  }
  std::printf("%-34s %10s %10s %10.2f\n", "all passes but the reference", "", "", total * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  const char* demo = argc > 1 ? argv[1] : ORVANE_SOURCE_DIR "/examples/first-light";
  const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
  std::filesystem::current_path(demo);
  orvane::UseOffscreenVideoWhenHeadless(true);
  orvane::ScreenParams params;
  params.width = 1920;
  params.height = 1080;
  SDL_Window* window = orvane::OpenWindow(params);
  if (!window) return 1;
  std::printf("offline rendering of %s, %d frames spread over the demo\n", demo, frames);
  const std::pair<int, int> sizes[] = {{640, 360}, {1280, 720}, {1920, 1080}};

  std::printf("\n%-10s %16s\n", "size", "start to frame s");
  for (const auto& [width, height] : sizes) {
    const Session session(window, width, height);
    std::printf("%4dx%-5d %16.2f\n", width, height, session.startup);
  }

  std::printf("\n%-10s %10s %12s %12s %12s\n", "size", "frames/s", "cpu ms", "gpu wait ms", "readback ms");
  for (const auto& [width, height] : {sizes[0], sizes[1]}) {
    Session session(window, width, height);
    const Figures f = MeasureFrames(session, frames);
    const double perFrame = f.cpu + f.gpu + f.readback;
    std::printf("%4dx%-5d %10.2f %12.2f %12.2f %12.2f\n", width, height, 1.0 / perFrame, f.cpu * 1e3,
                f.gpu * 1e3, f.readback * 1e3);
  }

  {
    Session session(window, 1280, 720);
    PrintPassProfile(session, std::max(1, frames / 2));
  }
  orvane::CloseWindow(window);
  return 0;
}
