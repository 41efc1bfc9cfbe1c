#pragma once
#include "graph/Operator.h"
#include "image/OwnedPass.h"
#include "render/RenderStateDesc.h"

namespace orvane {

// Draws a texture over the current image as a tinted rectangle, placed in screen space.
class SpriteOp final : public Operator {
public:
  SpriteOp();

  // No depth, no culling, source-alpha blending over what the image holds.
  static RenderStateDesc SpriteStateDesc();

  class SpriteFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;

  private:
    RenderStateDesc state_ = SpriteStateDesc();
    OwnedPass pass_{"sprite", {.vertex = "VS", .pixel = "PS"}, &state_};
  };
};

}  // namespace orvane
