#pragma once
// Internal to the render layer: the GL form of a render state, the ring that holds constant
// data on its way to the GPU, and the shadow of what is bound.

#include <epoxy/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace orvane {
struct RenderState;
}

namespace orvane::detail {

struct GlStencilFace {
  GLenum function = GL_ALWAYS;
  GLenum stencilFail = GL_KEEP;
  GLenum depthFail = GL_KEEP;
  GLenum pass = GL_KEEP;
  bool operator==(const GlStencilFace&) const = default;
};

struct GlBlend {
  bool enabled = false;
  GLenum sourceColor = GL_ONE, destinationColor = GL_ZERO, operationColor = GL_FUNC_ADD;
  GLenum sourceAlpha = GL_ONE, destinationAlpha = GL_ZERO, operationAlpha = GL_FUNC_ADD;
  std::array<GLboolean, 4> writeMask{GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
  bool operator==(const GlBlend&) const = default;
};

// Each field names the GL call it drives.
struct GlRenderState {
  bool depthTest = false;             // glEnable(GL_DEPTH_TEST)
  GLboolean depthMask = GL_TRUE;      // glDepthMask
  GLenum depthFunction = GL_LESS;     // glDepthFunc
  bool cullFace = false;              // glEnable(GL_CULL_FACE)
  GLenum cullMode = GL_BACK;          // glCullFace
  GLenum polygonMode = GL_FILL;       // glPolygonMode
  bool scissorTest = false;           // glEnable(GL_SCISSOR_TEST)
  bool multisample = false;           // glEnable(GL_MULTISAMPLE)
  bool lineSmooth = false;            // glEnable(GL_LINE_SMOOTH)
  bool alphaToCoverage = false;       // glEnable(GL_SAMPLE_ALPHA_TO_COVERAGE)
  float offsetFactor = 0.0f;          // glPolygonOffsetClamp(factor, units, clamp)
  float offsetUnits = 0.0f;
  float offsetClamp = 0.0f;
  bool stencilTest = false;           // glEnable(GL_STENCIL_TEST)
  GlStencilFace front, back;          // glStencilFuncSeparate, glStencilOpSeparate
  GLint stencilReference = 0;
  GLuint stencilReadMask = 0xFF;
  GLuint stencilWriteMask = 0xFF;     // glStencilMask
  std::array<GlBlend, 4> blend;       // glEnablei(GL_BLEND), glBlend*Separatei, glColorMaski
};

GlRenderState BuildGlRenderState(const struct orvane::RenderState& state);

// A persistently mapped uniform buffer used as a ring. Every constant-buffer update takes a
// fresh region, so draws in flight keep their values and no update waits for the GPU. The ring
// is split into segments guarded by fences: entering a segment waits until the GPU is done
// with what was written there one lap earlier.
class UniformRing {
public:
  void Create(size_t capacity);
  void Destroy();
  // A region of `bytes` aligned for binding; returns its offset, and its absolute position.
  uint32_t Allocate(uint32_t bytes, uint64_t& position);
  uint8_t* Data(uint32_t offset) { return base_ + offset; }
  GLuint buffer() const { return buffer_; }
  // A region may be bound again only while the ring writes in the region's segment: the fence
  // that guards the segment is set when the ring leaves it, after every draw that read it.
  bool StillValid(uint64_t regionPosition) const {
    return regionPosition != UINT64_MAX && regionPosition >= segmentStart_;
  }

private:
  void EnterSegment(size_t segment);

  static constexpr size_t kSegments = 8;
  GLuint buffer_ = 0;
  uint8_t* base_ = nullptr;
  size_t capacity_ = 0;
  size_t segmentSize_ = 0;
  size_t alignment_ = 256;
  size_t head_ = 0;
  size_t segment_ = 0;
  uint64_t lap_ = 0;
  uint64_t segmentStart_ = 0;
  std::array<GLsync, kSegments> fences_{};
};

struct FramebufferKey {
  std::array<GLuint, 4> color{};
  GLuint depth = 0;
  GLint face = 0;
  bool operator==(const FramebufferKey&) const = default;
};

struct FramebufferKeyHash {
  size_t operator()(const FramebufferKey& k) const {
    size_t h = 0;
    for (GLuint c : k.color) h = h * 1000003u ^ c;
    return (h * 1000003u ^ k.depth) * 1000003u ^ static_cast<size_t>(k.face);
  }
};

struct UniformBinding {
  GLuint buffer = 0;
  GLintptr offset = 0;
  GLsizeiptr size = 0;
};

constexpr size_t kTextureUnits = 16;
constexpr size_t kUniformBindings = 8;

// What the context has bound, as far as the layer changed it.
struct DrawContextState {
  // Render state.
  const RenderState* boundState = nullptr;  // null: the fields below may differ from any state
  GlRenderState applied;
  bool forceNextApply = false;  // `applied` cannot be trusted (InvalidateState)
  // Targets.
  GLuint framebuffer = 0;
  // The targets were let go, but their framebuffer stays bound until a draw needs the binding
  // gone: binding it away and back between draws to the same targets makes drivers (llvmpipe)
  // revalidate and split their work.
  bool targetsReleased = false;
  std::array<GLint, 4> viewport{};
  std::array<GLint, 4> scissor{};
  std::unordered_map<FramebufferKey, GLuint, FramebufferKeyHash> framebuffers;
  // Shaders and resources.
  GLuint pipeline = 0;
  std::array<UniformBinding, kUniformBindings> uniforms{};
  std::array<GLuint, kTextureUnits> textures{};
  std::array<GLuint, kTextureUnits> samplers{};
  uint32_t pendingTextureUnbind = 0;  // units to clear at the next bind
  // Geometry.
  GLuint vertexArray = 0;
  GLuint emptyVertexArray = 0;
  GLint patchVertices = 3;
  bool hasPolygonOffsetClamp = false;
  UniformRing ring;

  void Apply(const GlRenderState& target, bool force);
  void BindFramebuffer(GLuint name);
  void SetViewport(const std::array<GLint, 4>& rect);
  void SetScissor(const std::array<GLint, 4>& rect);
  void BindTexture(size_t unit, GLuint texture);
  void BindSampler(size_t unit, GLuint sampler);
  void BindUniform(size_t binding, const UniformBinding& range);
  void BindPipeline(GLuint name);
  void BindVertexArray(GLuint name);
  void SetPatchVertices(GLint count);
  // The state a clear needs: no scissor, every channel, depth and stencil bit written.
  void PrepareClear();
};

}  // namespace orvane::detail
