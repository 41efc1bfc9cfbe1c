#include "app/PngFrameSink.h"

#include <cstdio>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace orvane {

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
  if (!sized || stbi_write_png(path.c_str(), format_.width, format_.height, 4, rgba.data(), stride) == 0) {
    error_ = "cannot write " + path.string();
    return false;
  }
  ++next_;
  return true;
}

}  // namespace orvane
