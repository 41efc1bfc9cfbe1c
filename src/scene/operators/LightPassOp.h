#pragma once
#include "graph/Operator.h"
#include "scene/LightCoverage.h"

namespace orvane {

class ShaderPass;

// The deferred lighting of a scene: draws the scene into the G-buffer (its lights fill the
// frame's light lists), lights it into a swap target with every directional light as a
// full-screen triangle and every point light as a sphere, and copies the lit colour into the
// current image wherever the scene drew.
class LightPassOp final : public Operator {
public:
  LightPassOp();

  class LightPassFunction final : public Function {
  public:
    LightPassFunction() = default;
    ~LightPassFunction() override;
    LightPassFunction(const LightPassFunction&) = delete;
    LightPassFunction& operator=(const LightPassFunction&) = delete;

    void Evaluate(float time, const PortList& sources, Player& player) override;

    // Loaded from the "PointLight" and "DirLight" paths on the first evaluation; null when a
    // path does not load (that kind of light is then not drawn).
    ShaderPass* pointPass = nullptr;
    ShaderPass* dirPass = nullptr;
    LightCoverage coverage;  // where the lights may shade

  private:
    void LoadPasses(float time, const PortList& sources, Player& player);
  };
};

}  // namespace orvane
