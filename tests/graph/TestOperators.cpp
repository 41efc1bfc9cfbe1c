#include "graph/TestOperators.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"

namespace orvane::testing {
namespace {

class CountFunction final : public Function {
public:
  void Evaluate(float time, const PortList& sources, Player& player) override {
    EvaluateFloat(sources, 0, time, player);
    player.scalar = static_cast<float>(++count);
  }
  int count = 0;
};

class EchoFunction final : public Function {
public:
  void Evaluate(float time, const PortList& sources, Player& player) override {
    EvaluateFloat(sources, 0, time, player);
  }
};

class GroupFunction final : public Function {
public:
  void Evaluate(float time, const PortList& sources, Player& player) override {
    const PortList members = sources.front()->sources;
    for (Port* member : members) member->Evaluate(time, player);
  }
};

const OperatorRegistration<CounterOp> kCounter{"TestCounter"};
const OperatorRegistration<GroupTestOp> kGroup{"TestGroup"};
const OperatorRegistration<EchoOp> kEcho{"TestEcho"};

}  // namespace

CounterOp::CounterOp() : Operator(kCategoryScalar) {
  AddFloatInput("In", 0.0f);
  AddOutput("Count", kPortFloat, std::make_unique<CountFunction>());
}

int CounterOp::evaluations() const { return static_cast<const CountFunction&>(*outputs.front().function).count; }

EchoOp::EchoOp() : Operator(kCategoryScalar) {
  AddFloatInput("Echo", 3.0f);
  AddOutput("Echo", kPortFloat, std::make_unique<EchoFunction>());
}

GroupTestOp::GroupTestOp() : Operator(kCategoryScene) {
  AddInertInput("Members", kPortScene, kHintSeveralSources);
  AddOutput("Group", kPortScene, std::make_unique<GroupFunction>());
}

}  // namespace orvane::testing
