#pragma once
// Helpers of the light tests: operators spawned by type name, inputs set and connected by port
// name, and a probe operator whose output runs a callback (a scene that draws, a float that
// records when it is read).

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string_view>

#include "app/Player.h"
#include "graph/Operator.h"
#include "graph/OperatorRegistry.h"

namespace orvane::test {

class ProbeOp final : public Operator {
public:
  using Callback = std::function<void(Player&)>;

  ProbeOp(int32_t portType, Callback callback) : Operator(kCategoryScene) {
    AddOutput("Out", portType, std::make_unique<ProbeFunction>(std::move(callback)));
  }

private:
  class ProbeFunction final : public Function {
  public:
    explicit ProbeFunction(Callback callback) : callback_(std::move(callback)) {}
    void Evaluate(float, const PortList&, Player& player) override { callback_(player); }

  private:
    Callback callback_;
  };
};

inline std::unique_ptr<Operator> Spawn(std::string_view type) {
  const OperatorFactory* factory = OperatorRegistry::Find(type);
  if (factory == nullptr) {
    ADD_FAILURE() << "no operator " << type;
    return nullptr;
  }
  return factory->Spawn();
}

inline Port& PortOf(Operator& op, std::string_view name) {
  Port* port = op.FindPort(name);
  EXPECT_NE(port, nullptr) << name;
  return *port;
}

inline void SetFloat(Operator& op, std::string_view name, float value) {
  static_cast<Float*>(PortOf(op, name).function->GetValue())->value = value;
}

inline void SetText(Operator& op, std::string_view name, std::string value) {
  static_cast<Text*>(PortOf(op, name).function->GetValue())->value = std::move(value);
}

// The input `name` of `target` takes the first output of `source`.
inline void Connect(Operator& target, std::string_view name, Operator& source) {
  PortOf(target, name).AppendSource(&source.outputs.front());
}

}  // namespace orvane::test
