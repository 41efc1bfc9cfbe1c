#pragma once
// The one GPU device of the process: the OpenGL context, the DrawContext, the default vertex
// layouts and render state, the state and sampler caches and the resources that follow the
// window size.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct SDL_Window;

namespace orvane {

class DrawContext;
class GpuProfiler;
class VertexLayout;
struct GpuResource;
struct RenderState;
struct Sampler;

class Adapter {
public:
  ~Adapter();
  Adapter(const Adapter&) = delete;
  Adapter& operator=(const Adapter&) = delete;

  // Start of every frame: the context is cleared of bindings.
  void BeginFrame();
  // Blocks until the GPU has finished every command issued so far (benchmarks and captures).
  void WaitForGpu();
  // Debug groups around an effect's work, named with an upper-case label ("TONE MAPPING"); timed
  // by the profiler when there is one.
  void BeginEvent(const char* label);
  void EndEvent();
  // The first GL error raised since the last call (0 for none); every pending one is cleared.
  uint32_t TakeGlError();
  // The driver's name for the GPU ("llvmpipe (LLVM 15.0.6, 256 bits)").
  const char* RendererName() const;
  // The innermost label begun and not ended; empty outside any.
  const std::string& CurrentEvent() const;

  void* context = nullptr;  // the SDL GL context
  SDL_Window* window = nullptr;
  std::unique_ptr<DrawContext> drawContext;
  std::unique_ptr<GpuProfiler> profiler;  // none unless GPU times are asked for
  // {POSITION, NORMAL, TEXCOORD0}, {POSITION, NORMAL}, {POSITION}, {POSITION, COLOR0}.
  VertexLayout* defaultLayouts[4] = {};
  RenderState* defaultState = nullptr;
  std::map<uint32_t, std::unique_ptr<Sampler>> samplerCache;
  std::map<uint32_t, std::unique_ptr<RenderState>> stateCache;
  std::vector<GpuResource*> resizable;  // in creation order
  // Counts deleted buffers, so that buffers attached to vertex-array objects are attached again
  // when a name may have been reused.
  uint64_t bufferGeneration = 0;

private:
  friend Adapter* CreateAdapter(SDL_Window* window);
  Adapter() = default;
  std::vector<std::string> events_;
};

// Creates the GL 4.5 core context on the window (fatal "Failed to create OpenGL device" when it
// cannot), with the conventions every draw relies on: depth 0 to 1, top row first, clockwise
// front faces.
Adapter* CreateAdapter(SDL_Window* window);
void DestroyAdapter(Adapter* adapter);

// The process-wide slot of the current adapter.
extern Adapter* currentAdapter;

}  // namespace orvane
