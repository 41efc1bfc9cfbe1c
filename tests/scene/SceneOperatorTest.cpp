// The scene operators evaluated without a GPU: their ports, and the scene state they set, pass on
// and restore, observed by probe operators inside and after them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <optional>

#include "graph/OperatorRegistry.h"
#include "scene/SceneDocument.h"
#include "scene/ScenePlacement.h"
#include "scene/SceneProbeOp.h"
#include "support/GraphFixture.h"

namespace orvane {
namespace {

using testing::LoadedGraph;
using testing::ProbeOp;
using testing::SceneDocument;
using Link = SceneDocument::Link;
using Inputs = std::vector<std::pair<int, std::string>>;

bool SameBits(const Matrix& a, const Matrix& b) { return std::memcmp(&a, &b, sizeof(Matrix)) == 0; }

std::string Tag(const std::string& tag) { return "Tag: " + tag; }

// ---------------------------------------------------------------------------------------------
// Ports.

struct ExpectedPort {
  const char* name;
  int32_t type;
  std::optional<float> value;  // floats only
  int32_t hints = 0;
};

struct ExpectedOperator {
  const char* type;
  int32_t category;
  std::vector<ExpectedPort> inputs;
  ExpectedPort output;
};

std::vector<ExpectedPort> Float3(const char* x, const char* y, const char* z, float value) {
  return {{x, kPortFloat, value}, {y, kPortFloat, value}, {z, kPortFloat, value}};
}

std::vector<ExpectedPort> Float4(const std::string& group, float value) {
  static std::deque<std::string> names;  // ExpectedPort keeps pointers
  std::vector<ExpectedPort> ports;
  for (const char* component : {".X", ".Y", ".Z", ".W"}) {
    names.push_back(group + component);
    ports.push_back({names.back().c_str(), kPortFloat, value});
  }
  return ports;
}

template <class... Parts>
std::vector<ExpectedPort> Join(Parts... parts) {
  std::vector<ExpectedPort> all;
  (all.insert(all.end(), parts.begin(), parts.end()), ...);
  return all;
}

const ExpectedPort kOutScene{"OutScene", kPortScene, std::nullopt};

std::vector<ExpectedOperator> ExpectedOperators() {
  const std::vector<ExpectedPort> inScene{{"InScene", kPortScene, std::nullopt}};
  return {
      {"Cube", kCategoryMesh, Float3("Size.X", "Size.Y", "Size.Z", 1.0f), kOutScene},
      {"Quad", kCategoryMesh, {}, kOutScene},
      {"Cylinder", kCategoryMesh, {}, kOutScene},
      {"Sphere", kCategoryMesh, {}, kOutScene},
      {"Dome", kCategoryMesh, {}, kOutScene},
      {"Prism", kCategoryMesh, {}, kOutScene},
      {"Camera", kCategoryScene,
       Join(inScene, Float3("Position.X", "Position.Y", "Position.Z", 4.0f),
            Float3("Direction.X", "Direction.Y", "Direction.Z", -1.0f),
            std::vector<ExpectedPort>{{"FOV", kPortFloat, 45.0f}, {"zNear", kPortFloat, 0.1f}, {"zFar", kPortFloat, 2048.0f}}),
       kOutScene},
      {"Group", kCategoryScene, {{"InScene", kPortScene, std::nullopt, kHintSeveralSources}}, kOutScene},
      {"Transform", kCategoryScene,
       Join(inScene, Float3("Position.X", "Position.Y", "Position.Z", 0.0f),
            Float3("Rotation.X", "Rotation.Y", "Rotation.Z", 0.0f), Float3("Scale.X", "Scale.Y", "Scale.Z", 1.0f)),
       kOutScene},
      {"Material", kCategoryScene,
       Join(std::vector<ExpectedPort>{{"sceneIn", kPortScene, std::nullopt},
                                  {"AlbedoTex", kPortImage, std::nullopt},
                                  {"MetalnessTex", kPortImage, std::nullopt},
                                  {"RoughnessTex", kPortImage, std::nullopt}},
            Float3("Color.R", "Color.G", "Color.B", 0.2f), Float3("Specular.R", "Specular.G", "Specular.B", 0.01f),
            std::vector<ExpectedPort>{{"Metalness", kPortFloat, 0.5f}, {"Roughness", kPortFloat, 0.6f}},
            Float3("Emissive.R", "Emissive.G", "Emissive.B", 0.0f),
            std::vector<ExpectedPort>{{"EmissiveTex", kPortImage, std::nullopt}}),
       {"SceneOut", kPortScene, std::nullopt}},
      {"Repeat", kCategoryScene,
       Join(inScene, std::vector<ExpectedPort>{{"TimeOffset", kPortFloat, 0.0f}, {"Count", kPortFloat, 1.0f}},
            Float3("Position.X", "Position.Y", "Position.Z", 0.0f),
            Float3("Rotation.X", "Rotation.Y", "Rotation.Z", 0.0f), Float3("Scale.X", "Scale.Y", "Scale.Z", 1.0f)),
       kOutScene},
      {"Replicate", kCategoryScene,
       Join(inScene,
            std::vector<ExpectedPort>{{"Count", kPortFloat, 1.0f},
                                      {"Radius", kPortFloat, 1.0f},
                                      {"Mode", kPortFloat, 0.0f, kHintChoice},
                                      {"Seed", kPortFloat, 0.0f}},
            Float3("OffsetRandom.X", "OffsetRandom.Y", "OffsetRandom.Z", 0.0f),
            std::vector<ExpectedPort>{{"SizeRandom", kPortFloat, 0.0f}, {"Orientation", kPortFloat, 0.0f, kHintChoice}},
            Float3("Offset.X", "Offset.Y", "Offset.Z", 0.0f), std::vector<ExpectedPort>{{"Wrap", kPortFloat, 0.0f}},
            Float3("RotateRandom.X", "RotateRandom.Y", "RotateRandom.Z", 0.0f)),
       kOutScene},
      {"RayMarching", kCategoryScene,
       Join(std::vector<ExpectedPort>{{"Filepath", kPortText, std::nullopt, kHintShaderPath}},
            Float4("Param1", 1.0f), Float4("Param2", 1.0f)),
       {"SceneOut", kPortScene, std::nullopt}},
      {"Eval", kCategoryScene,
       {{"SCeneIn", kPortScene, std::nullopt}, {"Start", kPortFloat, 0.0f}, {"End", kPortFloat, 1000.0f}},
       {"SceneOut", kPortScene, std::nullopt}},
      {"Particles", kCategoryScene,
       Join(std::vector<ExpectedPort>{{"SceneIn", kPortScene, std::nullopt},
                                      {"Rate", kPortFloat, 100.0f},
                                      {"Size.X", kPortFloat, 1.0f},
                                      {"Size.Y", kPortFloat, 1.0f},
                                      {"StartSpeed", kPortFloat, 2.0f},
                                      {"GravityModifier", kPortFloat, 10.0f},
                                      {"Lifetime", kPortFloat, 2.0f},
                                      {"StartSizeMin", kPortFloat, 0.1f},
                                      {"StartSizeMax", kPortFloat, 0.2f},
                                      {"Seed", kPortFloat, 0.0f},
                                      {"RandomVelPower", kPortFloat, 0.0f},
                                      {"StartColor1.R", kPortFloat, 0.1f},
                                      {"StartColor1.G", kPortFloat, 0.1f},
                                      {"StartColor1.B", kPortFloat, 10.1f},
                                      {"StartColor2.R", kPortFloat, 10.5f},
                                      {"StartColor2.G", kPortFloat, 0.5f},
                                      {"StartColor2.B", kPortFloat, 0.5f},
                                      {"Emitter", kPortFloat, 0.0f, kHintChoice}},
            Float4("EmitterParam", 1.0f)),
       {"SceneOut", kPortScene, std::nullopt}},
      {"Texture", kCategoryImage, {{"Filepath", kPortText, std::nullopt, kHintTexturePath}},
       {"TexOut", kPortImage, std::nullopt}},
      {"LWO", kCategoryMesh, {{"Filepath", kPortText, std::nullopt, kHintMeshPath}},
       {"SceneOut", kPortScene, std::nullopt}},
  };
}

TEST(SceneOperators, ChoiceInputsNameTheirOptionsInOrder) {
  const struct {
    const char* type;
    const char* input;
    std::vector<std::string> options;
  } cases[] = {
      {"Replicate", "Mode", {"Ring", "Point"}},
      {"Replicate", "Orientation", {"Surface", "Fixed"}},
      {"Particles", "Emitter", {"Cone", "Sphere", "Plane"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.type) + "." + c.input);
    const std::unique_ptr<Operator> op = OperatorRegistry::Find(c.type)->Spawn();
    const Port* port = op->FindPort(c.input);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->options, c.options);
  }
}

void ExpectPort(const Port& port, const ExpectedPort& expected) {
  SCOPED_TRACE(expected.name);
  EXPECT_EQ(port.name, expected.name);
  EXPECT_EQ(port.type, expected.type);
  EXPECT_EQ(port.hints, expected.hints);
  if (expected.value) {
    const auto* value = dynamic_cast<const Float*>(port.function->GetValue());
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->value, *expected.value);
  }
}

