#pragma once
#include "graph/Operator.h"

namespace orvane {

// Maps the lit, linear image to display values with an exposure.
class ToneMappingOp final : public Operator {
public:
  ToneMappingOp();

  class ToneMappingFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
