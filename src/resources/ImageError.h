#pragma once

#include <cstdint>

namespace orvane {

// Stable failure codes of the DDS reader and the image decoder; tests assert the code.
enum class ImageError : std::uint8_t {
  None,
  CannotOpen,         // the file cannot be opened or read
  FileTooLarge,       // 4 GiB or more
  FileTooSmall,       // shorter than a DDS header
  BadMagic,           // not "DDS "
  BadHeader,          // header or pixel-format size field wrong, zero width or height
  InvalidDx10Header,  // DX10 extension: array size 0, format out of range, bad dimension
  IncompleteCubeMap,  // legacy cube map without all six faces
  UnsupportedFormat,  // no table entry for the pixel format, or a format without a size rule
  TooLarge,           // dimensions, array size or mip count past what a texture may have
  Truncated,          // fewer pixel bytes than the header asks for
  DecodeFailed,       // PNG/JPEG decoder refused the data
  Count
};

const char* ImageErrorName(ImageError error);

}  // namespace orvane
