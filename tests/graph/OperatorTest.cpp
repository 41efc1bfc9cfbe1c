#include "graph/Operator.h"

#include <gtest/gtest.h>

#include "graph/FinalOutput.h"
#include "graph/OperatorRegistry.h"
#include "graph/TestOperators.h"
#include "support/GraphFixture.h"

namespace orvane {
namespace {

TEST(OperatorRegistry, HoldsTheScalarOperatorsByExactName) {
  for (const char* name : {"Time", "Sin", "HSV2RGB"}) {
    const OperatorFactory* factory = OperatorRegistry::Find(name);
    ASSERT_NE(factory, nullptr) << name;
    const auto op = factory->Spawn();
    EXPECT_EQ(op->category, kCategoryScalar) << name;
    EXPECT_FALSE(op->outputs.empty()) << name;  // the load-time pass evaluates the first output
  }
  for (const char* name : {"sin", "SIN", "time", "FinalOutput", "", "Sin "}) {
    EXPECT_EQ(OperatorRegistry::Find(name), nullptr) << name;
  }
}

TEST(OperatorRegistry, TheFirstRegistrationOfANameWins) {
  const OperatorFactory* first = OperatorRegistry::Find("Sin");
  static const OpSpawner<testing::EchoOp> impostor;
  EXPECT_FALSE(OperatorRegistry::Register("Sin", impostor));
  EXPECT_EQ(OperatorRegistry::Find("Sin"), first);
}

TEST(OperatorRegistry, CreateOperatorNamesNumbersAndAppends) {
  OperatorList operators;
  operators.push_back(std::make_unique<FinalOutput>());
  Operator* sin = CreateOperator("Sin", operators);
  ASSERT_NE(sin, nullptr);
  EXPECT_EQ(sin->type, "Sin");
  EXPECT_EQ(sin->index, 1);
  EXPECT_EQ(CreateOperator("Nope", operators), nullptr);
  EXPECT_EQ(operators.size(), 2u);
}

TEST(Operator, OutputsListTheInputsDeclaredBeforeThem) {
  const auto op = OperatorRegistry::Find("HSV2RGB")->Spawn();
  ASSERT_EQ(op->inputs.size(), 3u);
  ASSERT_EQ(op->outputs.size(), 3u);
  for (size_t i = 0; i < op->outputs.size(); ++i) {
    const Port& output = op->outputs[i];
    EXPECT_EQ(output.function->outputIndex, static_cast<int32_t>(i));
    ASSERT_EQ(output.sources.size(), 3u);
    for (size_t k = 0; k < 3; ++k) EXPECT_EQ(output.sources[k], &op->inputs[k]);
  }
  for (const Port& input : op->inputs) {
    EXPECT_TRUE(input.sources.empty());
    EXPECT_EQ(input.curve, nullptr);
    ASSERT_NE(input.function->GetValue(), nullptr);
    EXPECT_EQ(input.function->GetValue()->kind, kPortFloat);
  }
}

TEST(Operator, AppendSourceKeepsFirstInsertionOrderWithoutRepeats) {
  Port target, a, b;
  for (Port* source : {&a, &b, &a, &b, &a}) target.AppendSource(source);
  EXPECT_EQ(target.sources, (PortList{&a, &b}));
}

TEST(FinalOutput, IsAGenericPassThrough) {
  FinalOutput root;
  EXPECT_EQ(root.type, "FinalOutput");
  EXPECT_EQ(root.category, kCategoryImage);
  EXPECT_EQ(root.flags, 0xe);
  ASSERT_EQ(root.inputs.size(), 1u);
  ASSERT_EQ(root.outputs.size(), 1u);
  EXPECT_EQ(root.inputs[0].name, "In");
  EXPECT_EQ(root.inputs[0].type, kPortGeneric);
  EXPECT_EQ(root.outputs[0].name, "FinalOutput");
  EXPECT_EQ(root.outputs[0].type, kPortGeneric);
  EXPECT_EQ(root.outputs[0].sources, PortList{&root.inputs[0]});
  ASSERT_NE(root.outputs[0].function->GetValue(), nullptr);
  EXPECT_EQ(root.outputs[0].function->GetValue()->kind, kPortGeneric);

  // Without a source, evaluating it leaves every register as it was.
  Player player;
  player.scalar = 7.0f;
  player.text = "text";
  root.outputs[0].Evaluate(1.0f, player);
  EXPECT_EQ(player.scalar, 7.0f);
  EXPECT_EQ(player.text, "text");
  EXPECT_EQ(player.image, nullptr);
}

constexpr std::string_view kTwoSources =
    "operator { type: FinalOutput; }\n"
    "operator[] { type: TestCounter; }\n"
    "operator[] { type: TestCounter; }\n"
    "operator[] { type: Sin; input { Value: 0.5; } input[] { Amplitude: 1; } input[] { Frequency: 1; }\n"
    "  connection { source: 1; sourceProp: Count; target: 3; targetProp: Value; }\n"
    "  connection[] { source: 2; sourceProp: Count; target: 3; targetProp: Value; } }\n"
    "operator[] { type: HSV2RGB; input { Hue: 0; } input[] { Saturation: 0; } input[] { value: 1; }\n"
    "  connection { source: 1; sourceProp: Count; target: 4; targetProp: value; } }\n";

TEST(ValueFunction, AConnectedInputEvaluatesItsFirstSourceOnly) {
  testing::LoadedGraph graph(kTwoSources);
  Port& value = graph.input(3, 0);
  ASSERT_EQ(value.sources.size(), 2u);
  auto& first = static_cast<testing::CounterOp&>(graph.op(1));
  auto& second = static_cast<testing::CounterOp&>(graph.op(2));

  value.Evaluate(0.0f, graph.player);
  EXPECT_EQ(graph.player.scalar, 1.0f);
  // The value caches the source's last result...
  EXPECT_EQ(static_cast<Float*>(value.function->GetValue())->value, 1.0f);
  // ...and evaluating again re-evaluates the source: there is no caching between evaluations.
  value.Evaluate(0.0f, graph.player);
  EXPECT_EQ(graph.player.scalar, 2.0f);
  EXPECT_EQ(first.evaluations(), 2);
  EXPECT_EQ(second.evaluations(), 0);
}

TEST(ValueFunction, AssignTakesTheRegister) {
  ValueFunction function(std::make_unique<Float>(1.0f));
  Player player;
  player.scalar = 3.0f;
  function.Assign(player, 100.0f);
  EXPECT_EQ(static_cast<Float*>(function.GetValue())->value, 3.0f);
}

TEST(Evaluation, EveryOutputEvaluationReevaluatesItsInputs) {
  testing::LoadedGraph graph(kTwoSources);
  auto& counter = static_cast<testing::CounterOp&>(graph.op(1));
  // Saturation 0 gives grey at the counter's value: each output pulls the counter once more.
  EXPECT_EQ(graph.EvalFloat(4, 0, 0.0f), 1.0f);
  EXPECT_EQ(graph.EvalFloat(4, 0, 0.0f), 2.0f);
  EXPECT_EQ(graph.EvalFloat(4, 1, 0.0f), 3.0f);
  EXPECT_EQ(graph.EvalFloat(4, 2, 0.0f), 4.0f);
  EXPECT_EQ(counter.evaluations(), 4);
}

TEST(Player, TheLoadTimePassEvaluatesEveryFirstOutputAtMinusTen) {
  testing::LoadedGraph graph(
      "operator { type: FinalOutput; connection { source: 1; sourceProp: FloatOut; target: 0; targetProp: In; } }\n"
      "operator[] { type: Time; }\n"
      "operator[] { type: TestCounter; connection { source: 1; sourceProp: FloatOut; target: 2; targetProp: In; } }\n");
  graph.player.RunLoadTimePass();
  EXPECT_EQ(static_cast<testing::CounterOp&>(graph.op(2)).evaluations(), 1);
  // The FinalOutput ran first and passed the Time on; the counter ran last.
  EXPECT_EQ(graph.player.scalar, 1.0f);
  graph.player.EvaluateFinalOutput(2.5f);
  EXPECT_EQ(graph.player.scalar, 2.5f);
  graph.player.EvaluateFinalOutput(Player::kLoadTimePassTime);
  EXPECT_EQ(graph.player.scalar, -10.0f);
}

}  // namespace
}  // namespace orvane
