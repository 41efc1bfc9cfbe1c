#pragma once
// The registry of operator types: filled from static initialisers before main runs, so an operator
// joins the program by its source file alone.

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "graph/Operator.h"

namespace orvane {

class OperatorFactory {
public:
  virtual ~OperatorFactory() = default;
  virtual std::unique_ptr<Operator> Spawn() const = 0;

  // One line on what the operator does, for the operator reference; kept beside its code.
  std::string_view description;
};

template <class T>
class OpSpawner final : public OperatorFactory {
public:
  std::unique_ptr<Operator> Spawn() const override { return std::make_unique<T>(); }
};

class OperatorRegistry {
public:
  using Map = std::map<std::string, const OperatorFactory*, std::less<>>;

  // Keeps an existing entry: the first registration of a name wins. True when inserted.
  static bool Register(std::string name, const OperatorFactory& factory);
  // Exact, case-sensitive lookup; null when unknown.
  static const OperatorFactory* Find(std::string_view name);
  static const Map& Entries();

private:
  static Map& MutableEntries();
};

// Registers operator class T under `name` from a static initialiser, with a one-line description
// (a string literal) for the operator reference:
//   const OperatorRegistration<SinOp> kRegistration{"Sin", "A sine wave over time."};
template <class T>
class OperatorRegistration {
public:
  explicit OperatorRegistration(std::string name, std::string_view description = {}) {
    spawner_.description = description;
    OperatorRegistry::Register(std::move(name), spawner_);
  }

private:
  OpSpawner<T> spawner_;
};

// Creates an operator of a registered type, names it, numbers it by its position and appends it.
// Returns null, and appends nothing, for an unknown type.
Operator* CreateOperator(std::string_view type, OperatorList& operators);

}  // namespace orvane
