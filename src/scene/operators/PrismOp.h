#pragma once
#include "graph/Operator.h"
#include "scene/BuiltInMesh.h"

namespace orvane {

// A three-sided prism of radius 1 and height 1 about the Y axis, drawn with the scene state above it.
class PrismOp final : public Operator {
public:
  PrismOp();

  class PrismFunction final : public Function {
  public:
    PrismFunction();
    void Evaluate(float time, const PortList& sources, Player& player) override;

  private:
    BuiltInMesh mesh_;
  };
};

}  // namespace orvane
