#include "graph/Value.h"

#include <array>

#include "app/Player.h"
#include "document/DataAccessor.h"

namespace orvane {

void Float::WriteTo(Player& player) const { player.scalar = value; }
void Float::ReadFrom(const Player& player) { value = player.scalar; }
void Float::Serialize(std::string_view name, const DataAccessor& node) { node.ReadFloat(name, value, 0.0f); }

void Text::WriteTo(Player& player) const { player.text = value; }
void Text::ReadFrom(const Player& player) { value = player.text; }
void Text::Serialize(std::string_view name, const DataAccessor& node) { node.ReadText(name, value); }

std::string_view PortTypeName(int32_t type) {
  static constexpr std::array<std::string_view, 5> kNames{"float", "scene", "image", "text", "generic"};
  if (type < 0 || static_cast<size_t>(type) >= kNames.size()) return "unknown";
  return kNames[static_cast<size_t>(type)];
}

}  // namespace orvane
