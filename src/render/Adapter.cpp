#include "render/Adapter.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdlib>

#include "render/Diagnostics.h"
#include "render/DrawContext.h"
#include "render/GpuProfiler.h"
#include "render/RenderState.h"
#include "render/Sampler.h"
#include "render/VertexLayout.h"
#include "render/detail/GlState.h"

namespace orvane {

Adapter* currentAdapter = nullptr;

namespace {

constexpr VertexElement kMeshLayout[] = {kSemanticPosition, kSemanticNormal, kSemanticTexcoord0, 0};
constexpr VertexElement kPositionNormalLayout[] = {kSemanticPosition, kSemanticNormal, 0};
constexpr VertexElement kPositionLayout[] = {kSemanticPosition, 0};
constexpr VertexElement kPositionColorLayout[] = {kSemanticPosition, kSemanticColor0, 0};

// The conventions every draw of the system relies on.
void SetContextConventions() {
  glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);  // depth 0 to 1, row 0 at the top
  glFrontFace(GL_CW);                            // front faces clockwise on screen
  glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
  glEnable(GL_PRIMITIVE_RESTART_FIXED_INDEX);  // strips are cut by the all-ones index
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glBlendColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void GLAPIENTRY ReportGlMessage(GLenum, GLenum type, GLuint, GLenum severity, GLsizei,
                                const GLchar* message, const void*) {
  if (severity == GL_DEBUG_SEVERITY_NOTIFICATION) return;
  DebugPrint("GL: %s%s\n", type == GL_DEBUG_TYPE_ERROR ? "error: " : "", message);
}

// ORVANE_GL_DEBUG=1 in the environment prints what the driver reports about our calls.
void ReportGlMessagesWhenAsked() {
  const char* asked = std::getenv("ORVANE_GL_DEBUG");
  if (!asked || asked[0] != '1') return;
  glEnable(GL_DEBUG_OUTPUT);
  glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
  glDebugMessageCallback(ReportGlMessage, nullptr);
}

}  // namespace

Adapter* CreateAdapter(SDL_Window* window) {
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) FatalError("Fatal error: %s\n", "Failed to create OpenGL device");
  if (epoxy_gl_version() < 45) FatalError("Fatal error: %s\n", "Failed to create OpenGL device");
  SetContextConventions();
  ReportGlMessagesWhenAsked();
  auto* adapter = new Adapter;
  adapter->context = context;
  adapter->window = window;
  adapter->drawContext = std::make_unique<DrawContext>(adapter);
  adapter->defaultLayouts[0] = CreateVertexLayout(adapter, kMeshLayout);
  adapter->defaultLayouts[1] = CreateVertexLayout(adapter, kPositionNormalLayout);
  adapter->defaultLayouts[2] = CreateVertexLayout(adapter, kPositionLayout);
  adapter->defaultLayouts[3] = CreateVertexLayout(adapter, kPositionColorLayout);
  adapter->defaultState = GetRenderState(adapter, DefaultRenderStateDesc());
  return adapter;
}

void DestroyAdapter(Adapter* adapter) {
  if (!adapter) return;
  delete adapter;
}

Adapter::~Adapter() {
  profiler.reset();
  for (VertexLayout*& layout : defaultLayouts) {
    DestroyVertexLayout(layout);
    layout = nullptr;
  }
  for (auto& [hash, sampler] : samplerCache) glDeleteSamplers(1, &sampler->object);
  samplerCache.clear();
  stateCache.clear();
  drawContext.reset();
  if (context) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
  if (currentAdapter == this) currentAdapter = nullptr;
}

void Adapter::BeginFrame() { drawContext->Reset(); }

void Adapter::WaitForGpu() { glFinish(); }

void Adapter::BeginEvent(const char* label) {
  glPushDebugGroup(GL_DEBUG_SOURCE_APPLICATION, 0, -1, label);
  events_.emplace_back(label ? label : "");
  if (profiler) profiler->BeginGroup(label);
}

void Adapter::EndEvent() {
  if (events_.empty()) return;  // an unpaired end would underflow the group stack
  events_.pop_back();
  if (profiler) profiler->EndGroup();
  glPopDebugGroup();
}

const std::string& Adapter::CurrentEvent() const {
  static const std::string kNone;
  return events_.empty() ? kNone : events_.back();
}

uint32_t Adapter::TakeGlError() {
  const GLenum first = glGetError();
  if (first == GL_NO_ERROR) return 0;
  // Some drivers queue several flags; read them all so the next call starts clean.
  for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
  }
  return first;
}

const char* Adapter::RendererName() const {
  const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return name ? name : "unknown";
}

}  // namespace orvane
