#pragma once
#include "graph/Operator.h"

namespace orvane {

struct GpuResource;

// Renders its scene into a render target of its own, cleared first unless "Clear" is off. Size 0
// makes the target follow the screen.
class ImageOp final : public Operator {
public:
  ImageOp();

  class ImageFunction final : public Function {
  public:
    ImageFunction() = default;
    ~ImageFunction() override;
    ImageFunction(const ImageFunction&) = delete;
    ImageFunction& operator=(const ImageFunction&) = delete;

    void Evaluate(float time, const PortList& sources, Player& player) override;

    GpuResource* target = nullptr;  // owned
    float lastWidth = 0.0f;         // the "Size.X" and "Size.Y" the target was made for
    float lastHeight = 0.0f;

  private:
    void FitTarget(float width, float height);
    bool fitted_ = false;  // a target was made (or could not be) for lastWidth x lastHeight
  };
};

}  // namespace orvane
