#include "graph/Operator.h"

namespace orvane {

Operator::~Operator() {
  for (Port& port : inputs) port.function.reset();
  for (Port& port : outputs) port.function.reset();
}

Port* Operator::FindPort(std::string_view name) {
  for (Port& port : inputs) {
    if (port.name == name) return &port;
  }
  return FindOutput(name);
}

Port* Operator::FindOutput(std::string_view name) {
  for (Port& port : outputs) {
    if (port.name == name) return &port;
  }
  return nullptr;
}

Port& Operator::AddInput(std::string name, int32_t portType, std::unique_ptr<IValue> value, int32_t hints) {
  Port& port = inputs.emplace_back();
  port.type = portType;
  port.function = std::make_unique<ValueFunction>(std::move(value));
  port.name = std::move(name);
  port.hints = hints;
  return port;
}

Port& Operator::AddFloatInput(std::string name, float initial, int32_t hints) {
  return AddInput(std::move(name), kPortFloat, std::make_unique<Float>(initial), hints);
}

Port& Operator::AddTextInput(std::string name, std::string initial, int32_t hints) {
  return AddInput(std::move(name), kPortText, std::make_unique<Text>(std::move(initial)), hints);
}

Port& Operator::AddInertInput(std::string name, int32_t portType, int32_t hints) {
  std::unique_ptr<IValue> value;
  switch (portType) {
    case kPortScene: value = std::make_unique<Scene>(); break;
    case kPortImage: value = std::make_unique<Image>(); break;
    default: value = std::make_unique<Generic>(); break;
  }
  return AddInput(std::move(name), portType, std::move(value), hints);
}

void Operator::AddOptions(std::initializer_list<const char*> names) {
  for (const char* option : names) inputs.back().options.emplace_back(option);
}

Port& Operator::AddOutput(std::string name, int32_t portType, std::unique_ptr<Function> function) {
  Port& port = outputs.emplace_back();
  port.type = portType;
  port.function = std::move(function);
  port.name = std::move(name);
  for (Port& input : inputs) port.AppendSource(&input);
  return port;
}

}  // namespace orvane
