#pragma once
#include "graph/Operator.h"
#include "scene/BuiltInMesh.h"

namespace orvane {

// The half of a unit sphere with z >= 0, drawn with the scene state above it.
class DomeOp final : public Operator {
public:
  DomeOp();

  class DomeFunction final : public Function {
  public:
    DomeFunction();
    void Evaluate(float time, const PortList& sources, Player& player) override;

  private:
    BuiltInMesh mesh_;
  };
};

}  // namespace orvane
