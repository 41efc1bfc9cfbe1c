#include "graph/CurveFunction.h"

#include "app/Player.h"
#include "document/DataAccessor.h"
#include "graph/Port.h"

namespace orvane {

void CurveFunction::Evaluate(float time, const PortList&, Player& player) {
  if (!value_) return;
  if (curve.keys.empty()) {
    value_->WriteTo(player);
    return;
  }
  player.scalar = curve.Evaluate(time);
  value_->ReadFrom(player);
}

void CurveFunction::Assign(Player& player, float time) {
  if (value_) value_->ReadFrom(player);
  curve.SetKey(time, player.scalar);
}

void CurveFunction::Serialize(std::string_view name, const DataAccessor& node) {
  ValueFunction::Serialize(name, node);
  curve.Read(node.Child("track"));
}

bool ConvertToAnimated(Port& port) {
  if (!port.sources.empty() || port.curve != nullptr || !port.function) return false;
  if (port.function->GetValue() == nullptr) return false;
  auto* holder = dynamic_cast<ValueFunction*>(port.function.get());
  if (holder == nullptr) return false;
  auto animated = std::make_unique<CurveFunction>(holder->TakeValue());
  port.curve = animated.get();
  port.function = std::move(animated);
  return true;
}

}  // namespace orvane
