#include "image/operators/BloomOp.h"

#include "graph/OperatorRegistry.h"
#include "image/PostEffectStep.h"
#include "image/PostEffects.h"

namespace orvane {
namespace {
const OperatorRegistration<BloomOp> kRegistration{"Bloom", "Bright parts of the image glow into their surroundings."};
enum Input : size_t { kImageIn, kExtractThreshold, kIntensity, kSaturation, kBaseIntensity, kBaseSaturation, kRadius };
}  // namespace

BloomOp::BloomOp() : Operator(kCategoryImage) {
  AddInertInput("ImageIn", kPortImage);
  AddFloatInput("ExtractThreshold", 0.25f);
  AddFloatInput("Intensity", 2.0f);
  AddFloatInput("Saturation", 1.5f);
  AddFloatInput("BaseIntensity", 1.0f);
  AddFloatInput("BaseSaturation", 1.0f);
  AddFloatInput("Radius", 50.0f);
  AddOutput("ImageOut", kPortImage, std::make_unique<BloomFunction>());
}

void BloomOp::BloomFunction::Evaluate(float time, const PortList& sources, Player& player) {
  GpuResource* source = EvaluateImage(sources, kImageIn, time, player);
  float values[6];
  for (size_t i = 0; i < 6; ++i) values[i] = EvaluateFloat(sources, kExtractThreshold + i, time, player);
  ApplyPostEffect(player, source, [&](PostEffects& effects, GpuResource* from, GpuResource* to) {
    BloomEffect& bloom = effects.bloom;
    bloom.extractThreshold = values[0];
    bloom.bloomIntensity = values[1];
    bloom.bloomSaturation = values[2];
    bloom.baseIntensity = values[3];
    bloom.baseSaturation = values[4];
    bloom.radius = values[5];
    effects.Bloom(from, to, player.rect);
  });
}

}  // namespace orvane
