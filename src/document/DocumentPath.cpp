#include "document/DocumentPath.h"

#include <algorithm>
#include <string>

namespace orvane {

std::filesystem::path PathFromDocument(std::string_view text) {
  std::string path(text);
  std::replace(path.begin(), path.end(), '\\', '/');
  return std::filesystem::path(path);
}

}  // namespace orvane
