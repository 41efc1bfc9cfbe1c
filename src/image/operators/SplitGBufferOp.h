#pragma once
#include "graph/Operator.h"

namespace orvane {

// The four targets of the G-buffer as images, after the scene of its input has drawn them.
class SplitGBufferOp final : public Operator {
public:
  SplitGBufferOp();

  class SplitFunction final : public Function {
  public:
    explicit SplitFunction(int32_t target) { outputIndex = target; }
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
