#pragma once
// Values of ports. A value is both an input's default and the cache of the last value the input
// produced; evaluation moves values through the player's registers, never through return values.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

class DataAccessor;
class Player;

// Kinds of values and ports.
enum PortType : int32_t {
  kPortFloat = 0,
  kPortScene = 1,  // scenes have no register: a scene port draws while it is evaluated
  kPortImage = 2,
  kPortText = 3,
  kPortGeneric = 4,
};

class IValue {
public:
  explicit IValue(int32_t valueKind) : kind(valueKind) {}
  virtual ~IValue() = default;

  // Puts the value into the player's register of its kind.
  virtual void WriteTo(Player& player) const = 0;
  // Takes the player's register of its kind as the new value.
  virtual void ReadFrom(const Player& player) = 0;
  // Reads the value stored in the document under `name`.
  virtual void Serialize(std::string_view name, const DataAccessor& node) = 0;

  int32_t kind;
};

template <class T>
class Value : public IValue {
public:
  Value(int32_t valueKind, T initial) : IValue(valueKind), value(std::move(initial)) {}
  void WriteTo(Player&) const override {}
  void ReadFrom(const Player&) override {}
  void Serialize(std::string_view, const DataAccessor&) override {}

  T value;
};

class Float final : public Value<float> {
public:
  explicit Float(float initial = 0.0f) : Value(kPortFloat, initial) {}
  void WriteTo(Player& player) const override;
  void ReadFrom(const Player& player) override;
  // A missing entry reads as 0.0, not as the declared default.
  void Serialize(std::string_view name, const DataAccessor& node) override;
};

class Text final : public Value<std::string> {
public:
  explicit Text(std::string initial = {}) : Value(kPortText, std::move(initial)) {}
  void WriteTo(Player& player) const override;
  void ReadFrom(const Player& player) override;
  void Serialize(std::string_view name, const DataAccessor& node) override;
};

// Inert values: they only mark what flows through a port and move nothing.
template <int32_t Kind>
class InertValue final : public IValue {
public:
  InertValue() : IValue(Kind) {}
  void WriteTo(Player&) const override {}
  void ReadFrom(const Player&) override {}
  void Serialize(std::string_view, const DataAccessor&) override {}
};

using Scene = InertValue<kPortScene>;
using Image = InertValue<kPortImage>;
using Generic = InertValue<kPortGeneric>;

// "float", "scene", "image", "text" or "generic"; "unknown" for other codes.
std::string_view PortTypeName(int32_t type);

}  // namespace orvane