TEST(SceneOperators, DeclareTheirPortsInOrderWithTheirDefaults) {
  for (const ExpectedOperator& expected : ExpectedOperators()) {
    SCOPED_TRACE(expected.type);
    const OperatorFactory* factory = OperatorRegistry::Find(expected.type);
    ASSERT_NE(factory, nullptr);
    const std::unique_ptr<Operator> op = factory->Spawn();
    EXPECT_EQ(op->category, expected.category);
    ASSERT_EQ(op->inputs.size(), expected.inputs.size());
    for (size_t i = 0; i < expected.inputs.size(); ++i) ExpectPort(op->inputs[i], expected.inputs[i]);
    ASSERT_EQ(op->outputs.size(), 1u);
    ExpectPort(op->outputs[0], expected.output);
  }
}

TEST(SceneOperators, MeshesDrawNothingAndStillEvaluateTheirInputsWithoutADevice) {
  SceneDocument doc;
  const int probe = doc.Add("TestProbe", {{0, Tag("size")}});
  const int cube = doc.Add("Cube", {}, {{probe, "OutFloat", "Size.X"}});
  LoadedGraph graph(doc.text());
  ProbeOp::Log().clear();
  for (int frame = 0; frame < 3; ++frame) graph.output(cube).Evaluate(0.0f, graph.player);
  EXPECT_EQ(ProbeOp::Tags(), (std::vector<std::string>{"size", "size", "size"}));
}

