#pragma once
// The behaviour behind a port. Results go into the player's registers; an output's function reads
// input i of its operator as entry i of its `sources`.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "graph/Value.h"

namespace orvane {

class DataAccessor;
class Player;
struct Port;
using PortList = std::vector<Port*>;

class Function {
public:
  virtual ~Function() = default;

  virtual void Evaluate(float time, const PortList& sources, Player& player) = 0;
  // Takes the player's register as the port's new value at `time`.
  virtual void Assign(Player& player, float time);
  // The value the function holds, if any.
  virtual IValue* GetValue();
  // Reads the held value (and curve) stored in the document under the port's name.
  virtual void Serialize(std::string_view name, const DataAccessor& node);

  bool dirty = true;        // resources are (re)built on the next evaluation while set
  int32_t outputIndex = 0;  // which output owns it, where one function class serves several
};

// The function of an input: holds its value; a connected input takes its first source's result.
class ValueFunction : public Function {
public:
  explicit ValueFunction(std::unique_ptr<IValue> value) : value_(std::move(value)) {}

  void Evaluate(float time, const PortList& sources, Player& player) override;
  void Assign(Player& player, float time) override;
  IValue* GetValue() override { return value_.get(); }
  void Serialize(std::string_view name, const DataAccessor& node) override;

  std::unique_ptr<IValue> TakeValue() { return std::move(value_); }

protected:
  std::unique_ptr<IValue> value_;
};

// Evaluates input `index` of an operator from an output's sources and returns the float register.
// An index past the list leaves the register as it is.
float EvaluateFloat(const PortList& sources, size_t index, float time, Player& player);

}  // namespace orvane
