#pragma once
// The display configuration, "config.ini": whitespace-separated words, each known key followed by
// its value: "width 1280 height 720 fullscreen 0 vsync 1". Unknown words are skipped; the first
// value that cannot be read ends the reading and keeps what was read before it.

#include <filesystem>
#include <istream>

namespace orvane {

struct DisplayConfig {
  static constexpr int kDefaultWidth = 1920;
  static constexpr int kDefaultHeight = 1080;
  static constexpr int kMaxSize = 16384;

  int width = kDefaultWidth;
  int height = kDefaultHeight;
  bool fullscreen = false;
  bool vsync = true;

  // A size the window and its render targets can have: values that are not positive, or larger
  // than any texture may be, fall back to the defaults.
  DisplayConfig Sanitized() const;
};

DisplayConfig ReadDisplayConfig(std::istream& in);
// The defaults when the file cannot be opened.
DisplayConfig ReadDisplayConfigFile(const std::filesystem::path& path = "config.ini");

}  // namespace orvane