// ---------------------------------------------------------------------------------------------
// Transform.

class TransformTest : public ::testing::Test {
protected:
  // Transform -> probe "inside"; the player's world starts as `start`.
  const testing::ProbeRecord& RunTransform(const Inputs& inputs, const Matrix& start) {
    SceneDocument doc;
    const int probe = doc.Add("TestProbe", {{0, Tag("inside")}});
    const int transform = doc.Add("Transform", inputs, {{probe, "OutScene", "InScene"}});
    graph_ = std::make_unique<LoadedGraph>(doc.text());
    graph_->player.world = start;
    ProbeOp::Log().clear();
    graph_->output(transform).Evaluate(0.0f, graph_->player);
    EXPECT_TRUE(SameBits(graph_->player.world, start));  // restored bit for bit
    EXPECT_EQ(ProbeOp::Log().size(), 1u);
    return ProbeOp::Log().front();
  }

  std::unique_ptr<LoadedGraph> graph_;
};

TEST_F(TransformTest, PlacesItsSceneInTheCurrentWorldAndRestoresIt) {
  const Matrix start = PlaceUnder(Identity(), {0.1f, 0.2f, 0.3f, 0}, {10, 20, 30, 0}, {1.5f, 1.5f, 1.5f, 0});
  const auto& inside = RunTransform({{1, "Position.X: 1"}, {2, "Position.Y: 2"}, {3, "Position.Z: 3"},
                                     {4, "Rotation.X: 15"}, {5, "Rotation.Y: 25"}, {6, "Rotation.Z: 35"},
                                     {7, "Scale.X: 2"}, {8, "Scale.Y: 3"}, {9, "Scale.Z: 4"}},
                                    start);
  EXPECT_TRUE(SameBits(inside.world, PlaceUnder(start, {1, 2, 3, 0}, {15, 25, 35, 0}, {2, 3, 4, 0})));
}

