#pragma once
#include "graph/Operator.h"
#include "scene/BuiltInMesh.h"

namespace orvane {

// A unit square in the XZ plane, facing +Y, drawn with the scene state above it.
class QuadOp final : public Operator {
public:
  QuadOp();

  class QuadFunction final : public Function {
  public:
    QuadFunction();
    void Evaluate(float time, const PortList& sources, Player& player) override;

  private:
    BuiltInMesh mesh_;
  };
};

}  // namespace orvane
