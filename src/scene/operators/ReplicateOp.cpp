#include "scene/operators/ReplicateOp.h"

#include <cmath>
#include <random>

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "scene/InputNumbers.h"
#include "scene/ReplicaFrame.h"
#include "scene/SceneInputs.h"
#include "scene/ScenePlacement.h"
#include "scene/SceneStateScope.h"

namespace orvane {
namespace {
const OperatorRegistration<ReplicateOp> kRegistration{
    "Replicate", "Scatters seeded copies of its scene on a ring or in a cube, facing out or all alike."};
enum Input : size_t {
  kInScene,
  kCount,
  kRadius,
  kMode,
  kSeed,
  kOffsetRandomX,
  kSizeRandom = kOffsetRandomX + 3,
  kOrientation,
  kOffsetX,
  kWrap = kOffsetX + 3,
  kRotateRandomX,
};
enum Mode : int32_t { kRing = 0, kPoint = 1 };
enum Orientation : int32_t { kSurface = 0, kFixed = 1 };

struct Layout {
  int32_t count;
  float radius;
  int32_t mode;
  int32_t orientation;
  float step;  // radians between ring neighbours
};

// The copy's base point; "Point" draws three numbers, x from the third and z from the first.
Vector4 BasePoint(const Layout& layout, int32_t copy, std::mt19937& random) {
  const float r = layout.radius;
  if (layout.mode == kRing) {
    const float angle = static_cast<float>(copy) * layout.step;
    return {r * std::cos(angle), 0.0f, r * std::sin(angle), 0.0f};
  }
  if (layout.mode == kPoint) {
    const float u1 = ReplicaUniform(random);
    const float u2 = ReplicaUniform(random);
    const float u3 = ReplicaUniform(random);
    return {r * (2.0f * u3 - 1.0f), r * (2.0f * u2 - 1.0f), r * (2.0f * u1 - 1.0f), 0.0f};
  }
  return {};
}

}  // namespace

ReplicateOp::ReplicateOp() : Operator(kCategoryScene) {
  AddInertInput("InScene", kPortScene);
  AddFloatInput("Count", 1.0f);
  AddFloatInput("Radius", 1.0f);
  AddFloatInput("Mode", 0.0f, kHintChoice);
  AddOptions({"Ring", "Point"});
  AddFloatInput("Seed", 0.0f);
  AddFloatInput("OffsetRandom.X", 0.0f);
  AddFloatInput("OffsetRandom.Y", 0.0f);
  AddFloatInput("OffsetRandom.Z", 0.0f);
  AddFloatInput("SizeRandom", 0.0f);
  AddFloatInput("Orientation", 0.0f, kHintChoice);
  AddOptions({"Surface", "Fixed"});
  AddFloatInput("Offset.X", 0.0f);
  AddFloatInput("Offset.Y", 0.0f);
  AddFloatInput("Offset.Z", 0.0f);
  AddFloatInput("Wrap", 0.0f);
  AddFloatInput("RotateRandom.X", 0.0f);
  AddFloatInput("RotateRandom.Y", 0.0f);
  AddFloatInput("RotateRandom.Z", 0.0f);
  AddOutput("OutScene", kPortScene, std::make_unique<ReplicateFunction>());
}

// The inputs are read in the order the layout needs them, and the numbers are drawn per copy in
// a fixed order ("Point" u1 u2 u3; ua ub uc; ud only when SizeRandom >= 0; ue uf ug), so that a
// seed names one layout.
void ReplicateOp::ReplicateFunction::Evaluate(float time, const PortList& sources, Player& player) {
  Layout layout{};
  layout.count = TruncatedCount(EvaluateFloat(sources, kCount, time, player), kMaxSceneCopies);
  if (layout.count < 1) return;
  layout.radius = EvaluateFloat(sources, kRadius, time, player);
  layout.mode = ChoiceOf(EvaluateFloat(sources, kMode, time, player));
  const int32_t seed = TruncatedInt(EvaluateFloat(sources, kSeed, time, player));
  layout.orientation = ChoiceOf(EvaluateFloat(sources, kOrientation, time, player));
  layout.step = 6.2831855f / static_cast<float>(layout.count);
  const WorldScope restoreWorld(player);
  const Matrix parent = player.world;
  std::mt19937 random(static_cast<std::mt19937::result_type>(static_cast<uint32_t>(seed)));

  for (int32_t copy = 0; copy < layout.count; ++copy) {
    const Vector4 base = BasePoint(layout, copy, random);
    const Vector4 facing = layout.orientation == kFixed ? Vector4{0.0f, 0.0f, 1.0f, 0.0f} : base;
    const std::optional<Matrix> axes = ReplicaAxes(facing);

    const Vector4 jitter = EvaluateFloat3(sources, kOffsetRandomX, time, player);
    const float ua = ReplicaUniform(random);
    const float ub = ReplicaUniform(random);
    const float uc = ReplicaUniform(random);
    const float sizeRandom = EvaluateFloat(sources, kSizeRandom, time, player);
    const float size = 1.0f + (sizeRandom >= 0.0f ? ReplicaUniform(random) * sizeRandom : 0.0f);
    const Vector4 offset = EvaluateFloat3(sources, kOffsetX, time, player);
    Vector4 position{base.x + (uc - 0.5f) * jitter.x + offset.x, base.y + (ub - 0.5f) * jitter.y + offset.y,
                     base.z + (ua - 0.5f) * jitter.z + offset.z, 1.0f};
    const float wrap = EvaluateFloat(sources, kWrap, time, player);
    if (wrap > 0.5f) position.x = std::fmod(position.x, wrap);
    const Vector4 turn = EvaluateFloat3(sources, kRotateRandomX, time, player);
    const float ue = ReplicaUniform(random);
    const float uf = ReplicaUniform(random);
    const float ug = ReplicaUniform(random);

    // A copy without a facing (at the centre, facing outwards) has no frame: it is left out.
    if (!axes) continue;
    const Vector4 degrees{turn.x * ug, turn.y * uf, turn.z * ue, 0.0f};
    const Matrix world = Multiply(ReplicaLocal(*axes, size, position, degrees), parent);
    if (!IsFinite(world)) continue;
    player.world = world;
    EvaluateScene(sources, kInScene, time, player);
  }
}

}  // namespace orvane
