#pragma once
#include <memory>

#include "graph/Operator.h"
#include "scene/ParticleSimulation.h"

namespace orvane {

class ParticleRenderer;

// Up to 4,999 point particles simulated on the CPU frame by frame and drawn into the G-buffer as
// glowing sprites, in the space of the current world matrix.
class ParticleSystemOp final : public Operator {
public:
  ParticleSystemOp();

  class ParticleFunction final : public Function {
  public:
    ParticleFunction();
    ~ParticleFunction() override;
    void Evaluate(float time, const PortList& sources, Player& player) override;

    ParticleSimulation simulation;
    std::unique_ptr<ParticleRenderer> renderer;  // made with the first frame that has a device

  private:
    ParticleSettings ReadSettings(float time, const PortList& sources, Player& player);
  };
};

}  // namespace orvane
