#pragma once
#include "graph/Operator.h"

namespace orvane {

// A time window: draws its scene input only while the time lies between "Start" and "End",
// both ends included.
class SceneEvalOp final : public Operator {
public:
  SceneEvalOp();

  class SceneEvalFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
