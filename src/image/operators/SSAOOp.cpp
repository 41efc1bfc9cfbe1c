#include "image/operators/SSAOOp.h"

#include "graph/OperatorRegistry.h"
#include "image/PostEffectStep.h"
#include "image/PostEffects.h"
#include "scene/GBuffer.h"

namespace orvane {
namespace {
const OperatorRegistration<SSAOOp> kRegistration{
    "SSAO", "Screen-space ambient occlusion: darkens creases and contacts seen in the G-buffer."};
enum Input : size_t { kImageIn, kRadius, kFadeStart, kFadeEnd, kPower, kSurfaceEpsilon };

// The target SSAO reads its view-space normals and depths from: the G-buffer's "Normal".
GpuResource* NormalTarget(const Player& player) { return player.gbuffer ? player.gbuffer->targets[1] : nullptr; }
}  // namespace

SSAOOp::SSAOOp() : Operator(kCategoryImage) {
  AddInertInput("ImageIn", kPortImage);
  AddFloatInput("Radius", 0.2f);
  AddFloatInput("FadeStart", 0.3f);
  AddFloatInput("FadeEnd", 8.0f);
  AddFloatInput("Power", 1.0f);
  AddFloatInput("SurfaceEpsilon", 0.08f);
  AddOutput("ImageOut", kPortImage, std::make_unique<SSAOFunction>());
}

void SSAOOp::SSAOFunction::Evaluate(float time, const PortList& sources, Player& player) {
  GpuResource* source = EvaluateImage(sources, kImageIn, time, player);
  const float radius = EvaluateFloat(sources, kRadius, time, player);
  const float fadeStart = EvaluateFloat(sources, kFadeStart, time, player);
  const float fadeEnd = EvaluateFloat(sources, kFadeEnd, time, player);
  const float power = EvaluateFloat(sources, kPower, time, player);
  const float surfaceEpsilon = EvaluateFloat(sources, kSurfaceEpsilon, time, player);
  ApplyPostEffect(player, source, [&](PostEffects& effects, GpuResource* from, GpuResource* to) {
    SsaoEffect& ssao = effects.ssao;
    ssao.radius = radius;
    ssao.fadeStart = fadeStart;
    ssao.fadeEnd = fadeEnd;
    ssao.power = power;
    ssao.surfaceEpsilon = surfaceEpsilon;
    effects.Ssao(from, NormalTarget(player), to, player.projection, player.rect);
  });
}

}  // namespace orvane
