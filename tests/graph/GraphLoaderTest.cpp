#include "graph/GraphLoader.h"

#include <gtest/gtest.h>

#include <random>

#include "graph/CurveFunction.h"
#include "graph/FinalOutput.h"
#include "graph/TestOperators.h"
#include "support/GarbageDocuments.h"
#include "support/GraphFixture.h"

namespace orvane {
namespace {

using testing::LoadedGraph;

std::vector<std::string> Types(const LoadedGraph& graph) {
  std::vector<std::string> types;
  for (const auto& op : graph.player.operators) types.push_back(op->type);
  return types;
}

float StoredFloat(const Port& port) { return static_cast<const Float*>(port.function->GetValue())->value; }

TEST(LoadGraph, ARootWithoutOperatorsGivesTheLoneFinalOutput) {
  LoadedGraph graph("MusicPath: x.wav;");
  ASSERT_EQ(graph.player.operators.size(), 1u);
  Operator& root = graph.op(0);
  EXPECT_NE(dynamic_cast<FinalOutput*>(&root), nullptr);
  EXPECT_EQ(root.type, "");  // entry 0 is missing
  EXPECT_EQ(root.index, 0);
  EXPECT_EQ(root.inputs.size(), 1u);
  EXPECT_EQ(root.outputs.size(), 1u);
}

TEST(LoadGraph, OperatorsAreNumberedByPositionAndReadTheirEntries) {
  LoadedGraph graph(
      "operator { type: FinalOutput; pos_x: 10; pos_y: -2.5; }\n"
      "operator[] { type: Time; }\n"
      "operator[] { type: Sin; pos_x: 3; input { Value: 0.5; } }\n");
  EXPECT_EQ(Types(graph), (std::vector<std::string>{"FinalOutput", "Time", "Sin"}));
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(graph.op(i).index, static_cast<int32_t>(i));
  EXPECT_EQ(graph.op(0).posX, 10.0f);
  EXPECT_EQ(graph.op(0).posY, -2.5f);
  EXPECT_EQ(graph.op(2).posX, 3.0f);
  EXPECT_EQ(graph.op(2).posY, 0.0f);
  EXPECT_TRUE(graph.report.unknownTypes.empty());
}

TEST(LoadGraph, AnUnknownTypeShiftsTheEntriesOfLaterOperators) {
  LoadedGraph graph(
      "operator { type: FinalOutput; }\n"
      "operator[] { type: Sparkle; input { Value: 0.25; } }\n"
      "operator[] { type: Sin; input { Value: 0.75; } }\n");
  ASSERT_EQ(graph.player.operators.size(), 2u);
  // The Sin sits at position 1 and reads entry 1: the unknown type's name and values.
  EXPECT_NE(dynamic_cast<const Operator*>(&graph.op(1)), nullptr);
  EXPECT_EQ(graph.op(1).type, "Sparkle");
  EXPECT_EQ(StoredFloat(graph.input(1, 0)), 0.25f);
  ASSERT_EQ(graph.report.unknownTypes.size(), 1u);
  EXPECT_EQ(graph.report.unknownTypes[0].entry, 1);
  EXPECT_EQ(graph.report.unknownTypes[0].type, "Sparkle");
}

TEST(LoadGraph, PortsAreNumberedAndMissingEntriesReadZero) {
  LoadedGraph graph(
      "operator { type: FinalOutput; }\n"
      "operator[] { type: HSV2RGB; input { Hue: 0.5; } input[2] { value: 0.25; } }\n"
      "operator[] { type: HSV2RGB; input { Hue: 0.5; } input[] { } }\n");
  // Entry 1 of the first operator is missing: Saturation keeps its default.
  EXPECT_EQ(StoredFloat(graph.input(1, 0)), 0.5f);
  EXPECT_EQ(StoredFloat(graph.input(1, 1)), 1.0f);
  EXPECT_EQ(StoredFloat(graph.input(1, 2)), 0.25f);
  // An entry without the port's name reads 0, not the declared default.
  EXPECT_EQ(StoredFloat(graph.input(2, 1)), 0.0f);
  EXPECT_EQ(StoredFloat(graph.input(2, 2)), 1.0f);
}

TEST(LoadGraph, ConnectionsLinkTargetInputsToSourcePorts) {
  LoadedGraph graph(
      "operator { type: FinalOutput;\n"
      "  connection { source: 1; sourceProp: FloatOut; target: 0; targetProp: In; }\n"
      "  connection[] { source: 1; sourceProp: FloatOut; target: 0; targetProp: In; }\n"
      "  connection[] { source: 7; sourceProp: FloatOut; target: 0; targetProp: In; }\n"
      "  connection[4] { source: 1; sourceProp: FloatOut; target: 2; targetProp: In; } }\n"
      "operator[] { type: Time; }\n"
      "operator[] { type: TestCounter;\n"
      "  connection { source: 3; sourceProp: Echo; target: 2; targetProp: In; }\n"
      "  connection[] { source: 1; sourceProp: Nothing; target: 2; targetProp: In; } }\n"
      "operator[] { type: TestEcho; }\n");
  // Listed once although recorded twice; the out-of-range source links nothing.
  EXPECT_EQ(graph.input(0, 0).sources, PortList{&graph.output(1)});
  EXPECT_EQ(graph.op(0).connections.size(), 3u);  // connection 4 follows a gap: not read
  // A name carried by an input and an output finds the input.
  EXPECT_EQ(graph.input(2, 0).sources, PortList{&graph.input(3, 0)});
  EXPECT_EQ(graph.EvalFloat(2, 0, 0.0f), 1.0f);
  EXPECT_EQ(StoredFloat(graph.input(2, 0)), 3.0f);  // the echo's own value came through

  ASSERT_EQ(graph.report.unlinkedConnections.size(), 2u);
  const auto& outOfRange = graph.report.unlinkedConnections[0];
  EXPECT_EQ(outOfRange.operatorIndex, 0);
  EXPECT_EQ(outOfRange.connectionIndex, 2);
  EXPECT_FALSE(outOfRange.sourceFound);
  EXPECT_TRUE(outOfRange.targetFound);
  const Connection& record = graph.op(0).connections[2];
  EXPECT_EQ(record.sourceOperator, nullptr);
  EXPECT_EQ(record.targetPort, &graph.input(0, 0));  // the parts found are kept
  EXPECT_EQ(graph.report.unlinkedConnections[1].sourceProp, "Nothing");
}

TEST(LoadGraph, MissingConnectionKeysMeanTheFinalOutput) {
  LoadedGraph graph("operator { type: FinalOutput; connection { sourceProp: FinalOutput; targetProp: In; } }");
  // Output 0 of operator 0 into its own input: a cycle, cut at once.
  EXPECT_TRUE(graph.input(0, 0).sources.empty());
  EXPECT_EQ(graph.report.cutCycles.size(), 1u);
}

TEST(LoadGraph, TracksAnimateInputsThatHaveNoSource) {
  LoadedGraph graph(
      "operator { type: FinalOutput; }\n"
      "operator[] { type: Time; connection { source: 1; sourceProp: FloatOut; target: 2; targetProp: Value; } }\n"
      "operator[] { type: Sin;\n"
      "  input { Value: 5; track { key { time: 0; value: 1; } } }\n"
      "  input[] { Amplitude: 2; track { after: 1; key { time: 0; value: 1; } key[] { time: 1; value: 3; } } } }\n");
  Port& value = graph.input(2, 0);
  Port& amplitude = graph.input(2, 1);
  // Value already had a source from an earlier operator's connection: it keeps its plain value.
  EXPECT_EQ(value.curve, nullptr);
  EXPECT_EQ(StoredFloat(value), 5.0f);
  ASSERT_EQ(graph.report.ignoredCurves.size(), 1u);
  EXPECT_EQ(graph.report.ignoredCurves[0].port, "Value");
  // Amplitude became a curve that also read its constant.
  ASSERT_NE(amplitude.curve, nullptr);
  EXPECT_EQ(amplitude.curve->curve.keys.size(), 2u);
  EXPECT_EQ(StoredFloat(amplitude), 2.0f);
  amplitude.Evaluate(0.5f, graph.player);
  EXPECT_EQ(graph.player.scalar, 2.0f);
}

TEST(LoadGraph, OutputsThatHoldAValueReadTheOutputList) {
  // The FinalOutput's output holds a value, so it reads "output" 0; it lists its input as a
  // source, so a track there is ignored.
  LoadedGraph graph("operator { type: FinalOutput; output { FinalOutput: 1; track { key { time: 0; } } } }");
  EXPECT_EQ(graph.output(0).curve, nullptr);
  ASSERT_EQ(graph.report.ignoredCurves.size(), 1u);
  EXPECT_EQ(graph.report.ignoredCurves[0].port, "FinalOutput");
}

struct CycleCase {
  const char* what;
  const char* connections;  // recorded with operator 1
  size_t cut;
};

// Three Sin operators (1, 2, 3) and connections among them.
TEST(LoadGraph, CyclesAreCutAtTheLinkThatClosesThem) {
  const CycleCase cases[] = {
      {"self loop", "connection { source: 1; sourceProp: FloatOut; target: 1; targetProp: Value; }", 1},
      {"two operators",
       "connection { source: 2; sourceProp: FloatOut; target: 1; targetProp: Value; }"
       "connection[] { source: 1; sourceProp: FloatOut; target: 2; targetProp: Phase; }",
       1},
      {"three operators",
       "connection { source: 2; sourceProp: FloatOut; target: 1; targetProp: Value; }"
       "connection[] { source: 3; sourceProp: FloatOut; target: 2; targetProp: Value; }"
       "connection[] { source: 1; sourceProp: FloatOut; target: 3; targetProp: Offset; }",
       1},
      {"through an input used as a source",
       "connection { source: 2; sourceProp: Phase; target: 1; targetProp: Value; }"
       "connection[] { source: 1; sourceProp: FloatOut; target: 2; targetProp: Phase; }",
       1},
      {"a chain without a cycle",
       "connection { source: 2; sourceProp: FloatOut; target: 1; targetProp: Value; }"
       "connection[] { source: 3; sourceProp: FloatOut; target: 2; targetProp: Value; }"
       "connection[] { source: 3; sourceProp: FloatOut; target: 1; targetProp: Phase; }",
       0},
      {"an input reading another input of the same operator",
       "connection { source: 1; sourceProp: Phase; target: 1; targetProp: Value; }", 0},
      {"a second source is never evaluated",
       "connection { source: 3; sourceProp: FloatOut; target: 1; targetProp: Value; }"
       "connection[] { source: 1; sourceProp: FloatOut; target: 1; targetProp: Value; }",
       0},
  };
  for (const CycleCase& c : cases) {
    LoadedGraph graph(std::string("operator { type: FinalOutput; }\noperator[] { type: Sin; ") + c.connections +
                      " }\noperator[] { type: Sin; }\noperator[] { type: Sin; }\n");
    EXPECT_EQ(graph.report.cutCycles.size(), c.cut) << c.what;
    for (size_t op = 1; op <= 3; ++op) graph.EvalFloat(op, 0, 1.0f);  // terminates
  }
}

// A group evaluates every source of its input, so a cycle through any of them, not just the
// first, must be cut; Groups 1 and 2, a Sin 3.
TEST(LoadGraph, CyclesThroughAnyMemberOfAGroupAreCut) {
  const CycleCase cases[] = {
      {"itself as its second member",
       "connection { source: 3; sourceProp: FloatOut; target: 1; targetProp: Members; }"
       "connection[] { source: 1; sourceProp: Group; target: 1; targetProp: Members; }",
       1},
      {"through another group's third member",
       "connection { source: 3; sourceProp: FloatOut; target: 1; targetProp: Members; }"
       "connection[] { source: 2; sourceProp: Group; target: 1; targetProp: Members; }"
       "connection[] { source: 3; sourceProp: FloatOut; target: 2; targetProp: Members; }"
       "connection[] { source: 3; sourceProp: Phase; target: 2; targetProp: Members; }"
       "connection[] { source: 1; sourceProp: Group; target: 2; targetProp: Members; }",
       1},
      {"the same member twice is no cycle",
       "connection { source: 2; sourceProp: Group; target: 1; targetProp: Members; }"
       "connection[] { source: 3; sourceProp: FloatOut; target: 2; targetProp: Members; }"
       "connection[] { source: 3; sourceProp: FloatOut; target: 1; targetProp: Members; }",
       0},
  };
  for (const CycleCase& c : cases) {
    LoadedGraph graph(std::string("operator { type: FinalOutput; }\noperator[] { type: TestGroup; ") +
                      c.connections + " }\noperator[] { type: TestGroup; }\noperator[] { type: Sin; }\n");
    EXPECT_EQ(graph.report.cutCycles.size(), c.cut) << c.what;
    for (size_t op = 1; op <= 3; ++op) graph.EvalFloat(op, 0, 1.0f);  // terminates
  }
}

TEST(LoadGraph, ALaterSourceTakesOverFromACutOne) {
  LoadedGraph graph(
      "operator { type: FinalOutput; }\n"
      "operator[] { type: Sin;\n"
      "  connection { source: 1; sourceProp: FloatOut; target: 1; targetProp: Offset; }\n"
      "  connection[] { source: 2; sourceProp: FloatOut; target: 1; targetProp: Offset; } }\n"
      "operator[] { type: Time; }\n");
  ASSERT_EQ(graph.report.cutCycles.size(), 1u);
  EXPECT_EQ(graph.report.cutCycles[0].link.sourcePort, &graph.output(1));
  EXPECT_EQ(graph.input(1, 4).sources, PortList{&graph.output(2)});
  EXPECT_FLOAT_EQ(graph.EvalFloat(1, 0, 4.0f), 4.0f);  // sin(0) + time
}

// Random graphs of scalar operators with random connections between random ports: whatever
// links the document makes, every output of every operator evaluates and returns.
TEST(LoadGraph, RandomGraphsAlwaysEvaluate) {
  static constexpr const char* kTypes[] = {"Sin",      "HSV2RGB",   "Time",   "TestCounter",
                                           "TestEcho", "TestGroup", "Unknown"};
  static constexpr const char* kPorts[] = {"Value", "Amplitude", "Phase", "FloatOut", "Hue",     "Red",   "Blue",
                                           "In",    "Count",     "Echo",  "value",    "Members", "Group", "Nothing"};
  std::mt19937 random(42);
  std::uniform_int_distribution<size_t> type(0, std::size(kTypes) - 1);
  std::uniform_int_distribution<size_t> port(0, std::size(kPorts) - 1);
  size_t cyclesCut = 0;
  for (int round = 0; round < 1500; ++round) {
    const int count = 2 + round % 12;
    std::uniform_int_distribution<int> position(0, count);
    std::string text = "operator { type: FinalOutput; }\n";
    for (int i = 1; i <= count; ++i) {
      text += "operator[] { type: " + std::string(kTypes[type(random)]) + ";";
      for (int c = 0; c < 6; ++c) {
        text += (c == 0 ? " connection" : " connection[]") + std::string(" { source: ") +
                std::to_string(position(random)) + "; sourceProp: " + kPorts[port(random)] +
                "; target: " + std::to_string(position(random)) + "; targetProp: " + kPorts[port(random)] + "; }";
      }
      text += " }\n";
    }
    LoadedGraph graph(text);
    cyclesCut += graph.report.cutCycles.size();
    graph.player.RunLoadTimePass();
    for (const auto& op : graph.player.operators) {
      for (const Port& output : op->outputs) output.Evaluate(1.0f, graph.player);
      for (const Port& input : op->inputs) input.Evaluate(1.0f, graph.player);
    }
  }
  EXPECT_GT(cyclesCut, 50u);  // the generator does make cycles
}

TEST(LoadGraph, GarbageDocumentsLoadAndEvaluate) {
  std::mt19937 random(7);
  for (int round = 0; round < 1500; ++round) {
    LoadedGraph graph("operator { type: FinalOutput } operator[] { type: Sin } " +
                      testing::RandomDocument(random, 400));
    graph.player.RunLoadTimePass();
    graph.player.EvaluateFinalOutput(0.5f);
  }
}

}  // namespace
}  // namespace orvane
