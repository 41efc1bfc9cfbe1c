#include "app/Config.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvane {
namespace {

struct ConfigCase {
  const char* text;
  int width, height;
  bool fullscreen, vsync;
};

TEST(DisplayConfig, ReadsKnownKeysAndStopsAtTheFirstBadValue) {
  const ConfigCase cases[] = {
      {"", 1920, 1080, false, true},
      {"width 1280 height 720 vsync 0", 1280, 720, false, false},
      {"fullscreen 1", 1920, 1080, true, true},
      {"vsync 2 width 800", 1920, 1080, false, true},  // a bad flag ends the reading
      {"foo 3 width 800", 800, 1080, false, true},     // unknown words are skipped
      {"width 640 height abc width 800", 640, 1080, false, true},
      {"Width 640", 1920, 1080, false, true},          // keys are matched exactly
      {"width\n1024\r\nheight\t768\n", 1024, 768, false, true},
      {"height 600 height 500", 1920, 500, false, true},
  };
  for (const ConfigCase& c : cases) {
    std::istringstream in(c.text);
    const DisplayConfig config = ReadDisplayConfig(in);
    EXPECT_EQ(config.width, c.width) << c.text;
    EXPECT_EQ(config.height, c.height) << c.text;
    EXPECT_EQ(config.fullscreen, c.fullscreen) << c.text;
    EXPECT_EQ(config.vsync, c.vsync) << c.text;
  }
}

TEST(DisplayConfig, AMissingFileGivesTheDefaults) {
  const DisplayConfig config = ReadDisplayConfigFile("/nonexistent/config.ini");
  EXPECT_EQ(config.width, 1920);
  EXPECT_EQ(config.height, 1080);
  EXPECT_FALSE(config.fullscreen);
  EXPECT_TRUE(config.vsync);
}

TEST(DisplayConfig, SanitizedSizesAreUsable) {
  const std::tuple<int, int, int, int> cases[] = {
      {1280, 720, 1280, 720}, {0, 720, 1920, 720}, {-5, -1, 1920, 1080}, {100000, 16384, 1920, 16384}};
  for (const auto& [width, height, saneWidth, saneHeight] : cases) {
    DisplayConfig config;
    config.width = width;
    config.height = height;
    const DisplayConfig sane = config.Sanitized();
    EXPECT_EQ(sane.width, saneWidth);
    EXPECT_EQ(sane.height, saneHeight);
  }
}

}  // namespace
}  // namespace orvane
