// Targets, clears, viewport and scissor, blending, depth, stencil, culling, cube faces, caches.
#include <array>
#include <cmath>
#include <cstring>

#include "RenderFixture.h"
#include "render/Camera.h"
#include "render/ConstantBuffer.h"
#include "render/DrawCall.h"
#include "render/PassProfiler.h"
#include "render/RenderState.h"
#include "render/Sampler.h"
#include "render/VertexLayout.h"

namespace orvane::test {
namespace {

constexpr Rgba kRed{1, 0, 0, 1};
constexpr Rgba kGreen{0, 1, 0, 1};
constexpr Rgba kBlue{0, 0, 1, 1};
constexpr Rgba kClear{0.25f, 0.5f, 0.75f, 1.0f};

// The covering triangle at depth gDepth, coloured gColor.
const char* const kDepthVS = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
layout(std140, binding = 0) uniform Params { vec4 gColor; float gDepth; };
void main() {
  vec2 p = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  gl_Position = vec4(p.x * 2.0 - 1.0, 1.0 - p.y * 2.0, gDepth, 1.0);
}
)";

// Red in the top half of the viewport, blue in the bottom half.
const char* const kTopRedPS = R"(#version 450 core
layout(location = 0) in vec2 uv;
layout(location = 0) out vec4 outColor;
void main() { outColor = uv.y < 0.5 ? vec4(1, 0, 0, 1) : vec4(0, 0, 1, 1); }
)";

using TargetsAndStates = RenderTest;

TEST_F(TargetsAndStates, ClearsCoverTheWholeTargetWhateverScissorMasksAndDepthWriteSay) {
  ResourcePtr target = MakeTarget(16, 16);
  ResourcePtr depth = MakeDepth(16, 16);
  PassPtr pass = MakePass(kFullScreenVS, kSolidColorPS);
  RenderStateDesc blocking = DefaultRenderStateDesc();
  blocking.flags = kStateScissor;  // no depth write either
  blocking.writeDisable[0] = 0xF;
  blocking.colorBlend[0] = BlendWord(kBlendZero, kBlendOne, kBlendOpAdd);
  SetState(pass.get(), GetRenderState(adapter(), blocking));

  draw().SetTargets(Targets(target.get(), depth.get(), kRed));
  FillWith(*pass, kGreen);  // writes nothing: every channel masked
  TargetSet smallRect = Targets(target.get(), depth.get(), kClear);
  smallRect.rect = {4, 4, 8, 8};
  smallRect.clearDepth = 0.25f;
  smallRect.clearStencil = 7;
  draw().SetTargets(smallRect);
  draw().UnbindTargets();

  for (const Rgba& pixel : ReadPixels(*target)) ExpectColorNear(pixel, kClear);
  const std::vector<uint8_t> depthBytes = ReadTexture(*depth);
  for (size_t i = 0; i < depthBytes.size(); i += 4) {
    uint32_t packed;
    std::memcpy(&packed, &depthBytes[i], 4);
    EXPECT_NEAR((packed >> 8) / 16777215.0, 0.25, 1e-6);
    EXPECT_EQ(packed & 0xFFu, 7u);
  }
}

TEST_F(TargetsAndStates, ViewportAndScissorAreTheRectangleWithItsTopRowAtTheTop) {
  ResourcePtr target = MakeTarget(32, 32);
  PassPtr pass = MakePass(kFullScreenVS, kTopRedPS);
  RenderStateDesc scissored = DefaultRenderStateDesc();
  scissored.flags = kStateScissor;
  SetState(pass.get(), GetRenderState(adapter(), scissored));
  TargetSet targets = Targets(target.get(), nullptr, kClear);
  targets.rect = {8, 4, 24, 20};
  draw().SetTargets(targets);
  draw().DrawFullScreen(*pass, 3);
  draw().UnbindTargets();

  const std::vector<Rgba> pixels = ReadPixels(*target);
  for (uint32_t y = 0; y < 32; ++y) {
    for (uint32_t x = 0; x < 32; ++x) {
      SCOPED_TRACE(testing::Message() << x << "," << y);
      const bool inside = x >= 8 && x < 24 && y >= 4 && y < 20;
      const Rgba expected = !inside ? kClear : (y < 12 ? kRed : kBlue);
      ExpectColorNear(pixels[y * 32 + x], expected);
    }
  }
}

