#pragma once
// A node of the demo graph: ports and the connections stored with it. Operators carry no
// behaviour; every port's function does the work. Operator classes declare their ports in their
// constructor, inputs first, then outputs.

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "graph/Port.h"

namespace orvane {

class Operator;

// Operator categories, as editors group them.
enum OperatorCategory : int32_t {
  kCategoryScene = 0,
  kCategoryMesh = 1,
  kCategoryImage = 2,
  kCategoryScalar = 3,
};

struct Connection {
  Operator* sourceOperator = nullptr;
  Port* sourcePort = nullptr;
  Operator* targetOperator = nullptr;
  Port* targetPort = nullptr;
};

class Operator {
public:
  explicit Operator(int32_t categoryCode) : category(categoryCode) {}
  virtual ~Operator();
  Operator(const Operator&) = delete;
  Operator& operator=(const Operator&) = delete;

  // Ports keep their addresses: sources lists point at them.
  std::deque<Port> inputs;
  std::deque<Port> outputs;
  std::vector<Connection> connections;
  int32_t index = 0;
  int32_t flags = 0;
  std::string type;
  float posX = 0.0f;
  float posY = 0.0f;
  int32_t category;

  // The input, or else the output, named exactly `name`.
  Port* FindPort(std::string_view name);
  Port* FindOutput(std::string_view name);

protected:
  Port& AddInput(std::string name, int32_t portType, std::unique_ptr<IValue> value, int32_t hints = 0);
  Port& AddFloatInput(std::string name, float initial, int32_t hints = 0);
  Port& AddTextInput(std::string name, std::string initial, int32_t hints = 0);
  // Scene, image and generic inputs hold an inert value of their type.
  Port& AddInertInput(std::string name, int32_t portType, int32_t hints = 0);
  void AddOptions(std::initializer_list<const char*> names);

  // The new output lists every input declared so far as its sources.
  Port& AddOutput(std::string name, int32_t portType, std::unique_ptr<Function> function);
};

using OperatorList = std::vector<std::unique_ptr<Operator>>;

}  // namespace orvane
