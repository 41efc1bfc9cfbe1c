#include "scene/operators/PointLightOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "scene/LightLists.h"

namespace orvane {
namespace {
const OperatorRegistration<PointLightOp> kRegistration{
    "PointLight", "Adds a point light with a radius and brightness for the light pass, then draws its scene."};
enum Input : size_t { kSceneIn, kPositionX, kPositionY, kPositionZ, kColorR, kColorG, kColorB, kRadius, kBrightness };
}  // namespace

PointLightOp::PointLightOp() : Operator(kCategoryScene) {
  AddInertInput("SceneIn", kPortScene);
  AddFloatInput("Position.X", 0.0f);
  AddFloatInput("Position.Y", 0.0f);
  AddFloatInput("Position.Z", 0.0f);
  AddFloatInput("Color.R", 1.0f);
  AddFloatInput("Color.G", 1.0f);
  AddFloatInput("Color.B", 1.0f);
  AddFloatInput("Radius", 5.0f);
  AddFloatInput("Brightness", 1.0f);
  AddOutput("OutScene", kPortScene, std::make_unique<PointLightFunction>());
}

void PointLightOp::PointLightFunction::Evaluate(float time, const PortList& sources, Player& player) {
  Vector4 local;
  local.x = EvaluateFloat(sources, kPositionX, time, player);
  local.y = EvaluateFloat(sources, kPositionY, time, player);
  local.z = EvaluateFloat(sources, kPositionZ, time, player);
  local.w = 1.0f;
  PointLightRecord light;
  light.color.x = EvaluateFloat(sources, kColorR, time, player);
  light.color.y = EvaluateFloat(sources, kColorG, time, player);
  light.color.z = EvaluateFloat(sources, kColorB, time, player);
  light.radius = EvaluateFloat(sources, kRadius, time, player);
  light.brightness = EvaluateFloat(sources, kBrightness, time, player);
  light.position = Transform(local, player.world);
  pointLightList.push_back(light);
  sources[kSceneIn]->Evaluate(time, player);
}

}  // namespace orvane
