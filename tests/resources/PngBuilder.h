#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane::test {

// Writes small PNG files in memory with stored (uncompressed) deflate blocks, so that tests can
// make any bit depth and colour type, and headers that lie.
class PngBuilder {
 public:
  PngBuilder(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth, std::uint8_t colourType)
      : width_(width), height_(height), bitDepth_(bitDepth), colourType_(colourType) {}

  PngBuilder& Srgb() {
    srgb_ = true;
    return *this;
  }

  // Raw scanlines without filter bytes; each row gets filter type 0.
  std::vector<std::uint8_t> Build(const std::vector<std::uint8_t>& rows, std::size_t rowBytes) const {
    std::vector<std::uint8_t> raw;
    for (std::size_t at = 0; at < rows.size(); at += rowBytes) {
      raw.push_back(0);
      raw.insert(raw.end(), rows.begin() + static_cast<long>(at), rows.begin() + static_cast<long>(at + rowBytes));
    }
    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    Put32(header, width_);
    Put32(header, height_);
    header.insert(header.end(), {bitDepth_, colourType_, 0, 0, 0});
    Chunk(file, "IHDR", header);
    if (srgb_) Chunk(file, "sRGB", {0});
    Chunk(file, "IDAT", Zlib(raw));
    Chunk(file, "IEND", {});
    return file;
  }

 private:
  static void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.insert(out.end(), {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                           static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
  }

  static std::uint32_t Crc(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0xFFFFFFFFu) {
    for (std::size_t i = 0; i < size; ++i) {
      crc ^= data[i];
      for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc;
  }

  static void Chunk(std::vector<std::uint8_t>& file, const char* type, const std::vector<std::uint8_t>& data) {
    Put32(file, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    Put32(file, Crc(&file[start], file.size() - start) ^ 0xFFFFFFFFu);
  }

  static std::vector<std::uint8_t> Zlib(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out = {0x78, 0x01};
    std::size_t at = 0;
    do {
      const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
      const bool last = at + n == raw.size();
      out.push_back(last ? 1 : 0);
      out.insert(out.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                             static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
      out.insert(out.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
      at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
      a = (a + byte) % 65521u;
      b = (b + a) % 65521u;
    }
    Put32(out, b << 16 | a);
    return out;
  }

  std::uint32_t width_;
  std::uint32_t height_;
  std::uint8_t bitDepth_;
  std::uint8_t colourType_;
  bool srgb_ = false;
};

}  // namespace orvane::test