TEST_F(TargetsAndStates, DiscardedPixelsLeaveTargetsAsTheyWereUntilTheScopeEnds) {
  ResourcePtr target = MakeTarget(16, 16);
  ResourcePtr depth = MakeDepth(16, 16);
  PassPtr pass = MakePass(kFullScreenVS, kSolidColorPS);
  draw().SetTargets(Targets(target.get(), depth.get(), kRed));
  draw().UnbindTargets();
  {
    const PixelDiscardScope outer(&draw());
    {
      const PixelDiscardScope inner(&draw());
      EXPECT_TRUE(draw().PixelsDiscarded());
    }
    EXPECT_TRUE(draw().PixelsDiscarded());  // the inner scope gives back what it found
    draw().SetTargets(Targets(target.get(), depth.get(), kBlue));  // the clear is dropped
    FillWith(*pass, kGreen);                                         // and so is the draw
    draw().UnbindTargets();
  }
  EXPECT_FALSE(draw().PixelsDiscarded());
  for (const Rgba& pixel : ReadPixels(*target)) ExpectColorNear(pixel, kRed);

  draw().SetTargets(Targets(target.get(), depth.get(), kBlue));
  FillWith(*pass, kGreen);
  draw().UnbindTargets();
  for (const Rgba& pixel : ReadPixels(*target)) ExpectColorNear(pixel, kGreen);
  const PixelDiscardScope withoutContext(nullptr);  // nothing to do, nothing to crash on
}

// Unbinding is lazy in GL, but a draw after it must still reach no target.
TEST_F(TargetsAndStates, DrawsAfterUnbindingReachNoTarget) {
  ResourcePtr target = MakeTarget(16, 16);
  PassPtr pass = MakePass(kFullScreenVS, kSolidColorPS);
  draw().SetTargets(Targets(target.get()));
  FillWith(*pass, kGreen);
  draw().UnbindTargets();
  FillWith(*pass, kRed);
  for (const Rgba& pixel : ReadPixels(*target)) ExpectColorNear(pixel, kGreen);
}

TEST_F(TargetsAndStates, AProfilerChargesEachBindingToItsLabelElseItsShadersElseItsTargets) {
  ResourcePtr target = MakeTarget(16, 8);
  PassPtr pass = MakePass(kFullScreenVS, kSolidColorPS);
  PassProfiler profiler;
  draw().AttachProfiler(&profiler);
  const auto bindAndFill = [&](const char* label) {
    if (label) adapter()->BeginEvent(label);
    draw().SetTargets(Targets(target.get()));
    FillWith(*pass, kGreen);
    draw().UnbindTargets();
    if (label) adapter()->EndEvent();
  };
  bindAndFill("FIRST");
  bindAndFill(nullptr);  // a pass without a name: its targets name it
  pass->name = "solid:PS";
  bindAndFill(nullptr);
  bindAndFill("FIRST");
  // Two labels in one binding (a mark, then lights): each is charged on its own.
  draw().SetTargets(Targets(target.get()));
  adapter()->BeginEvent("MARK");
  FillWith(*pass, kGreen);
  adapter()->EndEvent();
  adapter()->BeginEvent("FIRST");
  FillWith(*pass, kGreen);
  FillWith(*pass, kGreen);
  adapter()->EndEvent();
  draw().UnbindTargets();
  draw().AttachProfiler(nullptr);
  bindAndFill("NOT COUNTED");

  struct Expected {
    const char* label;
    uint32_t count;
    uint32_t draws;
  };
  const Expected expected[] = {{"FIRST", 3, 4}, {"(1 colour, clear)", 1, 0}, {"solid:PS", 1, 1}, {"MARK", 1, 1}};
  ASSERT_EQ(profiler.Times().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const PassTime& time = profiler.Times()[i];
    EXPECT_EQ(time.label, expected[i].label);
    EXPECT_EQ(time.count, expected[i].count);
    EXPECT_EQ(time.draws, expected[i].draws);
    EXPECT_EQ(time.width, 16);
    EXPECT_EQ(time.height, 8);
    EXPECT_GE(time.seconds, 0.0);
  }
}

