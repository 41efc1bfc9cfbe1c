#include "render/DrawContext.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "render/Adapter.h"
#include "render/ConstantBuffer.h"
#include "render/Diagnostics.h"
#include "render/DrawCall.h"
#include "render/Geometry.h"
#include "render/GpuResource.h"
#include "render/PassProfiler.h"
#include "render/RenderState.h"
#include "render/Sampler.h"
#include "render/ShaderPass.h"
#include "render/TargetSet.h"
#include "render/VertexLayout.h"
#include "render/detail/GlState.h"
#include "render/detail/GlTables.h"

namespace orvane {
namespace {

constexpr size_t kUniformRingBytes = 16u << 20;

bool IsLayered(const GpuResource& r) {
  return r.kind == ResourceKind::kCubeMap || r.kind == ResourceKind::kTexture2DArray;
}

detail::FramebufferKey KeyOf(const TargetSet& targets) {
  detail::FramebufferKey key;
  bool layered = false;
  for (size_t i = 0; i < 4 && targets.color[i]; ++i) {
    key.color[i] = targets.color[i]->object;
    layered = layered || IsLayered(*targets.color[i]);
  }
  key.depth = targets.depth ? targets.depth->object : 0;
  key.face = layered ? targets.face : 0;
  return key;
}

void AttachColor(GLuint framebuffer, GLenum attachment, const GpuResource& target, GLint face) {
  if (IsLayered(target)) {
    const GLint slice = std::clamp<GLint>(face, 0, static_cast<GLint>(target.desc.arraySize) - 1);
    glNamedFramebufferTextureLayer(framebuffer, attachment, target.object, 0, slice);
  } else {
    glNamedFramebufferTexture(framebuffer, attachment, target.object, 0);
  }
}

GLuint MakeFramebuffer(const TargetSet& targets, GLint face) {
  GLuint framebuffer = 0;
  glCreateFramebuffers(1, &framebuffer);
  GLenum drawBuffers[4] = {GL_NONE, GL_NONE, GL_NONE, GL_NONE};
  GLsizei count = 0;
  for (; count < 4 && targets.color[count]; ++count) {
    drawBuffers[count] = GL_COLOR_ATTACHMENT0 + static_cast<GLenum>(count);
    AttachColor(framebuffer, drawBuffers[count], *targets.color[count], face);
  }
  if (targets.depth) {
    const GLenum attachment = FormatHasStencil(targets.depth->desc.format)
                                  ? GL_DEPTH_STENCIL_ATTACHMENT
                                  : GL_DEPTH_ATTACHMENT;
    glNamedFramebufferTexture(framebuffer, attachment, targets.depth->object, 0);
  }
  if (count > 0)
    glNamedFramebufferDrawBuffers(framebuffer, count, drawBuffers);
  else
    glNamedFramebufferDrawBuffer(framebuffer, GL_NONE);
  const GLenum status = glCheckNamedFramebufferStatus(framebuffer, GL_DRAW_FRAMEBUFFER);
  if (status != GL_FRAMEBUFFER_COMPLETE)
    DebugPrint("SetTargets: incomplete target set (0x%X)\n", status);
  return framebuffer;
}

void ClearTargets(GLuint framebuffer, const TargetSet& targets) {
  if (targets.clearFlags & kClearColor)
    for (GLint i = 0; i < 4 && targets.color[i]; ++i)
      glClearNamedFramebufferfv(framebuffer, GL_COLOR, i, targets.clearColor);
  if ((targets.clearFlags & kClearDepthStencil) && targets.depth) {
    if (FormatHasStencil(targets.depth->desc.format))
      glClearNamedFramebufferfi(framebuffer, GL_DEPTH_STENCIL, 0, targets.clearDepth,
                                targets.clearStencil);
    else
      glClearNamedFramebufferfv(framebuffer, GL_DEPTH, 0, &targets.clearDepth);
  }
}

}  // namespace

DrawContext::DrawContext(Adapter* adapter)
    : adapter_(adapter), state_(std::make_unique<detail::DrawContextState>()) {
  detail::DrawContextState& st = *state_;
  st.hasPolygonOffsetClamp = epoxy_has_gl_extension("GL_EXT_polygon_offset_clamp");
  st.Apply(detail::GlRenderState{}, true);
  glPatchParameteri(GL_PATCH_VERTICES, st.patchVertices);
  glCreateVertexArrays(1, &st.emptyVertexArray);
  st.ring.Create(kUniformRingBytes);
}

DrawContext::~DrawContext() {
  detail::DrawContextState& st = *state_;
  for (auto& [key, framebuffer] : st.framebuffers) glDeleteFramebuffers(1, &framebuffer);
  glDeleteVertexArrays(1, &st.emptyVertexArray);
  st.ring.Destroy();
}

uint32_t DrawContext::FramebufferOf(const TargetSet& targets) {
  const detail::FramebufferKey key = KeyOf(targets);
  if (key.color[0] == 0 && key.depth == 0) return 0;
  auto found = state_->framebuffers.find(key);
  if (found != state_->framebuffers.end()) return found->second;
  const GLuint framebuffer = MakeFramebuffer(targets, key.face);
  state_->framebuffers.emplace(key, framebuffer);
  return framebuffer;
}

void DrawContext::SetTargets(const TargetSet& targets) {
  detail::DrawContextState& st = *state_;
  if (profiler_) StartProfiledPass(targets);
  const GLuint framebuffer = FramebufferOf(targets);
  st.targetsReleased = false;
  st.BindFramebuffer(framebuffer);
  const TargetRect& r = targets.rect;
  const std::array<GLint, 4> rect = {r.left, r.top, std::max(r.right - r.left, 0),
                                     std::max(r.bottom - r.top, 0)};
  st.SetViewport(rect);
  st.SetScissor(rect);
  const bool clearDepth = (targets.clearFlags & kClearDepthStencil) && targets.depth;
  if (framebuffer && !pixelsDiscarded_ && ((targets.clearFlags & kClearColor) || clearDepth)) {
    st.PrepareClear();
    ClearTargets(framebuffer, targets);
  }
}

void DrawContext::UnbindTargets() {
  if (profiler_) profiler_->Stop();
  state_->targetsReleased = true;
}

void DrawContext::UnbindReleasedTargets() {
  detail::DrawContextState& st = *state_;
  if (!st.targetsReleased) return;
  st.targetsReleased = false;
  st.BindFramebuffer(0);
}

void DrawContext::SetPixelsDiscarded(bool discarded) {
  if (discarded == pixelsDiscarded_) return;
  pixelsDiscarded_ = discarded;
  if (discarded)
    glEnable(GL_RASTERIZER_DISCARD);
  else
    glDisable(GL_RASTERIZER_DISCARD);
}

void DrawContext::NoteProfiledDraw(const ShaderPass& pass) {
  const std::string& label = adapter_->CurrentEvent();
  const auto& textures = pass.textures[kStagePixel];
  const auto bound = std::count_if(textures.begin(), textures.end(), [](const GpuResource* t) { return t != nullptr; });
  profiler_->NoteDraw(label.empty() ? pass.name : label, static_cast<uint32_t>(bound));
}

void DrawContext::StartProfiledPass(const TargetSet& targets) {
  std::string label = adapter_->CurrentEvent();
  if (label.empty()) {
    size_t colors = 0;
    while (colors < 4 && targets.color[colors]) ++colors;
    label = "(" + std::to_string(colors) + " colour" + (targets.depth ? " + depth" : "") +
            ((targets.clearFlags & kClearColor) ? ", clear)" : ")");
  }
  profiler_->Start(std::move(label), targets.rect.right - targets.rect.left, targets.rect.bottom - targets.rect.top);
}

void DrawContext::BindState(ShaderPass& pass) {
  const RenderState* state = pass.state ? pass.state : adapter_->defaultState;
  if (state_->boundState == state) return;
  state_->Apply(*state->gl, state_->forceNextApply);
  state_->forceNextApply = false;
  state_->boundState = state;
}

void DrawContext::BindShaders(ShaderPass& pass) {
  detail::DrawContextState& st = *state_;
  st.BindPipeline(pass.pipeline);
  for (size_t r = 0; r < kMaxConstantBuffers; ++r) {
    ConstantBuffer* buffer = pass.constantBuffers[r];
    if (!buffer) {
      st.BindUniform(r, {});
      continue;
    }
    if (!st.ring.StillValid(buffer->regionPosition_)) {
      // Never updated, or its region is about to be reused: hand the current values over again.
      buffer->regionOffset_ = st.ring.Allocate(buffer->size, buffer->regionPosition_);
      std::copy_n(buffer->contents_.data(), buffer->size, st.ring.Data(buffer->regionOffset_));
    }
    st.BindUniform(r, {st.ring.buffer(), static_cast<GLintptr>(buffer->regionOffset_),
                       static_cast<GLsizeiptr>(buffer->size)});
  }
}

void DrawContext::BindResources(ShaderPass& pass) {
  detail::DrawContextState& st = *state_;
  for (int stage = 0; stage < kStageCompute; ++stage) {
    const auto& textures = pass.textures[stage];
    const size_t count = std::min(textures.size(), detail::kTextureUnits);
    for (size_t unit = 0; unit < count; ++unit) st.BindTexture(unit, GetShaderView(textures[unit]));
  }
  for (size_t unit = 0; st.pendingTextureUnbind != 0 && unit < detail::kTextureUnits; ++unit)
    if (st.pendingTextureUnbind & (1u << unit)) st.BindTexture(unit, 0);
}

void DrawContext::BindSamplers(ShaderPass& pass) {
  detail::DrawContextState& st = *state_;
  for (int stage = 0; stage < kStageCompute; ++stage) {
    const auto& samplers = pass.samplers[stage];
    const size_t count = std::min(samplers.size(), detail::kTextureUnits);
    for (size_t unit = 0; unit < count; ++unit)
      st.BindSampler(unit, samplers[unit] ? samplers[unit]->object : 0);
  }
}

void DrawContext::BindPass(ShaderPass& pass) {
  BindState(pass);
  BindShaders(pass);
  BindResources(pass);
  BindSamplers(pass);
}

void DrawContext::UnbindResources(ShaderPass& pass) {
  // Taken off lazily: the next bind clears what it does not set again, so a texture sampled by
  // draw after draw is never unbound and bound again in between.
  for (int stage = 0; stage < kStageCompute; ++stage) {
    const size_t count = std::min(pass.textures[stage].size(), detail::kTextureUnits);
    state_->pendingTextureUnbind |= (1u << count) - 1u;
  }
}

bool DrawContext::BindGeometry(Geometry& geometry) {
  detail::DrawContextState& st = *state_;
  const detail::GlTopology topology = detail::GlTopologyOf(geometry.topology);
  if (topology.mode == detail::kGlInvalid) return false;
  if (geometry.indexBuffer && detail::GlIndexType(geometry.indexFormat) == detail::kGlInvalid)
    return false;
  VertexLayout* layout = geometry.layout;
  if (!layout) {
    st.BindVertexArray(st.emptyVertexArray);
  } else {
    st.BindVertexArray(layout->vertexArray);
    if (layout->boundGeneration_ != adapter_->bufferGeneration) {
      layout->boundBuffers_.fill(UINT32_MAX);
      layout->boundIndexBuffer_ = UINT32_MAX;
      layout->boundGeneration_ = adapter_->bufferGeneration;
    }
    for (GLuint slot = 0; slot < kVertexSlots; ++slot) {
      if (layout->boundBuffers_[slot] == geometry.vertexBuffers[slot]) continue;
      layout->boundBuffers_[slot] = geometry.vertexBuffers[slot];
      glVertexArrayVertexBuffer(layout->vertexArray, slot, geometry.vertexBuffers[slot], 0,
                                static_cast<GLsizei>(layout->strides[slot]));
    }
    if (layout->boundIndexBuffer_ != geometry.indexBuffer) {
      layout->boundIndexBuffer_ = geometry.indexBuffer;
      glVertexArrayElementBuffer(layout->vertexArray, geometry.indexBuffer);
    }
  }
  if (topology.patchVertices > 0) st.SetPatchVertices(topology.patchVertices);
  return true;
}

void DrawContext::Draw(const DrawCall& call) {
  if (!call.pass || !call.geometry || !call.pass->HasStage(kStageVertex)) return;
  Geometry& g = *call.geometry;
  if (!BindGeometry(g)) return;
  UnbindReleasedTargets();
  BindPass(*call.pass);
  const bool indexed = g.indexBuffer != 0;
  const uint32_t available = indexed ? g.indexCount : g.vertexCount;
  // A range reaching past the geometry is cut at its end rather than read outside the buffers.
  const uint32_t end = call.range ? std::min(call.range->end, available) : available;
  const uint32_t first = call.range ? std::min(call.range->first, end) : 0;
  const auto count = static_cast<GLsizei>(end - first);
  const auto instances = static_cast<GLsizei>((call.instanced & 1u) ? call.instanceCount : 1u);
  if (profiler_) NoteProfiledDraw(*call.pass);
  const GLenum mode = detail::GlTopologyOf(g.topology).mode;
  if (indexed) {
    const GLenum type = detail::GlIndexType(g.indexFormat);
    const auto offset =
        static_cast<uintptr_t>(g.firstIndex + first) * detail::IndexBytes(g.indexFormat);
    const auto* indices = reinterpret_cast<const void*>(offset);
    const auto baseVertex = static_cast<GLint>(g.baseVertex);
    if (call.instanced & 1u)
      glDrawElementsInstancedBaseVertex(mode, count, type, indices, instances, baseVertex);
    else
      glDrawElementsBaseVertex(mode, count, type, indices, baseVertex);
  } else {
    const auto start = static_cast<GLint>(g.baseVertex + first);
    if (call.instanced & 1u)
      glDrawArraysInstanced(mode, start, count, instances);
    else
      glDrawArrays(mode, start, count);
  }
  UnbindResources(*call.pass);
}

void DrawContext::DrawFullScreen(ShaderPass& pass, uint32_t vertexCount) {
  if (!pass.HasStage(kStageVertex)) return;
  state_->BindVertexArray(state_->emptyVertexArray);
  UnbindReleasedTargets();
  BindPass(pass);
  if (profiler_) NoteProfiledDraw(pass);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, static_cast<GLsizei>(vertexCount));
  UnbindResources(pass);
}

