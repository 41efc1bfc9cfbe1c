#include "app/CommandLine.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace orvane {
namespace {

constexpr std::string_view kUsage =
    "usage: orvane [DEMO_DIR] [options]\n"
    "\n"
    "Plays the demo in DEMO_DIR (default: the current directory): \"demo.opr\", its music and data.\n"
    "\n"
    "  -h, --help              this text\n"
    "      --version           the version\n"
    "\n"
    "Playing:\n"
    "      --headless          no window (also chosen when no display is available)\n"
    "      --fullscreen        full screen (overrides config.ini)\n"
    "      --windowed          in a window (overrides config.ini)\n"
    "      --size WxH          window size (overrides config.ini)\n"
    "      --vsync 0|1         vertical sync (overrides config.ini)\n"
    "      --from S            start playing at S seconds\n"
    "      --loop A:B          play the range from A to B seconds again and again\n"
    "      --dev               development mode: keys (Space pause, Left/Right seek, Shift 10 s,\n"
    "                          Home start, [ ] loop, Backspace clear loop, Tab overlay), overlay\n"
    "                          and live reload of the document and the demo's shaders\n"
    "\n"
    "Offline rendering:\n"
    "      --render OUT        render at a fixed frame rate into a folder of PNG frames, or a\n"
    "                          video file ending in .mp4, .mkv or .webm (through ffmpeg)\n"
    "      --fps N             frames per second (default 60)\n"
    "      --from S            first time in seconds (default 0)\n"
    "      --to E              end time in seconds (default: the music's length)\n"
    "      --supersample N     draw each frame at N times the size (1 to 4) and filter it down\n"
    "      --motion-blur K     average K evaluations over half a frame interval (1 to 64)\n"
    "      --preroll S         evaluate the S seconds before FROM without writing them, so that\n"
    "                          particles and other state build up as in one long render\n"
    "\n"
    "Measuring:\n"
    "      --profile           at the end, GPU time per label and CPU time per phase\n"
    "      --benchmark         render FROM..TO offscreen as fast as possible; print figures\n"
    "\n"
    "Inspecting:\n"
    "      --dump-document [FILE]  print the document tree of FILE (default demo.opr)\n"
    "      --dump-graph        print the loaded operator graph\n"
    "      --eval I:PORT       print output PORT of operator I, evaluated at --time T\n"
    "      --time T            the time for --eval, in seconds (default 0)\n"
    "      --check             report what the player would silently skip; exit 1 if anything\n"
    "      --operators         list every operator type with its ports and defaults\n"
    "      --json              with --operators: the list as JSON\n";

template <class T>
bool ParseNumber(std::string_view text, T& out) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, out);
  return result.ec == std::errc() && result.ptr == end;
}

bool ParseFinite(std::string_view text, double& out) { return ParseNumber(text, out) && std::isfinite(out); }

bool ParseInRange(std::string_view text, int low, int high, int& out) {
  return ParseNumber(text, out) && out >= low && out <= high;
}

// A day of preroll is already far more than any state needs to settle.
constexpr double kMaxPrerollSeconds = 86400.0;

bool ParseSize(std::string_view text, WindowSize& out) {
  const size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  return ParseNumber(text.substr(0, x), out.width) && ParseNumber(text.substr(x + 1), out.height) &&
         out.width > 0 && out.height > 0;
}

bool ParseRange(std::string_view text, CommandLine::Range& out) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  return ParseFinite(text.substr(0, colon), out.start) && ParseFinite(text.substr(colon + 1), out.end) &&
         out.start >= 0.0 && out.start < out.end;
}

bool ParseEvalTarget(std::string_view text, CommandLine& out) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon + 1 == text.size()) return false;
  out.evalPort = std::string(text.substr(colon + 1));
  return ParseNumber(text.substr(0, colon), out.evalOperator) && out.evalOperator >= 0;
}

class Parser {
public:
  explicit Parser(std::span<const std::string_view> arguments) : arguments_(arguments) {}

  CommandLineResult Run() {
    for (position_ = 0; position_ < arguments_.size() && result_.error.empty(); ++position_) {
      Handle(arguments_[position_]);
    }
    if (result_.commandLine.json && result_.commandLine.command != Command::Operators) {
      Fail("option --json goes only with --operators");
    }
    // A loop never ends, so a render or a benchmark could not either.
    if (loopOption_ && result_.commandLine.command != Command::Play) {
      Fail("options --loop and " + commandOption_ + " cannot be combined");
    }
    if (!captureOption_.empty() && result_.commandLine.command != Command::Render) {
      Fail("option " + captureOption_ + " goes only with --render");
    }
    return result_;
  }

private:
  void Fail(std::string message) {
    if (result_.error.empty()) result_.error = std::move(message);
  }

  void SetCommand(Command command, std::string_view option) {
    if (commandOption_.empty() || command == result_.commandLine.command) {
      result_.commandLine.command = command;
      commandOption_ = option;
      return;
    }
    Fail("options " + commandOption_ + " and " + std::string(option) + " cannot be combined");
  }

