#include "resources/ReadWholeFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "resources/FilePath.h"

namespace orvane {

std::optional<std::vector<std::uint8_t>> ReadWholeFileQuietly(std::string_view path) {
  const std::string native = ToNativePath(path);
  std::error_code error;
  // A directory opens as a stream on some systems; only plain files hold data to read.
  if (!std::filesystem::is_regular_file(native, error)) return std::nullopt;
  std::ifstream file(native, std::ios::binary);
  if (!file) return std::nullopt;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  file.seekg(0, std::ios::beg);
  if (!bytes.empty() &&
      !file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    return std::nullopt;
  }
  return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(std::string_view path) {
  auto bytes = ReadWholeFileQuietly(path);
  if (!bytes) std::printf("Failed to open %s\n", std::string(path).c_str());
  return bytes;
}

}  // namespace orvane
