#include "app/Player.h"

namespace orvane {

Player::~Player() {
  // Operators go first: their functions may still refer to the player's resources.
  operators.clear();
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
