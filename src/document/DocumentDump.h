#pragma once
// The printed form of a document tree: one line per node, depth-first in children order, two
// spaces of indent per level below the root, which itself is not printed.
//   NAME[INDEX]            a node without value
//   NAME[INDEX] = "TEXT"   a text value (escaped)
//   NAME[INDEX] = $HEX     a binary value

#include <ostream>

#include "document/DataNode.h"

namespace orvane {

void DumpDocument(const DataNode& root, std::ostream& out);

}  // namespace orvane
