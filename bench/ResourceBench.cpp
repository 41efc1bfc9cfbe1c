// Reading speed of the texture readers: a large DXT5 DDS with a full mip chain through the DDS
// reader, and a large RGBA PNG through the image decoder. Both files are generated in a
// temporary folder; the figures are MB/s of file bytes and of decoded pixel bytes.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "resources/DdsReader.h"
#include "resources/ImageDecoder.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wcast-align"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wnull-dereference"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

constexpr std::uint32_t kDdsSize = 4096;
constexpr int kPngSize = 2048;
constexpr int kRuns = 5;

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A DXT5 file of kDdsSize squared with every mip level down to 1 x 1, filled with noise.
std::vector<std::uint8_t> MakeDxt5Dds() {
  std::uint32_t mips = 0;
  std::uint64_t payload = 0;
  for (std::uint32_t size = kDdsSize;; size /= 2) {
    const std::uint64_t blocks = std::max<std::uint32_t>(1, (size + 3) / 4);
    payload += blocks * blocks * 16;
    ++mips;
    if (size == 1) break;
  }
  std::vector<std::uint8_t> file;
  PutU32(file, 0x20534444);
  PutU32(file, 124);
  PutU32(file, 0x21007);  // caps, height, width, pixel format, mip count
  PutU32(file, kDdsSize);
  PutU32(file, kDdsSize);
  PutU32(file, kDdsSize * kDdsSize);
  PutU32(file, 0);
  PutU32(file, mips);
  for (int i = 0; i < 11; ++i) PutU32(file, 0);
  PutU32(file, 32);
  PutU32(file, 0x4);
  PutU32(file, 0x35545844);  // "DXT5"
  for (int i = 0; i < 5; ++i) PutU32(file, 0);
  PutU32(file, 0x401008);  // complex, texture, mipmap
  for (int i = 0; i < 4; ++i) PutU32(file, 0);
  std::mt19937 random(1);
  for (std::uint64_t i = 0; i < payload; ++i) file.push_back(static_cast<std::uint8_t>(random()));
  return file;
}

// Smooth gradients with some noise: compresses like a photograph-ish texture, not like noise.
std::vector<std::uint8_t> MakeRgbaPixels() {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kPngSize) * kPngSize * 4);
  std::mt19937 random(2);
  for (int y = 0; y < kPngSize; ++y) {
    for (int x = 0; x < kPngSize; ++x) {
      std::uint8_t* texel = &pixels[(static_cast<std::size_t>(y) * kPngSize + static_cast<std::size_t>(x)) * 4];
      texel[0] = static_cast<std::uint8_t>(x / 8 + (random() & 7));
      texel[1] = static_cast<std::uint8_t>(y / 8 + (random() & 7));
      texel[2] = static_cast<std::uint8_t>((x + y) / 16);
      texel[3] = 255;
    }
  }
  return pixels;
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char* name, std::uintmax_t fileBytes, std::size_t pixelBytes,
            const std::function<orvane::ImageResult()>& read) {
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    orvane::ImageResult result;
    times.push_back(Seconds([&] { result = read(); }));
    if (!result.Ok() || result.image.pixels.size() != pixelBytes) {
      std::printf("%s: read failed (%s)\n", name, orvane::ImageErrorName(result.error));
      return;
    }
  }
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  std::printf("%-28s file %8.2f MB  pixels %8.2f MB  median %8.2f ms  %9.1f MB/s file  %9.1f MB/s pixels\n",
              name, static_cast<double>(fileBytes) / 1e6, static_cast<double>(pixelBytes) / 1e6,
              median * 1e3, static_cast<double>(fileBytes) / 1e6 / median,
              static_cast<double>(pixelBytes) / 1e6 / median);
}

}  // namespace

int main() {
  const auto folder = std::filesystem::temp_directory_path() / "orvane-resource-bench";
  std::filesystem::create_directories(folder);

  const std::string ddsPath = (folder / "large-dxt5.dds").string();
  const std::vector<std::uint8_t> dds = MakeDxt5Dds();
  std::ofstream(ddsPath, std::ios::binary).write(reinterpret_cast<const char*>(dds.data()),
                                                 static_cast<std::streamsize>(dds.size()));

  const std::string pngPath = (folder / "large-rgba.png").string();
  const std::vector<std::uint8_t> rgba = MakeRgbaPixels();
  if (!stbi_write_png(pngPath.c_str(), kPngSize, kPngSize, 4, rgba.data(), kPngSize * 4)) {
    std::printf("could not write %s\n", pngPath.c_str());
    return 1;
  }

  std::printf("%d runs each, median\n", kRuns);
  Report("DDS DXT5 4096^2, 13 mips", std::filesystem::file_size(ddsPath), dds.size() - 128,
         [&] { return orvane::ReadDds(ddsPath); });
  Report("PNG RGBA8 2048^2", std::filesystem::file_size(pngPath), rgba.size(),
         [&] { return orvane::DecodeImage(pngPath); });

  std::filesystem::remove_all(folder);
  return 0;
}
