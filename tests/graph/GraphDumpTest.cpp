#include "graph/GraphDump.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/GraphFixture.h"

namespace orvane {
namespace {

TEST(GraphDump, PrintsOperatorsPortsValuesCurvesAndSources) {
  testing::LoadedGraph graph(
      "operator { type: FinalOutput; connection { source: 2; sourceProp: FloatOut; target: 0; targetProp: In; } }\n"
      "operator[] { type: Time; }\n"
      "operator[] { type: Sin; input { Value: 0.1; } input[] { Amplitude: 2; track { key { time: 0; } key[] { time: 1; } } }\n"
      "  input[] { Frequency: 1e20; } input[] { Phase: -0; }\n"
      "  connection { source: 1; sourceProp: FloatOut; target: 2; targetProp: Offset; }\n"
      "  connection[] { source: 3; sourceProp: Echo; target: 2; targetProp: Offset; } }\n"
      "operator[] { type: TestEcho; }\n"
      "operator[] { type: \"odd\\tname\"; }\n");
  std::ostringstream out;
  DumpGraph(graph.player.operators, out);
  EXPECT_EQ(out.str(),
            "#0 FinalOutput\n"
            "  in In : generic <- #2.FloatOut\n"
            "  out FinalOutput : generic\n"
            "#1 Time\n"
            "  out FloatOut : float\n"
            "#2 Sin\n"
            "  in Value : float = 0.1\n"
            "  in Amplitude : float = curve(2 keys)\n"
            "  in Frequency : float = 1e+20\n"
            "  in Phase : float = -0\n"
            "  in Offset : float = 0 <- #1.FloatOut <- #3.Echo\n"
            "  out FloatOut : float\n"
            "#3 TestEcho\n"
            "  in Echo : float = 3\n"
            "  out Echo : float\n");
}

}  // namespace
}  // namespace orvane
