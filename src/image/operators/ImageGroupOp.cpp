#include "image/operators/ImageGroupOp.h"

#include "graph/OperatorRegistry.h"
#include "graph/Port.h"

namespace orvane {
namespace {
const OperatorRegistration<ImageGroupOp> kRegistration{
    "ImageGroup", "Evaluates every image connected to its input, in connection order."};
enum Input : size_t { kInImage };
}  // namespace

ImageGroupOp::ImageGroupOp() : Operator(kCategoryImage) {
  AddInertInput("InImage", kPortImage, kHintSeveralSources);
  AddOutput("OutImage", kPortImage, std::make_unique<GroupFunction>());
}

void ImageGroupOp::GroupFunction::Evaluate(float time, const PortList& sources, Player& player) {
  if (sources.size() <= kInImage) return;
  // A copy: a member's evaluation must not be able to change the list being walked.
  const PortList members = sources[kInImage]->sources;
  for (Port* member : members) member->Evaluate(time, player);
}

}  // namespace orvane