TEST_F(TransformTest, NonFiniteInputsHideItsSceneAndLeaveTheWorldFinite) {
  const Matrix start = PlaceUnder(Identity(), {4, 5, 6, 0}, {}, {1, 1, 1, 0});
  const Matrix hugeStart = PlaceUnder(Identity(), {4, 5, 6, 0}, {}, {1e30f, 1e30f, 1e30f, 0});
  struct Case {
    const char* what;
    Inputs inputs;
    Matrix start;
  };
  const Case cases[] = {
      {"NaN position", {{1, "Position.X: nan"}}, start},
      {"infinite rotation", {{5, "Rotation.Y: inf"}}, start},
      {"infinite scale", {{9, "Scale.Z: -inf"}}, start},
      {"scale beyond float range under a large parent", {{7, "Scale.X: 1e30"}}, hugeStart},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto& inside = RunTransform(c.inputs, c.start);
    EXPECT_TRUE(IsFinite(inside.world));
    EXPECT_EQ(inside.world.m[0][0], 0.0f);
    EXPECT_EQ(inside.world.m[3][0], 4.0f);  // collapsed onto the parent's origin
  }
}

// ---------------------------------------------------------------------------------------------
// Camera.

class CameraTest : public ::testing::Test {
protected:
  CameraTest() {
    previousCamera = *LookAlongFrame({0, 0, -8, 0}, {0, 0, 1, 0});
    previousProjection = *PerspectiveProjection(45.0f, 1.0f, 0.1f, 1000.0f);
  }

  // Camera -> probe "inside"; the player starts with the previous camera and a 200x100 output.
  const testing::ProbeRecord& RunCamera(const Inputs& inputs) {
    SceneDocument doc;
    const int probe = doc.Add("TestProbe", {{0, Tag("inside")}});
    const int camera = doc.Add("Camera", inputs, {{probe, "OutScene", "InScene"}});
    graph_ = std::make_unique<LoadedGraph>(doc.text());
    Player& player = graph_->player;
    player.camera = previousCamera;
    player.projection = previousProjection;
    player.rect = {0, 0, 200, 100};
    ProbeOp::Log().clear();
    graph_->output(camera).Evaluate(0.0f, player);
    EXPECT_EQ(ProbeOp::Log().size(), 1u);
    EXPECT_TRUE(SameBits(ProbeOp::Log().front().camera, player.camera));  // in force inside...
    EXPECT_TRUE(SameBits(ProbeOp::Log().front().projection, player.projection));  // ...and after
    EXPECT_TRUE(IsFinite(player.camera));
    EXPECT_TRUE(IsFinite(player.projection));
    return ProbeOp::Log().front();
  }
  Player& player() { return graph_->player; }

  Matrix previousCamera, previousProjection;
  std::unique_ptr<LoadedGraph> graph_;
};

TEST_F(CameraTest, ItsDefaultsLookFromFourFourFourAtTheOriginAndStayInForce) {
  RunCamera({});
  EXPECT_TRUE(SameBits(player().camera, *LookAlongFrame({4, 4, 4, 0}, {-1, -1, -1, 0})));
  // The output is twice as wide as high.
  EXPECT_TRUE(SameBits(player().projection, *PerspectiveProjection(45.0f, 2.0f, 0.1f, 2048.0f)));
  EXPECT_EQ(player().zNear, 0.1f);
  EXPECT_EQ(player().zFar, 2048.0f);
  EXPECT_EQ(player().fov, 45.0f);
}

