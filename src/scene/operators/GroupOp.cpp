#include "scene/operators/GroupOp.h"

#include "graph/OperatorRegistry.h"
#include "graph/Port.h"

namespace orvane {
namespace {
const OperatorRegistration<GroupOp> kRegistration{
    "Group", "Draws every scene connected to its input, one after the other."};
enum Input : size_t { kInScene };
}  // namespace

GroupOp::GroupOp() : Operator(kCategoryScene) {
  AddInertInput("InScene", kPortScene, kHintSeveralSources);
  AddOutput("OutScene", kPortScene, std::make_unique<GroupFunction>());
}

void GroupOp::GroupFunction::Evaluate(float time, const PortList& sources, Player& player) {
  if (sources.size() <= kInScene) return;
  // A copy: a member's evaluation must not be able to change the list being walked.
  const PortList members = sources[kInScene]->sources;
  for (Port* member : members) member->Evaluate(time, player);
}

}  // namespace orvane
