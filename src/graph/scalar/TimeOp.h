#pragma once
#include "graph/Operator.h"

namespace orvane {

// The time it is evaluated at: the music position, or -10 during the load-time pass.
class TimeOp final : public Operator {
public:
  TimeOp();

  class TimeFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
