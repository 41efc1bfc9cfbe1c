#pragma once
// The function of an animated input: its value follows a keyframe curve over time and connections
// are ignored.

#include <memory>

#include "graph/Curve.h"
#include "graph/Function.h"

namespace orvane {

struct Port;

class CurveFunction final : public ValueFunction {
public:
  explicit CurveFunction(std::unique_ptr<IValue> value) : ValueFunction(std::move(value)) {}

  void Evaluate(float time, const PortList& sources, Player& player) override;
  void Assign(Player& player, float time) override;
  void Serialize(std::string_view name, const DataAccessor& node) override;

  Curve curve;
};

// Replaces the input's ValueFunction by a CurveFunction that takes over its value. Does nothing to
// an input that has sources or a curve already, or holds no value. True when converted.
bool ConvertToAnimated(Port& port);

}  // namespace orvane
