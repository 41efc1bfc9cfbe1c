#pragma once
// The root of every graph: operator 0, whose output the player evaluates each frame. Its output
// passes on whatever its input's first source leaves in the registers (normally the image).

#include "graph/Operator.h"

namespace orvane {

class FinalOutput final : public Operator {
public:
  static constexpr int32_t kFlags = 0xe;
  FinalOutput();
};

}  // namespace orvane
