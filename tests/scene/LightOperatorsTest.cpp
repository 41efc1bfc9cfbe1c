// The light operators without a GPU: their ports, the records they append and in which order
// they read their inputs, the light lists, and the light shaders' shared shading code.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "resources/EmbeddedFiles.h"
#include "scene/LightLists.h"
#include "scene/LightTestSupport.h"

namespace orvane {
namespace {

using test::Connect;
using test::ProbeOp;
using test::SetFloat;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct PortCase {
  const char* name;
  int32_t type;
  float value;  // float ports only
  int32_t hints;
};

void ExpectPorts(const char* type, const std::vector<PortCase>& inputs, const char* output, int32_t outputType) {
  const auto op = test::Spawn(type);
  ASSERT_NE(op, nullptr);
  EXPECT_EQ(op->category, kCategoryScene) << type;
  ASSERT_EQ(op->inputs.size(), inputs.size()) << type;
  for (size_t i = 0; i < inputs.size(); ++i) {
    const Port& port = op->inputs[i];
    EXPECT_EQ(port.name, inputs[i].name) << type;
    EXPECT_EQ(port.type, inputs[i].type) << port.name;
    EXPECT_EQ(port.hints, inputs[i].hints) << port.name;
    if (port.type == kPortFloat) {
      EXPECT_EQ(static_cast<Float*>(port.function->GetValue())->value, inputs[i].value) << port.name;
    }
  }
  ASSERT_EQ(op->outputs.size(), 1u);
  EXPECT_EQ(op->outputs[0].name, output);
  EXPECT_EQ(op->outputs[0].type, outputType);
}

TEST(LightOperators, DeclareTheirPortsInOrderWithDefaults) {
  ExpectPorts("DirLight",
              {{"InScene", kPortScene, 0, 0}, {"Direction.X", kPortFloat, 1, 0}, {"Direction.Y", kPortFloat, 1, 0},
               {"Direction.Z", kPortFloat, 1, 0}, {"Color.R", kPortFloat, 1, 0}, {"Color.G", kPortFloat, 1, 0},
               {"Color.B", kPortFloat, 1, 0}},
              "OutScene", kPortScene);
  ExpectPorts("PointLight",
              {{"SceneIn", kPortScene, 0, 0}, {"Position.X", kPortFloat, 0, 0}, {"Position.Y", kPortFloat, 0, 0},
               {"Position.Z", kPortFloat, 0, 0}, {"Color.R", kPortFloat, 1, 0}, {"Color.G", kPortFloat, 1, 0},
               {"Color.B", kPortFloat, 1, 0}, {"Radius", kPortFloat, 5, 0}, {"Brightness", kPortFloat, 1, 0}},
              "OutScene", kPortScene);
  ExpectPorts("LightPass",
              {{"SceneIn", kPortScene, 0, 0}, {"PointLight", kPortText, 0, kHintShaderPath},
               {"DirLight", kPortText, 0, kHintShaderPath}},
              "ImageOut", kPortImage);

  const auto pass = test::Spawn("LightPass");
  ASSERT_NE(pass, nullptr);
  // Single backslashes: the loader reads them as folder separators.
  EXPECT_EQ(static_cast<Text*>(pass->inputs[1].function->GetValue())->value, "data\\shaders\\lights\\pointLight.hlsl");
  EXPECT_EQ(static_cast<Text*>(pass->inputs[2].function->GetValue())->value, "data\\shaders\\lights\\dirLight.hlsl");
}

class LightOperatorTest : public testing::Test {
protected:
  void SetUp() override { ClearLightLists(); }
  void TearDown() override { ClearLightLists(); }
  void Evaluate(Operator& op) { op.outputs[0].Evaluate(0.0f, player); }

