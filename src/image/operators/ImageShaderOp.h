#pragma once
#include "graph/Operator.h"

namespace orvane {

class ShaderPass;

// Fills the current image with a pixel shader named by a file, driven by time, resolution and
// nine parameters; then evaluates its input over the result.
class ImageShaderOp final : public Operator {
public:
  ImageShaderOp();

  class ShaderFunction final : public Function {
  public:
    ShaderFunction() = default;
    ~ShaderFunction() override;
    ShaderFunction(const ShaderFunction&) = delete;
    ShaderFunction& operator=(const ShaderFunction&) = delete;

    void Evaluate(float time, const PortList& sources, Player& player) override;

    ShaderPass* pass = nullptr;  // owned; none until a load succeeds
  };
};

}  // namespace orvane
