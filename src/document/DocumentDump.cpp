#include "document/DocumentDump.h"

#include <string>
#include <vector>

#include "document/TextFormat.h"

namespace orvane {
namespace {

void DumpNode(const DataNode& node, size_t depth, std::ostream& out) {
  out << std::string(depth * 2, ' ') << EscapeText(node.name()) << '[' << node.index() << ']';
  switch (node.kind()) {
    case ValueKind::None: break;
    case ValueKind::Text: {
      const auto bytes = node.bytes();
      out << " = \"" << EscapeText({reinterpret_cast<const char*>(bytes.data()), bytes.size()}) << '"';
      break;
    }
    case ValueKind::Binary: out << " = $" << HexBytes(node.bytes()); break;
  }
  out << '\n';
}

}  // namespace

void DumpDocument(const DataNode& root, std::ostream& out) {
  // Depth-first with an explicit stack: documents may nest deeper than the call stack allows.
  struct Visit {
    DataNode::Children::const_iterator next, end;
  };
  std::vector<Visit> stack{{root.children().begin(), root.children().end()}};
  while (!stack.empty()) {
    Visit& top = stack.back();
    if (top.next == top.end) {
      stack.pop_back();
      continue;
    }
    const DataNode& node = *(top.next++)->second;
    DumpNode(node, stack.size() - 1, out);
    if (!node.children().empty()) stack.push_back({node.children().begin(), node.children().end()});
  }
}

}  // namespace orvane
