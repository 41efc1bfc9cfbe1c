#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane {
namespace {

CommandLineResult Parse(std::vector<std::string_view> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLine, Commands) {
  const std::pair<std::vector<std::string_view>, Command> cases[] = {
      {{}, Command::Play},
      {{"demo"}, Command::Play},
      {{"-h"}, Command::Help},
      {{"--help"}, Command::Help},
      {{"--version"}, Command::Version},
      {{"--dump-graph"}, Command::DumpGraph},
      {{"--check", "demo"}, Command::Check},
      {{"--dump-document"}, Command::DumpDocument},
      {{"--eval", "2:FloatOut"}, Command::Eval},
      {{"--render", "out.mp4"}, Command::Render},
      {{"--check", "--check"}, Command::Check},
      {{"--operators"}, Command::Operators},
      {{"--json", "--operators"}, Command::Operators},
      {{"--benchmark"}, Command::Benchmark},
      {{"--benchmark", "--profile", "--size", "64x36"}, Command::Benchmark},
      {{"--dev", "--loop", "1:2", "--from", "1.5"}, Command::Play},
  };
  for (const auto& [arguments, command] : cases) {
    const CommandLineResult result = Parse(arguments);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.commandLine.command, command);
  }
}

TEST(CommandLine, ValuesAndOverrides) {
  const CommandLineResult result = Parse({"examples/x", "--size", "640x360", "--vsync=0", "--fullscreen",
                                          "--headless", "--fps", "30", "--from", "1.5", "--to=4", "--render",
                                          "frames"});
  ASSERT_EQ(result.error, "");
  const CommandLine& line = result.commandLine;
  EXPECT_EQ(line.demoDir, "examples/x");
  ASSERT_TRUE(line.size);
  EXPECT_EQ(line.size->width, 640);
  EXPECT_EQ(line.size->height, 360);
  EXPECT_EQ(line.vsync, false);
  EXPECT_EQ(line.fullscreen, true);
  EXPECT_TRUE(line.headless);
  EXPECT_EQ(line.fps, 30.0);
  EXPECT_EQ(line.from, 1.5);
  EXPECT_EQ(line.to, 4.0);
  EXPECT_EQ(line.renderOut, "frames");

  EXPECT_EQ(Parse({"--windowed"}).commandLine.fullscreen, false);
  const CommandLine defaults = Parse({}).commandLine;
  EXPECT_FALSE(defaults.fullscreen || defaults.size || defaults.vsync || defaults.from || defaults.to);
  EXPECT_EQ(defaults.fps, 60.0);
  EXPECT_FALSE(defaults.json);
  EXPECT_TRUE(Parse({"--operators", "--json"}).commandLine.json);
}

TEST(CommandLine, DevelopmentAndMeasuringOptions) {
  const CommandLine line = Parse({"--dev", "--loop=1.5:4", "--from", "2", "--profile"}).commandLine;
  EXPECT_TRUE(line.dev);
  EXPECT_TRUE(line.profile);
  ASSERT_TRUE(line.loop);
  EXPECT_EQ(line.loop->start, 1.5);
  EXPECT_EQ(line.loop->end, 4.0);
  EXPECT_EQ(line.from, 2.0);
  const CommandLine plain = Parse({}).commandLine;
  EXPECT_FALSE(plain.dev || plain.profile || plain.loop);
}

TEST(CommandLine, CaptureOptions) {
  const CommandLine line =
      Parse({"--render", "out.mp4", "--supersample", "3", "--motion-blur=16", "--preroll", "2.5"}).commandLine;
  EXPECT_EQ(line.supersample, 3);
  EXPECT_EQ(line.motionBlur, 16);
  EXPECT_EQ(line.preroll, 2.5);
  const CommandLine defaults = Parse({"--render", "out"}).commandLine;
  EXPECT_EQ(defaults.supersample, 1);
  EXPECT_EQ(defaults.motionBlur, 1);
  EXPECT_EQ(defaults.preroll, 0.0);
  // The ends of each range are allowed.
  for (std::vector<std::string_view> arguments :
       {std::vector<std::string_view>{"--render", "x", "--supersample", "1"}, {"--render", "x", "--supersample", "4"},
        {"--render", "x", "--motion-blur", "1"}, {"--render", "x", "--motion-blur", "64"},
        {"--render", "x", "--preroll", "0"}}) {
    EXPECT_EQ(Parse(arguments).error, "") << arguments[2] << " " << arguments[3];
  }
}

