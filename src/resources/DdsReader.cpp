#include "resources/DdsReader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "resources/DdsLegacyFormats.h"
#include "resources/DxgiFormatSize.h"
#include "resources/FilePath.h"

namespace orvane {

namespace {

constexpr std::uint32_t kDdsMagic = 0x20534444;  // "DDS "
constexpr std::uint32_t kHeaderSize = 124;
constexpr std::uint32_t kPixelFormatSize = 32;
constexpr std::size_t kHeaderEnd = 128;        // magic + header
constexpr std::size_t kDx10HeaderEnd = 148;    // + DX10 extension
constexpr std::size_t kPaletteBytes = 256 * 4;
constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFFull;

constexpr std::uint32_t kFlagHeight = 0x2;
constexpr std::uint32_t kFlagDepth = 0x800000;
constexpr std::uint32_t kCaps2CubeMap = 0x200;
constexpr std::uint32_t kCaps2AllFaces = 0xFE00;

// Byte offsets in the file.
constexpr std::size_t kOffHeaderSize = 4;
constexpr std::size_t kOffFlags = 8;
constexpr std::size_t kOffHeight = 12;
constexpr std::size_t kOffWidth = 16;
constexpr std::size_t kOffDepth = 24;
constexpr std::size_t kOffMipCount = 28;
constexpr std::size_t kOffPixelFormat = 76;
constexpr std::size_t kOffCaps2 = 112;
constexpr std::size_t kOffDx10 = 128;

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(bytes[offset]) |
         static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

DdsPixelFormat ReadPixelFormat(std::span<const std::uint8_t> file) {
  const std::size_t at = kOffPixelFormat + 4;  // after the size field
  return {ReadU32(file, at), ReadU32(file, at + 4), ReadU32(file, at + 8), ReadU32(file, at + 12),
          ReadU32(file, at + 16), ReadU32(file, at + 20), ReadU32(file, at + 24)};
}

bool HasDx10Extension(const DdsPixelFormat& format) {
  return (format.flags & kDdsPfFourCC) && format.fourCC == MakeFourCC('D', 'X', '1', '0');
}

// What the header says, before any size is checked.
struct DdsPlan {
  DecodedImage image;             // metadata only
  DdsLegacyMatch texels;          // conversion from the file's texels
  std::size_t dataOffset = kHeaderEnd;
};

ImageError PlanDx10(std::span<const std::uint8_t> file, DdsPlan& plan) {
  if (file.size() < kDx10HeaderEnd) return ImageError::FileTooSmall;
  DecodedImage& image = plan.image;
  const std::uint32_t format = ReadU32(file, kOffDx10);
  const std::uint32_t dimension = ReadU32(file, kOffDx10 + 4);
  const std::uint32_t miscFlag = ReadU32(file, kOffDx10 + 8);
  const std::uint32_t arraySize = ReadU32(file, kOffDx10 + 12);
  const std::uint32_t headerFlags = ReadU32(file, kOffFlags);
  plan.dataOffset = kDx10HeaderEnd;
  image.alphaMode = ReadU32(file, kOffDx10 + 16) & 0x7;

  if (arraySize == 0) return ImageError::InvalidDx10Header;
  if (format < 1 || format > 190 || (format >= 111 && format <= 114)) {
    return ImageError::InvalidDx10Header;
  }
  image.dxgiFormat = format;
  plan.texels.dxgiFormat = format;
  image.arraySize = arraySize;
  switch (dimension) {
    case static_cast<std::uint32_t>(ImageDimension::Texture1D):
      if ((headerFlags & kFlagHeight) && image.height != 1) return ImageError::InvalidDx10Header;
      image.dimension = ImageDimension::Texture1D;
      image.height = 1;
      image.depth = 1;
      break;
    case static_cast<std::uint32_t>(ImageDimension::Texture2D):
      image.dimension = ImageDimension::Texture2D;
      image.depth = 1;
      if (miscFlag & kImageMiscTextureCube) {
        image.miscFlags |= kImageMiscTextureCube;
        image.arraySize *= 6;
      }
      break;
    case static_cast<std::uint32_t>(ImageDimension::Texture3D):
      if (!(headerFlags & kFlagDepth) || arraySize != 1) return ImageError::InvalidDx10Header;
      image.dimension = ImageDimension::Texture3D;
      break;
    default:
      return ImageError::InvalidDx10Header;
  }
  return ImageError::None;
}

ImageError PlanLegacy(std::span<const std::uint8_t> file, const DdsPixelFormat& pixelFormat,
                      DdsPlan& plan) {
  DecodedImage& image = plan.image;
  image.arraySize = 1;
  if (ReadU32(file, kOffFlags) & kFlagDepth) {
    image.dimension = ImageDimension::Texture3D;
  } else {
    image.dimension = ImageDimension::Texture2D;
    image.depth = 1;
    const std::uint32_t caps2 = ReadU32(file, kOffCaps2);
    if (caps2 & kCaps2CubeMap) {
      if ((caps2 & kCaps2AllFaces) != kCaps2AllFaces) return ImageError::IncompleteCubeMap;
      image.miscFlags |= kImageMiscTextureCube;
      image.arraySize = 6;
    }
  }
  const std::optional<DdsLegacyMatch> match = MatchDdsLegacyFormat(pixelFormat);
  if (!match) return ImageError::UnsupportedFormat;
  plan.texels = *match;
  image.dxgiFormat = match->dxgiFormat;
  if (match->conversion == DdsConversion::Palette8) plan.dataOffset += kPaletteBytes;
  return ImageError::None;
}

std::uint64_t FullMipChain(std::uint64_t width, std::uint64_t height, std::uint64_t depth) {
  const std::uint64_t largest = std::max({width, height, depth});
  return static_cast<std::uint64_t>(std::bit_width(largest));
}

ImageError CheckLimits(const DecodedImage& image) {
  if (image.width == 0 || image.height == 0) return ImageError::BadHeader;
  if (image.width > kDdsMaxDimension || image.height > kDdsMaxDimension) {
    return ImageError::TooLarge;
  }
  if (image.depth > kDdsMaxDepth || image.arraySize > kDdsMaxArraySize) return ImageError::TooLarge;
  if (image.mipLevels > FullMipChain(image.width, image.height, image.depth)) {
    return ImageError::TooLarge;
  }
  return ImageError::None;
}

// Bytes of all levels of all array items for a layout.
std::uint64_t TotalBytes(const DecodedImage& image, DxgiLayout layout) {
  std::uint64_t levelBytes = 0;
  for (std::size_t level = 0; level < image.mipLevels; ++level) {
    const std::uint64_t width = std::max<std::uint64_t>(1, image.width >> level);
    const std::uint64_t height = std::max<std::uint64_t>(1, image.height >> level);
    const std::uint64_t depth = std::max<std::uint64_t>(1, image.depth >> level);
    levelBytes += LayoutSurfaceSize(layout, width, height).SliceBytes() * depth;
  }
  return levelBytes * image.arraySize;
}

DxgiLayout FileLayout(const DdsPlan& plan) {
  if (plan.texels.conversion == DdsConversion::None) {
    return DxgiFormatLayout(plan.image.dxgiFormat);
  }
  return {DxgiLayoutKind::Texels, plan.texels.fileBitsPerTexel};
}

void ConvertTexels(const DdsLegacyMatch& texels, std::span<const std::uint8_t> source,
                   std::span<const std::uint8_t> palette, std::vector<std::uint8_t>& out) {
  switch (texels.conversion) {
    case DdsConversion::None:
      std::memcpy(out.data(), source.data(), out.size());
      break;
    case DdsConversion::Expand888:
      for (std::size_t i = 0, o = 0; o < out.size(); i += 3, o += 4) {
        out[o] = source[i + 2];
        out[o + 1] = source[i + 1];
        out[o + 2] = source[i];
        out[o + 3] = 0xFF;
      }
      break;
    case DdsConversion::OpaqueAlpha: {
      std::memcpy(out.data(), source.data(), out.size());
      const std::size_t texelBytes = texels.fileBitsPerTexel / 8;
      for (std::size_t o = 0; o < out.size(); o += texelBytes) {
        for (std::size_t b = 0; b < texelBytes; ++b) {
          out[o + b] |= static_cast<std::uint8_t>(texels.opaqueAlphaMask >> (8 * b));
        }
      }
      break;
    }
    case DdsConversion::Palette8:
      for (std::size_t i = 0; i < source.size(); ++i) {
        std::memcpy(&out[i * 4], &palette[source[i] * 4u], 4);
      }
      break;
  }
}

// Reads `out.size()` bytes at `offset` of the file; false when they are not all there.
using DdsByteSource = std::function<bool(std::uint64_t offset, std::span<std::uint8_t> out)>;

// Checks the header (the first bytes of the file, up to the end of the DX10 extension) against
// the file size, then reads the pixel data straight into the image's buffer, converting texels
// on the way when the format asks for it.
ImageResult ReadDdsFrom(std::span<const std::uint8_t> file, std::uint64_t fileSize,
                        const DdsByteSource& readAt) {
  if (fileSize > kMaxFileSize) return ImageResult::Failure(ImageError::FileTooLarge);
  if (fileSize < kHeaderEnd) return ImageResult::Failure(ImageError::FileTooSmall);
  if (ReadU32(file, 0) != kDdsMagic) return ImageResult::Failure(ImageError::BadMagic);
  if (ReadU32(file, kOffHeaderSize) != kHeaderSize ||
      ReadU32(file, kOffPixelFormat) != kPixelFormatSize) {
    return ImageResult::Failure(ImageError::BadHeader);
  }

  DdsPlan plan;
  DecodedImage& image = plan.image;
  image.width = ReadU32(file, kOffWidth);
  image.height = ReadU32(file, kOffHeight);
  image.depth = std::max<std::uint32_t>(1, ReadU32(file, kOffDepth));
  image.mipLevels = std::max<std::uint32_t>(1, ReadU32(file, kOffMipCount));

  const DdsPixelFormat pixelFormat = ReadPixelFormat(file);
  const ImageError planned = HasDx10Extension(pixelFormat) ? PlanDx10(file, plan)
                                                           : PlanLegacy(file, pixelFormat, plan);
  if (planned != ImageError::None) return ImageResult::Failure(planned);
  if (const ImageError limits = CheckLimits(image); limits != ImageError::None) {
    return ImageResult::Failure(limits);
  }

  const DxgiLayout fileLayout = FileLayout(plan);
  const DxgiLayout imageLayout = DxgiFormatLayout(image.dxgiFormat);
  if (fileLayout.kind == DxgiLayoutKind::None || imageLayout.kind == DxgiLayoutKind::None) {
    return ImageResult::Failure(ImageError::UnsupportedFormat);
  }
  if (fileSize < plan.dataOffset) return ImageResult::Failure(ImageError::Truncated);
  const std::uint64_t fileBytes = TotalBytes(image, fileLayout);
  if (fileSize - plan.dataOffset < fileBytes) return ImageResult::Failure(ImageError::Truncated);

  image.pixels.resize(static_cast<std::size_t>(TotalBytes(image, imageLayout)));
  if (plan.texels.conversion == DdsConversion::None) {
    if (!readAt(plan.dataOffset, image.pixels)) return ImageResult::Failure(ImageError::Truncated);
  } else {
    std::vector<std::uint8_t> palette(plan.dataOffset - kHeaderEnd);
    std::vector<std::uint8_t> source(static_cast<std::size_t>(fileBytes));
    if (!readAt(kHeaderEnd, palette) || !readAt(plan.dataOffset, source)) {
      return ImageResult::Failure(ImageError::Truncated);
    }
    ConvertTexels(plan.texels, source, palette, image.pixels);
  }
  return {ImageError::None, std::move(image)};
}

}  // namespace

ImageResult ReadDdsFromMemory(std::span<const std::uint8_t> file) {
  const auto readAt = [&](std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset > file.size() || file.size() - offset < out.size()) return false;
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
  };
  return ReadDdsFrom(file.first(std::min(file.size(), kDx10HeaderEnd)), file.size(), readAt);
}

ImageResult ReadDds(std::string_view path) {
  const std::string native = ToNativePath(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(native, error)) {
    return ImageResult::Failure(ImageError::CannotOpen);
  }
  const std::uintmax_t size = std::filesystem::file_size(native, error);
  std::ifstream stream(native, std::ios::binary);
  if (error || !stream) return ImageResult::Failure(ImageError::CannotOpen);
  std::array<std::uint8_t, kDx10HeaderEnd> header{};
  const std::size_t headerBytes = static_cast<std::size_t>(std::min<std::uintmax_t>(size, header.size()));
  if (!stream.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(headerBytes))) {
    return ImageResult::Failure(ImageError::CannotOpen);
  }
  // Pixel data go from the file straight into the image's buffer.
  const auto readAt = [&](std::uint64_t offset, std::span<std::uint8_t> out) {
    stream.seekg(static_cast<std::streamoff>(offset));
    return static_cast<bool>(
        stream.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size())));
  };
  return ReadDdsFrom(std::span(header).first(headerBytes), size, readAt);
}

}  // namespace orvane
