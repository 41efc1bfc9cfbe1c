#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orvane {

// Reads a whole file as bytes. A file that cannot be opened prints "Failed to open %s\n" on the
// standard output and gives none; an empty file gives no bytes, which callers treat as a failed
// load.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(std::string_view path);

// The same without the message, for readers that report failures through their own codes.
std::optional<std::vector<std::uint8_t>> ReadWholeFileQuietly(std::string_view path);

}  // namespace orvane
