#include "image/operators/SplitGBufferOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "image/PostEffectStep.h"
#include "scene/GBuffer.h"

namespace orvane {
namespace {
const OperatorRegistration<SplitGBufferOp> kRegistration{
    "SplitGBuffer", "The G-buffer's albedo, normal, material and emissive targets as images."};
enum Input : size_t { kInImage };
}  // namespace

SplitGBufferOp::SplitGBufferOp() : Operator(kCategoryImage) {
  AddInertInput("InImage", kPortImage);
  for (size_t target = 0; target < GBuffer::kTargetNames.size(); ++target) {
    AddOutput(std::string(GBuffer::kTargetNames[target]), kPortImage,
              std::make_unique<SplitFunction>(static_cast<int32_t>(target)));
  }
}

void SplitGBufferOp::SplitFunction::Evaluate(float time, const PortList& sources, Player& player) {
  EvaluateImage(sources, kInImage, time, player);
  const auto target = static_cast<size_t>(outputIndex);
  player.image = player.gbuffer && target < player.gbuffer->targets.size() ? player.gbuffer->targets[target] : nullptr;
}

}  // namespace orvane
