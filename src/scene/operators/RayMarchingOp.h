#pragma once
#include <string>

#include "graph/Operator.h"

namespace orvane {

class ShaderPass;

// Draws a document-named shader over the output rectangle into the G-buffer: the shader finds
// the surface itself (typically by marching a distance field) and writes the G-buffer targets
// and depth as mesh geometry does, so that lights, occlusion and post effects treat it alike.
class RayMarchingOp final : public Operator {
public:
  RayMarchingOp();

  class RayMarchFunction final : public Function {
  public:
    ~RayMarchFunction() override;
    void Evaluate(float time, const PortList& sources, Player& player) override;

    ShaderPass* pass = nullptr;  // owned; none until a load succeeds

  private:
    void Load(const std::string& path, Player& player);
    void SetMarchConstants(float time, const PortList& sources, Player& player);
  };
};

}  // namespace orvane
