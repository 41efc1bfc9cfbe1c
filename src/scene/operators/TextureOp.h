#pragma once
#include <string>

#include "graph/Operator.h"

namespace orvane {

struct GpuResource;

// Loads an image file (".png", ".jpg", ".dds") as a texture and hands it on in the image
// register, typically into a material's texture input.
class TextureOp final : public Operator {
public:
  TextureOp();

  class TextureFunction final : public Function {
  public:
    void Evaluate(float time, const PortList& sources, Player& player) override;

    GpuResource* texture = nullptr;  // the loader's cache owns it
    std::string lastPath;            // tried already, loaded or not
  };
};

}  // namespace orvane
