#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "resources/ImageResult.h"

namespace orvane {

// DXGI formats the decoder reports.
inline constexpr std::uint32_t kDxgiR8G8B8A8Unorm = 28;
inline constexpr std::uint32_t kDxgiR16G16B16A16Unorm = 11;
inline constexpr std::uint32_t kDxgiR16Unorm = 56;
inline constexpr std::uint32_t kDxgiR8Unorm = 61;

// Largest width or height a decoded image may have.
inline constexpr int kImageMaxDimension = 16384;

// Decodes the first frame of a PNG or JPEG file into one mip level, array size 1: grey 8-bit
// images as R8 (61), grey 16-bit as R16 (56), 16-bit colour as R16G16B16A16 (11), everything
// else (colour, palette, grey with alpha) as R8G8B8A8 (28). A PNG that declares the sRGB
// colour space (an sRGB chunk) keeps its plain format and sets declaresSrgb. Headers that ask
// for more texels than a texture may have, or than the file's bytes could encode, are refused
// before anything is decoded. Failures give an error code and no pixels.
ImageResult DecodeImage(std::string_view path);
ImageResult DecodeImageFromMemory(std::span<const std::uint8_t> file);

}  // namespace orvane
