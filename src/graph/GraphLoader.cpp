#include "graph/GraphLoader.h"

#include <algorithm>
#include <unordered_map>

#include "graph/CurveFunction.h"
#include "graph/FinalOutput.h"
#include "graph/OperatorRegistry.h"

namespace orvane {
namespace {

bool HoldsValue(const Port& port) { return port.function && port.function->GetValue() != nullptr; }

// Reads the value (or curve) of each port that holds a value from the list `listName`; the k-th
// such port reads entry k.
void LoadPorts(Operator& op, std::deque<Port>& ports, const DataAccessor& entry, const char* listName,
               GraphLoadReport* report) {
  int32_t k = 0;
  for (Port& port : ports) {
    if (!HoldsValue(port)) continue;
    const DataAccessor child = entry.Child(listName, k++);
    if (!child) continue;
    if (child.Child("track")) {
      const bool animated = ConvertToAnimated(port);
      if (!animated && report) report->ignoredCurves.push_back({op.index, port.name});
    }
    port.function->Serialize(port.name, child);
  }
}

Operator* OperatorAt(OperatorList& operators, int32_t position) {
  if (position < 0 || static_cast<size_t>(position) >= operators.size()) return nullptr;
  return operators[static_cast<size_t>(position)].get();
}

// Whether evaluating an input follows every one of its sources (a group's members) rather than
// only the first.
bool EvaluatesEverySource(const Port& input) { return (input.hints & kHintSeveralSources) != 0; }

// The ports evaluation reaches from `port`: an animated input none, an input that takes several
// sources all of them, any other input its first source, an output the inputs of its own operator
// (the first entries of its sources; links made to an output are listed after them and never
// evaluated).
struct EvaluationEdges {
  struct Role {
    bool input;
    size_t ownInputs;
  };
  std::unordered_map<const Port*, Role> roles;