struct BlendCase {
  const char* name;
  uint16_t color;
  uint16_t alpha;
  uint8_t writeDisable;
  Rgba source;
  Rgba expected;  // over a target cleared to kDestination
};

constexpr Rgba kDestination{0.0f, 0.5f, 1.0f, 0.5f};

TEST_F(TargetsAndStates, EachBlendWordCaseBlendsAsTheStateTableSays) {
  const BlendCase cases[] = {
      {"both words 0: no blending", 0, 0, 0, {1, 0, 0, 0.25f}, {1, 0, 0, 0.25f}},
      {"source alpha over, alpha word 0 adds alpha",
       0x1185,
       0,
       0,
       {1, 0, 0, 0.25f},
       {0.25f, 0.375f, 0.75f, 0.75f}},
      {"colour word 0 copies colour",
       0,
       BlendWord(kBlendZero, kBlendOne, kBlendOpAdd),
       0,
       {1, 0, 0, 0.25f},
       {1, 0, 0, 0.5f}},
      {"additive", 0x1082, 0x1082, 0, {0.25f, 0.25f, 0.25f, 0.25f}, {0.25f, 0.75f, 1.25f, 0.75f}},
      {"reverse subtract, alpha takes it too",
       BlendWord(kBlendOne, kBlendOne, kBlendOpRevSubtract),
       BlendWord(kBlendOne, kBlendOne, kBlendOpAdd),
       0,
       {0.25f, 0.25f, 0.25f, 0.25f},
       {-0.25f, 0.25f, 0.75f, 0.25f}},
      {"minimum",
       BlendWord(kBlendOne, kBlendOne, kBlendOpMin),
       0,
       0,
       {0.5f, 0.25f, 0.5f, 1.0f},
       {0.0f, 0.25f, 0.5f, 0.5f}},
      {"blend factor is (1, 1, 1, 1)",
       BlendWord(kBlendInvFactor, kBlendFactor, kBlendOpAdd),
       0,
       0,
       {1, 1, 0, 1},
       {0.0f, 0.5f, 1.0f, 1.5f}},
      {"write-disable mask of red and blue", 0, 0, 0x5, {1, 1, 0, 1}, {0.0f, 1.0f, 1.0f, 1.0f}},
  };
  ResourcePtr target = MakeTarget(4, 4);
  PassPtr pass = MakePass(kFullScreenVS, kSolidColorPS);
  for (const BlendCase& c : cases) {
    SCOPED_TRACE(c.name);
    RenderStateDesc desc = DefaultRenderStateDesc();
    desc.flags = 0;
    desc.colorBlend[0] = c.color;
    desc.alphaBlend[0] = c.alpha;
    desc.writeDisable[0] = c.writeDisable;
    SetState(pass.get(), GetRenderState(adapter(), desc));
    draw().SetTargets(Targets(target.get(), nullptr, kDestination));
    FillWith(*pass, c.source);
    draw().UnbindTargets();
    ExpectColorNear(PixelAt(*target, 1, 2), c.expected);
  }
}

