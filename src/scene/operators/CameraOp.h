#pragma once
#include "graph/Operator.h"

namespace orvane {

// Sets the view and the perspective, then draws its scene input. The camera stays in force for
// everything drawn after it, in this frame and the next ones, until another camera runs.
// Inputs that give no usable view keep the previous camera frame; inputs that give no usable
// perspective keep the previous projection and planes.
class CameraOp final : public Operator {
public:
  CameraOp();

  class CamFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
