// Feeds arbitrary bytes to the document reader and prints the tree it makes.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "document/DocumentDump.h"
#include "document/DocumentParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orvane::DataNode root("", 0);
  orvane::ParseDocumentBuffer(root, std::string_view(reinterpret_cast<const char*>(data), size));
  // The printed tree grows with depth times lines; print only small inputs' trees.
  if (size <= 2048) {
    std::ostringstream out;
    orvane::DumpDocument(root, out);
  }
  return 0;
}
