#include "graph/OperatorRegistry.h"

namespace orvane {

OperatorRegistry::Map& OperatorRegistry::MutableEntries() {
  static Map entries;  // made on first use, so registrations from any initialiser find it
  return entries;
}

const OperatorRegistry::Map& OperatorRegistry::Entries() { return MutableEntries(); }

bool OperatorRegistry::Register(std::string name, const OperatorFactory& factory) {
  return MutableEntries().emplace(std::move(name), &factory).second;
}

const OperatorFactory* OperatorRegistry::Find(std::string_view name) {
  const Map& entries = Entries();
  const auto found = entries.find(name);
  return found != entries.end() ? found->second : nullptr;
}

Operator* CreateOperator(std::string_view type, OperatorList& operators) {
  const OperatorFactory* factory = OperatorRegistry::Find(type);
  if (factory == nullptr) return nullptr;
  std::unique_ptr<Operator> op = factory->Spawn();
  op->type = std::string(type);
  op->index = static_cast<int32_t>(operators.size());
  operators.push_back(std::move(op));
  return operators.back().get();
}

}  // namespace orvane
