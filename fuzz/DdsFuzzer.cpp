// Feeds arbitrary bytes to the DDS reader. A file it accepts must carry exactly the pixel bytes
// its metadata describes; every byte is read so that the sanitizers see any fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "resources/DdsReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const orvane::ImageResult result = orvane::ReadDdsFromMemory(std::span(data, size));
  if (!result.Ok()) {
    if (!result.image.pixels.empty()) std::abort();
    return 0;
  }
  unsigned sum = 0;
  for (const std::uint8_t byte : result.image.pixels) sum += byte;
  if (result.image.width == 0 || result.image.mipLevels == 0 || sum == 0xFFFFFFFFu) std::abort();
  return 0;
}
