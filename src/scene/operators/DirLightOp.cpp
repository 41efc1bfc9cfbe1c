#include "scene/operators/DirLightOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "scene/LightLists.h"

namespace orvane {
namespace {
const OperatorRegistration<DirLightOp> kRegistration{
    "DirLight", "Adds a directional light for the light pass above it, then draws its scene."};
enum Input : size_t { kInScene, kDirectionX, kDirectionY, kDirectionZ, kColorR, kColorG, kColorB };
}  // namespace

DirLightOp::DirLightOp() : Operator(kCategoryScene) {
  AddInertInput("InScene", kPortScene);
  AddFloatInput("Direction.X", 1.0f);
  AddFloatInput("Direction.Y", 1.0f);
  AddFloatInput("Direction.Z", 1.0f);
  AddFloatInput("Color.R", 1.0f);
  AddFloatInput("Color.G", 1.0f);
  AddFloatInput("Color.B", 1.0f);
  AddOutput("OutScene", kPortScene, std::make_unique<DirLightFunction>());
}

void DirLightOp::DirLightFunction::Evaluate(float time, const PortList& sources, Player& player) {
  DirLightRecord light;
  // The second component comes from "Direction.Z" and the third from "Direction.Y": documents
  // are written with this swizzle.
  light.direction.x = EvaluateFloat(sources, kDirectionX, time, player);
  light.direction.y = EvaluateFloat(sources, kDirectionZ, time, player);
  light.direction.z = EvaluateFloat(sources, kDirectionY, time, player);
  light.color.x = EvaluateFloat(sources, kColorR, time, player);
  light.color.y = EvaluateFloat(sources, kColorG, time, player);
  light.color.z = EvaluateFloat(sources, kColorB, time, player);
  dirLightList.push_back(light);
  sources[kInScene]->Evaluate(time, player);
}

}  // namespace orvane
