#include "app/PngFrameSink.h"

#include <png.h>

#include <cstdio>

namespace orvane {
namespace {

// Frames are written for speed: fast deflate and one cheap filter (previous row) for every row.
// At 1280x720 this is about five times faster than a thorough encoder and the files are no
// larger for rendered pictures with grain.
constexpr int kCompressionLevel = 1;

// False when the file cannot be made or written. libpng reports errors by a long jump to here;
// no object with a destructor lives across it.
bool WritePngFile(const char* path, int width, int height, const uint8_t* rgba) {
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  volatile bool written = false;
  if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, kCompressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) png_write_row(png, rgba + stride * static_cast<size_t>(y));
    png_write_end(png, nullptr);
    written = true;
  }
  png_destroy_write_struct(&png, &info);
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

}  // namespace

std::string PngFrameSink::FrameName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06d.png", index);
  return name;
}

std::unique_ptr<PngFrameSink> PngFrameSink::Open(const std::filesystem::path& folder, const FrameFormat& format,
                                                 std::string& error) {
  std::error_code failure;
  std::filesystem::create_directories(folder, failure);
  if (failure || !std::filesystem::is_directory(folder)) {
    error = "cannot make the folder " + folder.string() + (failure ? ": " + failure.message() : "");
    return nullptr;
  }
  return std::unique_ptr<PngFrameSink>(new PngFrameSink(folder, format));
}

bool PngFrameSink::Write(std::span<const uint8_t> rgba) {
  const auto path = folder_ / FrameName(next_);
  const int stride = format_.width * 4;
  const bool sized = rgba.size() == static_cast<size_t>(stride) * static_cast<size_t>(format_.height);
  if (!sized || !WritePngFile(path.c_str(), format_.width, format_.height, rgba.data())) {
    error_ = "cannot write " + path.string();
    return false;
  }
  ++next_;
  return true;
}

}  // namespace orvane
