#include "image/operators/GrainOp.h"

#include "graph/OperatorRegistry.h"
#include "image/PostEffectStep.h"
#include "image/PostEffects.h"

namespace orvane {
namespace {
const OperatorRegistration<GrainOp> kRegistration{
    "Grain", "Adds animated film grain and a glitch effect to its image."};
enum Input : size_t { kImageIn, kStrength, kGlitch };
}  // namespace

GrainOp::GrainOp() : Operator(kCategoryImage) {
  AddInertInput("ImageIn", kPortImage);
  AddFloatInput("Strength", 1.0f);
  AddFloatInput("Glitch", 0.0f);
  AddOutput("ImageOut", kPortImage, std::make_unique<GrainFunction>());
}

void GrainOp::GrainFunction::Evaluate(float time, const PortList& sources, Player& player) {
  GpuResource* source = EvaluateImage(sources, kImageIn, time, player);
  const float strength = EvaluateFloat(sources, kStrength, time, player);
  const float glitch = EvaluateFloat(sources, kGlitch, time, player);
  ApplyPostEffect(player, source, [&](PostEffects& effects, GpuResource* from, GpuResource* to) {
    effects.grain.strength = strength;
    effects.Grain(from, to, player.rect, time, glitch);
  });
}

}  // namespace orvane
