#pragma once
// The command line: orvane [DEMO_DIR] [options].

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvane {

enum class Command { Play, Render, Benchmark, DumpDocument, DumpGraph, Eval, Check, Operators, Help, Version };

struct WindowSize {
  int width = 0;
  int height = 0;
};

struct CommandLine {
  Command command = Command::Play;
  std::optional<std::string> demoDir;

  // Playing; unset values come from "config.ini".
  bool headless = false;
  std::optional<bool> fullscreen;
  std::optional<WindowSize> size;
  std::optional<bool> vsync;
  bool dev = false;  // keys, overlay and live reload
  struct Range {
    double start = 0.0;
    double end = 0.0;
  };
  std::optional<Range> loop;

  // Measuring.
  bool profile = false;

  // Offline rendering.
  std::string renderOut;
  double fps = 60.0;
  std::optional<double> from;
  std::optional<double> to;
  int supersample = 1;   // frames drawn at N times the width and height, filtered down
  int motionBlur = 1;    // evaluations averaged into each written frame
  double preroll = 0.0;  // seconds evaluated before FROM without being written

  // Inspecting.
  std::string documentFile = "demo.opr";
  int evalOperator = 0;
  std::string evalPort;
  float evalTime = 0.0f;
  bool json = false;  // --operators as JSON
};

struct CommandLineResult {
  CommandLine commandLine;
  std::string error;  // empty when the arguments were understood
};

// Parses the arguments after the program name.
CommandLineResult ParseCommandLine(std::span<const std::string_view> arguments);

std::string_view UsageText();

}  // namespace orvane
