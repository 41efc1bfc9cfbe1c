#pragma once
#include "graph/Operator.h"

namespace orvane {

// Evaluates every image connected to its one input, in the order of the connections; the last
// one's result is its own.
class ImageGroupOp final : public Operator {
public:
  ImageGroupOp();

  class GroupFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
