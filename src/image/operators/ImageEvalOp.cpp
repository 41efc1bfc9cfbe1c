#include "image/operators/ImageEvalOp.h"

#include "graph/OperatorRegistry.h"
#include "image/PostEffectStep.h"

namespace orvane {
namespace {
const OperatorRegistration<ImageEvalOp> kRegistration{
    "ImageEval", "Evaluates its image only inside a window of time; outside it the image stays as it was."};
enum Input : size_t { kImageIn, kStart, kEnd };
}  // namespace

ImageEvalOp::ImageEvalOp() : Operator(kCategoryImage) {
  AddInertInput("ImageIn", kPortImage);
  AddFloatInput("Start", 0.0f);
  AddFloatInput("End", 1000.0f);
  AddOutput("SceneOut", kPortImage, std::make_unique<ImageEvalFunction>());
}

void ImageEvalOp::ImageEvalFunction::Evaluate(float time, const PortList& sources, Player& player) {
  const float start = EvaluateFloat(sources, kStart, time, player);
  const float end = EvaluateFloat(sources, kEnd, time, player);
  if (start <= time && time <= end) EvaluateImage(sources, kImageIn, time, player);
}

}  // namespace orvane
