#include "graph/Function.h"

#include "app/Player.h"
#include "graph/Port.h"

namespace orvane {

void Function::Assign(Player&, float) {}
IValue* Function::GetValue() { return nullptr; }
void Function::Serialize(std::string_view, const DataAccessor&) {}

void ValueFunction::Evaluate(float time, const PortList& sources, Player& player) {
  if (!value_) return;
  if (!sources.empty()) {
    sources.front()->Evaluate(time, player);
    value_->ReadFrom(player);
  }
  value_->WriteTo(player);
}

void ValueFunction::Assign(Player& player, float) {
  if (value_) value_->ReadFrom(player);
}

void ValueFunction::Serialize(std::string_view name, const DataAccessor& node) {
  if (value_) value_->Serialize(name, node);
}

float EvaluateFloat(const PortList& sources, size_t index, float time, Player& player) {
  if (index < sources.size()) sources[index]->Evaluate(time, player);
  return player.scalar;
}

}  // namespace orvane