TEST(CommandLine, EvalAndDumpDocumentArguments) {
  const CommandLine eval = Parse({"--eval", "12:Red", "--time", "-2.5"}).commandLine;
  EXPECT_EQ(eval.evalOperator, 12);
  EXPECT_EQ(eval.evalPort, "Red");
  EXPECT_EQ(eval.evalTime, -2.5f);
  EXPECT_EQ(Parse({"--eval", "1:a:b"}).commandLine.evalPort, "a:b");

  const std::pair<std::vector<std::string_view>, std::string_view> documents[] = {
      {{"--dump-document"}, "demo.opr"},
      {{"--dump-document", "other.opr"}, "other.opr"},
      {{"--dump-document=x.opr"}, "x.opr"},
      {{"--dump-document", "--check"}, "demo.opr"},  // an option is no file (and conflicts)
  };
  for (const auto& [arguments, file] : documents) EXPECT_EQ(Parse(arguments).commandLine.documentFile, file);
  const CommandLineResult withDir = Parse({"dir", "--dump-document"});
  EXPECT_EQ(withDir.commandLine.demoDir, "dir");
  EXPECT_EQ(withDir.commandLine.documentFile, "demo.opr");
}

TEST(CommandLine, ErrorsNameTheOffendingArgument) {
  const std::pair<std::vector<std::string_view>, std::string_view> cases[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"-x"}, "unknown option '-x'"},
      {{"a", "b"}, "unexpected argument 'b'"},
      {{"--size", "640"}, "malformed value '640' for --size"},
      {{"--size", "0x10"}, "malformed value '0x10' for --size"},
      {{"--size", "-5x10"}, "malformed value '-5x10' for --size"},
      {{"--vsync", "2"}, "malformed value '2' for --vsync"},
      {{"--fps", "0"}, "malformed value '0' for --fps"},
      {{"--fps", "abc"}, "malformed value 'abc' for --fps"},
      {{"--from", "nan"}, "malformed value 'nan' for --from"},
      {{"--to", "1e999"}, "malformed value '1e999' for --to"},
      {{"--time", "1s"}, "malformed value '1s' for --time"},
      {{"--eval", "x:Red"}, "malformed value 'x:Red' for --eval"},
      {{"--eval", "-1:Red"}, "malformed value '-1:Red' for --eval"},
      {{"--eval", "3"}, "malformed value '3' for --eval"},
      {{"--eval", "3:"}, "malformed value '3:' for --eval"},
      {{"--render"}, "option --render needs a value"},
      {{"--headless=1"}, "option --headless takes no value"},
      {{"--dump-graph", "--check"}, "options --dump-graph and --check cannot be combined"},
      {{"--eval", "1:a", "--render", "x"}, "options --eval and --render cannot be combined"},
      {{"--operators", "--check"}, "options --operators and --check cannot be combined"},
      {{"--json"}, "option --json goes only with --operators"},
      {{"--dump-graph", "--json"}, "option --json goes only with --operators"},
      {{"--operators", "--json=1"}, "option --json takes no value"},
      {{"--loop", "2:1"}, "malformed value '2:1' for --loop"},
      {{"--loop", "1:1"}, "malformed value '1:1' for --loop"},
      {{"--loop", "-1:1"}, "malformed value '-1:1' for --loop"},
      {{"--loop", "1"}, "malformed value '1' for --loop"},
      {{"--loop", "1:2", "--render", "x"}, "options --loop and --render cannot be combined"},
      {{"--benchmark", "--loop", "1:2"}, "options --loop and --benchmark cannot be combined"},
      {{"--render", "x", "--benchmark"}, "options --render and --benchmark cannot be combined"},
      {{"--dev=1"}, "option --dev takes no value"},
      {{"--render", "x", "--supersample", "0"}, "malformed value '0' for --supersample"},
      {{"--render", "x", "--supersample", "5"}, "malformed value '5' for --supersample"},
      {{"--render", "x", "--supersample", "2.0"}, "malformed value '2.0' for --supersample"},
      {{"--render", "x", "--motion-blur", "0"}, "malformed value '0' for --motion-blur"},
      {{"--render", "x", "--motion-blur", "65"}, "malformed value '65' for --motion-blur"},
      {{"--render", "x", "--preroll", "-1"}, "malformed value '-1' for --preroll"},
      {{"--render", "x", "--preroll", "inf"}, "malformed value 'inf' for --preroll"},
      {{"--supersample", "2"}, "option --supersample goes only with --render"},
      {{"--benchmark", "--motion-blur", "4"}, "option --motion-blur goes only with --render"},
      {{"--preroll", "1", "--from", "3"}, "option --preroll goes only with --render"},
  };
  for (const auto& [arguments, error] : cases) EXPECT_EQ(Parse(arguments).error, error);
}

}  // namespace
}  // namespace orvane