TEST_F(CameraTest, ItsInputsSetTheFrameTheProjectionAndThePlanes) {
  RunCamera({{1, "Position.X: 1"}, {2, "Position.Y: 2"}, {3, "Position.Z: 3"}, {4, "Direction.X: 0"},
             {5, "Direction.Y: 0"}, {6, "Direction.Z: 5"}, {7, "FOV: 60"}, {8, "zNear: 0.5"}, {9, "zFar: 50"}});
  EXPECT_TRUE(SameBits(player().camera, *LookAlongFrame({1, 2, 3, 0}, {0, 0, 1, 0})));
  EXPECT_TRUE(SameBits(player().projection, *PerspectiveProjection(60.0f, 2.0f, 0.5f, 50.0f)));
  EXPECT_EQ(player().zNear, 0.5f);
  EXPECT_EQ(player().zFar, 50.0f);
  EXPECT_EQ(player().fov, 60.0f);
}

TEST_F(CameraTest, DegenerateInputsKeepWhatTheyCannotReplace) {
  struct Case {
    const char* what;
    Inputs inputs;
    bool keepsFrame, keepsProjection;
  };
  const Case cases[] = {
      {"zero direction", {{4, "Direction.X: 0"}, {5, "Direction.Y: 0"}, {6, "Direction.Z: 0"}}, true, false},
      {"NaN position", {{2, "Position.Y: nan"}}, true, false},
      {"infinite direction", {{4, "Direction.X: inf"}}, true, false},
      {"near equal to far", {{8, "zNear: 5"}, {9, "zFar: 5"}}, false, true},
      {"NaN field of view", {{7, "FOV: nan"}}, false, true},
      {"zero field of view", {{7, "FOV: 0"}}, false, true},
      {"a field of view of 180 degrees", {{7, "FOV: -180"}}, false, true},
      {"infinite far plane", {{9, "zFar: inf"}}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RunCamera(c.inputs);
    EXPECT_EQ(SameBits(player().camera, previousCamera), c.keepsFrame);
    EXPECT_EQ(SameBits(player().projection, previousProjection), c.keepsProjection);
    if (c.keepsProjection) {  // the planes stay with the projection they belong to
      EXPECT_EQ(player().zNear, 0.1f);
      EXPECT_EQ(player().fov, 45.0f);
    }
  }
}

TEST_F(CameraTest, ADirectionAlongYAndOddFieldsOfViewFollowTheProjection) {
  RunCamera({{4, "Direction.X: 0"}, {5, "Direction.Y: -3"}, {6, "Direction.Z: 0"}, {7, "FOV: -30"}});
  EXPECT_EQ(player().camera.m[2][1], -1.0f);  // looking straight down
  EXPECT_EQ(player().fov, -30.0f);
  EXPECT_LT(player().projection.m[1][1], 0.0f);  // the picture turned by 180 degrees
  RunCamera({{7, "FOV: 270"}});
  EXPECT_EQ(player().fov, 270.0f);
  EXPECT_NEAR(player().projection.m[1][1], -1.0f, 1e-5f);
}

TEST_F(CameraTest, AnOutputWithoutAreaKeepsTheProjection) {
  SceneDocument doc;
  const int camera = doc.Add("Camera");
  LoadedGraph graph(doc.text());
  for (const TargetRect rect : {TargetRect{0, 0, 0, 0}, TargetRect{0, 0, 64, 0}, TargetRect{0, 0, 0, 64}}) {
    graph.player.rect = rect;
    graph.player.projection = previousProjection;
    graph.output(camera).Evaluate(0.0f, graph.player);
    EXPECT_TRUE(SameBits(graph.player.projection, previousProjection));
    EXPECT_TRUE(IsFinite(graph.player.camera));  // the view itself is fine
  }
}

// ---------------------------------------------------------------------------------------------
// Group.

TEST(Group, EvaluatesEveryMemberInConnectionOrderWithCamerasAffectingLaterOnes) {
  SceneDocument doc;
  const int first = doc.Add("TestProbe", {{0, Tag("first")}});
  const int third = doc.Add("TestProbe", {{0, Tag("third")}});
  const int camera = doc.Add("Camera", {{1, "Position.X: 9"}});
  const int group =
      doc.Add("Group", {}, {{first, "OutScene", "InScene"}, {camera, "OutScene", "InScene"}, {third, "OutScene", "InScene"}});
  LoadedGraph graph(doc.text());
  graph.player.rect = {0, 0, 64, 64};
  const Matrix before = graph.player.camera;
  ProbeOp::Log().clear();
  graph.output(group).Evaluate(0.0f, graph.player);
  ASSERT_EQ(ProbeOp::Tags(), (std::vector<std::string>{"first", "third"}));
  EXPECT_TRUE(SameBits(ProbeOp::Log()[0].camera, before));
  EXPECT_EQ(ProbeOp::Log()[1].camera.m[3][0], 9.0f);

  // The next frame: the first member now sees the camera of the last frame.
  ProbeOp::Log().clear();
  graph.output(group).Evaluate(1.0f, graph.player);
  EXPECT_EQ(ProbeOp::Log()[0].camera.m[3][0], 9.0f);
}

TEST(Group, WithoutConnectionsDoesNothing) {
  SceneDocument doc;
  const int group = doc.Add("Group");
  LoadedGraph graph(doc.text());
  const Matrix world = graph.player.world;
  graph.output(group).Evaluate(0.0f, graph.player);
  EXPECT_TRUE(SameBits(graph.player.world, world));
}

// ---------------------------------------------------------------------------------------------
// Material.

class MaterialTest : public ::testing::Test {
protected:
  LoadedGraph& Load(const SceneDocument& doc) {
    graph_ = std::make_unique<LoadedGraph>(doc.text());
    graph_->player.ResetMaterial();
    graph_->player.image = &currentImage;
    ProbeOp::Log().clear();
    return *graph_;
  }
  static ProbeOp& Probe(LoadedGraph& graph, int index) { return dynamic_cast<ProbeOp&>(graph.op(static_cast<size_t>(index))); }

  GpuResource currentImage;
  std::unique_ptr<LoadedGraph> graph_;
};

TEST_F(MaterialTest, WithItsDefaultsSetsEveryFieldAndRestoresThemAfterwards) {
  SceneDocument doc;
  const int probe = doc.Add("TestProbe", {{0, Tag("mesh")}});
  const int material = doc.Add("Material", {}, {{probe, "OutScene", "sceneIn"}});
  LoadedGraph& graph = Load(doc);
  GpuResource outerTexture;
  graph.player.albedoTex = graph.player.emissiveTex = &outerTexture;
  graph.player.baseColor[0] = 7.0f;
  const MaterialState before = MaterialState::Of(graph.player);
  graph.output(material).Evaluate(0.0f, graph.player);

  ASSERT_EQ(ProbeOp::Log().size(), 1u);
  const MaterialState& seen = ProbeOp::Log()[0].material;
  const float base[4] = {0.2f, 0.2f, 0.2f, 0.0f}, specular[4] = {0.01f, 0.01f, 0.01f, 0.0f};
  const float emissive[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  EXPECT_EQ(std::memcmp(seen.baseColor, base, sizeof base), 0);
  EXPECT_EQ(std::memcmp(seen.specularColor, specular, sizeof specular), 0);
  EXPECT_EQ(std::memcmp(seen.emissiveColor, emissive, sizeof emissive), 0);
  EXPECT_EQ(seen.metalness, 0.5f);
  EXPECT_EQ(seen.roughness, 0.6f);
  // An outer texture is not inherited: unconnected inputs mean none (white when drawn).
  for (GpuResource* texture : {seen.albedoTex, seen.roughnessTex, seen.metalnessTex, seen.emissiveTex}) {
    EXPECT_EQ(texture, nullptr);
  }
  const MaterialState after = MaterialState::Of(graph.player);
  EXPECT_EQ(std::memcmp(&after, &before, sizeof before), 0);
  EXPECT_EQ(graph.player.image, &currentImage);
}

TEST_F(MaterialTest, ReadsItsInputsInOrderAndTakesTexturesFromImageSources) {
  // Every input connected to its own probe, tagged with the input's name.
  const char* const names[] = {"AlbedoTex", "MetalnessTex", "RoughnessTex", "Color.R", "Color.G", "Color.B",
                               "Specular.R", "Specular.G", "Specular.B", "Metalness", "Roughness",
                               "Emissive.R", "Emissive.G", "Emissive.B", "EmissiveTex"};
  SceneDocument doc;
  std::vector<Link> links;
  float value = 0.0f;
  for (const char* name : names) {
    const bool image = std::string(name).ends_with("Tex");
    value += 0.5f;
    const int probe = doc.Add("TestProbe", {{0, Tag(name)}, {1, "Value: " + std::to_string(value)}});
    links.push_back({probe, image ? "OutImage" : "OutFloat", name});
  }
  const int mesh = doc.Add("TestProbe", {{0, Tag("mesh")}});
  links.push_back({mesh, "OutScene", "sceneIn"});
  const int material = doc.Add("Material", {}, links);
  LoadedGraph& graph = Load(doc);
  graph.output(material).Evaluate(0.0f, graph.player);

  EXPECT_EQ(ProbeOp::Tags(),
            (std::vector<std::string>{"Color.R", "Color.G", "Color.B", "Specular.R", "Specular.G", "Specular.B",
                                      "Metalness", "Roughness", "AlbedoTex", "MetalnessTex", "RoughnessTex",
                                      "Emissive.R", "Emissive.G", "Emissive.B", "EmissiveTex", "mesh"}));
  const MaterialState& seen = ProbeOp::Log().back().material;
  EXPECT_EQ(seen.baseColor[0], 2.0f);  // the fourth probe: values run 0.5, 1.0, ...
  EXPECT_EQ(seen.baseColor[3], 0.0f);
  EXPECT_EQ(seen.specularColor[2], 4.5f);
  EXPECT_EQ(seen.metalness, 5.0f);  // passed on unclamped
  EXPECT_EQ(seen.roughness, 5.5f);
  EXPECT_EQ(seen.emissiveColor[0], 6.0f);
  EXPECT_EQ(seen.emissiveColor[3], 1.0f);
  EXPECT_EQ(seen.albedoTex, Probe(graph, 1).texture);
  EXPECT_EQ(seen.metalnessTex, Probe(graph, 2).texture);
  EXPECT_EQ(seen.roughnessTex, Probe(graph, 3).texture);
  EXPECT_EQ(seen.emissiveTex, Probe(graph, 15).texture);
  // The image register is back to what it was, inside and after.
  EXPECT_EQ(ProbeOp::Log().back().image, &currentImage);
  EXPECT_EQ(graph.player.image, &currentImage);
}

TEST_F(MaterialTest, NonFiniteValuesReachNoDrawAsNaN) {
  SceneDocument doc;
  const int mesh = doc.Add("TestProbe", {{0, Tag("mesh")}});
  const int material = doc.Add(
      "Material", {{4, "Color.R: nan"}, {5, "Color.G: inf"}, {10, "Metalness: nan"}, {11, "Roughness: -inf"}, {12, "Emissive.R: 3"}},
      {{mesh, "OutScene", "sceneIn"}});
  LoadedGraph& graph = Load(doc);
  graph.output(material).Evaluate(0.0f, graph.player);
  const MaterialState& seen = ProbeOp::Log().back().material;
  EXPECT_EQ(seen.baseColor[0], 0.0f);
  EXPECT_EQ(seen.baseColor[1], 0.0f);
  EXPECT_EQ(seen.baseColor[2], 0.2f);
  EXPECT_EQ(seen.metalness, 0.0f);
  EXPECT_EQ(seen.roughness, 0.0f);
  EXPECT_EQ(seen.emissiveColor[0], 3.0f);  // large but finite: passed on
}

}  // namespace
}  // namespace orvane