TEST_F(TargetsAndStates, IndependentBlendingBlendsEachTargetByItsOwnWords) {
  ResourcePtr first = MakeTarget(4, 4);
  ResourcePtr second = MakeTarget(4, 4);
  const char* twoOutputs = R"(#version 450 core
layout(std140, binding = 0) uniform Params { vec4 gColor; };
layout(location = 0) out vec4 out0;
layout(location = 1) out vec4 out1;
void main() { out0 = gColor; out1 = gColor; }
)";
  PassPtr pass = MakePass(kFullScreenVS, twoOutputs);
  RenderStateDesc desc = DefaultRenderStateDesc();
  desc.flags = kStateIndependentBlend;
  desc.colorBlend[1] = 0x1082;
  desc.alphaBlend[1] = 0x1082;
  SetState(pass.get(), GetRenderState(adapter(), desc));
  TargetSet targets = Targets(first.get(), nullptr, kDestination);
  targets.color[1] = second.get();
  draw().SetTargets(targets);
  FillWith(*pass, {0.25f, 0.25f, 0.25f, 0.25f});
  draw().UnbindTargets();
  ExpectColorNear(PixelAt(*first, 0, 0), {0.25f, 0.25f, 0.25f, 0.25f});
  ExpectColorNear(PixelAt(*second, 0, 0), {0.25f, 0.75f, 1.25f, 0.75f});
}

class DepthStencil : public RenderTest {
protected:
  void DrawAt(ShaderPass& pass, Rgba color, float depth) {
    struct {
      Rgba color;
      float depth;
    } params{color, depth};
    pass.constantBuffers[0]->BeginUpdate();
    pass.constantBuffers[0]->SetConstant("gColor", &params.color);
    pass.constantBuffers[0]->SetConstant("gDepth", &params.depth);
    pass.constantBuffers[0]->EndUpdate();
    draw().DrawFullScreen(pass, 3);
  }
};

TEST_F(DepthStencil, LessEqualKeepsTheNearestAndDepthRunsZeroToOne) {
  ResourcePtr target = MakeTarget(8, 8);
  ResourcePtr depth = MakeDepth(8, 8);
  PassPtr pass = MakePass(kDepthVS, kSolidColorPS);
  draw().SetTargets(Targets(target.get(), depth.get(), kClear));
  DrawAt(*pass, kRed, 0.3f);
  DrawAt(*pass, kGreen, 0.6f);  // behind: hidden
  ExpectColorNear(PixelAt(*target, 3, 3), kRed);
  DrawAt(*pass, kBlue, 0.3f);  // equal passes less-or-equal
  DrawAt(*pass, kBlue, 0.2f);
  draw().UnbindTargets();
  ExpectColorNear(PixelAt(*target, 3, 3), kBlue);
  uint32_t packed;
  std::memcpy(&packed, ReadTexture(*depth).data(), 4);
  EXPECT_NEAR((packed >> 8) / 16777215.0, 0.2, 1e-5);

  RenderStateDesc noDepth = DefaultRenderStateDesc();
  noDepth.flags = 0;
  SetState(pass.get(), GetRenderState(adapter(), noDepth));
  TargetSet again = Targets(target.get(), depth.get());
  again.clearFlags = 0;
  draw().SetTargets(again);
  DrawAt(*pass, kGreen, 0.9f);
  draw().UnbindTargets();
  ExpectColorNear(PixelAt(*target, 3, 3), kGreen);
}

