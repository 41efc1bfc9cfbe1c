#include "render/detail/GlState.h"

#include <algorithm>
#include <cstring>

#include "render/Diagnostics.h"

namespace orvane::detail {
namespace {

void SetEnabled(GLenum capability, bool enabled) {
  if (enabled)
    glEnable(capability);
  else
    glDisable(capability);
}

void SetEnabledIndexed(GLenum capability, GLuint index, bool enabled) {
  if (enabled)
    glEnablei(capability, index);
  else
    glDisablei(capability, index);
}

// Sets `current` to `wanted` through `apply` when they differ (or always when forced).
template <typename T, typename F>
void Update(T& current, const T& wanted, bool force, F apply) {
  if (!force && current == wanted) return;
  current = wanted;
  apply();
}

}  // namespace

void DrawContextState::Apply(const GlRenderState& t, bool force) {
  GlRenderState& a = applied;
  Update(a.depthTest, t.depthTest, force, [&] { SetEnabled(GL_DEPTH_TEST, t.depthTest); });
  Update(a.depthMask, t.depthMask, force, [&] { glDepthMask(t.depthMask); });
  Update(a.depthFunction, t.depthFunction, force, [&] { glDepthFunc(t.depthFunction); });
  Update(a.cullFace, t.cullFace, force, [&] { SetEnabled(GL_CULL_FACE, t.cullFace); });
  Update(a.cullMode, t.cullMode, force, [&] { glCullFace(t.cullMode); });
  Update(a.polygonMode, t.polygonMode, force,
         [&] { glPolygonMode(GL_FRONT_AND_BACK, t.polygonMode); });
  Update(a.scissorTest, t.scissorTest, force, [&] { SetEnabled(GL_SCISSOR_TEST, t.scissorTest); });
  Update(a.multisample, t.multisample, force, [&] { SetEnabled(GL_MULTISAMPLE, t.multisample); });
  Update(a.lineSmooth, t.lineSmooth, force, [&] { SetEnabled(GL_LINE_SMOOTH, t.lineSmooth); });
  Update(a.alphaToCoverage, t.alphaToCoverage, force,
         [&] { SetEnabled(GL_SAMPLE_ALPHA_TO_COVERAGE, t.alphaToCoverage); });
  const bool offsetChanged = force || a.offsetFactor != t.offsetFactor ||
                             a.offsetUnits != t.offsetUnits || a.offsetClamp != t.offsetClamp;
  if (offsetChanged) {
    a.offsetFactor = t.offsetFactor;
    a.offsetUnits = t.offsetUnits;
    a.offsetClamp = t.offsetClamp;
    const bool on = t.offsetFactor != 0.0f || t.offsetUnits != 0.0f;
    SetEnabled(GL_POLYGON_OFFSET_FILL, on);
    SetEnabled(GL_POLYGON_OFFSET_LINE, on);
    SetEnabled(GL_POLYGON_OFFSET_POINT, on);
    if (hasPolygonOffsetClamp)
      glPolygonOffsetClampEXT(t.offsetFactor, t.offsetUnits, t.offsetClamp);
    else
      glPolygonOffset(t.offsetFactor, t.offsetUnits);
  }
  Update(a.stencilTest, t.stencilTest, force, [&] { SetEnabled(GL_STENCIL_TEST, t.stencilTest); });
  const bool functionChanged = force || a.front.function != t.front.function ||
                               a.back.function != t.back.function ||
                               a.stencilReference != t.stencilReference ||
                               a.stencilReadMask != t.stencilReadMask;
  if (functionChanged) {
    glStencilFuncSeparate(GL_FRONT, t.front.function, t.stencilReference, t.stencilReadMask);
    glStencilFuncSeparate(GL_BACK, t.back.function, t.stencilReference, t.stencilReadMask);
  }
  if (force || a.front != t.front || a.back != t.back) {
    glStencilOpSeparate(GL_FRONT, t.front.stencilFail, t.front.depthFail, t.front.pass);
    glStencilOpSeparate(GL_BACK, t.back.stencilFail, t.back.depthFail, t.back.pass);
  }
  a.front = t.front;
  a.back = t.back;
  a.stencilReference = t.stencilReference;
  a.stencilReadMask = t.stencilReadMask;
  Update(a.stencilWriteMask, t.stencilWriteMask, force, [&] { glStencilMask(t.stencilWriteMask); });
  for (GLuint i = 0; i < 4; ++i) {
    GlBlend& current = a.blend[i];
    const GlBlend& wanted = t.blend[i];
    if (!force && current == wanted) continue;
    if (force || current.enabled != wanted.enabled) SetEnabledIndexed(GL_BLEND, i, wanted.enabled);
    glBlendFuncSeparatei(i, wanted.sourceColor, wanted.destinationColor, wanted.sourceAlpha,
                         wanted.destinationAlpha);
    glBlendEquationSeparatei(i, wanted.operationColor, wanted.operationAlpha);
    glColorMaski(i, wanted.writeMask[0], wanted.writeMask[1], wanted.writeMask[2],
                 wanted.writeMask[3]);
    current = wanted;
  }
}

void DrawContextState::PrepareClear() {
  GlRenderState wanted = applied;
  wanted.scissorTest = false;
  wanted.depthMask = GL_TRUE;
  wanted.stencilWriteMask = 0xFF;
  for (GlBlend& b : wanted.blend) b.writeMask = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
  Apply(wanted, forceNextApply);
  forceNextApply = false;
  boundState = nullptr;
}

void DrawContextState::BindFramebuffer(GLuint name) {
  if (framebuffer == name) return;
  framebuffer = name;
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, name);
}

