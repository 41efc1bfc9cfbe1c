#pragma once
#include "graph/Operator.h"

namespace orvane {

// Draws its scene input as a chain of copies: copy k (1 ... Count) is k steps of the position,
// rotation and scale increments away from the current world matrix and k time offsets earlier.
class RepeatOp final : public Operator {
public:
  RepeatOp();

  class RepeatFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