  // The value of an option that takes one: "--opt VALUE" or "--opt=VALUE".
  std::optional<std::string_view> TakeValue(std::string_view option, std::optional<std::string_view> attached) {
    if (attached) return attached;
    if (position_ + 1 >= arguments_.size()) {
      Fail("option " + std::string(option) + " needs a value");
      return std::nullopt;
    }
    return arguments_[++position_];
  }

  void Malformed(std::string_view option, std::string_view value) {
    Fail("malformed value '" + std::string(value) + "' for " + std::string(option));
  }

  void Handle(std::string_view argument) {
    CommandLine& line = result_.commandLine;
    if (argument.empty() || argument[0] != '-' || argument == "-") {
      if (line.demoDir) return Fail("unexpected argument '" + std::string(argument) + "'");
      line.demoDir = std::string(argument);
      return;
    }
    std::string_view option = argument;
    std::optional<std::string_view> attached;
    if (const size_t equals = argument.find('='); equals != std::string_view::npos && argument.starts_with("--")) {
      option = argument.substr(0, equals);
      attached = argument.substr(equals + 1);
    }
    const auto flag = [&](auto&& apply) {
      if (attached) return Fail("option " + std::string(option) + " takes no value");
      apply();
    };
    const auto valued = [&](auto&& parse) {
      if (const auto value = TakeValue(option, attached)) {
        if (!parse(*value)) Malformed(option, *value);
      }
    };

    if (option == "-h" || option == "--help") return flag([&] { SetCommand(Command::Help, option); });
    if (option == "--version") return flag([&] { SetCommand(Command::Version, option); });
    if (option == "--headless") return flag([&] { line.headless = true; });
    if (option == "--fullscreen") return flag([&] { line.fullscreen = true; });
    if (option == "--windowed") return flag([&] { line.fullscreen = false; });
    if (option == "--dump-graph") return flag([&] { SetCommand(Command::DumpGraph, option); });
    if (option == "--check") return flag([&] { SetCommand(Command::Check, option); });
    if (option == "--operators") return flag([&] { SetCommand(Command::Operators, option); });
    if (option == "--json") return flag([&] { line.json = true; });
    if (option == "--dev") return flag([&] { line.dev = true; });
    if (option == "--profile") return flag([&] { line.profile = true; });
    if (option == "--benchmark") return flag([&] { SetCommand(Command::Benchmark, option); });
    if (option == "--loop") {
      loopOption_ = true;
      return valued([&](std::string_view v) { return ParseRange(v, line.loop.emplace()); });
    }
    if (option == "--size") {
      return valued([&](std::string_view v) { return ParseSize(v, line.size.emplace()); });
    }
    if (option == "--vsync") {
      return valued([&](std::string_view v) {
        if (v != "0" && v != "1") return false;
        line.vsync = v == "1";
        return true;
      });
    }
    if (option == "--render") {
      SetCommand(Command::Render, option);
      return valued([&](std::string_view v) {
        line.renderOut = std::string(v);
        return !v.empty();
      });
    }
    if (option == "--fps") {
      return valued([&](std::string_view v) { return ParseFinite(v, line.fps) && line.fps > 0.0; });
    }
    if (option == "--supersample") {
      captureOption_ = option;
      return valued([&](std::string_view v) { return ParseInRange(v, 1, 4, line.supersample); });
    }
    if (option == "--motion-blur") {
      captureOption_ = option;
      return valued([&](std::string_view v) { return ParseInRange(v, 1, 64, line.motionBlur); });
    }
    if (option == "--preroll") {
      captureOption_ = option;
      return valued([&](std::string_view v) {
        return ParseFinite(v, line.preroll) && line.preroll >= 0.0 && line.preroll <= kMaxPrerollSeconds;
      });
    }
    if (option == "--from") return valued([&](std::string_view v) { return ParseFinite(v, line.from.emplace()); });
    if (option == "--to") return valued([&](std::string_view v) { return ParseFinite(v, line.to.emplace()); });
    if (option == "--time") {
      return valued([&](std::string_view v) {
        double time = 0.0;
        if (!ParseFinite(v, time)) return false;
        line.evalTime = static_cast<float>(time);
        return true;
      });
    }
    if (option == "--eval") {
      SetCommand(Command::Eval, option);
      return valued([&](std::string_view v) { return ParseEvalTarget(v, line); });
    }
    if (option == "--dump-document") {
      SetCommand(Command::DumpDocument, option);
      // The file is optional: the next argument is taken only when it is no option.
      if (attached) {
        line.documentFile = std::string(*attached);
      } else if (position_ + 1 < arguments_.size() && !arguments_[position_ + 1].starts_with("-")) {
        line.documentFile = std::string(arguments_[++position_]);
      }
      return;
    }
    Fail("unknown option '" + std::string(argument) + "'");
  }

  std::span<const std::string_view> arguments_;
  size_t position_ = 0;
  CommandLineResult result_;
  std::string commandOption_;
  bool loopOption_ = false;
  std::string captureOption_;  // the last of --supersample, --motion-blur, --preroll given
};

}  // namespace

CommandLineResult ParseCommandLine(std::span<const std::string_view> arguments) {
  return Parser(arguments).Run();
}

std::string_view UsageText() { return kUsage; }

}  // namespace orvane
