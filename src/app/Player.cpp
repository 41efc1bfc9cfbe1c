#include "app/Player.h"

#include "render/GpuResource.h"
#include "scene/GBuffer.h"
#include "scene/SceneRenderer.h"

namespace orvane {

Player::Player() { ResetMaterial(); }

Player::~Player() {
  // Operators go first: their functions may still refer to the player's resources.
  operators.clear();
  for (GpuResource*& target : images) {
    if (target) DestroyResource(target);
    target = nullptr;
  }
  ReleaseGeometry(quad);
}

GpuResource* Player::TakeSwapTarget() {
  GpuResource* target = images[imageIndex];
  imageIndex = (imageIndex + 1) % 2;
  return target;
}

void Player::RunLoadTimePass() {
  for (const auto& op : operators) {
    if (!op->outputs.empty()) op->outputs.front().Evaluate(kLoadTimePassTime, *this);
  }
}

void Player::EvaluateFinalOutput(float time) {
  if (!operators.empty() && !operators.front()->outputs.empty()) {
    operators.front()->outputs.front().Evaluate(time, *this);
  }
}

}  // namespace orvane
