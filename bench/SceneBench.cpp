// Scene operators that do much per frame:
// - a particle system held at 4,999 live particles: CPU time per frame of the simulation and of
//   writing the vertices into the stream (and of the draw call's submission);
// - a Replicate of 10,000 small cubes: draws per second through the whole scene path (operator,
//   world matrices, scene renderer, render layer), to set beside bench_render's plain GL loop,
//   which draws 10,000 cubes a frame with the least work GL allows.
//   bench_scene [FRAMES]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "app/Player.h"
#include "graph/GraphLoader.h"
#include "render/Adapter.h"
#include "render/Camera.h"
#include "render/Screen.h"
#include "render/ShaderPass.h"
#include "render/Window.h"
#include "scene/GBuffer.h"
#include "scene/ParticleRenderer.h"
#include "scene/ParticleSimulation.h"
#include "scene/RuntimeRandom.h"
#include "scene/SceneRenderer.h"
#include "document/DataAccessor.h"
#include "document/DataNode.h"
#include "document/DocumentParser.h"

namespace orvane {
namespace {

constexpr int kSize = 64;  // as bench_render, so that draws per second compare

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Prepare(Player& player, Screen& screen) {
  Adapter* adapter = screen.adapter;
  player.adapter = adapter;
  player.drawContext = adapter->drawContext.get();
  player.gbuffer = std::make_unique<GBuffer>(adapter, kSize, kSize);
  player.renderer = std::make_unique<SceneRenderer>(adapter, adapter->drawContext.get());
  player.depth = screen.depthBuffer;
  player.rect = {0, 0, kSize, kSize};
  player.camera = LookAtFrame({0, 0, -8, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
  player.projection = FrameProjection(kSize, kSize);
}

void BenchParticles(Player& player, Screen& screen, int frames) {
  ParticleSettings settings;
  settings.rate = kMaxParticleRate;
  settings.lifetime = 1000.0f;
  settings.gravity = 0.5f;
  settings.randomPower = 2.0f;
  settings.emitter = kEmitterSphere;
  ParticleSimulation simulation;
  ParticleRenderer renderer(screen.adapter, player.renderer->gbufferPass->state);
  float time = 0.0f;
  simulation.Advance(-10.0f, settings);
  for (int warm = 0; warm < 120 || simulation.count() < ParticleSimulation::kCapacity - 1; ++warm) {
    time += 1.0f / 60.0f;
    simulation.Advance(time, settings);
  }
  double simulate = 0.0, upload = 0.0, draw = 0.0;
  for (int frame = 0; frame < frames; ++frame) {
    time += 1.0f / 60.0f;
    screen.adapter->BeginFrame();
    player.BeginScene();
    const double t0 = CpuSeconds();
    simulation.Advance(time, settings);
    const double t1 = CpuSeconds();
    renderer.Upload(simulation);
    const double t2 = CpuSeconds();
    renderer.Draw(player, 1.0f, 1.0f);
    const double t3 = CpuSeconds();
    screen.adapter->WaitForGpu();
    simulate += t1 - t0;
    upload += t2 - t1;
    draw += t3 - t2;
  }
  const double n = frames;
  std::printf("particles: %d live, %d frames\n", simulation.count(), frames);
  std::printf("  simulation  %8.1f us/frame (CPU)\n", simulate / n * 1e6);
  std::printf("  upload      %8.1f us/frame (CPU, vertices into the stream)\n", upload / n * 1e6);
  std::printf("  draw        %8.1f us/frame (CPU time of all threads: with a software renderer it\n"
              "                             includes rasterising the sprites)\n", draw / n * 1e6);
}

void BenchReplicate(Screen& screen, int frames) {
  const auto root = std::make_unique<DataNode>("", 0);
  ParseDocumentBuffer(*root, R"(
operator { type: FinalOutput; }
operator[] { type: Cube; }
operator[] { type: Transform; input[7] { "Scale.X": 0.03; } input[8] { "Scale.Y": 0.03; } input[9] { "Scale.Z": 0.03; }
  connection { source: 1; sourceProp: "OutScene"; target: 2; targetProp: "InScene"; } }
operator[] { type: Replicate; input[1] { Count: 10000; } input[2] { Radius: 2.5; } input[3] { Mode: 1; }
  input[4] { Seed: 3; } input[8] { SizeRandom: 0.5; } input[14] { "RotateRandom.X": 90; }
  connection { source: 2; sourceProp: "OutScene"; target: 3; targetProp: "InScene"; } }
)");
  Player player;
  LoadGraph(player.operators, DataAccessor(root.get()), nullptr);
  Prepare(player, screen);
  Port& replicate = player.operators.at(3)->outputs.at(0);
  player.BeginScene();
  replicate.Evaluate(0.0f, player);  // builds the cube
  screen.adapter->WaitForGpu();
  double bestWall = 1e30, bestCpu = 1e30;
  for (int round = 0; round < 4; ++round) {
    const double wall = WallSeconds(), cpu = CpuSeconds();
    for (int frame = 0; frame < frames; ++frame) {
      screen.adapter->BeginFrame();
      player.BeginScene();
      replicate.Evaluate(0.0f, player);
      screen.adapter->WaitForGpu();
    }
    bestWall = std::min(bestWall, WallSeconds() - wall);
    bestCpu = std::min(bestCpu, CpuSeconds() - cpu);
  }
  const double draws = 10000.0 * frames;
  std::printf("replicate: 10,000 cubes a frame into the G-buffer, %d frames, best of 4\n", frames);
  std::printf("  %10.0f draws/s wall clock %10.0f draws/s CPU time (all threads)\n", draws / bestWall,
              draws / bestCpu);
  player.Release();
}

int Run(int frames) {
  UseOffscreenVideoWhenHeadless(false);
  ScreenParams params;
  params.width = kSize;
  params.height = kSize;
  SDL_Window* window = OpenWindow(params);
  if (!window) return 1;
  Screen* screen = CreateScreen(window, params);
  std::printf("scene bench: %dx%d target\n", kSize, kSize);
  {
    Player player;
    Prepare(player, *screen);
    BenchParticles(player, *screen, frames * 10);
    player.Release();
  }
  BenchReplicate(*screen, frames);
  delete screen;
  currentScreen = nullptr;
  CloseWindow(window);
  return 0;
}

}  // namespace
}  // namespace orvane

int main(int argc, char** argv) { return orvane::Run(argc > 1 ? std::max(1, std::atoi(argv[1])) : 6); }
