#pragma once
#include "graph/Operator.h"

namespace orvane {

// Darkens creases and contact areas of the lit image from the G-buffer's normals and depth.
class SSAOOp final : public Operator {
public:
  SSAOOp();

  class SSAOFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
