#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/GraphFixture.h"

namespace orvane {
namespace {

// A graph of one operator of `type` whose float inputs hold `inputs`, in declaration order.
std::string OneOperator(std::string_view type, std::initializer_list<std::pair<const char*, float>> inputs) {
  std::string text = "operator { type: FinalOutput; }\noperator[] { type: " + std::string(type) + ";";
  bool first = true;
  for (const auto& [name, value] : inputs) {
    char number[64];
    std::snprintf(number, sizeof number, "%.9g", static_cast<double>(value));
    text += std::string(first ? " input { " : " input[] { ") + name + ": " + number + "; }";
    first = false;
  }
  return text + " }\n";
}

struct HsvCase {
  float hue, saturation, value;
  float r, g, b;
};

TEST(HSV2RGB, ConvertsHueSaturationValue) {
  const HsvCase cases[] = {
      {1.0f, 1.0f, 1.0f, 1, 0, 0},        // the defaults: fmod(1, 1) = 0 is red
      {0.5f, 1.0f, 1.0f, 0, 1, 1},
      {1.0f / 3.0f, 1.0f, 1.0f, 0, 1, 0},
      {0.75f, 0.5f, 0.8f, 0.6f, 0.4f, 0.8f},
      {-0.25f, 1.0f, 1.0f, 1, 0, 1.5f},   // a negative hue takes the last row (f = -0.5)
      {0.3f, 0.0f, 0.4f, 0.4f, 0.4f, 0.4f},  // no saturation: grey whatever the hue
      {2.5f, 1.0f, 0.5f, 0, 0.5f, 0.5f},
  };
  for (const HsvCase& c : cases) {
    testing::LoadedGraph graph(OneOperator("HSV2RGB", {{"Hue", c.hue}, {"Saturation", c.saturation}, {"value", c.value}}));
    EXPECT_NEAR(graph.EvalFloat(1, 0, 0.0f), c.r, 1e-6f) << c.hue;
    EXPECT_NEAR(graph.EvalFloat(1, 1, 0.0f), c.g, 1e-6f) << c.hue;
    EXPECT_NEAR(graph.EvalFloat(1, 2, 0.0f), c.b, 1e-6f) << c.hue;
  }
}

TEST(HSV2RGB, DeclaresItsDefaults) {
  testing::LoadedGraph graph("operator { type: FinalOutput; } operator[] { type: HSV2RGB; }");
  EXPECT_EQ(graph.EvalFloat(1, 0, 0.0f), 1.0f);
  EXPECT_EQ(graph.EvalFloat(1, 1, 0.0f), 0.0f);
  EXPECT_EQ(graph.EvalFloat(1, 2, 0.0f), 0.0f);
}

TEST(HSV2RGB, NonFiniteHuesGiveAColourWithoutTrapping) {
  for (float hue : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    testing::LoadedGraph graph(OneOperator("HSV2RGB", {{"Hue", 0}, {"Saturation", 1}, {"value", 1}}));
    static_cast<Float*>(graph.input(1, 0).function->GetValue())->value = hue;
    for (size_t channel = 0; channel < 3; ++channel) graph.EvalFloat(1, channel, 0.0f);
  }
}

TEST(Sin, ComputesAScaledShiftedSine) {
  const std::tuple<float, float, float, float, float, float> cases[] = {
      // value, amplitude, frequency, phase, offset, result
      {0, 1, 1, 0, 0, 0.0f},
      {0.5f, 2, 3.14159265f, 0, 1, 3.0f},
      {1, 1, 1, 1.5707963f, 0, std::sin(2.5707963f)},
      {2, -0.5f, 0.25f, 0, -1, -0.5f * std::sin(0.5f) - 1},
  };
  for (const auto& [v, a, f, p, o, expected] : cases) {
    testing::LoadedGraph graph(OneOperator(
        "Sin", {{"Value", v}, {"Amplitude", a}, {"Frequency", f}, {"Phase", p}, {"Offset", o}}));
    EXPECT_NEAR(graph.EvalFloat(1, 0, 0.0f), expected, 1e-6f);
  }
  testing::LoadedGraph defaults("operator { type: FinalOutput; } operator[] { type: Sin; }");
  EXPECT_EQ(defaults.EvalFloat(1, 0, 0.0f), 0.0f);
}

TEST(Sin, FollowsTimeWhenConnectedToIt) {
  testing::LoadedGraph graph(
      "operator { type: FinalOutput; }\n"
      "operator[] { type: Time; }\n"
      "operator[] { type: Sin; input { Value: 0; } input[] { Amplitude: 1; } input[] { Frequency: 1; }\n"
      "  input[] { Phase: 0; } input[] { Offset: 0; }\n"
      "  connection { source: 1; sourceProp: FloatOut; target: 2; targetProp: Value; } }\n");
  for (float t : {0.0f, 0.3f, 1.7f, -10.0f, 123.25f}) EXPECT_FLOAT_EQ(graph.EvalFloat(2, 0, t), std::sin(t)) << t;
}

TEST(Time, GivesTheEvaluationTime) {
  testing::LoadedGraph graph("operator { type: FinalOutput; } operator[] { type: Time; }");
  for (float t : {0.0f, 2.5f, -10.0f}) EXPECT_EQ(graph.EvalFloat(1, 0, t), t);
}

}  // namespace
}  // namespace orvane
