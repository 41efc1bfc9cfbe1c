#include "resources/FilePath.h"

#include <algorithm>

namespace orvane {

std::string ToNativePath(std::string_view path) {
  std::string native(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

}  // namespace orvane
