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

const OperatorRegistration<CounterOp> kCounter{"TestCounter"};
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

}  // namespace orvane::testing
