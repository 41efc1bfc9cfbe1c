// Offline rendering of a bundled example on whatever GPU (or CPU rasteriser) the process gets:
//  - the time from start to the first finished frame at 640x360, 1280x720 and 1920x1080;
//  - frames per second at 640x360 and 1280x720, and how a frame's time splits between evaluating
//    the graph with command submission (CPU), waiting for the GPU and reading the frame back;
//  - the time of each pass of a frame at 1280x720, with plain full-screen passes (one to five
//    textures each read once, one RGBA16F write, the size of the screen) drawn in the same frames
//    as the units: each pass's time as a multiple of a plain pass of its size that reads one
//    texture, and of one that reads as many textures as the pass had bound.
//   bench_offline_render [DEMO_DIR] [FRAMES]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Player.h"
#include "image/PostEffects.h"
#include "render/Adapter.h"
#include "render/Camera.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"
#include "render/PassProfiler.h"
#include "render/RenderStateDesc.h"
#include "render/Sampler.h"
#include "render/SamplerDesc.h"
#include "render/ShaderPass.h"
#include "render/TargetSet.h"
#include "render/Screen.h"
#include "render/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/GBuffer.h"
#include "scene/LightVolume.h"
#include "scene/SceneRenderer.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace orvane;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr uint32_t kMostPlainReads = 5;

std::string PlainLabel(uint32_t reads) {
  return "PLAIN PASS, " + std::to_string(reads) + (reads == 1 ? " read" : " reads");
}
bool IsPlainLabel(const std::string& label) { return label.rfind("PLAIN PASS", 0) == 0; }

// A full-screen triangle whose pixels add up `reads` textures, each read once where the pixel is.
ShaderPass* MakePlainPass(Adapter* adapter, uint32_t reads) {
  const std::string vertex = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) out vec2 vUv;
void main() {
  vUv = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  gl_Position = vec4(vUv.x * 2.0 - 1.0, 1.0 - vUv.y * 2.0, 0.0, 1.0);
}
)";
  std::string pixel = "#version 450 core\nlayout(location = 0) in vec2 vUv;\nlayout(location = 0) out vec4 outColor;\n";
  std::string sum = "vec4(0.0)";
  for (uint32_t i = 0; i < reads; ++i) {
    pixel += "layout(binding = " + std::to_string(i) + ") uniform sampler2D t" + std::to_string(i) + ";\n";
    sum += " + texture(t" + std::to_string(i) + ", vUv)";
  }
  pixel += "void main() { outColor = " + sum + "; }\n";
  ShaderPass* pass = CreateShaderPass(adapter);
  if (!AddShader(pass, ShaderBlob::FromText(vertex, kStageVertex)) ||
      !AddShader(pass, ShaderBlob::FromText(pixel, kStagePixel))) {
    std::fprintf(stderr, "plain pass: %s\n", LastCompilerMessage().c_str());
  }
  return pass;
}

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
    for (ShaderPass* pass : plainPasses_) DestroyShaderPass(pass);
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
  // Plain full-screen passes reading one to five textures (the G-buffer's and the images) once
  // per pixel and writing an image, the target cleared first as every post effect's is.
  void DrawPlainPasses() {
    Adapter& adapter = *screen_->adapter;
    DrawContext& draw = *adapter.drawContext;
    if (plainPasses_.empty()) {
      for (uint32_t reads = 1; reads <= kMostPlainReads; ++reads) plainPasses_.push_back(MakePlainPass(&adapter, reads));
    }
    GpuResource* sources[kMostPlainReads] = {player_->images[0]};
    for (uint32_t i = 1; i < kMostPlainReads; ++i) sources[i] = player_->gbuffer->targets[i - 1];
    Sampler* point = GetSampler(&adapter, MakeSamplerDesc(kFilterPoint, kAddressClamp));
    TargetSet targets;
    targets.color[0] = player_->images[1];
    targets.clearFlags = kClearColor;
    targets.rect = {0, 0, screen_->width, screen_->height};
    for (uint32_t reads = 1; reads <= kMostPlainReads; ++reads) {
      ShaderPass& pass = *plainPasses_[reads - 1];
      for (uint32_t i = 0; i < reads; ++i) SetTexture(&pass, i, sources[i], point);
      adapter.BeginEvent(PlainLabel(reads).c_str());
      draw.SetTargets(targets);
      draw.DrawFullScreen(pass, 3);
      draw.UnbindResources(pass);
      draw.UnbindTargets();
      adapter.EndEvent();
    }
  }

  Screen* screen() { return screen_; }
  Player& player() { return *player_; }
  double startup = 0.0;

private:
  Screen* screen_ = nullptr;
  std::unique_ptr<Player> player_;
  std::vector<ShaderPass*> plainPasses_;
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
  session.DrawPlainPasses();  // once unmeasured: the rasteriser compiles a shader at its first draw
  draw.AttachProfiler(&profiler);
  for (int frame = 0; frame < frames; ++frame) {
    session.Render(session.TimeOf(frame, frames));
    session.DrawPlainPasses();
  }
  draw.AttachProfiler(nullptr);

  // Seconds per pixel of the plain pass reading 1 ... kMostPlainReads textures.
  double plainPerPixel[kMostPlainReads + 1] = {};
  for (const PassTime& pass : profiler.Times())
    for (uint32_t reads = 1; reads <= kMostPlainReads; ++reads)
      if (pass.label == PlainLabel(reads)) plainPerPixel[reads] = pass.seconds / pass.count / (double(pass.width) * pass.height);
  std::printf("\npasses of a frame at %dx%d, mean of %d frames (each pass waited for alone)\n",
              session.screen()->width, session.screen()->height, frames);
  std::printf("%-34s %10s %9s %9s %9s %9s %12s\n", "pass", "size", "draws", "ms/frame", "textures", "x plain",
              "x same reads");
  double total = 0.0;
  for (const PassTime& pass : profiler.Times()) {
    const double perFrame = pass.seconds / frames;
    const double pixels = double(pass.width) * pass.height;
    const uint32_t reads = std::clamp<uint32_t>(pass.textures, 1, kMostPlainReads);
    const double plain = plainPerPixel[1] * pixels;
    const double sameReads = plainPerPixel[reads] * pixels;
    if (!IsPlainLabel(pass.label)) total += perFrame;
    std::printf("%-34s %4dx%-5d %9.1f %9.2f %9u %9.2f %12.2f\n", pass.label.c_str(), pass.width, pass.height,
                double(pass.draws) / frames, perFrame * 1e3, pass.textures, plain > 0.0 ? perFrame / plain : 0.0,
                sameReads > 0.0 ? perFrame / sameReads : 0.0);
  }
  std::printf("%-34s %10s %9s %9.2f\n", "all passes but the plain ones", "", "", total * 1e3);
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
