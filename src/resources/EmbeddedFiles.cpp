#include "resources/EmbeddedFiles.h"

#include <cstdio>
#include <filesystem>

#include "resources/ReadWholeFile.h"

namespace orvane {

std::string NormalizeDataPath(std::string_view path) {
  std::string normal;
  normal.reserve(path.size());
  for (const char c : path) {
    const char separator = c == '\\' ? '/' : c;
    if (separator == '/' && !normal.empty() && normal.back() == '/') continue;
    normal += separator;
  }
  while (normal.rfind("./", 0) == 0) normal.erase(0, 2);
  return normal;
}

std::optional<std::string_view> FindEmbeddedFile(std::span<const EmbeddedFile> files,
                                                 std::string_view path) {
  const std::string normal = NormalizeDataPath(path);
  for (const EmbeddedFile& file : files) {
    if (normal == file.path) return std::string_view(file.text, file.size);
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadDataFile(std::string_view path,
                                                      std::span<const EmbeddedFile> builtIn) {
  if (auto bytes = ReadWholeFileQuietly(path)) return bytes;
  if (const auto text = FindEmbeddedFile(builtIn, path)) {
    return std::vector<std::uint8_t>(text->begin(), text->end());
  }
  std::printf("Failed to open %s\n", std::string(path).c_str());
  return std::nullopt;
}

}  // namespace orvane
