#pragma once
// The demo player, and at the same time the evaluation context handed to every function: results
// travel through its registers, and scene state lives in its fields.

#include <cstdint>
#include <string>

#include "graph/Operator.h"

namespace orvane {

struct GpuResource;

class Player {
public:
  // Time of the pass that evaluates every operator once before playback, so that every function
  // builds its resources before the first frame.
  static constexpr float kLoadTimePassTime = -10.0f;

  Player() = default;
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Evaluates the first output of every operator, in list order (the FinalOutput first).
  void RunLoadTimePass();
  // Evaluates the FinalOutput's output at `time`.
  void EvaluateFinalOutput(float time);

  // Registers.
  GpuResource* image = nullptr;  // current image; not owned
  float scalar = 0.0f;
  std::string text;

  // Which of the two swap targets is taken next.
  int32_t imageIndex = 0;
  // The graph; [0] is always the FinalOutput once loaded.
  OperatorList operators;
};

}  // namespace orvane
