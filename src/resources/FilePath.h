#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Paths written in documents may use backslashes; they separate directories on every platform.
std::string ToNativePath(std::string_view path);

}  // namespace orvane
