// Loads a generated document of 5000 operators with curves and connections and prints how long
// parsing and graph loading take (best and median of several runs), and one evaluation of the
// whole graph.
//   bench_graph_load [OPERATORS] [RUNS]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Player.h"
#include "document/DataAccessor.h"
#include "document/DocumentParser.h"
#include "graph/GraphLoader.h"

namespace {

using Clock = std::chrono::steady_clock;

// Operators in groups of four: a Time, a Sin whose Value follows the Time and whose Amplitude
// is animated, an HSV2RGB fed by the Sin with an animated Hue, and a Sin fed by the colour.
std::string MakeDocument(int operators) {
  std::string text = "MusicPath: \"music.wav\";\noperator { type: FinalOutput;\n"
                     "  connection { source: 1; sourceProp: FloatOut; target: 0; targetProp: In; } }\n";
  for (int i = 1; i <= operators; ++i) {
    const int role = (i - 1) % 4;
    const std::string self = std::to_string(i);
    const std::string previous = std::to_string(i - 1);
    text += "operator[] { pos_x: " + std::to_string(i * 10) + "; pos_y: 20;\n";
    switch (role) {
      case 0: text += "  type: Time;\n"; break;
      case 1:
        text += "  type: Sin;\n  input { Value: 0; } input[] { Amplitude: 1; track { before: 1; after: 3;\n"
                "    key { time: 0; value: 0; } key[] { time: 1; value: 1; shape: 1; cp1_x: -0.3; cp2_x: 0.3; }\n"
                "    key[] { time: 2; value: 0.5; shape: 2; cp1_y: 1; } } }\n"
                "  input[] { Frequency: 3.5; } input[] { Phase: 0.25; } input[] { Offset: 0; }\n"
                "  connection { source: " + previous + "; sourceProp: FloatOut; target: " + self +
                "; targetProp: Value; }\n";
        break;
      case 2:
        text += "  type: HSV2RGB;\n  input { Hue: 0; track { key { time: 0; value: 0; } key[] { time: 8; value: 1; } } }\n"
                "  input[] { Saturation: 1; } input[] { value: 1; }\n"
                "  connection { source: " + previous + "; sourceProp: FloatOut; target: " + self +
                "; targetProp: value; }\n";
        break;
      default:
        text += "  type: Sin;\n  input { Value: 0; } input[] { Amplitude: 0.5; }\n"
                "  connection { source: " + previous + "; sourceProp: Green; target: " + self +
                "; targetProp: Value; }\n";
        break;
    }
    text += "}\n";
  }
  return text;
}

struct Timing {
  double best = 1e30;
  std::vector<double> all;
  void Add(double ms) {
    best = std::min(best, ms);
    all.push_back(ms);
  }
  double Median() {
    std::sort(all.begin(), all.end());
    return all[all.size() / 2];
  }
};

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int operators = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
  const std::string document = MakeDocument(operators);

  Timing parse, load, evaluate;
  size_t cut = 0;
  for (int run = 0; run < runs; ++run) {
    auto start = Clock::now();
    orvane::DataNode root("", 0);
    orvane::ParseDocumentBuffer(root, document);
    parse.Add(MillisecondsSince(start));

    orvane::Player player;
    orvane::GraphLoadReport report;
    start = Clock::now();
    orvane::LoadGraph(player.operators, orvane::DataAccessor(&root), &report);
    load.Add(MillisecondsSince(start));
    cut += report.cutCycles.size();

    start = Clock::now();
    player.RunLoadTimePass();
    evaluate.Add(MillisecondsSince(start));
  }

  const double megabytes = static_cast<double>(document.size()) / 1e6;
  std::printf("document: %d operators, %.2f MB, %d runs\n", operators, megabytes, runs);
  std::printf("parse:           best %8.2f ms   median %8.2f ms   (%.1f MB/s)\n", parse.best, parse.Median(),
              megabytes / (parse.best / 1000.0));
  std::printf("load graph:      best %8.2f ms   median %8.2f ms\n", load.best, load.Median());
  std::printf("load-time pass:  best %8.2f ms   median %8.2f ms   (first output of every operator)\n",
              evaluate.best, evaluate.Median());
  return cut == 0 ? 0 : 1;
}
