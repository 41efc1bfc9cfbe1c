#pragma once

#include <cstdint>
#include <vector>

#include "resources/DdsLegacyFormats.h"

namespace orvane::test {

// Fields of a DDS header for tests; Build() lays them out as the file format does.
struct DdsBuilder {
  std::uint32_t magic = 0x20534444;
  std::uint32_t headerSize = 124;
  std::uint32_t flags = 0x1007;  // caps, height, width, pixel format
  std::uint32_t height = 4;
  std::uint32_t width = 4;
  std::uint32_t depth = 0;
  std::uint32_t mipCount = 0;
  std::uint32_t pixelFormatSize = 32;
  DdsPixelFormat pixelFormat{kDdsPfFourCC, MakeFourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0};
  std::uint32_t caps2 = 0;
  bool dx10 = false;
  std::uint32_t dxgiFormat = 71;
  std::uint32_t dimension = 3;
  std::uint32_t miscFlag = 0;
  std::uint32_t arraySize = 1;
  std::uint32_t miscFlags2 = 0;

  DdsBuilder& Legacy(std::uint32_t pfFlags, std::uint32_t bits, std::uint32_t r, std::uint32_t g,
                     std::uint32_t b, std::uint32_t a) {
    pixelFormat = {pfFlags, 0, bits, r, g, b, a};
    return *this;
  }
  DdsBuilder& FourCC(std::uint32_t code) {
    pixelFormat = {kDdsPfFourCC, code, 0, 0, 0, 0, 0};
    return *this;
  }
  DdsBuilder& Dx10(std::uint32_t format, std::uint32_t dim = 3, std::uint32_t size = 1) {
    dx10 = true;
    FourCC(MakeFourCC('D', 'X', '1', '0'));
    dxgiFormat = format;
    dimension = dim;
    arraySize = size;
    return *this;
  }

  std::vector<std::uint8_t> Build(const std::vector<std::uint8_t>& payload = {}) const {
    std::vector<std::uint8_t> out;
    const auto put = [&](std::uint32_t v) {
      for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put(magic);
    put(headerSize);
    put(flags);
    put(height);
    put(width);
    put(0);  // pitch or linear size
    put(depth);
    put(mipCount);
    for (int i = 0; i < 11; ++i) put(0);
    put(pixelFormatSize);
    put(pixelFormat.flags);
    put(pixelFormat.fourCC);
    put(pixelFormat.bitCount);
    put(pixelFormat.redMask);
    put(pixelFormat.greenMask);
    put(pixelFormat.blueMask);
    put(pixelFormat.alphaMask);
    put(0x1000);  // caps: texture
    put(caps2);
    put(0);
    put(0);
    put(0);
    if (dx10) {
      put(dxgiFormat);
      put(dimension);
      put(miscFlag);
      put(arraySize);
      put(miscFlags2);
    }
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
  }
};

inline std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t first = 0) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
  return bytes;
}

}  // namespace orvane::test
