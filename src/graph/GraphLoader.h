#pragma once
// Builds the operator graph from a document: the FinalOutput first, then one operator per entry of
// a registered type; every port reads its value or curve; connections link target inputs to their
// sources. What the loader skips it skips silently; a caller that wants to know passes a report.

#include <cstdint>
#include <string>
#include <vector>

#include "document/DataAccessor.h"
#include "graph/Operator.h"

namespace orvane {

// What loading skipped or changed, for the document checker.
struct GraphLoadReport {
  struct UnknownType {
    int32_t entry;  // position of the "operator" entry
    std::string type;
  };
  struct UnlinkedConnection {
    int32_t operatorIndex;    // the operator whose entry records it
    int32_t connectionIndex;  // its position in that entry's "connection" list
    int32_t source, target;
    std::string sourceProp, targetProp;
    bool sourceFound, targetFound;  // whether each port was found
  };
  struct IgnoredCurve {
    int32_t operatorIndex;
    std::string port;
  };
  struct CutCycle {
    Connection link;  // target input <- source port
  };

  std::vector<UnknownType> unknownTypes;
  std::vector<UnlinkedConnection> unlinkedConnections;
  std::vector<IgnoredCurve> ignoredCurves;
  std::vector<CutCycle> cutCycles;
};

// Replaces the whole list with the graph the document describes.
void LoadGraph(OperatorList& operators, const DataAccessor& root, GraphLoadReport* report = nullptr);

// Reads one operator's type name, position, port values and curves, and connections.
void LoadOperator(Operator& op, OperatorList& operators, const DataAccessor& entry,
                  GraphLoadReport* report = nullptr);

// Resolves one connection record and links target port <- source port when both are found.
// True when linked.
bool LoadConnection(Connection& record, OperatorList& operators, const DataAccessor& entry);

// Evaluation pulls depth-first with no cycle check, so a cycle would recurse without end. Walks
// the links in the order they were made and cuts each one that would close a cycle through the
// ports that evaluation follows. Returns the cut links.
std::vector<Connection> CutCycles(OperatorList& operators, const std::vector<Connection>& linksInOrder);

}  // namespace orvane
