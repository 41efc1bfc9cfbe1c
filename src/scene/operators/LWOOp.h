#pragma once
#include <string>

#include "graph/Operator.h"
#include "render/Geometry.h"

namespace orvane {

// Draws the first layer of a LightWave object file as a mesh, with the scene state above it.
// Objects are read once per path and shared by every operator that names it.
class LWOOp final : public Operator {
public:
  LWOOp();

  class LWOFunction final : public Function {
  public:
    ~LWOFunction() override;
    void Evaluate(float time, const PortList& sources, Player& player) override;

    Geometry geometry;  // owned; empty until a file loads

  private:
    void Build(const std::string& path);
  };
};

}  // namespace orvane
