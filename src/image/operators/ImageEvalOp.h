#pragma once
#include "graph/Operator.h"

namespace orvane {

// Evaluates its image only between "Start" and "End" seconds, both included.
class ImageEvalOp final : public Operator {
public:
  ImageEvalOp();

  class ImageEvalFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
