#pragma once
// Everything that draws goes through the DrawContext. It keeps a shadow of the GL state, so a
// bind that repeats what is bound issues no GL call, and one framebuffer object per distinct
// set of targets, made the first time that set is bound.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace orvane {

class Adapter;
class PassProfiler;
class ShaderPass;
struct DrawCall;
struct Geometry;
struct TargetSet;
namespace detail {
struct DrawContextState;
}

class DrawContext {
public:
  explicit DrawContext(Adapter* adapter);
  ~DrawContext();
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;

  // Binds the targets, sets viewport and scissor to the rectangle and clears what the flags
  // ask. Clears cover the whole target whatever the scissor, blend and write masks say.
  void SetTargets(const TargetSet& targets);
  // Draws that follow draw into no target. The GL binding itself goes only when such a draw
  // comes: the next SetTargets usually binds the same targets again.
  void UnbindTargets();

  // State, shaders with their constant buffers, textures, samplers: in this order.
  void BindPass(ShaderPass& pass);
  void Draw(const DrawCall& call);
  // Draws vertexCount vertices as a triangle strip without vertex buffers.
  void DrawFullScreen(ShaderPass& pass, uint32_t vertexCount);
  // Takes the pass's textures off their units, so that they can be targets of the next draw.
  void UnbindResources(ShaderPass& pass);

  // Start of a frame: nothing bound, as after context creation.
  void Reset();
  // GL state was changed behind the layer's back (another library drew in this context): the
  // next binds set everything again instead of trusting the shadow.
  void InvalidateState();

  // While on, draws and clears touch no pixel: everything else (state, constants, resources)
  // happens as usual. For work whose results nobody sees, such as evaluating the graph once
  // before the first frame.
  void SetPixelsDiscarded(bool discarded);
  bool PixelsDiscarded() const { return pixelsDiscarded_; }

  // Benchmarks: a profiler that times each binding of targets (null detaches it).
  void AttachProfiler(PassProfiler* profiler) { profiler_ = profiler; }

  // Framebuffer objects made so far and still alive.
  size_t FramebufferCount() const;

  // Used by the layer itself.
  // The framebuffer object of the set's targets (0 when it has none), made on first use.
  uint32_t FramebufferOf(const TargetSet& targets);
  detail::DrawContextState& state() { return *state_; }
  void ForgetTexture(uint32_t texture);
  void ForgetBuffer(uint32_t buffer);

private:
  void UnbindReleasedTargets();
  void BindState(ShaderPass& pass);
  void BindShaders(ShaderPass& pass);
  void BindResources(ShaderPass& pass);
  void BindSamplers(ShaderPass& pass);
  bool BindGeometry(Geometry& geometry);
  void StartProfiledPass(const TargetSet& targets);
  void NoteProfiledDraw(const ShaderPass& pass);

  Adapter* adapter_ = nullptr;
  bool pixelsDiscarded_ = false;
  PassProfiler* profiler_ = nullptr;
  std::unique_ptr<detail::DrawContextState> state_;
};

// Discards pixels for as long as it lives, then gives the context back the setting it found.
// A null context is left alone.
class PixelDiscardScope {
public:
  explicit PixelDiscardScope(DrawContext* draw)
      : draw_(draw), wasDiscarded_(draw != nullptr && draw->PixelsDiscarded()) {
    if (draw_) draw_->SetPixelsDiscarded(true);
  }
  ~PixelDiscardScope() {
    if (draw_) draw_->SetPixelsDiscarded(wasDiscarded_);
  }
  PixelDiscardScope(const PixelDiscardScope&) = delete;
  PixelDiscardScope& operator=(const PixelDiscardScope&) = delete;

private:
  DrawContext* draw_;
  bool wasDiscarded_;
};

}  // namespace orvane
