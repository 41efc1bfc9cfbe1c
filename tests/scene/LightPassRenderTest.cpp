// Deferred lights on llvmpipe: scenes drawn into the G-buffer through light passes, the lit
// image read back and checked for what a viewer would see.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "render/Camera.h"
#include "render/RenderFixture.h"
#include "scene/GBuffer.h"
#include "scene/LightLists.h"
#include "scene/LightTestSupport.h"
#include "scene/LightVolume.h"
#include "scene/MeshBuilder.h"
#include "scene/ScenePlayer.h"
#include "scene/SceneRenderer.h"

namespace orvane {
namespace {

using test::Connect;
using test::ProbeOp;
using test::Rgba;
using test::SetFloat;

constexpr uint32_t kSize = 64;
constexpr uint32_t kCentre = kSize / 2;
constexpr Rgba kBackground{0.25f, 0.5f, 0.75f, 1.0f};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct Rgb {
  float r = 0.0f, g = 0.0f, b = 0.0f;
};
constexpr Rgb kWhite{1, 1, 1};

struct Material {
  Rgb base{0.2f, 0.2f, 0.2f};
  Rgb emissive{0.0f, 0.0f, 0.0f};
  float roughness = 0.6f;
  float metalness = 0.5f;
  float specular = 0.01f;
};

// Reflects a light's colour as it is when facing it: white, rough, no metal, no specular.
constexpr Material kMatteWhite{{1, 1, 1}, {0, 0, 0}, 1.0f, 0.0f, 0.0f};

bool IsFinite(const Rgba& p) {
  return std::isfinite(p.r) && std::isfinite(p.g) && std::isfinite(p.b) && std::isfinite(p.a);
}

class LightPassTest : public test::RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    depth = MakeDepth(kSize, kSize);
    test::PrepareScenePlayer(player, adapter(), draw(), depth.get(), kSize);
    // The player owns its swap targets; full floats here, so that they can be read back.
    for (GpuResource*& image : player.images) image = MakeTarget(kSize, kSize).release();
    destination = MakeTarget(kSize, kSize);
    MeshBuilder builder;
    builder.AddBox({}, {1, 1, 1});
    builder.Upload(adapter(), cube.geometry);
    CreateLightVolume(adapter());
  }

  void TearDown() override {
    operators.clear();
    DestroyLightVolume();
    ClearLightLists();
  }

  void LookFrom(const Vector4& eye, const Vector4& up) { player.camera = LookAtFrame(eye, {0, 0, 0, 0}, up); }

  Operator& Keep(std::unique_ptr<Operator> op) {
    operators.push_back(std::move(op));
    return *operators.back();
  }

  // The unit cube scaled by `size` and moved to `position`, drawn with `material`.
  Operator& Cube(const Vector4& position, const Vector4& size, const Material& m = {}) {
    return Keep(std::make_unique<ProbeOp>(kPortScene, [this, position, size, m](Player& p) {
      const Matrix saved = p.world;
      p.world = Identity();
      p.world.m[0][0] = size.x;
      p.world.m[1][1] = size.y;
      p.world.m[2][2] = size.z;
      p.world.m[3][0] = position.x;
      p.world.m[3][1] = position.y;
      p.world.m[3][2] = position.z;
      const float base[4] = {m.base.r, m.base.g, m.base.b, 0};
      const float emissive[4] = {m.emissive.r, m.emissive.g, m.emissive.b, 0};
      const float specular[4] = {m.specular, m.specular, m.specular, 0};
      std::copy(base, base + 4, p.baseColor);
      std::copy(emissive, emissive + 4, p.emissiveColor);
      std::copy(specular, specular + 4, p.specularColor);
      p.roughness = m.roughness;
      p.metalness = m.metalness;
      p.renderer->DrawMesh(cube.geometry, p);
      p.ResetMaterial();
      p.world = saved;
    }));
  }

  // A directional light, given as its ports are: "Direction.X", "Direction.Y", "Direction.Z".
  Operator& Dir(float x, float y, float z, Rgb color = kWhite) {
    Operator& light = Keep(test::Spawn("DirLight"));
    SetFloat(light, "Direction.X", x);
    SetFloat(light, "Direction.Y", y);
    SetFloat(light, "Direction.Z", z);
    SetColor(light, color);
    return light;
  }

