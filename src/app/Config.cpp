#include "app/Config.h"

#include <fstream>
#include <string>

namespace orvane {
namespace {

bool ReadInt(std::istream& in, int& setting) {
  int value = 0;
  if (!(in >> value)) return false;
  setting = value;
  return true;
}

// A boolean written as 0 or 1; anything else fails.
bool ReadFlag(std::istream& in, bool& setting) {
  int value = 0;
  if (!(in >> value) || (value != 0 && value != 1)) return false;
  setting = value == 1;
  return true;
}

}  // namespace

DisplayConfig DisplayConfig::Sanitized() const {
  DisplayConfig result = *this;
  const auto valid = [](int size) { return size > 0 && size <= kMaxSize; };
  if (!valid(result.width)) result.width = kDefaultWidth;
  if (!valid(result.height)) result.height = kDefaultHeight;
  return result;
}

DisplayConfig ReadDisplayConfig(std::istream& in) {
  DisplayConfig config;
  std::string word;
  while (in >> word) {
    bool ok = true;
    if (word == "width") {
      ok = ReadInt(in, config.width);
    } else if (word == "height") {
      ok = ReadInt(in, config.height);
    } else if (word == "fullscreen") {
      ok = ReadFlag(in, config.fullscreen);
    } else if (word == "vsync") {
      ok = ReadFlag(in, config.vsync);
    }
    if (!ok) break;
  }
  return config;
}

DisplayConfig ReadDisplayConfigFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) return DisplayConfig{};
  return ReadDisplayConfig(in);
}

}  // namespace orvane