  Player player;
};

TEST_F(LightOperatorTest, DirLightSwapsTheYAndZOfItsDirection) {
  struct Case {
    float x, y, z;     // the ports
    Vector4 expected;  // the record
  };
  const Case cases[] = {
      {0, 1, 0, {0, 0, 1, 0}},
      {0, 0, 1, {0, 1, 0, 0}},
      {1, 2, 3, {1, 3, 2, 0}},
      {-1, -0.5f, 0.25f, {-1, 0.25f, -0.5f, 0}},
  };
  const auto light = test::Spawn("DirLight");
  SetFloat(*light, "Color.R", 0.5f);
  SetFloat(*light, "Color.G", 0.25f);
  SetFloat(*light, "Color.B", 2.0f);
  for (const Case& c : cases) {
    SetFloat(*light, "Direction.X", c.x);
    SetFloat(*light, "Direction.Y", c.y);
    SetFloat(*light, "Direction.Z", c.z);
    ClearLightLists();
    Evaluate(*light);
    ASSERT_EQ(dirLightList.size(), 1u);
    const DirLightRecord& record = dirLightList[0];
    EXPECT_EQ(record.direction.x, c.expected.x);
    EXPECT_EQ(record.direction.y, c.expected.y);
    EXPECT_EQ(record.direction.z, c.expected.z);
    EXPECT_EQ(record.direction.w, 0.0f);
    EXPECT_EQ(record.color.x, 0.5f);
    EXPECT_EQ(record.color.y, 0.25f);
    EXPECT_EQ(record.color.z, 2.0f);
    EXPECT_EQ(record.color.w, 0.0f);
    EXPECT_EQ(record.enabled, 1);
  }
}

TEST_F(LightOperatorTest, DirLightIgnoresTheWorldTransform) {
  const auto light = test::Spawn("DirLight");
  player.world = Identity();
  player.world.m[0][0] = 0.0f;  // a rotation of 90 degrees about Z, then a shift
  player.world.m[0][1] = 1.0f;
  player.world.m[1][0] = -1.0f;
  player.world.m[1][1] = 0.0f;
  player.world.m[3][0] = 5.0f;
  Evaluate(*light);
  ASSERT_EQ(dirLightList.size(), 1u);
  EXPECT_EQ(dirLightList[0].direction.x, 1.0f);
  EXPECT_EQ(dirLightList[0].direction.y, 1.0f);
  EXPECT_EQ(dirLightList[0].direction.z, 1.0f);
}

TEST_F(LightOperatorTest, PointLightIsPlacedByTheWorldTransform) {
  struct Case {
    float translate[3];
    float scale;
    Vector4 expected;
  };
  const Case cases[] = {
      {{0, 0, 0}, 1, {1, 2, 3, 1}},
      {{2, 0, 0}, 1, {3, 2, 3, 1}},
      {{-1, 4, 0.5f}, 2, {1, 8, 6.5f, 1}},
  };
  const auto light = test::Spawn("PointLight");
  SetFloat(*light, "Position.X", 1);
  SetFloat(*light, "Position.Y", 2);
  SetFloat(*light, "Position.Z", 3);
  SetFloat(*light, "Color.G", 0.5f);
  SetFloat(*light, "Radius", 7);
  SetFloat(*light, "Brightness", 3);
  for (const Case& c : cases) {
    player.world = Identity();
    for (int axis = 0; axis < 3; ++axis) {
      player.world.m[axis][axis] = c.scale;
      player.world.m[3][axis] = c.translate[axis];
    }
    ClearLightLists();
    Evaluate(*light);
    ASSERT_EQ(pointLightList.size(), 1u);
    const PointLightRecord& record = pointLightList[0];
    EXPECT_FLOAT_EQ(record.position.x, c.expected.x);
    EXPECT_FLOAT_EQ(record.position.y, c.expected.y);
    EXPECT_FLOAT_EQ(record.position.z, c.expected.z);
    EXPECT_FLOAT_EQ(record.position.w, c.expected.w);
    EXPECT_EQ(record.color.x, 1.0f);
    EXPECT_EQ(record.color.y, 0.5f);
    EXPECT_EQ(record.color.w, 0.0f);
    EXPECT_EQ(record.radius, 7.0f);
    EXPECT_EQ(record.brightness, 3.0f);
    EXPECT_EQ(record.enabled, 1);
  }
}

// A float source that writes its label into a log whenever it is read.
struct ReadLog {
  std::string order;
  std::unique_ptr<ProbeOp> Probe(char label, float value) {
    return std::make_unique<ProbeOp>(kPortFloat, [this, label, value](Player& player) {
      order += label;
      player.scalar = value;
    });
  }
};

TEST_F(LightOperatorTest, LightsReadTheirInputsInOrderThenAppendAndDrawTheirScene) {
  ReadLog log;
  std::vector<std::unique_ptr<ProbeOp>> probes;
  const auto scene = std::make_unique<ProbeOp>(kPortScene, [&](Player&) {
    log.order += '|';
    log.order += std::to_string(dirLightList.size()) + std::to_string(pointLightList.size());
  });

  const auto dir = test::Spawn("DirLight");
  const char* dirPorts[] = {"Direction.X", "Direction.Y", "Direction.Z", "Color.R", "Color.G", "Color.B"};
  for (size_t i = 0; i < std::size(dirPorts); ++i) {
    probes.push_back(log.Probe(static_cast<char>('a' + i), 1.0f));
    Connect(*dir, dirPorts[i], *probes.back());
  }
  Connect(*dir, "InScene", *scene);
  Evaluate(*dir);
  // X, then Z, then Y; the light is listed before its scene draws.
  EXPECT_EQ(log.order, "acbdef|10");

  log.order.clear();
  const auto point = test::Spawn("PointLight");
  const char* pointPorts[] = {"Position.X", "Position.Y", "Position.Z", "Color.R",
                              "Color.G",    "Color.B",    "Radius",     "Brightness"};
  for (size_t i = 0; i < std::size(pointPorts); ++i) {
    probes.push_back(log.Probe(static_cast<char>('a' + i), 1.0f));
    Connect(*point, pointPorts[i], *probes.back());
  }
  Connect(*point, "SceneIn", *scene);
  Evaluate(*point);
  EXPECT_EQ(log.order, "abcdefgh|11");
}

TEST_F(LightOperatorTest, NestedLightsAppendInEvaluationOrder) {
  const auto outer = test::Spawn("DirLight");
  const auto inner = test::Spawn("DirLight");
  SetFloat(*outer, "Color.R", 1);
  SetFloat(*inner, "Color.R", 2);
  Connect(*outer, "InScene", *inner);
  Evaluate(*outer);
  ASSERT_EQ(dirLightList.size(), 2u);
  EXPECT_EQ(dirLightList[0].color.x, 1.0f);
  EXPECT_EQ(dirLightList[1].color.x, 2.0f);
}

TEST_F(LightOperatorTest, LightPassWithoutARendererStillRunsItsScene) {
  const auto pass = test::Spawn("LightPass");
  const auto light = test::Spawn("PointLight");
  Connect(*pass, "SceneIn", *light);
  Evaluate(*pass);
  EXPECT_EQ(pointLightList.size(), 1u);
  EXPECT_EQ(player.image, nullptr);
}

TEST_F(LightOperatorTest, BeginSceneEmptiesTheListsAndKeepsTheirRoom) {
  for (int i = 0; i < 3; ++i) {
    dirLightList.push_back({});
    pointLightList.push_back({});
  }
  player.BeginScene();
  EXPECT_TRUE(dirLightList.empty());
  EXPECT_TRUE(pointLightList.empty());
  EXPECT_GE(dirLightList.capacity(), kDirLightReserve);
  EXPECT_GE(pointLightList.capacity(), kPointLightReserve);
}

TEST(LightRecords, OnlyFiniteLightsThatReachSomewhereAreDrawn) {
  const DirLightRecord dir{{1, 1, 1, 0}, {1, 1, 1, 0}, 1};
  const PointLightRecord point{{0, 0, 0, 1}, {1, 1, 1, 0}, 5.0f, 1.0f, 1};
  EXPECT_TRUE(IsDrawable(dir));
  EXPECT_TRUE(IsDrawable(point));

  struct DirCase {
    const char* what;
    DirLightRecord record;
    bool drawn;
  };
  const DirCase dirCases[] = {
      {"disabled", {dir.direction, dir.color, 0}, false},
      {"zero direction", {{0, 0, 0, 0}, dir.color, 1}, false},
      {"tiny direction", {{0, 1e-30f, 0, 0}, dir.color, 1}, true},
      {"NaN direction", {{kNaN, 1, 1, 0}, dir.color, 1}, false},
      {"infinite colour", {dir.direction, {kInf, 0, 0, 0}, 1}, false},
      {"black", {dir.direction, {0, 0, 0, 0}, 1}, true},
  };
  for (const DirCase& c : dirCases) EXPECT_EQ(IsDrawable(c.record), c.drawn) << c.what;

  struct PointCase {
    const char* what;
    PointLightRecord record;
    bool drawn;
  };
  const PointCase pointCases[] = {
      {"disabled", {point.position, point.color, 5, 1, 0}, false},
      {"zero radius", {point.position, point.color, 0, 1, 1}, false},
      {"negative radius", {point.position, point.color, -2, 1, 1}, false},
      {"NaN radius", {point.position, point.color, kNaN, 1, 1}, false},
      {"infinite radius", {point.position, point.color, kInf, 1, 1}, false},
      {"NaN brightness", {point.position, point.color, 5, kNaN, 1}, false},
      {"negative brightness", {point.position, point.color, 5, -1, 1}, true},
      {"infinite position", {{kInf, 0, 0, 1}, point.color, 5, 1, 1}, false},
      {"NaN colour", {point.position, {0, kNaN, 0, 0}, 5, 1, 1}, false},
  };
  for (const PointCase& c : pointCases) EXPECT_EQ(IsDrawable(c.record), c.drawn) << c.what;
}

// A shader file as the program runs it: built from shaders/ with its includes expanded.
std::string BuiltShader(std::string_view path) {
  const auto text = FindEmbeddedFile(EmbeddedShaderFiles(), path);
  return text ? std::string(*text) : std::string();
}

std::string ShadingBlock(const std::string& source) {
  const size_t begin = source.find("// ---- shading");
  const size_t end = source.find("// ---- end of shading ----");
  if (begin == std::string::npos || end == std::string::npos || end < begin) return {};
  return source.substr(begin, end - begin);
}

TEST(LightShaders, ShareOneShadingCode) {
  const std::string dir = ShadingBlock(BuiltShader("data/shaders/lights/dirLightPS.ps"));
  const std::string point = ShadingBlock(BuiltShader("data/shaders/lights/pointLightPS.ps"));
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir, point);
}

}  // namespace
}  // namespace orvane
