#include "resources/ImageDecoder.h"

#include <climits>
#include <cstring>
#include <memory>

#include "resources/FilePath.h"
#include "resources/ReadWholeFile.h"

#define STBI_NO_STDIO
#include <stb_image.h>

namespace orvane {

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(std::span<const std::uint8_t> file) {
  return file.size() >= sizeof(kPngSignature) &&
         std::memcmp(file.data(), kPngSignature, sizeof(kPngSignature)) == 0;
}

std::uint32_t ReadBigEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
         static_cast<std::uint32_t>(bytes[2]) << 8 | static_cast<std::uint32_t>(bytes[3]);
}

// A PNG declares the sRGB colour space with an "sRGB" chunk before its image data.
bool PngDeclaresSrgb(std::span<const std::uint8_t> file) {
  std::size_t at = sizeof(kPngSignature);
  while (file.size() - at >= 12) {
    const std::uint32_t length = ReadBigEndian32(&file[at]);
    const std::uint8_t* type = &file[at + 4];
    if (std::memcmp(type, "sRGB", 4) == 0) return true;
    if (std::memcmp(type, "IDAT", 4) == 0) return false;
    if (length > file.size() - at - 12) return false;
    at += 12 + length;
  }
  return false;
}

// Huffman tables (DHT segments) must not list more than 256 codes: the stb_image decoder of
// this platform writes past its code-size table when they do. Segments are walked from marker
// to marker; entropy-coded data after SOS is skipped up to the next marker that is not a byte
// stuffing or restart marker, since progressive files define tables between scans.
bool JpegHuffmanTablesFit(std::span<const std::uint8_t> file) {
  constexpr std::uint8_t kDht = 0xC4;
  constexpr std::uint8_t kSos = 0xDA;
  constexpr std::uint8_t kEoi = 0xD9;
  constexpr std::uint8_t kSoi = 0xD8;
  std::size_t at = 0;
  while (at + 4 <= file.size()) {
    if (file[at] != 0xFF) {  // entropy-coded data
      ++at;
      continue;
    }
    const std::uint8_t marker = file[at + 1];
    if (marker == 0xFF || marker == 0x00 || marker == kSoi || (marker >= 0xD0 && marker <= 0xD7)) {
      ++at;
      continue;
    }
    if (marker == kEoi) return true;
    const std::size_t length = static_cast<std::size_t>(file[at + 2]) << 8 | file[at + 3];
    if (marker == kDht) {
      // Read as the decoder reads it: table after table while the segment length lasts, with
      // zeros past the end of the file.
      const auto byteAt = [&](std::size_t i) -> std::size_t { return i < file.size() ? file[i] : 0; };
      std::size_t table = at + 4;
      for (std::ptrdiff_t left = static_cast<std::ptrdiff_t>(length) - 2; left > 0;) {
        std::size_t codes = 0;
        for (std::size_t i = 1; i <= 16; ++i) codes += byteAt(table + i);
        if (codes > 256) return false;
        table += 17 + codes;
        left -= static_cast<std::ptrdiff_t>(17 + codes);
      }
    }
    if (length < 2 || length > file.size() - at - 2) return true;  // the decoder reports it
    at += 2 + length;
    if (marker == kSos) {
      while (at + 1 < file.size() &&
             !(file[at] == 0xFF && file[at + 1] != 0x00 && !(file[at + 1] >= 0xD0 && file[at + 1] <= 0xD7))) {
        ++at;
      }
    }
  }
  return true;
}

// Decompression bombs: a small file whose header asks for a huge image. Deflate expands at most
// about 1032:1, and a JPEG needs at least one bit per 8 x 8 block and component (stb_image
// fills missing entropy-coded data with zeros, so the header alone would decode). Images that
// ask for more texels than their bytes can describe are refused before anything is allocated.
constexpr std::uint64_t kPngTexelsPerByte = 1100;
constexpr std::uint64_t kJpegTexelsPerByte = 512;
constexpr std::uint64_t kSmallImageTexels = 1u << 16;

bool PlausibleSize(std::span<const std::uint8_t> file, std::uint64_t texels) {
  const std::uint64_t ratio = IsPng(file) ? kPngTexelsPerByte : kJpegTexelsPerByte;
  return texels <= kSmallImageTexels || texels <= ratio * file.size();
}

struct StbFree {
  void operator()(void* pixels) const { stbi_image_free(pixels); }
};

struct DecodeChoice {
  int channels;
  bool sixteenBit;
  std::uint32_t dxgiFormat;
};

DecodeChoice ChooseFormat(int fileChannels, bool sixteenBit) {
  if (fileChannels == 1) return {1, sixteenBit, sixteenBit ? kDxgiR16Unorm : kDxgiR8Unorm};
  if (sixteenBit) return {4, true, kDxgiR16G16B16A16Unorm};
  return {4, false, kDxgiR8G8B8A8Unorm};
}

}  // namespace

ImageResult DecodeImageFromMemory(std::span<const std::uint8_t> file) {
  if (file.empty() || file.size() > static_cast<std::size_t>(INT_MAX)) {
    return ImageResult::Failure(ImageError::DecodeFailed);
  }
  // Anything that is not a PNG is decoded as a JPEG (leading fill bytes included).
  if (!IsPng(file) && !JpegHuffmanTablesFit(file)) {
    return ImageResult::Failure(ImageError::DecodeFailed);
  }
  const auto* data = file.data();
  const int length = static_cast<int>(file.size());
  int width = 0;
  int height = 0;
  int fileChannels = 0;
  if (!stbi_info_from_memory(data, length, &width, &height, &fileChannels)) {
    return ImageResult::Failure(ImageError::DecodeFailed);
  }
  if (width <= 0 || height <= 0 || width > kImageMaxDimension || height > kImageMaxDimension) {
    return ImageResult::Failure(ImageError::TooLarge);
  }
  const std::uint64_t texels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  if (!PlausibleSize(file, texels)) return ImageResult::Failure(ImageError::TooLarge);

  const bool sixteenBit = stbi_is_16_bit_from_memory(data, length) != 0;
  const DecodeChoice choice = ChooseFormat(fileChannels, sixteenBit);
  int decodedWidth = 0;
  int decodedHeight = 0;
  int ignoredChannels = 0;
  std::unique_ptr<void, StbFree> pixels(
      choice.sixteenBit ? static_cast<void*>(stbi_load_16_from_memory(
                              data, length, &decodedWidth, &decodedHeight, &ignoredChannels,
                              choice.channels))
                        : static_cast<void*>(stbi_load_from_memory(data, length, &decodedWidth,
                                                                   &decodedHeight, &ignoredChannels,
                                                                   choice.channels)));
  if (!pixels || decodedWidth != width || decodedHeight != height) {
    return ImageResult::Failure(ImageError::DecodeFailed);
  }

  ImageResult result;
  DecodedImage& image = result.image;
  image.width = static_cast<std::size_t>(width);
  image.height = static_cast<std::size_t>(height);
  image.dxgiFormat = choice.dxgiFormat;
  image.declaresSrgb = IsPng(file) && PngDeclaresSrgb(file);
  const std::size_t bytes = texels * static_cast<std::size_t>(choice.channels) *
                            (choice.sixteenBit ? 2u : 1u);
  const auto* first = static_cast<const std::uint8_t*>(pixels.get());
  image.pixels.assign(first, first + bytes);
  return result;
}

ImageResult DecodeImage(std::string_view path) {
  const auto bytes = ReadWholeFileQuietly(path);
  if (!bytes) return ImageResult::Failure(ImageError::CannotOpen);
  return DecodeImageFromMemory(*bytes);
}

}  // namespace orvane
