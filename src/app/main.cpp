// orvane: plays a demo described by an operator graph, to its music.

#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/ImGuiContext.h"
#include "app/Inspect.h"

namespace {

constexpr int kExitUsage = 2;

int RunCommand(const orvane::CommandLine& line) {
  using orvane::Command;
  switch (line.command) {
    case Command::DumpDocument: return orvane::RunDumpDocument(line.documentFile, std::cout, std::cerr);
    case Command::DumpGraph: return orvane::RunDumpGraph(std::cout, std::cerr);
    case Command::Eval: return orvane::RunEval(line.evalOperator, line.evalPort, line.evalTime, std::cout, std::cerr);
    case Command::Check: return orvane::RunCheck(std::cout);
    case Command::Operators: return orvane::RunOperators(line.json, std::cout);
    case Command::Play: return orvane::RunPlayback(line);
    case Command::Render: return orvane::RunOfflineRender(line);
    case Command::Benchmark: return orvane::RunBenchmark(line);
    case Command::Help:
    case Command::Version: break;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const orvane::CommandLineResult parsed = orvane::ParseCommandLine(arguments);
  if (!parsed.error.empty()) {
    std::cerr << "orvane: " << parsed.error << "\nTry 'orvane --help' for usage.\n";
    return kExitUsage;
  }
  orvane::CommandLine line = parsed.commandLine;
  if (line.command == orvane::Command::Help) {
    std::cout << orvane::UsageText();
    return 0;
  }
  if (line.command == orvane::Command::Version) {
    std::cout << "orvane " << ORVANE_VERSION << '\n';
    return 0;
  }
  // The output of a render is named from where the program was started, not from the demo.
  if (line.command == orvane::Command::Render) {
    std::error_code ignored;
    line.renderOut = std::filesystem::absolute(line.renderOut, ignored).string();
  }
  if (line.demoDir) {
    std::error_code error;
    std::filesystem::current_path(*line.demoDir, error);
    if (error) {
      std::cerr << "orvane: cannot enter demo folder " << *line.demoDir << ": " << error.message() << '\n';
      return 1;
    }
  }
  const orvane::ImGuiContextScope imgui;
  return RunCommand(line);
}
