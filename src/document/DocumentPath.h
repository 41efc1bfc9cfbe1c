#pragma once
// Paths as documents write them: a backslash is a directory separator on every platform.

#include <filesystem>
#include <string_view>

namespace orvane {

std::filesystem::path PathFromDocument(std::string_view text);

}  // namespace orvane