  Operator& Point(const Vector4& position, float radius, float brightness = 1.0f, Rgb color = kWhite) {
    Operator& light = Keep(test::Spawn("PointLight"));
    SetFloat(light, "Position.X", position.x);
    SetFloat(light, "Position.Y", position.y);
    SetFloat(light, "Position.Z", position.z);
    SetFloat(light, "Radius", radius);
    SetFloat(light, "Brightness", brightness);
    SetColor(light, color);
    return light;
  }

  static void SetColor(Operator& light, Rgb color) {
    SetFloat(light, "Color.R", color.r);
    SetFloat(light, "Color.G", color.g);
    SetFloat(light, "Color.B", color.b);
  }

  // Runs `inner` with the world moved by `offset`, as a transform above it would.
  Operator& Moved(const Vector4& offset, Operator& inner) {
    return Keep(std::make_unique<ProbeOp>(kPortScene, [offset, &inner](Player& p) {
      const Matrix saved = p.world;
      Translate(p.world, offset);
      inner.outputs[0].Evaluate(0.0f, p);
      p.world = saved;
    }));
  }

  // A light pass over the chain: each operator's scene input takes the next one's output.
  Operator& Pass(std::initializer_list<Operator*> chain) {
    Operator& pass = Keep(test::Spawn("LightPass"));
    Operator* above = &pass;
    for (Operator* op : chain) {
      Connect(*above, above->inputs[0].name, *op);
      above = op;
    }
    return pass;
  }

  // The start of a frame: the destination holds the background, the G-buffer is cleared.
  void BeginFrame(GpuResource* image) {
    draw().SetTargets(Targets(image, nullptr, kBackground));
    draw().UnbindTargets();
    player.image = image;
    player.BeginScene();
  }

  // One frame of a single light pass into the destination; its pixels.
  std::vector<Rgba> Render(Operator& pass) {
    BeginFrame(destination.get());
    pass.outputs[0].Evaluate(0.0f, player);
    return ReadPixels(*destination);
  }

  static Rgba At(const std::vector<Rgba>& pixels, uint32_t x, uint32_t y) { return pixels[y * kSize + x]; }
  static Rgba Centre(const std::vector<Rgba>& pixels) { return At(pixels, kCentre, kCentre); }

  // Kept above the operators, whose functions refer to the passes and targets it holds.
  Player player;
  test::ResourcePtr depth;
  test::ResourcePtr destination;
  test::OwnedGeometry cube;
  std::vector<std::unique_ptr<Operator>> operators;
};

TEST_F(LightPassTest, WithoutLightsGeometryIsBlackAndTheBackgroundStays) {
  const auto pixels = Render(Pass({&Cube({}, {3, 3, 3}, kMatteWhite)}));
  test::ExpectColorNear(Centre(pixels), {0, 0, 0, 0});
  for (uint32_t corner : {1u, kSize - 2}) {
    test::ExpectColorNear(At(pixels, corner, corner), kBackground);
    test::ExpectColorNear(At(pixels, corner, kSize - 1 - corner), kBackground);
  }
}

TEST_F(LightPassTest, AMatteSurfaceFacingALightShowsTheLightsColour) {
  const auto pixels = Render(Pass({&Dir(0, 1, 0, {0.5f, 0.25f, 1.0f}), &Cube({}, {3, 3, 3}, kMatteWhite)}));
  test::ExpectColorNear(Centre(pixels), {0.5f, 0.25f, 1.0f, 1.0f}, 0.02f);
  test::ExpectColorNear(At(pixels, 1, 1), kBackground);
}

