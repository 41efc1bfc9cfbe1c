#pragma once
#include "graph/Operator.h"

namespace orvane {

// A point light: appends itself, placed by the world transform above it, to the frame's point
// lights, then draws its scene. Its light fades smoothly to nothing at "Radius".
class PointLightOp final : public Operator {
public:
  PointLightOp();

  class PointLightFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
