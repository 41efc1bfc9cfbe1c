#pragma once
#include "graph/Operator.h"

namespace orvane {

// Smooths the stair-steps of edges in a display-encoded image.
class FXAAOp final : public Operator {
public:
  FXAAOp();

  class FXAAFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
