#pragma once
#include "graph/Operator.h"

namespace orvane {

// A directional light: appends itself to the frame's directional lights, then draws its scene.
// The direction is the way the light travels, in world space, whatever transform is above it.
class DirLightOp final : public Operator {
public:
  DirLightOp();

  class DirLightFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
