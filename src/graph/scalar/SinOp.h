#pragma once
#include "graph/Operator.h"

namespace orvane {

// A sine wave: sin(Frequency * Value + Phase) * Amplitude + Offset, in radians.
class SinOp final : public Operator {
public:
  SinOp();

  class SinFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
