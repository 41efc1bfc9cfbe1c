#include "image/operators/ToneMappingOp.h"

#include "graph/OperatorRegistry.h"
#include "image/PostEffectStep.h"
#include "image/PostEffects.h"

namespace orvane {
namespace {
const OperatorRegistration<ToneMappingOp> kRegistration{
    "ToneMapping", "Maps its high-range lit image to display range with an exposure."};
enum Input : size_t { kImageIn, kExposure };
}  // namespace

ToneMappingOp::ToneMappingOp() : Operator(kCategoryImage) {
  AddInertInput("ImageIn", kPortImage);
  AddFloatInput("Exposure", 1.0f);
  AddOutput("ImageOut", kPortImage, std::make_unique<ToneMappingFunction>());
}

void ToneMappingOp::ToneMappingFunction::Evaluate(float time, const PortList& sources, Player& player) {
  GpuResource* source = EvaluateImage(sources, kImageIn, time, player);
  const float exposure = EvaluateFloat(sources, kExposure, time, player);
  ApplyPostEffect(player, source, [&](PostEffects& effects, GpuResource* from, GpuResource* to) {
    effects.toneMapping.exposure = exposure;
    effects.ToneMap(from, to, player.rect);
  });
}

}  // namespace orvane
