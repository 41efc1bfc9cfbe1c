// Feeds arbitrary bytes to the PNG/JPEG decoder entry.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "resources/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const orvane::ImageResult result = orvane::DecodeImageFromMemory(std::span(data, size));
  if (!result.Ok() && !result.image.pixels.empty()) std::abort();
  if (result.Ok() && result.image.pixels.size() < result.image.width * result.image.height) {
    std::abort();
  }
  return 0;
}
