#include "scene/operators/RepeatOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "scene/InputNumbers.h"
#include "scene/SceneInputs.h"
#include "scene/ScenePlacement.h"
#include "scene/SceneStateScope.h"

namespace orvane {
namespace {
const OperatorRegistration<RepeatOp> kRegistration{
    "Repeat", "Draws its scene as a chain of copies, each one step further and one time offset earlier."};
enum Input : size_t {
  kInScene,
  kTimeOffset,
  kCount,
  kPositionX,
  kRotationX = kPositionX + 3,
  kScaleX = kRotationX + 3,
};

Vector4 Times(float k, const Vector4& v) { return {k * v.x, k * v.y, k * v.z, 0.0f}; }

// Scale grows linearly with the step: 1 + k * (S - 1), not S to the power k.
Vector4 ScaleOfCopy(float k, const Vector4& s) {
  return {1.0f + k * (s.x - 1.0f), 1.0f + k * (s.y - 1.0f), 1.0f + k * (s.z - 1.0f), 0.0f};
}
}  // namespace

RepeatOp::RepeatOp() : Operator(kCategoryScene) {
  AddInertInput("InScene", kPortScene);
  AddFloatInput("TimeOffset", 0.0f);
  AddFloatInput("Count", 1.0f);
  AddFloatInput("Position.X", 0.0f);
  AddFloatInput("Position.Y", 0.0f);
  AddFloatInput("Position.Z", 0.0f);
  AddFloatInput("Rotation.X", 0.0f);
  AddFloatInput("Rotation.Y", 0.0f);
  AddFloatInput("Rotation.Z", 0.0f);
  AddFloatInput("Scale.X", 1.0f);
  AddFloatInput("Scale.Y", 1.0f);
  AddFloatInput("Scale.Z", 1.0f);
  AddOutput("OutScene", kPortScene, std::make_unique<RepeatFunction>());
}

void RepeatOp::RepeatFunction::Evaluate(float time, const PortList& sources, Player& player) {
  const float timeOffset = EvaluateFloat(sources, kTimeOffset, time, player);
  const int32_t count = TruncatedCount(EvaluateFloat(sources, kCount, time, player), kMaxSceneCopies);
  const Vector4 position = EvaluateFloat3(sources, kPositionX, time, player);
  const Vector4 rotation = EvaluateFloat3(sources, kRotationX, time, player);
  const Vector4 scale = EvaluateFloat3(sources, kScaleX, time, player);
  const WorldScope restoreWorld(player);
  const Matrix parent = player.world;
  for (int32_t copy = 1; copy <= count; ++copy) {
    const auto k = static_cast<float>(copy);
    player.world = PlaceUnder(parent, Times(k, position), Times(k, rotation), ScaleOfCopy(k, scale));
    EvaluateScene(sources, kInScene, time - k * timeOffset, player);
  }
}

}  // namespace orvane
