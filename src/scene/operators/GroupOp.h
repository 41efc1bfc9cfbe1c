#pragma once
#include "graph/Operator.h"

namespace orvane {

// Draws every scene connected to its one input, in the order of the connections. Nothing is saved
// between members: a camera in one member changes the view of the members after it.
class GroupOp final : public Operator {
public:
  GroupOp();

  class GroupFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
