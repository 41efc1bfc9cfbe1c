#pragma once
#include "graph/Operator.h"
#include "image/OwnedPass.h"

namespace orvane {

// Cuts an image with one channel of another, above a threshold, into the current image.
class MaskImageOp final : public Operator {
public:
  MaskImageOp();

  class MaskFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;

  private:
    OwnedPass pass_{"mask", {.vertex = "VS", .pixel = "PS"}};
  };
};

}  // namespace orvane
