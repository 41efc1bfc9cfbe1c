#include "resources/ImageError.h"

#include <array>
#include <cstddef>

namespace orvane {

namespace {
constexpr std::array kImageErrorNames = {
    "none",          "cannot open",      "file too large",       "file too small",
    "bad magic",     "bad header",       "invalid DX10 header",  "incomplete cube map",
    "unsupported format", "too large",   "truncated",            "decode failed",
};
static_assert(kImageErrorNames.size() == static_cast<std::size_t>(ImageError::Count));
}  // namespace

const char* ImageErrorName(ImageError error) {
  const auto index = static_cast<std::size_t>(error);
  return index < kImageErrorNames.size() ? kImageErrorNames[index] : "unknown";
}

}  // namespace orvane
