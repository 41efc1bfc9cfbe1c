#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane {

// Resource dimension as the DDS extension header numbers it.
enum class ImageDimension : std::uint32_t {
  Texture1D = 2,
  Texture2D = 3,
  Texture3D = 4,
};

// Misc flag bit that marks a cube map (six array items per cube).
inline constexpr std::uint32_t kImageMiscTextureCube = 0x4;

// What the DDS reader and the image decoder hand to texture creation: metadata plus one owned
// pixel buffer in upload order. The buffer holds all mip levels of array item 0, then all mip
// levels of item 1, and so on; each level is tightly packed (row pitch = the format's row size,
// block-compressed formats by rows of 4 x 4 blocks); a volume level holds its depth slices one
// after the other.
struct DecodedImage {
  std::size_t width = 0;
  std::size_t height = 0;
  std::size_t depth = 1;
  std::size_t arraySize = 1;  // number of images; 6 per cube
  std::size_t mipLevels = 1;
  std::uint32_t miscFlags = 0;   // kImageMiscTextureCube
  std::uint32_t alphaMode = 0;   // DX10 header misc flags 2, low 3 bits
  std::uint32_t dxgiFormat = 0;  // DXGI_FORMAT number
  ImageDimension dimension = ImageDimension::Texture2D;
  bool declaresSrgb = false;     // decoded images: the file declares the sRGB colour space
  std::vector<std::uint8_t> pixels;

  bool IsCubeMap() const { return (miscFlags & kImageMiscTextureCube) != 0; }
};

}  // namespace orvane
