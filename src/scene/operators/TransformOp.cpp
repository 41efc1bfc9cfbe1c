#include "scene/operators/TransformOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "scene/SceneInputs.h"
#include "scene/ScenePlacement.h"
#include "scene/SceneStateScope.h"

namespace orvane {
namespace {
const OperatorRegistration<TransformOp> kRegistration{
    "Transform", "Places its scene: scaled, rotated about X, Y, Z (degrees), then moved."};
enum Input : size_t { kInScene, kPositionX, kRotationX = kPositionX + 3, kScaleX = kRotationX + 3 };
}  // namespace

TransformOp::TransformOp() : Operator(kCategoryScene) {
  AddInertInput("InScene", kPortScene);
  AddFloatInput("Position.X", 0.0f);
  AddFloatInput("Position.Y", 0.0f);
  AddFloatInput("Position.Z", 0.0f);
  AddFloatInput("Rotation.X", 0.0f);
  AddFloatInput("Rotation.Y", 0.0f);
  AddFloatInput("Rotation.Z", 0.0f);
  AddFloatInput("Scale.X", 1.0f);
  AddFloatInput("Scale.Y", 1.0f);
  AddFloatInput("Scale.Z", 1.0f);
  AddOutput("OutScene", kPortScene, std::make_unique<TransformFunction>());
}

void TransformOp::TransformFunction::Evaluate(float time, const PortList& sources, Player& player) {
  const Vector4 position = EvaluateFloat3(sources, kPositionX, time, player);
  const Vector4 rotation = EvaluateFloat3(sources, kRotationX, time, player);
  const Vector4 scale = EvaluateFloat3(sources, kScaleX, time, player);
  const WorldScope restoreWorld(player);
  player.world = PlaceUnder(player.world, position, rotation, scale);
  EvaluateScene(sources, kInScene, time, player);
}

}  // namespace orvane
