#include "image/operators/FXAAOp.h"

#include "graph/OperatorRegistry.h"
#include "image/PostEffectStep.h"
#include "image/PostEffects.h"

namespace orvane {
namespace {
const OperatorRegistration<FXAAOp> kRegistration{
    "FXAA", "Smooths the jagged edges of its image (fast approximate anti-aliasing)."};
enum Input : size_t { kImageIn };
}  // namespace

FXAAOp::FXAAOp() : Operator(kCategoryImage) {
  AddInertInput("ImageIn", kPortImage);
  AddOutput("ImageOut", kPortImage, std::make_unique<FXAAFunction>());
}

void FXAAOp::FXAAFunction::Evaluate(float time, const PortList& sources, Player& player) {
  GpuResource* source = EvaluateImage(sources, kImageIn, time, player);
  ApplyPostEffect(player, source, [&](PostEffects& effects, GpuResource* from, GpuResource* to) {
    effects.Fxaa(from, to, player.rect);
  });
}

}  // namespace orvane