void DrawContext::Reset() {
  detail::DrawContextState& st = *state_;
  UnbindTargets();
  UnbindReleasedTargets();
  for (size_t unit = 0; unit < detail::kTextureUnits; ++unit) {
    st.BindTexture(unit, 0);
    st.BindSampler(unit, 0);
  }
  for (size_t binding = 0; binding < detail::kUniformBindings; ++binding)
    st.BindUniform(binding, {});
  st.BindPipeline(0);
  st.BindVertexArray(st.emptyVertexArray);
}

void DrawContext::InvalidateState() {
  detail::DrawContextState& st = *state_;
  constexpr GLuint kUnknown = UINT32_MAX;
  st.boundState = nullptr;
  st.forceNextApply = true;
  st.framebuffer = kUnknown;
  st.viewport.fill(-1);
  st.scissor.fill(-1);
  st.pipeline = kUnknown;
  st.vertexArray = kUnknown;
  st.patchVertices = -1;
  for (detail::UniformBinding& binding : st.uniforms) binding.buffer = kUnknown;
  st.textures.fill(kUnknown);
  st.samplers.fill(kUnknown);
  st.pendingTextureUnbind = 0;
  ++adapter_->bufferGeneration;  // vertex-array objects may hold other buffers too
}

size_t DrawContext::FramebufferCount() const { return state_->framebuffers.size(); }

void DrawContext::ForgetTexture(uint32_t texture) {
  detail::DrawContextState& st = *state_;
  for (auto it = st.framebuffers.begin(); it != st.framebuffers.end();) {
    const detail::FramebufferKey& key = it->first;
    const bool uses = key.depth == texture ||
                      std::find(key.color.begin(), key.color.end(), texture) != key.color.end();
    if (!uses) {
      ++it;
      continue;
    }
    if (st.framebuffer == it->second) st.framebuffer = 0;  // deleting the bound one binds 0
    glDeleteFramebuffers(1, &it->second);
    it = st.framebuffers.erase(it);
  }
  // Deleting a texture takes it off every unit.
  for (GLuint& bound : st.textures)
    if (bound == texture) bound = 0;
}

void DrawContext::ForgetBuffer(uint32_t) { ++adapter_->bufferGeneration; }

}  // namespace orvane
