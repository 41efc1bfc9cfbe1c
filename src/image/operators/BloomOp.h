#pragma once
#include "graph/Operator.h"

namespace orvane {

// Makes the bright parts of an image glow into their surroundings.
class BloomOp final : public Operator {
public:
  BloomOp();

  class BloomFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
