#pragma once
#include "graph/Operator.h"
#include "scene/BuiltInMesh.h"

namespace orvane {

// The unit box, drawn with the scene state above it. Its size inputs are evaluated every frame
// (their sources run) but the box stays the unit box: transforms size it.
class CubeOp final : public Operator {
public:
  CubeOp();

  class CubeFunction final : public Function {
  public:
    CubeFunction();
    void Evaluate(float time, const PortList& sources, Player& player) override;

  private:
    BuiltInMesh mesh_;
  };
};

}  // namespace orvane