void DrawContextState::SetViewport(const std::array<GLint, 4>& rect) {
  if (viewport == rect) return;
  viewport = rect;
  glViewport(rect[0], rect[1], rect[2], rect[3]);
}

void DrawContextState::SetScissor(const std::array<GLint, 4>& rect) {
  if (scissor == rect) return;
  scissor = rect;
  glScissor(rect[0], rect[1], rect[2], rect[3]);
}

void DrawContextState::BindTexture(size_t unit, GLuint texture) {
  pendingTextureUnbind &= ~(1u << unit);
  if (textures[unit] == texture) return;
  textures[unit] = texture;
  glBindTextureUnit(static_cast<GLuint>(unit), texture);
}

void DrawContextState::BindSampler(size_t unit, GLuint sampler) {
  if (samplers[unit] == sampler) return;
  samplers[unit] = sampler;
  glBindSampler(static_cast<GLuint>(unit), sampler);
}

void DrawContextState::BindUniform(size_t binding, const UniformBinding& range) {
  UniformBinding& current = uniforms[binding];
  if (current.buffer == range.buffer && current.offset == range.offset &&
      current.size == range.size)
    return;
  current = range;
  if (range.buffer == 0)
    glBindBufferBase(GL_UNIFORM_BUFFER, static_cast<GLuint>(binding), 0);
  else
    glBindBufferRange(GL_UNIFORM_BUFFER, static_cast<GLuint>(binding), range.buffer, range.offset,
                      range.size);
}

void DrawContextState::BindPipeline(GLuint name) {
  if (pipeline == name) return;
  pipeline = name;
  glBindProgramPipeline(name);
}

void DrawContextState::BindVertexArray(GLuint name) {
  if (vertexArray == name) return;
  vertexArray = name;
  glBindVertexArray(name);
}

void DrawContextState::SetPatchVertices(GLint count) {
  if (patchVertices == count) return;
  patchVertices = count;
  glPatchParameteri(GL_PATCH_VERTICES, count);
}

void UniformRing::Create(size_t capacity) {
  GLint alignment = 256;
  glGetIntegerv(GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT, &alignment);
  alignment_ = static_cast<size_t>(std::max(alignment, 16));
  capacity_ = capacity;
  segmentSize_ = capacity / kSegments;
  const GLbitfield flags = GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT;
  glCreateBuffers(1, &buffer_);
  glNamedBufferStorage(buffer_, static_cast<GLsizeiptr>(capacity), nullptr, flags);
  base_ = static_cast<uint8_t*>(
      glMapNamedBufferRange(buffer_, 0, static_cast<GLsizeiptr>(capacity), flags));
  if (!base_) FatalError("Fatal error: %s\n", "Failed to map the constant ring");
}

void UniformRing::Destroy() {
  for (GLsync& fence : fences_) {
    if (fence) glDeleteSync(fence);
    fence = nullptr;
  }
  if (buffer_) {
    glUnmapNamedBuffer(buffer_);
    glDeleteBuffers(1, &buffer_);
  }
  buffer_ = 0;
  base_ = nullptr;
}

void UniformRing::EnterSegment(size_t segment) {
  if (fences_[segment_]) glDeleteSync(fences_[segment_]);
  fences_[segment_] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
  segment_ = segment;
  segmentStart_ = lap_ * capacity_ + segment * segmentSize_;
  GLsync& fence = fences_[segment];
  if (!fence) return;
  GLbitfield waitFlags = GL_SYNC_FLUSH_COMMANDS_BIT;
  while (glClientWaitSync(fence, waitFlags, 1000000000) == GL_TIMEOUT_EXPIRED) waitFlags = 0;
  glDeleteSync(fence);
  fence = nullptr;
}

uint32_t UniformRing::Allocate(uint32_t bytes, uint64_t& position) {
  bytes = std::max<uint32_t>(bytes, 1);
  if (bytes > segmentSize_)
    FatalError("Fatal error: %s\n", "Constant buffer larger than the ring allows");
  size_t offset = (head_ + alignment_ - 1) / alignment_ * alignment_;
  // A region never spans two segments, so one fence covers every draw that reads it.
  const size_t lastSegment = (offset + bytes - 1) / segmentSize_;
  if (lastSegment != offset / segmentSize_) offset = lastSegment * segmentSize_;
  if (offset + bytes > capacity_) {
    offset = 0;
    ++lap_;
  }
  const size_t segment = offset / segmentSize_;
  if (segment != segment_ || offset + bytes <= head_) EnterSegment(segment);
  head_ = offset + bytes;
  position = lap_ * capacity_ + offset;
  return static_cast<uint32_t>(offset);
}

}  // namespace orvane::detail
