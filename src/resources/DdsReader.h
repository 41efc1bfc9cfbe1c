#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "resources/ImageResult.h"

namespace orvane {

// Limits a DDS header may ask for; larger requests are refused before anything is allocated.
inline constexpr std::uint64_t kDdsMaxDimension = 16384;
inline constexpr std::uint64_t kDdsMaxDepth = 2048;
inline constexpr std::uint64_t kDdsMaxArraySize = 2048;

// Reads a DDS file: header and DX10 checks, the legacy pixel-format table, cube maps, volumes,
// arrays and texel conversions. Every failure gives an error code and no pixels.
ImageResult ReadDds(std::string_view path);
ImageResult ReadDdsFromMemory(std::span<const std::uint8_t> file);

}  // namespace orvane