TEST_F(DepthStencil, ReplacedReferenceThenEqualComparisonMasksTheSecondDraw) {
  ResourcePtr target = MakeTarget(16, 16);
  ResourcePtr depth = MakeDepth(16, 16);
  PassPtr mark = MakePass(kDepthVS, kSolidColorPS);
  PassPtr paint = MakePass(kDepthVS, kSolidColorPS);
  RenderStateDesc writeStencil = DefaultRenderStateDesc();
  writeStencil.flags = kStateStencil | kStateScissor;
  writeStencil.writeDisable[0] = 0xF;
  writeStencil.stencilReference = 5;
  writeStencil.front = {kStencilKeep, kStencilKeep, kStencilReplace, kCompareAlways};
  writeStencil.back = writeStencil.front;
  SetState(mark.get(), GetRenderState(adapter(), writeStencil));
  RenderStateDesc testStencil = writeStencil;
  testStencil.flags = kStateStencil;
  testStencil.writeDisable[0] = 0;
  testStencil.front = {kStencilKeep, kStencilKeep, kStencilKeep, kCompareEqual};
  testStencil.back = testStencil.front;
  SetState(paint.get(), GetRenderState(adapter(), testStencil));

  draw().SetTargets(Targets(target.get(), depth.get(), kClear));
  TargetSet leftHalf = Targets(target.get(), depth.get());
  leftHalf.clearFlags = 0;
  leftHalf.rect = {0, 0, 8, 16};
  draw().SetTargets(leftHalf);
  DrawAt(*mark, kRed, 0.5f);
  TargetSet whole = Targets(target.get(), depth.get());
  whole.clearFlags = 0;
  draw().SetTargets(whole);
  DrawAt(*paint, kGreen, 0.5f);
  draw().UnbindTargets();

  const std::vector<Rgba> pixels = ReadPixels(*target);
  for (uint32_t y = 0; y < 16; y += 5)
    for (uint32_t x = 0; x < 16; ++x) ExpectColorNear(pixels[y * 16 + x], x < 8 ? kGreen : kClear);
  uint32_t packed;
  std::memcpy(&packed, ReadTexture(*depth).data(), 4);
  EXPECT_EQ(packed & 0xFFu, 5u);
}

// A cube of six coloured faces in front of the camera; faces are clockwise seen from outside.
struct CubeVertex {
  float position[3];
  uint8_t color[4];
};

std::vector<CubeVertex> CubeFaces(std::vector<uint16_t>& indices) {
  struct Face {
    std::array<float, 3> normal, right, up;
    std::array<uint8_t, 4> color;
  };
  const Face faces[] = {
      {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}, {255, 0, 0, 255}},   // facing the camera: red
      {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}, {0, 0, 255, 255}},   // far side: blue
      {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 255, 0, 255}},
      {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}, {0, 255, 0, 255}},
      {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}, {255, 255, 0, 255}},
      {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}, {255, 255, 0, 255}},
  };
  std::vector<CubeVertex> vertices;
  const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};  // clockwise
  for (const Face& f : faces) {
    const auto base = static_cast<uint16_t>(vertices.size());
    for (const auto& c : corners) {
      CubeVertex v{};
      for (int k = 0; k < 3; ++k)
        v.position[k] =
            0.5f * (f.normal[k] + c[0] * f.right[k] + c[1] * f.up[k]) + (k == 2 ? 2.0f : 0.0f);
      std::memcpy(v.color, f.color.data(), 4);
      vertices.push_back(v);
    }
    for (uint16_t i : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<uint16_t>(base + i));
  }
  return vertices;
}

TEST_F(TargetsAndStates, CullingTakesClockwiseFacesAsFront) {
  const char* vs = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
layout(std140, binding = 0) uniform Camera { mat4 gProj; };
layout(location = 0) in vec3 position;
layout(location = 3) in vec4 color;
layout(location = 0) out vec4 vColor;
void main() { gl_Position = vec4(position, 1.0) * gProj; vColor = color; }
)";
  const char* ps = R"(#version 450 core
