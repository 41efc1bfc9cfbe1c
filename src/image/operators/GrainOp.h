#pragma once
#include "graph/Operator.h"

namespace orvane {

// Animated film grain, and line displacement with colour fringes as "Glitch" rises.
class GrainOp final : public Operator {
public:
  GrainOp();

  class GrainFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
