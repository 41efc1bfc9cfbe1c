#pragma once
// The printed form of a loaded graph, per operator:
//   #I TYPE                     (TYPE escaped as texts are)
//     in NAME : KIND[ = VALUE | = "TEXT" | = curve(N keys)][ <- #J.PORT ...]
//     out NAME : KIND

#include <ostream>
#include <string>
#include <unordered_map>

#include "graph/Operator.h"

namespace orvane {

void DumpGraph(const OperatorList& operators, std::ostream& out);

// Labels "#J.PORT" of the ports of a graph, for messages and dumps.
class PortLabels {
public:
  explicit PortLabels(const OperatorList& operators);
  // "?" for a port that is not in the graph.
  std::string operator()(const Port* port) const;

private:
  std::unordered_map<const Port*, std::string> labels_;
};

}  // namespace orvane
