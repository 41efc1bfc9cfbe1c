#pragma once
#include "graph/Operator.h"

namespace orvane {

// Places its scene input by a scale, a rotation (degrees, about X, then Y, then Z) and a
// translation relative to the current world matrix, which it restores afterwards.
class TransformOp final : public Operator {
public:
  TransformOp();

  class TransformFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
