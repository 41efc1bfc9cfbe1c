#pragma once
// Test helpers: a player whose graph is loaded from literal document text, and small operators
// that count their evaluations.

#include <memory>
#include <string_view>

#include "app/Player.h"
#include "graph/GraphLoader.h"
#include "graph/OperatorRegistry.h"
#include "support/DocumentText.h"

namespace orvane::testing {

struct LoadedGraph {
  Player player;
  GraphLoadReport report;

  explicit LoadedGraph(std::string_view documentText) {
    const auto root = ParseText(documentText);
    LoadGraph(player.operators, DataAccessor(root.get()), &report);
  }
  Operator& op(size_t i) { return *player.operators.at(i); }
  Port& input(size_t op, size_t i) { return player.operators.at(op)->inputs.at(i); }
  Port& output(size_t op, size_t i = 0) { return player.operators.at(op)->outputs.at(i); }
  float EvalFloat(size_t op, size_t out, float time) {
    output(op, out).Evaluate(time, player);
    return player.scalar;
  }
};

}  // namespace orvane::testing