TEST_F(LightPassTest, DirectionalLightsTravelAlongTheSwizzledDirection) {
  struct Case {
    const char* what;
    float x, y, z;  // the ports
    Vector4 eye, up;
    bool lit;
  };
  const Vector4 front{0, 0, -8, 0}, below{0, -8, 0, 0}, left{-8, 0, 0, 0};
  const Vector4 yUp{0, 1, 0, 0}, zUp{0, 0, 1, 0};
  const Case cases[] = {
      {"Y port travels along +Z onto the face towards -Z", 0, 1, 0, front, yUp, true},
      {"negative Y port travels along -Z", 0, -1, 0, front, yUp, false},
      {"Z port travels along +Y, past the face towards -Z", 0, 0, 1, front, yUp, false},
      {"Z port travels along +Y onto the face towards -Y", 0, 0, 1, below, zUp, true},
      {"negative Z port travels along -Y", 0, 0, -1, below, zUp, false},
      {"X port travels along +X onto the face towards -X", 1, 0, 0, left, yUp, true},
      {"X port travels along +X, past the face towards -Z", 1, 0, 0, front, yUp, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LookFrom(c.eye, c.up);
    const Rgba centre = Centre(Render(Pass({&Dir(c.x, c.y, c.z), &Cube({}, {3, 3, 3}, kMatteWhite)})));
    if (c.lit) {
      test::ExpectColorNear(centre, {1, 1, 1, 1}, 0.03f);
    } else {
      test::ExpectColorNear(centre, {0, 0, 0, 1});
    }
  }
}

// The column of row `y` with the most light.
uint32_t BrightestColumn(const std::vector<Rgba>& pixels, uint32_t y) {
  uint32_t best = 0;
  for (uint32_t x = 1; x < kSize; ++x) {
    if (pixels[y * kSize + x].r > pixels[y * kSize + best].r) best = x;
  }
  return best;
}

TEST_F(LightPassTest, PointLightsFollowTheTransformAboveThem) {
  // A wall across the view, 7.5 units from the eye, where a unit is 10.3 pixels; the light hangs
  // one unit in front of it.
  struct Case {
    float shift;
    uint32_t column;
  };
  for (const Case& c : {Case{-1.5f, 16}, Case{0.0f, 32}, Case{1.5f, 47}}) {
    Operator& wall = Cube({}, {6, 6, 1}, kMatteWhite);
    Operator& light = Point({0, 0, -1.5f, 1}, 5.0f);
    Connect(light, "SceneIn", wall);
    const auto pixels = Render(Pass({&Moved({c.shift, 0, 0, 0}, light)}));
    EXPECT_NEAR(static_cast<float>(BrightestColumn(pixels, kCentre)), static_cast<float>(c.column), 1.5f) << c.shift;
    // Lit on both sides, brighter on the light's side.
    const Rgba leftSide = At(pixels, 16, kCentre), rightSide = At(pixels, 47, kCentre);
    EXPECT_GT(leftSide.r, 0.01f);
    EXPECT_GT(rightSide.r, 0.01f);
    if (c.shift != 0.0f) {
      const float towards = c.shift > 0 ? rightSide.r / leftSide.r : leftSide.r / rightSide.r;
      EXPECT_GT(towards, 2.0f) << c.shift;
    }
  }
}

TEST_F(LightPassTest, PointLightsFadeSmoothlyToNothingAtTheirRadius) {
  // The wall's front is at z = -0.5; the light hangs `distance` in front of its centre. A white
  // matte face straight under the light shows the falloff itself: window^2 / (d^2 + 1).
  struct Case {
    float distance, radius;
  };
  const Case cases[] = {{0.5f, 3}, {1, 3}, {2, 3}, {2.9f, 3}, {3.2f, 3}, {1, 0.8f}};
  for (const Case& c : cases) {
    const float x = c.distance / c.radius;
    const float window = std::max(0.0f, 1.0f - x * x * x * x);
    const float expected = window * window / (c.distance * c.distance + 1.0f);
    const auto pixels = Render(Pass({&Point({0, 0, -0.5f - c.distance, 1}, c.radius), &Cube({}, {6, 6, 1}, kMatteWhite)}));
    const Rgba centre = Centre(pixels);
    EXPECT_NEAR(centre.r, expected, 0.03f * expected + 2e-3f) << c.distance << " of " << c.radius;
    EXPECT_NEAR(centre.g, centre.r, 1e-3f);
    EXPECT_EQ(centre.a, 1.0f);
  }
}

TEST_F(LightPassTest, ThreeEqualLightsGiveThreeTimesOne) {
  const Material shiny{{0.8f, 0.5f, 0.3f}, {}, 0.35f, 0.3f, 0.04f};
  struct Case {
    const char* kind;
    std::function<Operator&()> light;
  };
  const Case cases[] = {
      {"directional", [&]() -> Operator& { return Dir(0.3f, 1, 0.2f, {0.3f, 0.2f, 0.1f}); }},
      {"point", [&]() -> Operator& { return Point({0.5f, 0.5f, -2.5f, 1}, 4.0f, 0.7f); }},
  };
  for (const Case& c : cases) {
    const Rgba one = Centre(Render(Pass({&c.light(), &Cube({}, {3, 3, 3}, shiny)})));
    const Rgba three = Centre(Render(Pass({&c.light(), &c.light(), &c.light(), &Cube({}, {3, 3, 3}, shiny)})));
    ASSERT_GT(one.r, 0.02f) << c.kind;
    for (const auto& [single, triple] : {std::pair{one.r, three.r}, {one.g, three.g}, {one.b, three.b}}) {
      EXPECT_NEAR(triple, 3.0f * single, 0.01f * triple + 1e-3f) << c.kind;
    }
    EXPECT_EQ(three.a, 1.0f) << c.kind;
  }
}

TEST_F(LightPassTest, EmittedLightCountsOncePerPass) {
  // Red, matte, glowing green: the green of the result is the glow alone.
  const Material glowing{{1, 0, 0}, {0, 0.3f, 0}, 1.0f, 0.0f, 0.0f};
  // Point lights beside the cube, out of reach of its middle.
  const Vector4 aside{-2, 0, -2, 1};
  struct Case {
    const char* what;
    int dirLights, pointLights;
    Rgba centre;
  };
  const Case cases[] = {
      {"no light", 0, 0, {0, 0, 0, 0}},
      {"one directional light", 1, 0, {1, 0.3f, 0, 1}},
      {"three directional lights", 3, 0, {3, 0.3f, 0, 1}},
      {"one point light", 0, 1, {0, 0.3f, 0, 1}},
      {"three point lights", 0, 3, {0, 0.3f, 0, 1}},
      {"both kinds", 2, 2, {2, 0.3f, 0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Operator*> chain;
    for (int i = 0; i < c.dirLights; ++i) chain.push_back(&Dir(0, 1, 0));
    for (int i = 0; i < c.pointLights; ++i) chain.push_back(&Point(aside, 1.0f));
    Operator& scene = Cube({}, {3, 3, 3}, glowing);
    Operator& pass = Keep(test::Spawn("LightPass"));
    Operator* above = &pass;
    for (Operator* op : chain) {
      Connect(*above, above->inputs[0].name, *op);
      above = op;
    }
    Connect(*above, above->inputs[0].name, scene);
    test::ExpectColorNear(Centre(Render(pass)), c.centre, 0.03f);
  }
}

TEST_F(LightPassTest, TwoPassesInAFrameTakeTheSwapTargetsInTurnAndShareTheirLights) {
  // Cube A on the left with a light, then cube B on the right without one: the second pass
  // still has cube A in the G-buffer and lights both with the first pass's light.
  Operator& passA = Pass({&Dir(0, 1, 0), &Cube({-1.5f, 0, 0, 0}, {1.5f, 1.5f, 1.5f}, kMatteWhite)});
  Operator& passB = Pass({&Cube({1.5f, 0, 0, 0}, {1.5f, 1.5f, 1.5f}, kMatteWhite)});
  const auto second = MakeTarget(kSize, kSize);
  BeginFrame(destination.get());
  draw().SetTargets(Targets(second.get(), nullptr, kBackground));
  draw().UnbindTargets();
  player.imageIndex = 0;

  passA.outputs[0].Evaluate(0.0f, player);
  EXPECT_EQ(player.imageIndex, 1);
  player.image = second.get();
  passB.outputs[0].Evaluate(0.0f, player);
  EXPECT_EQ(player.imageIndex, 0);

  const uint32_t cubeA = 16, cubeB = 48;
  const auto first = ReadPixels(*destination);
  const auto both = ReadPixels(*second);
  test::ExpectColorNear(At(first, cubeA, kCentre), {1, 1, 1, 1}, 0.03f);
  test::ExpectColorNear(At(first, cubeB, kCentre), kBackground);
  test::ExpectColorNear(At(both, cubeA, kCentre), {1, 1, 1, 1}, 0.03f);
  test::ExpectColorNear(At(both, cubeB, kCentre), {1, 1, 1, 1}, 0.03f);
  // Each pass lit into its own swap target, which still holds its picture.
  const auto litA = ReadPixels(*player.images[0]);
  const auto litB = ReadPixels(*player.images[1]);
  EXPECT_NEAR(At(litA, cubeA, kCentre).r, 1.0f, 0.03f);
  EXPECT_EQ(At(litA, cubeB, kCentre).a, 0.0f);
  EXPECT_NEAR(At(litB, cubeB, kCentre).r, 1.0f, 0.03f);
}

TEST_F(LightPassTest, ASecondPassDrawsInFrontOfWhatTheFirstDrew) {
  // The copy into the image keeps the depth of the first scene, so a nearer mesh of the second
  // scene still covers it.
  const Material matteRed{{1, 0, 0}, {}, 1.0f, 0.0f, 0.0f};
  Operator& passA = Pass({&Dir(0, 1, 0), &Cube({}, {2, 2, 2}, kMatteWhite)});
  Operator& passB = Pass({&Cube({0, 0, -2, 0}, {1, 1, 1}, matteRed)});
  const auto second = MakeTarget(kSize, kSize);
  BeginFrame(destination.get());
  passA.outputs[0].Evaluate(0.0f, player);
  player.image = second.get();
  passB.outputs[0].Evaluate(0.0f, player);
  test::ExpectColorNear(PixelAt(*second, kCentre, kCentre), {1, 0, 0, 1}, 0.03f);
}

TEST_F(LightPassTest, TheLitTargetIsNeverTheImageItIsCopiedInto) {
  Operator& pass = Pass({&Dir(0, 1, 0, {0.5f, 0.5f, 0.5f}), &Cube({}, {3, 3, 3}, kMatteWhite)});
  for (int32_t index : {0, 1}) {
    GpuResource* image = player.images[index];
    BeginFrame(image);
    player.imageIndex = index;  // the next swap target is the image itself
    pass.outputs[0].Evaluate(0.0f, player);
    EXPECT_EQ(player.image, image);
    const auto pixels = ReadPixels(*image);
    test::ExpectColorNear(Centre(pixels), {0.5f, 0.5f, 0.5f, 1.0f}, 0.02f);
    test::ExpectColorNear(At(pixels, 1, 1), kBackground);
  }
}

TEST_F(LightPassTest, BrokenLightsAndCamerasLeaveNoNonFiniteColour) {
  const Rgba reference = Centre(Render(Pass({&Dir(0, 1, 0), &Cube({}, {3, 3, 3})})));
  // Lights that cannot shine are left out; the good one still lights the cube.
  {
    const auto pixels = Render(Pass({&Dir(kNaN, 1, 0), &Dir(0, 0, 0), &Dir(0, 1, 0, {kInf, 1, 1}),
                                     &Point({0, 0, -2, 1}, 0.0f), &Point({0, 0, -2, 1}, -1.0f),
                                     &Point({0, 0, -2, 1}, 3.0f, kNaN), &Point({kInf, 0, -2, 1}, 3.0f),
                                     &Dir(0, 1, 0), &Cube({}, {3, 3, 3})}));
    test::ExpectColorNear(Centre(pixels), reference, 2e-3f);
    for (const Rgba& p : pixels) ASSERT_TRUE(IsFinite(p));
  }
  // A camera without an inverse, a non-finite projection, a light at the eye.
  struct Case {
    const char* what;
    std::function<void()> spoil;
  };
  const Case cases[] = {
      {"zero camera", [&] { player.camera = Matrix{}; }},
      {"NaN projection", [&] { player.projection.m[0][0] = kNaN; }},
      {"light at the eye", [] {}},
  };
  for (const Case& c : cases) {
    const Matrix camera = player.camera, projection = player.projection;
    c.spoil();
    const auto pixels = Render(Pass({&Dir(0, 1, 0), &Point({0, 0, -8, 1}, 20.0f), &Cube({}, {3, 3, 3})}));
    for (const Rgba& p : pixels) ASSERT_TRUE(IsFinite(p)) << c.what;
    player.camera = camera;
    player.projection = projection;
  }
}

TEST_F(LightPassTest, LightsOfAShaderThatDoesNotLoadAreLeftOut) {
  struct Case {
    const char* port;
    Rgba centre;  // a directional light of 0.5 and a point light of about 0.2 at the middle
  };
  const Case cases[] = {{"PointLight", {0.5f, 0.5f, 0.5f, 1}}, {"DirLight", {0.2f, 0.2f, 0.2f, 1}}};
  for (const Case& c : cases) {
    Operator& pass = Pass({&Dir(0, 1, 0, {0.5f, 0.5f, 0.5f}), &Point({0, 0, -3.5f, 1}, 20.0f), &Cube({}, {3, 3, 3}, kMatteWhite)});
    test::SetText(pass, c.port, "data\\shaders\\lights\\missing.hlsl");
    const Rgba centre = Centre(Render(pass));
    EXPECT_NEAR(centre.r, c.centre.r, 0.02f) << c.port;
    EXPECT_EQ(centre.a, 1.0f) << c.port;
  }
  // Without the light volume there is nothing to draw point lights with.
  DestroyLightVolume();
  const Rgba centre = Centre(Render(Pass({&Point({0, 0, -3.5f, 1}, 20.0f), &Cube({}, {3, 3, 3}, kMatteWhite)})));
  test::ExpectColorNear(centre, {0, 0, 0, 0});
}

}  // namespace
}  // namespace orvane
