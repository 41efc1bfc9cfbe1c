#pragma once
// Test helpers: documents from literal text, and their printed trees.

#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "document/DataNode.h"
#include "document/DocumentDump.h"
#include "document/DocumentParser.h"

namespace orvane::testing {

inline std::unique_ptr<DataNode> ParseText(std::string_view text) {
  auto root = std::make_unique<DataNode>("", 0);
  ParseDocumentBuffer(*root, text);
  return root;
}

inline std::string DumpText(const DataNode& root) {
  std::ostringstream out;
  DumpDocument(root, out);
  return out.str();
}

inline std::string ParseAndDump(std::string_view text) { return DumpText(*ParseText(text)); }

}  // namespace orvane::testing
