// Offline rendering of the bundled example: frames per second at 640x360 and 1280x720, how a
// frame's time splits between evaluating the graph with command submission (CPU) and waiting for
// the GPU, and the time from start to the first finished frame.
//   bench_offline_render [DEMO_DIR] [FRAMES]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/Player.h"
#include "image/PostEffects.h"
#include "render/Camera.h"
#include "scene/LightVolume.h"
#include "render/Adapter.h"
#include "render/GpuResource.h"
#include "render/Screen.h"
#include "render/Window.h"
#include "resources/ResourceLoader.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Figures {
  double firstFrame = 0.0;  // seconds from the start of setup to the first finished frame
  double cpu = 0.0;         // seconds per frame: graph evaluation and command submission
  double gpu = 0.0;         // seconds per frame: waiting for the GPU to finish
  double readback = 0.0;    // seconds per frame: reading the back buffer
};

Figures Measure(SDL_Window* window, int width, int height, int frames) {
  using namespace orvane;
  const auto start = Clock::now();
  ScreenParams params;
  params.width = width;
  params.height = height;
  Screen* screen = CreateScreen(window, params);
  Camera camera;
  camera.frame = LookAtFrame({0, 0, -8, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
  CreatePostEffects(screen->adapter, screen, &camera);
  CreateLightVolume(screen->adapter);
  PlayerOptions options;
  options.output = MusicChannel::Output::Silent;
  options.playMusic = false;
  auto player = std::make_unique<Player>();
  player->Setup(screen->adapter, screen, screen->adapter->drawContext.get(), options);
  screen->adapter->BeginFrame();
  player->RenderFrame(0.0f);
  screen->adapter->WaitForGpu();
  Figures figures;
  figures.firstFrame = SecondsSince(start);

  const double duration = player->music ? player->music->DurationSeconds() : 10.0;
  for (int frame = 0; frame < frames; ++frame) {
    const auto frameStart = Clock::now();
    screen->adapter->BeginFrame();
    player->RenderFrame(static_cast<float>(duration * (frame + 0.5) / frames));
    const auto submitted = Clock::now();
    screen->adapter->WaitForGpu();
    const auto finished = Clock::now();
    const auto pixels = ReadTexture(*screen->backBuffer);
    figures.cpu += std::chrono::duration<double>(submitted - frameStart).count();
    figures.gpu += std::chrono::duration<double>(finished - submitted).count();
    figures.readback += SecondsSince(finished);
    if (pixels.empty()) std::fprintf(stderr, "empty frame\n");
  }
  figures.cpu /= frames;
  figures.gpu /= frames;
  figures.readback /= frames;
  player->Release();
  player.reset();
  DestroyPostEffects();
  DestroyLightVolume();
  ReleaseLoaderCaches();
  screen->Destroy();
  delete screen;
  currentScreen = nullptr;
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const char* demo = argc > 1 ? argv[1] : ORVANE_SOURCE_DIR "/examples/first-light";
  const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
  std::filesystem::current_path(demo);
  orvane::UseOffscreenVideoWhenHeadless(true);
  orvane::ScreenParams params;
  params.width = 1280;
  params.height = 720;
  SDL_Window* window = orvane::OpenWindow(params);
  if (!window) return 1;
  std::printf("offline rendering of %s, %d frames spread over the demo\n", demo, frames);
  std::printf("%-10s %10s %12s %12s %12s %14s\n", "size", "frames/s", "cpu ms", "gpu wait ms", "readback ms",
              "first frame s");
  for (const auto& [width, height] : {std::pair{640, 360}, std::pair{1280, 720}}) {
    const Figures f = Measure(window, width, height, frames);
    const double perFrame = f.cpu + f.gpu + f.readback;
    std::printf("%4dx%-5d %10.1f %12.2f %12.2f %12.2f %14.2f\n", width, height, 1.0 / perFrame, f.cpu * 1e3,
                f.gpu * 1e3, f.readback * 1e3, f.firstFrame);
  }
  orvane::CloseWindow(window);
  return 0;
}
