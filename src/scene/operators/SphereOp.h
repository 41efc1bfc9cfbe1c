#pragma once
#include "graph/Operator.h"
#include "scene/BuiltInMesh.h"

namespace orvane {

// A sphere of radius 1 (32 rings and columns), drawn with the scene state above it.
class SphereOp final : public Operator {
public:
  SphereOp();

  class SphereFunction final : public Function {
  public:
    SphereFunction();
    void Evaluate(float time, const PortList& sources, Player& player) override;

  private:
    BuiltInMesh mesh_;
  };
};

}  // namespace orvane
