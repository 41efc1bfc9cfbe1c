#pragma once
#include "graph/Operator.h"

namespace orvane {

// Scatters copies of its scene input on a ring or at random points of a cube, facing away from
// the centre or all alike, with seeded random jitter of position, size and rotation. The same
// seed gives the same layout every frame.
class ReplicateOp final : public Operator {
public:
  ReplicateOp();

  class ReplicateFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
