#include "render/RenderState.h"

#include <epoxy/gl.h>

#include "render/Adapter.h"
#include "render/Diagnostics.h"
#include "render/NameHash.h"
#include "render/detail/GlState.h"
#include "render/detail/GlTables.h"

namespace orvane {

RenderState::RenderState() = default;
RenderState::~RenderState() = default;

namespace detail {
namespace {

// A code outside its table is reported and replaced by `fallback`.
GLenum Checked(GLenum value, GLenum fallback, const char* what, int code) {
  if (value != kGlInvalid) return value;
  DebugPrint("RenderState: invalid %s %d\n", what, code);
  return fallback;
}

GlStencilFace StencilFace(const orvane::StencilFace& face) {
  GlStencilFace f;
  f.function =
      Checked(GlComparison(face.comparison), GL_ALWAYS, "stencil comparison", face.comparison);
  f.stencilFail =
      Checked(GlStencilOperation(face.failOp), GL_KEEP, "stencil operation", face.failOp);
  f.depthFail =
      Checked(GlStencilOperation(face.depthFailOp), GL_KEEP, "stencil operation", face.depthFailOp);
  f.pass = Checked(GlStencilOperation(face.passOp), GL_KEEP, "stencil operation", face.passOp);
  return f;
}

GlBlend Blend(const TargetBlend& t) {
  GlBlend b;
  for (int channel = 0; channel < 4; ++channel)
    b.writeMask[static_cast<size_t>(channel)] = (t.writeMask >> channel) & 1u ? GL_TRUE : GL_FALSE;
  b.enabled = t.enabled;
  if (!t.enabled) return b;
  b.sourceColor = Checked(GlBlendFactor(t.color.source), GL_ONE, "blend factor", t.color.source);
  b.destinationColor =
      Checked(GlBlendFactor(t.color.destination), GL_ZERO, "blend factor", t.color.destination);
  b.operationColor = Checked(GlBlendOperation(t.color.operation), GL_FUNC_ADD, "blend operation",
                             t.color.operation);
  b.sourceAlpha = Checked(GlBlendFactor(t.alpha.source), GL_ONE, "blend factor", t.alpha.source);
  b.destinationAlpha =
      Checked(GlBlendFactor(t.alpha.destination), GL_ZERO, "blend factor", t.alpha.destination);
  b.operationAlpha = Checked(GlBlendOperation(t.alpha.operation), GL_FUNC_ADD, "blend operation",
                             t.alpha.operation);
  return b;
}

}  // namespace

GlRenderState BuildGlRenderState(const orvane::RenderState& state) {
  const RenderStateDesc& d = state.desc;
  GlRenderState g;
  g.depthTest = (d.flags & kStateDepthTest) != 0;
  g.depthMask = (d.flags & kStateDepthWrite) ? GL_TRUE : GL_FALSE;
  if (g.depthTest)
    g.depthFunction =
        Checked(GlComparison(d.depthComparison), GL_LEQUAL, "depth comparison", d.depthComparison);
  const uint32_t cull = d.flags & kStateCullMask;
  g.cullFace = cull == kStateCullBack || cull == kStateCullFront;
  g.cullMode = cull == kStateCullFront ? GL_FRONT : GL_BACK;
  g.polygonMode = (d.flags & kStateWireframe) ? GL_LINE : GL_FILL;
  g.scissorTest = (d.flags & kStateScissor) != 0;
  g.multisample = (d.flags & kStateMultisample) != 0;
  g.lineSmooth = (d.flags & kStateAntialiasedLines) != 0;
  g.alphaToCoverage = (d.flags & kStateAlphaToCoverage) != 0;
  g.offsetUnits = static_cast<float>(d.depthBias);
  g.offsetFactor = d.slopeScaledDepthBias;
  g.offsetClamp = d.depthBiasClamp;
  g.stencilTest = (d.flags & kStateStencil) != 0;
  if (g.stencilTest) {
    g.front = StencilFace(d.front);
    g.back = StencilFace(d.back);
    g.stencilReadMask = d.stencilReadMask;
    g.stencilWriteMask = d.stencilWriteMask;
  }
  g.stencilReference = d.stencilReference;
  const std::array<TargetBlend, 4> targets = ResolveBlend(d);
  for (size_t i = 0; i < targets.size(); ++i) g.blend[i] = Blend(targets[i]);
  return g;
}

}  // namespace detail

RenderState* GetRenderState(Adapter* adapter, const RenderStateDesc& desc) {
  const uint32_t hash = NameHash(&desc, sizeof desc);
  auto found = adapter->stateCache.find(hash);
  if (found != adapter->stateCache.end()) return found->second.get();
  auto state = std::make_unique<RenderState>();
  state->desc = desc;
  state->stencilReference = desc.stencilReference;
  state->adapter = adapter;
  state->gl = std::make_unique<detail::GlRenderState>(detail::BuildGlRenderState(*state));
  RenderState* result = state.get();
  adapter->stateCache.emplace(hash, std::move(state));
  return result;
}

}  // namespace orvane