  explicit EvaluationEdges(const OperatorList& operators) {
    for (const auto& op : operators) {
      for (const Port& port : op->inputs) roles[&port] = {true, 0};
      for (const Port& port : op->outputs) roles[&port] = {false, op->inputs.size()};
    }
  }
  bool IsInput(const Port& port) const {
    const auto found = roles.find(&port);
    return found != roles.end() && found->second.input;
  }
  size_t Count(const Port& port) const {
    const auto found = roles.find(&port);
    if (found == roles.end()) return 0;
    if (!found->second.input) return std::min(port.sources.size(), found->second.ownInputs);
    if (port.curve != nullptr) return 0;
    return EvaluatesEverySource(port) ? port.sources.size() : std::min<size_t>(port.sources.size(), 1);
  }
};

// Whether `target` can be reached from `start` along evaluation edges.
bool Reaches(const EvaluationEdges& edges, const Port* start, const Port* target) {
  std::vector<const Port*> pending{start};
  std::unordered_map<const Port*, bool> seen{{start, true}};
  while (!pending.empty()) {
    const Port* port = pending.back();
    pending.pop_back();
    if (port == target) return true;
    for (size_t i = 0, n = edges.Count(*port); i < n; ++i) {
      const Port* next = port->sources[i];
      if (seen.emplace(next, true).second) pending.push_back(next);
    }
  }
  return false;
}

// Whether any cycle exists (iterative depth-first search with three colours).
bool HasCycle(const EvaluationEdges& edges) {
  enum Colour : uint8_t { kWhite, kGrey, kBlack };
  std::unordered_map<const Port*, Colour> colour;
  for (const auto& [root, unused] : edges.roles) {
    if (colour[root] != kWhite) continue;
    std::vector<std::pair<const Port*, size_t>> stack{{root, 0}};
    colour[root] = kGrey;
    while (!stack.empty()) {
      auto& [port, next] = stack.back();
      if (next == edges.Count(*port)) {
        colour[port] = kBlack;
        stack.pop_back();
        continue;
      }
      const Port* child = port->sources[next++];
      const Colour seen = colour[child];
      if (seen == kGrey) return true;
      if (seen == kWhite) {
        colour[child] = kGrey;
        stack.emplace_back(child, 0);
      }
    }
  }
  return false;
}

}  // namespace

std::vector<Connection> CutCycles(OperatorList& operators, const std::vector<Connection>& linksInOrder) {
  const EvaluationEdges edges(operators);
  if (!HasCycle(edges)) return {};

  // Relink the inputs in the original order; a link that evaluation would follow (an input's
  // first source, or any source of an input that takes several) is kept only when the input cannot
  // be reached from its source.
  for (const Connection& link : linksInOrder) {
    if (edges.IsInput(*link.targetPort)) link.targetPort->sources.clear();
  }
  std::vector<Connection> cut;
  for (const Connection& link : linksInOrder) {
    if (!edges.IsInput(*link.targetPort)) continue;
    Port& target = *link.targetPort;
    const bool listed = std::find(target.sources.begin(), target.sources.end(), link.sourcePort) !=
                        target.sources.end();
    if (listed) continue;
    const bool evaluated = target.curve == nullptr && (target.sources.empty() || EvaluatesEverySource(target));
    if (evaluated && Reaches(edges, link.sourcePort, &target)) {
      cut.push_back(link);
      continue;
    }
    target.sources.push_back(link.sourcePort);
  }
  return cut;
}

bool LoadConnection(Connection& record, OperatorList& operators, const DataAccessor& entry) {
  int32_t source = 0;
  int32_t target = 0;
  std::string sourceProp;
  std::string targetProp;
  entry.ReadInt("source", source);
  entry.ReadText("sourceProp", sourceProp);
  entry.ReadInt("target", target);
  entry.ReadText("targetProp", targetProp);

  record.sourceOperator = OperatorAt(operators, source);
  record.sourcePort = record.sourceOperator ? record.sourceOperator->FindPort(sourceProp) : nullptr;
  record.targetOperator = OperatorAt(operators, target);
  record.targetPort = record.targetOperator ? record.targetOperator->FindPort(targetProp) : nullptr;
  if (!record.sourcePort || !record.targetPort) return false;
  record.targetPort->AppendSource(record.sourcePort);
  return true;
}

namespace {

void LoadConnections(Operator& op, OperatorList& operators, const DataAccessor& entry,
                     std::vector<Connection>* links, GraphLoadReport* report) {
  op.connections.clear();
  const int32_t count = entry.CountList("connection");
  op.connections.resize(static_cast<size_t>(count));
  for (int32_t c = 0; c < count; ++c) {
    Connection& record = op.connections[static_cast<size_t>(c)];
    const DataAccessor child = entry.Child("connection", c);
    if (LoadConnection(record, operators, child)) {
      if (links) links->push_back(record);
    } else if (report) {
      GraphLoadReport::UnlinkedConnection unlinked{op.index, c, 0, 0, {}, {}, record.sourcePort != nullptr,
                                                   record.targetPort != nullptr};
      child.ReadInt("source", unlinked.source);
      child.ReadInt("target", unlinked.target);
      child.ReadText("sourceProp", unlinked.sourceProp);
      child.ReadText("targetProp", unlinked.targetProp);
      report->unlinkedConnections.push_back(std::move(unlinked));
    }
  }
}

void LoadOperatorWithLinks(Operator& op, OperatorList& operators, const DataAccessor& entry,
                           std::vector<Connection>* links, GraphLoadReport* report) {
  entry.ReadText("type", op.type);
  entry.ReadFloat("pos_x", op.posX, 0.0f);
  entry.ReadFloat("pos_y", op.posY, 0.0f);
  LoadPorts(op, op.inputs, entry, "input", report);
  LoadPorts(op, op.outputs, entry, "output", report);
  LoadConnections(op, operators, entry, links, report);
}

}  // namespace

void LoadOperator(Operator& op, OperatorList& operators, const DataAccessor& entry, GraphLoadReport* report) {
  LoadOperatorWithLinks(op, operators, entry, nullptr, report);
}

void LoadGraph(OperatorList& operators, const DataAccessor& root, GraphLoadReport* report) {
  operators.clear();
  operators.push_back(std::make_unique<FinalOutput>());

  const int32_t count = root.CountList("operator");
  for (int32_t j = 0; j < count; ++j) {
    std::string type;
    root.Child("operator", j).ReadText("type", type);
    const bool created = CreateOperator(type, operators) != nullptr;
    const bool isRoot = j == 0 && type == "FinalOutput";
    if (!created && !isRoot && report) report->unknownTypes.push_back({j, type});
  }

  // An operator reads the entry at its own position in the list, so every operator after an
  // unknown entry reads the entry after its own: stored documents rely on this numbering.
  std::vector<Connection> links;
  for (size_t i = 0; i < operators.size(); ++i) {
    LoadOperatorWithLinks(*operators[i], operators, root.Child("operator", static_cast<int32_t>(i)), &links,
                          report);
  }

  for (const Connection& link : CutCycles(operators, links)) {
    if (report) report->cutCycles.push_back({link});
  }
}

}  // namespace orvane
