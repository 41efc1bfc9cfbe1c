#include "scene/operators/SceneEvalOp.h"

#include "graph/OperatorRegistry.h"
#include "scene/SceneInputs.h"

namespace orvane {
namespace {
const OperatorRegistration<SceneEvalOp> kRegistration{"Eval", "Draws its scene only between a start and an end time."};
enum Input : size_t { kSceneIn, kStart, kEnd };
}  // namespace

SceneEvalOp::SceneEvalOp() : Operator(kCategoryScene) {
  AddInertInput("SCeneIn", kPortScene);
  AddFloatInput("Start", 0.0f);
  AddFloatInput("End", 1000.0f);
  AddOutput("SceneOut", kPortScene, std::make_unique<SceneEvalFunction>());
}

void SceneEvalOp::SceneEvalFunction::Evaluate(float time, const PortList& sources, Player& player) {
  const float start = EvaluateFloat(sources, kStart, time, player);
  const float end = EvaluateFloat(sources, kEnd, time, player);
  if (start <= time && time <= end) EvaluateScene(sources, kSceneIn, time, player);
}

}  // namespace orvane
