#pragma once
// A named input or output of an operator.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graph/Function.h"

namespace orvane {

class CurveFunction;

// Editor hints of an input; evaluation never reads them.
enum PortHint : int32_t {
  kHintTexturePath = 0x01,
  kHintShaderPath = 0x02,
  kHintMeshPath = 0x04,
  kHintSeveralSources = 0x08,
  kHintToggle = 0x10,
  kHintChoice = 0x20,
};

struct Port {
  int32_t type = kPortFloat;
  // Inputs: a ValueFunction with the input's value (a CurveFunction once animated).
  // Outputs: the operator's own function.
  std::unique_ptr<Function> function;
  CurveFunction* curve = nullptr;  // the animated input's function, or null
  std::string name;
  int32_t hints = 0;
  // Inputs: the ports connected to it; only the first is evaluated.
  // Outputs: every input of the operator, in declaration order.
  PortList sources;
  std::vector<std::string> options;  // names of the choices of a choice input, in order

  // Appends `source` unless it is listed already.
  void AppendSource(Port* source);
  // Evaluates the port into the player's registers.
  void Evaluate(float time, Player& player) const;
};

}  // namespace orvane