layout(location = 0) in vec4 vColor;
layout(location = 0) out vec4 outColor;
void main() { outColor = vColor; }
)";
  std::vector<uint16_t> indices;
  const std::vector<CubeVertex> vertices = CubeFaces(indices);
  OwnedGeometry cube;
  MakeGeometry(cube, adapter()->defaultLayouts[3], vertices.data(),
               static_cast<uint32_t>(vertices.size()), sizeof(CubeVertex), indices,
               kPrimitiveTriangles | kGeometryIndex16);
  PassPtr pass = MakePass(vs, ps);
  Camera camera;
  camera.nearPlane = 0.1f;
  camera.farPlane = 10.0f;
  camera.fieldOfView = 60.0f;
  camera.mode = kProjectionPerspective;
  UpdateProjection(camera, 16, 16);
  const Matrix written = Transpose(camera.projection);
  pass->constantBuffers[0]->BeginUpdate();
  pass->constantBuffers[0]->SetConstant("gProj", &written);
  pass->constantBuffers[0]->EndUpdate();
  ResourcePtr target = MakeTarget(16, 16);

  struct Case {
    const char* name;
    uint32_t flags;
    Rgba centre;
  };
  const Case cases[] = {{"back faces culled: the near face shows", kStateCullBack, kRed},
                        {"front faces culled: the far face shows", kStateCullFront, kBlue}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RenderStateDesc desc = DefaultRenderStateDesc();
    desc.flags = c.flags;  // no depth test: culling alone decides
    SetState(pass.get(), GetRenderState(adapter(), desc));
    draw().SetTargets(Targets(target.get(), nullptr, kClear));
    DrawCall call;
    call.pass = pass.get();
    call.geometry = &cube.geometry;
    draw().Draw(call);
    draw().UnbindTargets();
    ExpectColorNear(PixelAt(*target, 8, 8), c.centre, 0.01f);
    ExpectColorNear(PixelAt(*target, 0, 0), kClear, 0.01f);
  }
}

TEST_F(TargetsAndStates, CubeFaceTargetsRenderIntoTheirSliceWithOneFramebufferEach) {
  ResourcePtr cube = MakeTarget(8, 8, kFormatRGBA8, kResourceCubeMap);
  ASSERT_EQ(cube->desc.arraySize, 6u);
  const size_t before = draw().FramebufferCount();
  for (int32_t face = 0; face < 6; ++face) {
    TargetSet targets = Targets(cube.get(), nullptr, {face / 5.0f, 1.0f - face / 5.0f, 0.0f, 1.0f});
    targets.face = face;
    draw().SetTargets(targets);
  }
  EXPECT_EQ(draw().FramebufferCount(), before + 6);
  TargetSet faceThree = Targets(cube.get());
  faceThree.face = 3;
  faceThree.clearFlags = 0;
  draw().SetTargets(faceThree);
  EXPECT_EQ(draw().FramebufferCount(), before + 6);
  draw().UnbindTargets();
  for (uint32_t face = 0; face < 6; ++face) {
    const std::vector<uint8_t> pixels = ReadTexture(*cube, 0, face);
    const auto red = static_cast<uint8_t>(std::lround(face / 5.0 * 255));
    EXPECT_EQ(pixels[0], red) << face;
    EXPECT_EQ(pixels[pixels.size() - 3], 255 - red) << face;
  }
  cube.reset();
  EXPECT_EQ(draw().FramebufferCount(), before);  // forgotten with their texture
}

TEST_F(TargetsAndStates, StateAndSamplerCachesHandOutOneObjectPerRecord) {
  const RenderStateDesc desc = DefaultRenderStateDesc();
  EXPECT_EQ(GetRenderState(adapter(), desc), GetRenderState(adapter(), desc));
  EXPECT_EQ(GetRenderState(adapter(), desc), adapter()->defaultState);
  RenderStateDesc other = desc;
  other.colorBlend[0] = 0x1185;
  EXPECT_NE(GetRenderState(adapter(), other), adapter()->defaultState);

  SamplerDesc sampler;
  sampler.mode = 3;
  sampler.maxLod = 1e37f;
  Sampler* first = GetSampler(adapter(), sampler);
  EXPECT_EQ(GetSampler(adapter(), sampler), first);
  sampler.borderColor[2] = 1.0f;
  EXPECT_NE(GetSampler(adapter(), sampler), first);
}

}  // namespace
}  // namespace orvane::test
