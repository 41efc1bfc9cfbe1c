#pragma once
#include "graph/Operator.h"
#include "image/OwnedPass.h"

namespace orvane {

// Mixes two images into the current image with a colour mode and an alpha mode.
class BlendOp final : public Operator {
public:
  BlendOp();

  class BlendFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;

  private:
    OwnedPass pass_{"blend", {.vertex = "VS", .pixel = "PS"}};
  };
};

}  // namespace orvane
