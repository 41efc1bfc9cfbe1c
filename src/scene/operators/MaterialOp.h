#pragma once
#include "graph/Operator.h"

namespace orvane {

// The surface its scene input is drawn with: base, specular and emissive colours, metalness,
// roughness and up to four textures. Every field is set (nothing is inherited from a material
// above) and restored afterwards.
class MaterialOp final : public Operator {
public:
  MaterialOp();

  class MaterialFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;
  };
};

}  // namespace orvane
