#include "scene/operators/CameraOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "scene/SceneInputs.h"
#include "scene/ScenePlacement.h"

namespace orvane {
namespace {
const OperatorRegistration<CameraOp> kRegistration{
    "Camera", "Views its scene from a position along a direction, with a perspective of FOV degrees."};
enum Input : size_t { kInScene, kPositionX, kDirectionX = kPositionX + 3, kFov = kDirectionX + 3, kZNear, kZFar };

float AspectOf(const TargetRect& rect) {
  return static_cast<float>(rect.right - rect.left) / static_cast<float>(rect.bottom - rect.top);
}
}  // namespace

CameraOp::CameraOp() : Operator(kCategoryScene) {
  AddInertInput("InScene", kPortScene);
  AddFloatInput("Position.X", 4.0f);
  AddFloatInput("Position.Y", 4.0f);
  AddFloatInput("Position.Z", 4.0f);
  AddFloatInput("Direction.X", -1.0f);
  AddFloatInput("Direction.Y", -1.0f);
  AddFloatInput("Direction.Z", -1.0f);
  AddFloatInput("FOV", 45.0f);
  AddFloatInput("zNear", 0.1f);
  AddFloatInput("zFar", 2048.0f);
  AddOutput("OutScene", kPortScene, std::make_unique<CamFunction>());
}

void CameraOp::CamFunction::Evaluate(float time, const PortList& sources, Player& player) {
  const Vector4 eye = EvaluateFloat3(sources, kPositionX, time, player);
  const Vector4 direction = EvaluateFloat3(sources, kDirectionX, time, player);
  const float fov = EvaluateFloat(sources, kFov, time, player);
  const float zNear = EvaluateFloat(sources, kZNear, time, player);
  const float zFar = EvaluateFloat(sources, kZFar, time, player);

  if (const auto frame = LookAlongFrame(eye, direction)) player.camera = *frame;
  if (const auto projection = PerspectiveProjection(fov, AspectOf(player.rect), zNear, zFar)) {
    player.projection = *projection;
    player.zNear = zNear;
    player.zFar = zFar;
    player.fov = fov;
  }
  EvaluateScene(sources, kInScene, time, player);
}

}  // namespace orvane
