#pragma once
#include "graph/Operator.h"
#include "scene/BuiltInMesh.h"

namespace orvane {

// A cylinder of radius 1 and height 1 about the Y axis, with caps, drawn with the scene state above it.
class CylinderOp final : public Operator {
public:
  CylinderOp();

  class CylinderFunction final : public Function {
  public:
    CylinderFunction();
    void Evaluate(float time, const PortList& sources, Player& player) override;

  private:
    BuiltInMesh mesh_;
  };
};

}  // namespace orvane
