#include "image/operators/BlendOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "image/ChoiceIndex.h"
#include "image/FullScreenPass.h"
#include "image/PostEffectStep.h"
#include "render/Adapter.h"
#include "render/Sampler.h"
#include "render/ShaderPass.h"

namespace orvane {
namespace {
const OperatorRegistration<BlendOp> kRegistration{
    "Blend", "Mixes two images: Normal, Add, Mul or Diff colours with a choice of alpha."};
enum Input : size_t { kImageA, kImageB, kColor, kAlpha };
}  // namespace

BlendOp::BlendOp() : Operator(kCategoryImage) {
  AddInertInput("ImageA", kPortImage);
  AddInertInput("ImageB", kPortImage);
  AddFloatInput("Color", 0.0f, kHintChoice);
  AddOptions({"Normal", "Add", "Mul", "Diff"});
  AddFloatInput("Alpha", 0.0f, kHintChoice);
  AddOptions({"Normal", "MaskA", "MaskB", "Opaque"});
  AddOutput("ImageOut", kPortImage, std::make_unique<BlendFunction>());
}

void BlendOp::BlendFunction::Evaluate(float time, const PortList& sources, Player& player) {
  GpuResource* destination = player.image;
  GpuResource* a = EvaluateConnectedImage(sources, kImageA, time, player);
  GpuResource* b = EvaluateConnectedImage(sources, kImageB, time, player);
  if (a == nullptr || b == nullptr) return;
  const int32_t colorMode = ChoiceIndex(EvaluateFloat(sources, kColor, time, player));
  const int32_t alphaMode = ChoiceIndex(EvaluateFloat(sources, kAlpha, time, player));
  player.image = destination;
  ShaderPass* pass = pass_.Get();
  if (pass == nullptr) return;
  Sampler* point = GetSampler(currentAdapter, PointSamplerDesc());
  SetTexture(pass, 0, a, point);
  SetTexture(pass, 1, b, point);
  WriteConstants(*pass, {{"gColorMode", &colorMode}, {"gAlphaMode", &alphaMode}});
  DrawIntoImage(*currentAdapter, *pass, destination);
}

}  // namespace orvane
