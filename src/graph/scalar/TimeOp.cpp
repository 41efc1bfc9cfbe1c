#include "graph/scalar/TimeOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"

namespace orvane {
namespace {
const OperatorRegistration<TimeOp> kRegistration{"Time", "The demo time in seconds: the music's playing position."};
}

TimeOp::TimeOp() : Operator(kCategoryScalar) {
  AddOutput("FloatOut", kPortFloat, std::make_unique<TimeFunction>());
}

void TimeOp::TimeFunction::Evaluate(float time, const PortList&, Player& player) { player.scalar = time; }

}  // namespace orvane
