#pragma once
#include "graph/Operator.h"

namespace orvane {

// Red, green and blue of a colour given as hue (1.0 a full turn), saturation and value.
class HSV2RGBOp final : public Operator {
public:
  HSV2RGBOp();

  // One per output; `outputIndex` picks the channel.
  class HSV2RGBFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
