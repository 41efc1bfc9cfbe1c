#include "image/operators/MaskImageOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "image/FullScreenPass.h"
#include "image/PostEffectStep.h"
#include "render/Adapter.h"
#include "render/Sampler.h"
#include "render/ShaderPass.h"

namespace orvane {
namespace {
const OperatorRegistration<MaskImageOp> kRegistration{
    "MaskImage", "Keeps an image where a channel of a mask image passes a threshold."};
enum Input : size_t { kImageIn, kMask, kThreshold, kChannelR, kChannelG, kChannelB, kChannelA, kInvert };
}  // namespace

MaskImageOp::MaskImageOp() : Operator(kCategoryImage) {
  AddInertInput("ImageIn", kPortImage);
  AddInertInput("Mask", kPortImage);
  AddFloatInput("Threshold", 0.5f);
  AddFloatInput("ChannelMask.R", 0.0f);
  AddFloatInput("ChannelMask.G", 0.0f);
  AddFloatInput("ChannelMask.B", 0.0f);
  AddFloatInput("ChannelMask.A", 1.0f);
  AddFloatInput("Invert", 0.0f, kHintToggle);
  AddOutput("ImageOut", kPortImage, std::make_unique<MaskFunction>());
}

void MaskImageOp::MaskFunction::Evaluate(float time, const PortList& sources, Player& player) {
  GpuResource* destination = player.image;
  GpuResource* image = EvaluateConnectedImage(sources, kImageIn, time, player);
  GpuResource* mask = EvaluateConnectedImage(sources, kMask, time, player);
  if (image == nullptr || mask == nullptr) return;
  float channelMask[4];
  for (size_t c = 0; c < 4; ++c) channelMask[c] = EvaluateFloat(sources, kChannelR + c, time, player);
  const float invert = EvaluateFloat(sources, kInvert, time, player);
  const float threshold = EvaluateFloat(sources, kThreshold, time, player);
  player.image = destination;
  ShaderPass* pass = pass_.Get();
  if (pass == nullptr) return;
  Sampler* point = GetSampler(currentAdapter, PointSamplerDesc());
  SetTexture(pass, 0, image, point);
  SetTexture(pass, 1, mask, point);
  WriteConstants(*pass, {{"gChannelMask", channelMask}, {"gThreshold", &threshold}, {"gInvert", &invert}});
  DrawIntoImage(*currentAdapter, *pass, destination);
}

}  // namespace orvane
